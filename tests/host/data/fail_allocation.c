/* Preloaded into vekhost by the host tests: makes the Nth memory allocation
 * of the process fail, N from $VEK_FAIL_ALLOCATION (0 or unset: none). When
 * it fails one, it creates the file $VEK_FAIL_ALLOCATION_REPORT, so that a
 * test can tell a run that reached the Nth allocation from one that ended
 * before it. Only system calls are used on that path: it must not allocate. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

extern void* __libc_malloc(size_t nSize);
extern void* __libc_calloc(size_t nCount, size_t nSize);
extern void* __libc_realloc(void* p, size_t nSize);
extern void* __libc_memalign(size_t nAlignment, size_t nSize);

static unsigned long g_nCount;
static unsigned long g_nFailAt;
static int g_bConfigured;

static int ShouldFail(void)
{
    if (!g_bConfigured)
    {
        const char* pszAt = getenv("VEK_FAIL_ALLOCATION");
        g_nFailAt = pszAt ? strtoul(pszAt, NULL, 10) : 0;
        g_bConfigured = 1;
    }
    if (++g_nCount != g_nFailAt)
        return 0;
    const char* pszReport = getenv("VEK_FAIL_ALLOCATION_REPORT");
    if (pszReport)
    {
        int fd = open(pszReport, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd >= 0)
            close(fd);
    }
    errno = ENOMEM;
    return 1;
}

void* malloc(size_t nSize)
{
    return ShouldFail() ? NULL : __libc_malloc(nSize);
}

void* calloc(size_t nCount, size_t nSize)
{
    return ShouldFail() ? NULL : __libc_calloc(nCount, nSize);
}

void* realloc(void* p, size_t nSize)
{
    return ShouldFail() ? NULL : __libc_realloc(p, nSize);
}

void* memalign(size_t nAlignment, size_t nSize)
{
    return ShouldFail() ? NULL : __libc_memalign(nAlignment, nSize);
}

void* aligned_alloc(size_t nAlignment, size_t nSize)
{
    return ShouldFail() ? NULL : __libc_memalign(nAlignment, nSize);
}

int posix_memalign(void** pp, size_t nAlignment, size_t nSize)
{
    if (ShouldFail())
        return ENOMEM;
    void* p = __libc_memalign(nAlignment, nSize);
    if (p == NULL)
        return ENOMEM;
    *pp = p;
    return 0;
}
