#include "WholeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadWholeFile(const std::string& strPath, size_t nLimit, const char* pszTooLarge,
                   std::string& strBytes, std::string& strError)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
    {
        strError = strPath + ": " + std::strerror(errno);
        return false;
    }
    struct stat info = {};
    if (fstat(fd, &info) != 0)
    {
        strError = strPath + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    if (S_ISDIR(info.st_mode))
    {
        close(fd);
        strError = strPath + ": is a directory";
        return false;
    }
    if (!S_ISREG(info.st_mode))
    {
        close(fd);
        strError = strPath + ": not a regular file; only regular files are read";
        return false;
    }
    strBytes.clear();
    char arrBuffer[65536];
    for (;;)
    {
        const ssize_t n = read(fd, arrBuffer, sizeof arrBuffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            strError = strPath + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        if (strBytes.size() + static_cast<size_t>(n) > nLimit)
        {
            strError =
                strPath + ": larger than " + std::to_string(nLimit >> 20) + " MiB, " + pszTooLarge;
            close(fd);
            return false;
        }
        strBytes.append(arrBuffer, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}
