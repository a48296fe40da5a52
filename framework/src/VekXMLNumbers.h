// Numbers in XML text: integers and doubles read as a C stream reads them,
// doubles written in their shortest exact form. Internal to the framework.
#pragma once

#include <algorithm>
#include <cfenv>
#include <charconv>
#include <cmath>
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

// Room for any text FormatShortest writes.
constexpr size_t kShortestDoubleSize = 32;

// Writes the shortest text that reads back as exactly d, the text
// std::to_chars writes, to pOut (kShortestDoubleSize bytes); returns its end.
// Rule files hold values of a few decimals between 0.001 and 10,000. For those
// the text with the fewest decimals that reads back exactly is the shortest
// (no two texts of up to six decimals read as one value there, and no exponent
// form is shorter), and it is found without the general algorithm. The check
// divides as reading does only when rounding is to nearest; otherwise, and
// for every other value, std::to_chars writes it.
inline char* FormatShortest(char* pOut, double d)
{
    const double dMagnitude = d < 0 ? -d : d;
    if (dMagnitude >= 0.001 && dMagnitude < 10000.0 && std::fegetround() == FE_TONEAREST)
    {
        static const double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
        for (int nDecimals = 0; nDecimals < 7; ++nDecimals)
        {
            const double dScale = kScales[nDecimals];
            const long long nDigits = std::llround(dMagnitude * dScale);
            // Both are exact, so the quotient is what reading the text gives.
            if (static_cast<double>(nDigits) / dScale != dMagnitude)
                continue;
            char szDigits[24];
            const int nLength = static_cast<int>(
                std::to_chars(szDigits, szDigits + sizeof szDigits, nDigits).ptr - szDigits);
            char* p = pOut;
            if (d < 0)
                *p++ = '-';
            const int nWhole = nLength - nDecimals;
            if (nWhole <= 0)
            {
                *p++ = '0';
                *p++ = '.';
                for (int i = nWhole; i < 0; ++i)
                    *p++ = '0';
                return std::copy(szDigits, szDigits + nLength, p);
            }
            p = std::copy(szDigits, szDigits + nWhole, p);
            if (nDecimals == 0)
                return p;
            *p++ = '.';
            return std::copy(szDigits + nWhole, szDigits + nLength, p);
        }
    }
    return std::to_chars(pOut, pOut + kShortestDoubleSize, d).ptr;
}
} // namespace vek_xml
