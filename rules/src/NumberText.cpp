#include "NumberText.h"

#include <cwchar>

const double g_dTolerance = 0.000001;

namespace
{
const wchar_t kDigitsAndPoint[] = L".0123456789";
}

double StringToDouble(const CString& strText)
{
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

int IsNumberText(const CString& strText)
{
    return strText.SpanIncluding(kDigitsAndPoint).GetLength() == strText.GetLength() ? 1 : 0;
}
