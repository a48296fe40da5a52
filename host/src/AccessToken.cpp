#include "AccessToken.h"

#include <cerrno>
#include <cstdio>
#include <sys/random.h>

namespace
{
bool FillRandom(unsigned char* pBytes, size_t nBytes)
{
    size_t nFilled = 0;
    while (nFilled < nBytes)
    {
        const ssize_t nGot = getrandom(pBytes + nFilled, nBytes - nFilled, 0);
        if (nGot < 0 && errno == EINTR)
            continue;
        if (nGot <= 0)
            break;
        nFilled += static_cast<size_t>(nGot);
    }
    if (nFilled == nBytes)
        return true;
    // Kernels without getrandom still have the device.
    std::FILE* pFile = std::fopen("/dev/urandom", "rb");
    if (pFile == nullptr)
        return false;
    const bool bRead = std::fread(pBytes, 1, nBytes, pFile) == nBytes;
    std::fclose(pFile);
    return bRead;
}
} // namespace

std::string MakeAccessToken()
{
    unsigned char bytes[16] = {};
    if (!FillRandom(bytes, sizeof(bytes)))
        return std::string();
    static const char kDigits[] = "0123456789abcdef";
    std::string strToken;
    for (unsigned char byte : bytes)
    {
        strToken += kDigits[byte >> 4];
        strToken += kDigits[byte & 0xF];
    }
    return strToken;
}

bool SameToken(const std::string& strGiven, const std::string& strToken)
{
    if (strToken.empty() || strGiven.size() != strToken.size())
        return false;
    unsigned char nDifference = 0;
    for (size_t i = 0; i < strToken.size(); ++i)
        nDifference |= static_cast<unsigned char>(strGiven[i] ^ strToken[i]);
    return nDifference == 0;
}
