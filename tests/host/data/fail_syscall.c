/* Preloaded into vekhost by the host tests: stands between the program and
 * the system calls a save makes, counting every call of the functions below
 * from the start of the process.
 *
 *   VEK_FAIL_CALL=N          the Nth counted call fails with an error (EIO,
 *                            ENOSPC for write) instead of happening; close
 *                            still releases its descriptor, as it does when
 *                            the system reports an error;
 *   VEK_FAIL_CALL_KILL=1     the process is killed (SIGKILL) before the Nth
 *                            counted call instead, as kill -9 would kill it;
 *   VEK_FAIL_CALL_REPORT=F   on reaching the Nth call, the call's name is
 *                            written to file F, so that a test can tell which
 *                            calls it has failed and when a run ended earlier;
 *   VEK_PREDICTABLE_RANDOM=F getrandom hands out zero bytes on its first call
 *                            and other fixed bytes after that; the number of
 *                            calls is written to file F at each call.
 *
 * Only system calls are used on the reporting path: nothing here allocates. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

static unsigned long g_nCount;
static unsigned long g_nFailAt;
static int g_bKill;
static int g_bConfigured;

static void Configure(void)
{
    if (g_bConfigured)
        return;
    const char* pszAt = getenv("VEK_FAIL_CALL");
    g_nFailAt = pszAt ? strtoul(pszAt, NULL, 10) : 0;
    const char* pszKill = getenv("VEK_FAIL_CALL_KILL");
    g_bKill = pszKill && *pszKill == '1';
    g_bConfigured = 1;
}

/* Writes szText to the file named by environment variable pszVariable,
 * through raw system calls, which are not the functions counted here. */
static void WriteReport(const char* pszVariable, const char* pszText)
{
    const char* pszPath = getenv(pszVariable);
    if (!pszPath)
        return;
    int fd =
        (int)syscall(SYS_openat, AT_FDCWD, pszPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    (void)syscall(SYS_write, fd, pszText, strlen(pszText));
    (void)syscall(SYS_close, fd);
}

/* True when this call is to fail; kills the process instead when asked to. */
static int ShouldFail(const char* pszName)
{
    Configure();
    if (++g_nCount != g_nFailAt)
        return 0;
    WriteReport("VEK_FAIL_CALL_REPORT", pszName);
    if (g_bKill)
        (void)syscall(SYS_kill, (long)syscall(SYS_getpid), SIGKILL);
    return 1;
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

int open(const char* pszPath, int nFlags, ...)
{
    va_list args;
    va_start(args, nFlags);
    mode_t nMode = (nFlags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    if (ShouldFail("open"))
        return errno = EIO, -1;
    return REAL(open)(pszPath, nFlags, nMode);
}

int openat(int nFolder, const char* pszPath, int nFlags, ...)
{
    va_list args;
    va_start(args, nFlags);
    mode_t nMode = (nFlags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    if (ShouldFail("openat"))
        return errno = EIO, -1;
    return REAL(openat)(nFolder, pszPath, nFlags, nMode);
}

ssize_t read(int fd, void* pBuffer, size_t nSize)
{
    if (ShouldFail("read"))
        return errno = EIO, -1;
    return REAL(read)(fd, pBuffer, nSize);
}

ssize_t write(int fd, const void* pData, size_t nSize)
{
    if (ShouldFail("write"))
        return errno = ENOSPC, -1;
    return REAL(write)(fd, pData, nSize);
}

int fsync(int fd)
{
    if (ShouldFail("fsync"))
        return errno = EIO, -1;
    return REAL(fsync)(fd);
}

int close(int fd)
{
    if (ShouldFail("close"))
    {
        REAL(close)(fd);
        return errno = EIO, -1;
    }
    return REAL(close)(fd);
}

int fchmod(int fd, mode_t nMode)
{
    if (ShouldFail("fchmod"))
        return errno = EIO, -1;
    return REAL(fchmod)(fd, nMode);
}

int fchown(int fd, uid_t nOwner, gid_t nGroup)
{
    if (ShouldFail("fchown"))
        return errno = EIO, -1;
    return REAL(fchown)(fd, nOwner, nGroup);
}

int rename(const char* pszFrom, const char* pszTo)
{
    if (ShouldFail("rename"))
        return errno = EIO, -1;
    return REAL(rename)(pszFrom, pszTo);
}

int renameat(int nFromFolder, const char* pszFrom, int nToFolder, const char* pszTo)
{
    if (ShouldFail("renameat"))
        return errno = EIO, -1;
    return REAL(renameat)(nFromFolder, pszFrom, nToFolder, pszTo);
}

int stat(const char* pszPath, struct stat* pInfo)
{
    if (ShouldFail("stat"))
        return errno = EIO, -1;
    return REAL(stat)(pszPath, pInfo);
}

int lstat(const char* pszPath, struct stat* pInfo)
{
    if (ShouldFail("lstat"))
        return errno = EIO, -1;
    return REAL(lstat)(pszPath, pInfo);
}

ssize_t readlink(const char* pszPath, char* pBuffer, size_t nSize)
{
    if (ShouldFail("readlink"))
        return errno = EIO, -1;
    return REAL(readlink)(pszPath, pBuffer, nSize);
}

int faccessat(int nFolder, const char* pszPath, int nMode, int nFlags)
{
    if (ShouldFail("faccessat"))
        return errno = EIO, -1;
    return REAL(faccessat)(nFolder, pszPath, nMode, nFlags);
}

ssize_t getrandom(void* pBuffer, size_t nSize, unsigned int nFlags)
{
    static unsigned long s_nCalls;
    if (ShouldFail("getrandom"))
        return errno = EIO, -1;
    if (!getenv("VEK_PREDICTABLE_RANDOM"))
        return REAL(getrandom)(pBuffer, nSize, nFlags);
    ++s_nCalls;
    unsigned char* p = (unsigned char*)pBuffer;
    for (size_t i = 0; i < nSize; ++i)
        p[i] = s_nCalls == 1 ? 0 : (unsigned char)(s_nCalls * 31 + i);
    char szCount[24];
    snprintf(szCount, sizeof szCount, "%lu", s_nCalls);
    WriteReport("VEK_PREDICTABLE_RANDOM", szCount);
    return (ssize_t)nSize;
}
