#include "stringapiset.h"

#include "VekModules.h"
#include "errhandlingapi.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace
{
constexpr uint32_t kReplacementCharacter = 0xFFFD;
constexpr uint32_t kIllFormed = 0xFFFFFFFF;

int Fail(DWORD dwError)
{
    SetLastError(dwError);
    return 0;
}

// Decodes the sequence that starts at p (a byte of 0x80 or more) into ch and
// returns the bytes it takes. An ill-formed sequence sets ch to kIllFormed and
// takes its maximal subpart: the lead byte and the continuation bytes that are
// still allowed after it, so the next byte that breaks it starts afresh. The
// allowed second bytes rule out overlong forms, surrogates and values above U+10FFFF.
size_t DecodeSequence(const unsigned char* p, const unsigned char* pEnd, uint32_t& ch)
{
    const unsigned char lead = *p;
    size_t nLength = 0;
    unsigned char lowest = 0x80;
    unsigned char highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        nLength = 2;
        ch = lead & 0x1F;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        nLength = 3;
        ch = lead & 0x0F;
        lowest = lead == 0xE0 ? 0xA0 : 0x80;
        highest = lead == 0xED ? 0x9F : 0xBF;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        nLength = 4;
        ch = lead & 0x07;
        lowest = lead == 0xF0 ? 0x90 : 0x80;
        highest = lead == 0xF4 ? 0x8F : 0xBF;
    }
    else
    {
        ch = kIllFormed;
        return 1;
    }
    for (size_t i = 1; i < nLength; ++i)
    {
        if (p + i == pEnd || p[i] < lowest || p[i] > highest)
        {
            ch = kIllFormed;
            return i;
        }
        ch = (ch << 6) | (p[i] & 0x3F);
        lowest = 0x80;
        highest = 0xBF;
    }
    return nLength;
}

// Bytes of the UTF-8 form of ch; 0 for a surrogate or a value above U+10FFFF.
size_t EncodedSize(uint32_t ch)
{
    if (ch < 0x80)
        return 1;
    if (ch < 0x800)
        return 2;
    if (ch < 0x10000)
        return ch >= 0xD800 && ch <= 0xDFFF ? 0 : 3;
    return ch < 0x110000 ? 4 : 0;
}

char* Encode(uint32_t ch, size_t nSize, char* pOut)
{
    switch (nSize)
    {
    case 1:
        *pOut++ = static_cast<char>(ch);
        break;
    case 2:
        *pOut++ = static_cast<char>(0xC0 | (ch >> 6));
        *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        break;
    case 3:
        *pOut++ = static_cast<char>(0xE0 | (ch >> 12));
        *pOut++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        break;
    default:
        *pOut++ = static_cast<char>(0xF0 | (ch >> 18));
        *pOut++ = static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        *pOut++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        break;
    }
    return pOut;
}
} // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar)
{
    if (CodePage != CP_UTF8 || lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 ||
        cchWideChar < 0 || (cchWideChar > 0 && lpWideCharStr == nullptr))
        return Fail(ERROR_INVALID_PARAMETER);
    if ((dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0)
        return Fail(ERROR_INVALID_FLAGS);
    const bool bStrict = (dwFlags & MB_ERR_INVALID_CHARS) != 0;
    const bool bMeasureOnly = cchWideChar == 0;
    const size_t nBytes =
        cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const auto* p = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    const auto* pEnd = p + nBytes;
    const size_t nCapacity = static_cast<size_t>(cchWideChar);
    size_t nOut = 0;
    while (p < pEnd)
    {
        uint32_t ch = *p;
        if (ch < 0x80)
        {
            ++p;
        }
        else
        {
            p += DecodeSequence(p, pEnd, ch);
            if (ch == kIllFormed)
            {
                if (bStrict)
                    return Fail(ERROR_NO_UNICODE_TRANSLATION);
                ch = kReplacementCharacter;
            }
        }
        if (!bMeasureOnly)
        {
            if (nOut == nCapacity)
                return Fail(ERROR_INSUFFICIENT_BUFFER);
            lpWideCharStr[nOut] = static_cast<wchar_t>(ch);
        }
        ++nOut;
    }
    // At most one wide character per byte, so the count fits the int it came in.
    return static_cast<int>(nOut);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar)
{
    if (CodePage != CP_UTF8 || lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 ||
        cbMultiByte < 0 || (cbMultiByte > 0 && lpMultiByteStr == nullptr) ||
        lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    if ((dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0)
        return Fail(ERROR_INVALID_FLAGS);
    const bool bStrict = (dwFlags & WC_ERR_INVALID_CHARS) != 0;
    const bool bMeasureOnly = cbMultiByte == 0;
    const size_t nLength =
        cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    const size_t nCapacity = static_cast<size_t>(cbMultiByte);
    size_t nOut = 0;
    for (size_t i = 0; i < nLength; ++i)
    {
        // wchar_t is signed here: a negative value becomes one far above U+10FFFF.
        uint32_t ch = static_cast<uint32_t>(lpWideCharStr[i]);
        size_t nSize = EncodedSize(ch);
        if (nSize == 0)
        {
            if (bStrict)
                return Fail(ERROR_NO_UNICODE_TRANSLATION);
            ch = kReplacementCharacter;
            nSize = 3;
        }
        if (!bMeasureOnly)
        {
            if (nCapacity - nOut < nSize)
                return Fail(ERROR_INSUFFICIENT_BUFFER);
            Encode(ch, nSize, lpMultiByteStr + nOut);
        }
        nOut += nSize;
        if (nOut > static_cast<size_t>(INT_MAX))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    return static_cast<int>(nOut);
}

namespace vek
{
std::string WideToUtf8(const wchar_t* psz)
{
    if (psz == nullptr || *psz == 0)
        return std::string();
    const int nLength = static_cast<int>(std::wcslen(psz));
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, psz, nLength, nullptr, 0,
                                                            nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, psz, nLength, &out[0], static_cast<int>(out.size()), nullptr,
                        nullptr);
    return out;
}

std::wstring Utf8ToWide(const char* psz)
{
    if (psz == nullptr || *psz == 0)
        return std::wstring();
    const int nLength = static_cast<int>(std::strlen(psz));
    std::wstring out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, psz, nLength, nullptr, 0)),
                     L'\0');
    MultiByteToWideChar(CP_UTF8, 0, psz, nLength, &out[0], static_cast<int>(out.size()));
    return out;
}
} // namespace vek
