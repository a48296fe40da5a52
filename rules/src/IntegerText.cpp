#include "IntegerText.h"

#include <VekXMLNode.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <new>

CString FormatInteger(long nValue)
{
    // "%ld" takes the host's 32-bit long, so a wider value is cut to its low 32
    // bits. The digits and the sign are ASCII, so the narrow text widens
    // character by character to exactly what "%ld" writes.
    const int32_t nHostLong = static_cast<int32_t>(static_cast<uint32_t>(nValue));
    char szDigits[16];
    const std::to_chars_result result =
        std::to_chars(szDigits, szDigits + sizeof szDigits, nHostLong);
    wchar_t szText[24];
    int nLength = 0;
    for (const char* p = szDigits; p != result.ptr; ++p)
        szText[nLength++] = static_cast<wchar_t>(*p);
    return CString(szText, nLength);
}

namespace
{
bool IsAsciiBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\v' || ch == L'\f' || ch == L'\r';
}

// Decimal digits that never overflow a long, however many of the 18 there are.
constexpr int kSafeDigits = 18;

// The common text: ASCII blanks, an optional sign, at most kSafeDigits digits,
// then anything but a digit. Reads it as the scan would; false for any other
// text, which is left to the scan itself (wider blanks, overflow).
bool ScanPlainInteger(const wchar_t* p, long& nValue)
{
    while (IsAsciiBlank(*p))
        ++p;
    const bool bNegative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    long nMagnitude = 0;
    int nDigits = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
    {
        if (++nDigits > kSafeDigits)
            return false;
        nMagnitude = nMagnitude * 10 + (*p - L'0');
    }
    if (nDigits == 0)
        return false;
    nValue = bNegative ? -nMagnitude : nMagnitude;
    return true;
}
} // namespace

bool ScanInteger(const CString& strText, long& nValue)
{
    if (ScanPlainInteger(strText.GetString(), nValue))
        return true;
    long nScanned = 0;
    errno = 0;
    const int nRead = std::swscanf(strText, L"%ld", &nScanned);
    // Running out of memory inside the scan is no "no number" and must not become a value.
    if (nRead == EOF && errno == ENOMEM)
        throw std::bad_alloc();
    if (nRead != 1)
        return false;
    nValue = nScanned;
    return true;
}

bool ReadIntegerAttribute(VekXMLNode* pNode, LPCWSTR pszName, long& nValue)
{
    CString strText;
    return pNode->GetAttributeValue(pszName, strText) && ScanInteger(strText, nValue);
}
