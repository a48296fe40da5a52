#include "PlainDecimal.h"

#include <charconv>
#include <cmath>
#include <cstddef>

bool ReadPlainDecimalDigits(const wchar_t* pszDigits, bool bNegative, double& dValue)
{
    char szNumber[64];
    size_t nLength = 0;
    if (bNegative)
        szNumber[nLength++] = '-';
    bool bDigit = false;
    bool bPoint = false;
    for (const wchar_t* p = pszDigits; *p != 0; ++p)
    {
        if (nLength == sizeof szNumber)
            return false;
        if (*p >= L'0' && *p <= L'9')
            bDigit = true;
        else if (*p == L'.' && !bPoint)
            bPoint = true;
        else
            return false;
        szNumber[nLength++] = static_cast<char>(*p);
    }
    if (!bDigit)
        return false;
    double dRead = 0.0;
    const std::from_chars_result result =
        std::from_chars(szNumber, szNumber + nLength, dRead, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != szNumber + nLength ||
        (dRead != 0.0 && std::fpclassify(dRead) != FP_NORMAL))
        return false;
    dValue = dRead;
    return true;
}
