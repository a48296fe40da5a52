#include "NumberText.h"

#include "PlainDecimal.h"

#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cwchar>

const double g_dTolerance = 0.000001;

namespace
{
const wchar_t kDigitsAndPoint[] = L".0123456789";

// Below this the six-decimal text of a value fits a short buffer.
constexpr double kShortFixedLimit = 1e40;

// "%lf" writes and wcstod reads a point only while it is the C locale's decimal
// separator, and "%lf" rounds in the processor's rounding mode; to_chars and
// from_chars always use a point and round to nearest.
bool CharsAgreeWithCLibrary()
{
    const char* pszPoint = std::localeconv()->decimal_point;
    return pszPoint[0] == '.' && pszPoint[1] == '\0' && std::fegetround() == FE_TONEAREST;
}
} // namespace

namespace
{
// Text of digits with at most one point and nothing else, read as wcstod reads
// it; false for any other text and where the two readers could differ.
bool ReadPlainDecimal(const wchar_t* pszText, double& dValue)
{
    return CharsAgreeWithCLibrary() && ReadPlainDecimalDigits(pszText, false, dValue);
}
} // namespace

double StringToDouble(const CString& strText)
{
    // Most texts are a plain number already, which needs no copies.
    double dValue = 0.0;
    if (ReadPlainDecimal(strText.GetString(), dValue))
        return dValue;
    CString strTrimmed = strText;
    strTrimmed.Trim();
    CString strNumber = strTrimmed.SpanIncluding(kDigitsAndPoint);
    if (strNumber.IsEmpty())
        return 0.0;
    return std::wcstod(strNumber, nullptr);
}

WCHAR GetUserDecimalSeparator()
{
    WCHAR szSeparator[5] = {0};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szSeparator, 5) <= 0 ||
        szSeparator[0] == 0)
        return L'.';
    return szSeparator[0];
}

void TrimTrailingZeros(CString& strText)
{
    strText.TrimRight(L'0');
    if (!strText.IsEmpty() && strText[strText.GetLength() - 1] == GetUserDecimalSeparator())
        strText += L'0';
}

CString FormatDouble(double dValue)
{
    CString strText;
    strText.Format(L"%lf", dValue);
    TrimTrailingZeros(strText);
    return strText;
}

double ShownValue(double dValue)
{
    // Both pairs round correctly, so they agree wherever the text is the same:
    // plain digits with a point. A sign (also of -0.0) ends StringToDouble's run.
    if (std::isfinite(dValue) && !std::signbit(dValue) && dValue < kShortFixedLimit &&
        CharsAgreeWithCLibrary())
    {
        char szText[64];
        const std::to_chars_result written =
            std::to_chars(szText, szText + sizeof szText, dValue, std::chars_format::fixed, 6);
        double dRead = 0.0;
        if (written.ec == std::errc() &&
            std::from_chars(szText, written.ptr, dRead, std::chars_format::fixed).ec == std::errc())
            return dRead;
    }
    return StringToDouble(FormatDouble(dValue));
}

int IsNumberText(const CString& strText)
{
    return strText.SpanIncluding(kDigitsAndPoint).GetLength() == strText.GetLength() ? 1 : 0;
}
