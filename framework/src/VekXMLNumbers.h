// Numbers in XML text: integers and doubles read as a C stream reads them,
// doubles written in their shortest exact form. Internal to the framework.
#pragma once

#include <charconv>
#include <limits>
#include <string>

namespace vek_xml
{
inline const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    return p;
}

// Integer as a C stream reads it: blanks, an optional sign, then digits. False
// (nValue unchanged) when there are no digits or the value does not fit TInt.
template <class TInt> bool ParseInteger(const char* psz, TInt& nValue)
{
    const char* p = SkipBlanks(psz);
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    if (*p < '0' || *p > '9')
        return false;
    const char* pEnd = p;
    while (*pEnd >= '0' && *pEnd <= '9')
        ++pEnd;
    unsigned long long nMagnitude = 0;
    // Up to 19 digits cannot overflow 64 bits; longer texts go through from_chars,
    // which reports the overflow.
    if (pEnd - p <= 19)
    {
        for (const char* q = p; q != pEnd; ++q)
            nMagnitude = nMagnitude * 10 + static_cast<unsigned>(*q - '0');
    }
    else
    {
        auto result = std::from_chars(p, pEnd, nMagnitude);
        if (result.ec != std::errc())
            return false;
    }
    const unsigned long long nMax =
        static_cast<unsigned long long>(std::numeric_limits<TInt>::max());
    if (!std::numeric_limits<TInt>::is_signed)
    {
        if (bNegative && nMagnitude != 0)
            return false;
        if (nMagnitude > nMax)
            return false;
        nValue = static_cast<TInt>(nMagnitude);
        return true;
    }
    if (nMagnitude > nMax + (bNegative ? 1u : 0u))
        return false;
    nValue = bNegative ? static_cast<TInt>(-static_cast<long long>(nMagnitude - 1) - 1)
                       : static_cast<TInt>(nMagnitude);
    return true;
}

// Double from the start of the text; reading stops at the first character
// that cannot continue the number. False (dValue unchanged) when none starts there.
inline bool ParseDouble(const char* psz, double& dValue)
{
    const char* p = SkipBlanks(psz);
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    bool bDigit = (*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9');
    if (!bDigit)
        return false;
    const char* pEnd = p;
    while (*pEnd)
        ++pEnd;
    double d = 0.0;
    auto result = std::from_chars(p, pEnd, d, std::chars_format::general);
    if (result.ec != std::errc())
        return false;
    dValue = bNegative ? -d : d;
    return true;
}

// Shortest text that reads back as exactly d.
inline std::string FormatDouble(double d)
{
    char szBuffer[32];
    auto result = std::to_chars(szBuffer, szBuffer + sizeof(szBuffer), d);
    return std::string(szBuffer, result.ptr);
}
} // namespace vek_xml
