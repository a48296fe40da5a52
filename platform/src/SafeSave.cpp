#include "veksafesave.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Links followed before giving up, as the kernel's own limit.
const int kMaxLinkHops = 40;

std::string DirectoryOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

std::string BaseNameOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::string Describe(const std::string& strPath, int nError)
{
    return strPath + ": " + std::strerror(nError);
}

// Follows symbolic links from strPath to the file to write. pInfo receives the
// target's status when it exists; bExists says whether it does.
bool ResolveTarget(const std::string& strPath, std::string& strTarget, struct stat& info,
                   bool& bExists, std::string& strError)
{
    strTarget = strPath;
    for (int nHops = 0;; ++nHops)
    {
        if (lstat(strTarget.c_str(), &info) != 0)
        {
            if (errno != ENOENT)
            {
                strError = Describe(strTarget, errno);
                return false;
            }
            bExists = false;
            return true;
        }
        if (!S_ISLNK(info.st_mode))
            break;
        if (nHops >= kMaxLinkHops)
        {
            strError = Describe(strPath, ELOOP);
            return false;
        }
        std::string strLink(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t nLength = readlink(strTarget.c_str(), &strLink[0], strLink.size());
        if (nLength < 0)
        {
            strError = Describe(strTarget, errno);
            return false;
        }
        if (static_cast<size_t>(nLength) >= strLink.size())
        {
            // The link changed under us; read it again.
            --nHops;
            continue;
        }
        strLink.resize(static_cast<size_t>(nLength));
        const bool bRelativeHere = strTarget.find('/') == std::string::npos;
        strTarget =
            strLink[0] == '/' || bRelativeHere ? strLink : DirectoryOf(strTarget) + "/" + strLink;
    }
    bExists = true;
    if (!S_ISREG(info.st_mode))
    {
        strError = strTarget + ": not a regular file; only regular files are replaced";
        return false;
    }
    return true;
}

// A name for the temporary file: short, so that it fits whatever the target's
// name is, hidden, and not guessable. False when the system has no random
// bytes to give: a name that could be guessed is not used.
bool RandomTemporaryName(std::string& strName)
{
    static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char arrRandom[12];
    size_t nFilled = 0;
    while (nFilled < sizeof arrRandom)
    {
        const ssize_t n = getrandom(arrRandom + nFilled, sizeof arrRandom - nFilled, 0);
        if (n > 0)
            nFilled += static_cast<size_t>(n);
        else if (n == 0)
            errno = EIO;
        if (n <= 0 && errno != EINTR)
            return false;
    }
    strName = ".vekhost-";
    for (unsigned char nByte : arrRandom)
        strName += kDigits[nByte % (sizeof kDigits - 1)];
    strName += ".tmp";
    return true;
}

bool WriteAll(int fd, const char* pData, size_t nSize)
{
    size_t nDone = 0;
    while (nDone < nSize)
    {
        const ssize_t n = write(fd, pData + nDone, nSize - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = EIO;
            return false;
        }
        nDone += static_cast<size_t>(n);
    }
    return true;
}

class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    int Get() const { return m_fd; }
    // Closes now and reports close's own failure (delayed write errors).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
};

// The temporary file, removed when the save does not get as far as the rename
// (a failure, or an exception on the way). Keeps a reference to the name, so
// that taking charge of the file cannot itself fail.
class CTemporaryFile
{
public:
    CTemporaryFile(int nFolder, const std::string& strName) noexcept
        : m_nFolder(nFolder), m_strName(strName)
    {
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;
    ~CTemporaryFile()
    {
        if (!m_bKept)
            unlinkat(m_nFolder, m_strName.c_str(), 0);
    }
    // It has become the target; nothing of that name is left to remove.
    void Keep() { m_bKept = true; }

private:
    int m_nFolder;
    const std::string& m_strName;
    bool m_bKept = false;
};
} // namespace

bool VekSaveFileSafely(const std::string& strPath, const std::string& strBytes,
                       CVekSaveResult& result, std::string& strError, IVekSaveObserver* pObserver)
{
    return VekSaveFileSafely(
        strPath,
        [&strBytes](const VekSaveSink& sink) { return sink(strBytes.data(), strBytes.size()); },
        result, strError, pObserver);
}

bool VekSaveFileSafely(const std::string& strPath,
                       const std::function<bool(const VekSaveSink&)>& pfnProduce,
                       CVekSaveResult& result, std::string& strError, IVekSaveObserver* pObserver)
{
    if (strPath.empty())
    {
        strError = "empty file name";
        return false;
    }
    // A path that leads, through whatever links, to something other than a
    // regular file (/dev/stdout on a terminal or pipe) is not replaced.
    struct stat followed = {};
    if (stat(strPath.c_str(), &followed) == 0 && !S_ISREG(followed.st_mode))
    {
        strError = strPath + ": not a regular file; only regular files are replaced";
        return false;
    }
    struct stat info = {};
    bool bExists = false;
    std::string strTarget;
    if (!ResolveTarget(strPath, strTarget, info, bExists, strError))
        return false;
    // Renaming over a file needs no permission on the file itself, so it is
    // asked for here. The superuser may write anything, but a file without a
    // single write bit is read-only by intent and is not replaced either.
    if (bExists)
    {
        const bool bMayWrite = faccessat(AT_FDCWD, strTarget.c_str(), W_OK, AT_EACCESS) == 0;
        // Only a refusal means read-only; any other failure is said as it is.
        if (!bMayWrite && errno != EACCES && errno != EPERM && errno != EROFS)
        {
            strError = "cannot save " + Describe(strTarget, errno);
            return false;
        }
        if (!bMayWrite || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        {
            strError = strTarget + ": the file is read-only; nothing written";
            return false;
        }
    }

    const std::string strFolder = DirectoryOf(strTarget);
    const std::string strName = BaseNameOf(strTarget);
    CFileDescriptor folder(open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0)
    {
        strError = "cannot save " + strTarget + ": " + std::strerror(errno);
        return false;
    }
    // A new file gets what any newly created file gets (0666 less the umask);
    // a replaced one its own bits, set once owner and group are in place.
    const mode_t nCreateMode = bExists ? S_IRUSR | S_IWUSR : 0666;
    std::string strTemporary;
    int fd = -1;
    for (int nTry = 0; nTry < 100 && fd < 0; ++nTry)
    {
        if (!RandomTemporaryName(strTemporary))
            break;
        fd = openat(folder.Get(), strTemporary.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, nCreateMode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
    {
        strError = "cannot save " + strTarget + ": " + std::strerror(errno);
        return false;
    }
    CFileDescriptor file(fd);
    CTemporaryFile temporary(folder.Get(), strTemporary);
    bool bOk = true;
    int nError = 0;
    if (bExists)
    {
        // Owner and group as far as we may; a group we belong to can be kept
        // even when the owner cannot.
        if (fchown(fd, info.st_uid, info.st_gid) != 0)
            (void)fchown(fd, static_cast<uid_t>(-1), info.st_gid);
        if (fchmod(fd, info.st_mode & 07777) != 0)
            bOk = false, nError = errno;
    }
    if (bOk)
    {
        int nWriteError = 0;
        const VekSaveSink sink = [fd, &nWriteError](const char* pData, size_t nSize) {
            if (nWriteError != 0)
                return false;
            if (WriteAll(fd, pData, nSize))
                return true;
            nWriteError = errno;
            return false;
        };
        if (!pfnProduce(sink) || nWriteError != 0)
            bOk = false, nError = nWriteError != 0 ? nWriteError : EIO;
    }
    if (bOk && fsync(fd) != 0)
        bOk = false, nError = errno;
    if (!file.Close() && bOk)
        bOk = false, nError = errno;
    if (bOk)
    {
        // Everything that may allocate or throw happens before the rename.
        if (pObserver != nullptr)
            pObserver->BeforeReplace(strTarget);
        result.strWritten = strTarget;
        result.bThroughLink = strTarget != strPath;
        result.strWarning.clear();
        if (renameat(folder.Get(), strTemporary.c_str(), folder.Get(), strName.c_str()) != 0)
            bOk = false, nError = errno;
    }
    if (!bOk)
    {
        strError = "cannot save " + strTarget + ": " + std::strerror(nError);
        return false;
    }
    temporary.Keep();
    if (pObserver != nullptr)
        pObserver->Replaced();
    if (fsync(folder.Get()) != 0)
        result.strWarning =
            strTarget + " was written, but its folder could not be synced: " + std::strerror(errno);
    return true;
}
