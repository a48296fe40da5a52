#include "RecordNumberText.h"

#include "PlainDecimal.h"

#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <locale>
#include <new>
#include <sstream>

namespace
{
// Narrow ASCII text widened character by character.
CString Widen(const char* pBegin, const char* pEnd)
{
    wchar_t szText[64];
    int nLength = 0;
    for (const char* p = pBegin; p != pEnd; ++p)
        szText[nLength++] = static_cast<wchar_t>(*p);
    return CString(szText, nLength);
}

// The formatted output functions write a point only while the C locale's
// decimal separator is one, and round in the processor's rounding mode.
bool FormatsLikeToChars()
{
    const char* pszPoint = std::localeconv()->decimal_point;
    return pszPoint[0] == '.' && pszPoint[1] == '\0' && std::fegetround() == FE_TONEAREST;
}

// Below this magnitude the six-decimal text fits the buffer of Widen.
constexpr double kShortFixedLimit = 1e40;

// One stream serves every read that needs it (the module runs on one thread):
// setting up a stream costs more than reading a number with it. The classic
// locale keeps the reading independent of the host's global C++ locale.
double StreamDouble(const CString& strText)
{
    static std::wistringstream stream = [] {
        std::wistringstream fresh;
        fresh.imbue(std::locale::classic());
        return fresh;
    }();
    stream.clear();
    stream.str(strText.str());
    double dValue = 0.0;
    if (stream >> dValue)
        return dValue;
    // A stream turns an exception inside the extraction (out of memory) into
    // its bad state; that is no "no number" and must not become a value.
    if (stream.bad())
        throw std::bad_alloc();
    return 0.0;
}

bool IsAsciiBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\v' || ch == L'\f' || ch == L'\r';
}

// The text records hold: ASCII blanks, an optional sign, digits with at most
// one point and at least one digit, and nothing after them. Both readers round
// such a text correctly to the nearest double, so they agree on it. False for
// any other text and for values out of range.
bool ReadPlainReal(const CString& strText, double& dValue)
{
    const wchar_t* p = strText.GetString();
    while (IsAsciiBlank(*p))
        ++p;
    const bool bNegative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    return ReadPlainDecimalDigits(p, bNegative, dValue);
}
} // namespace

CString FormatRecordReal(double dValue)
{
    if (std::isfinite(dValue) && std::fabs(dValue) < kShortFixedLimit && FormatsLikeToChars())
    {
        char szText[64];
        const std::to_chars_result result =
            std::to_chars(szText, szText + sizeof szText, dValue, std::chars_format::fixed, 6);
        if (result.ec == std::errc())
            return Widen(szText, result.ptr);
    }
    CString strText;
    strText.Format(L"%f", dValue);
    return strText;
}

CString FormatRecordUnsigned(uint32_t nValue)
{
    char szText[16];
    const std::to_chars_result result = std::to_chars(szText, szText + sizeof szText, nValue);
    return Widen(szText, result.ptr);
}

double ReadRecordReal(const CString& strText)
{
    double dValue = 0.0;
    if (ReadPlainReal(strText, dValue))
        return dValue;
    return StreamDouble(strText);
}
