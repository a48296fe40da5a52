#include "vekfilename.h"

#include "stringapiset.h"

#include <cstring>

namespace
{
// Lone low surrogates from here on stand for bytes that are not UTF-8.
const wchar_t kEscapeBase = 0xDC00;

bool IsEscapedByte(wchar_t ch)
{
    return ch >= kEscapeBase + 0x80 && ch <= kEscapeBase + 0xFF;
}

// Length of the UTF-8 sequence that the lead byte announces (0: not a lead byte).
size_t AnnouncedLength(unsigned char chLead)
{
    if (chLead >= 0xC2 && chLead <= 0xDF)
        return 2;
    if (chLead >= 0xE0 && chLead <= 0xEF)
        return 3;
    if (chLead >= 0xF0 && chLead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

std::wstring VekFileNameToWide(const char* pszBytes)
{
    std::wstring strWide;
    if (pszBytes == nullptr)
        return strWide;
    const size_t nBytes = std::strlen(pszBytes);
    strWide.reserve(nBytes);
    size_t i = 0;
    while (i < nBytes)
    {
        const unsigned char ch = static_cast<unsigned char>(pszBytes[i]);
        if (ch < 0x80)
        {
            strWide.push_back(static_cast<wchar_t>(ch));
            ++i;
            continue;
        }
        // A whole sequence decodes strictly or not at all; the decoder's rules on
        // overlong forms and surrogates are the text conversion's own.
        const size_t nLength = AnnouncedLength(ch);
        wchar_t chDecoded = 0;
        if (nLength != 0 && nLength <= nBytes - i &&
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pszBytes + i,
                                static_cast<int>(nLength), &chDecoded, 1) == 1)
        {
            strWide.push_back(chDecoded);
            i += nLength;
            continue;
        }
        strWide.push_back(static_cast<wchar_t>(kEscapeBase + ch));
        ++i;
    }
    return strWide;
}

std::string VekFileNameFromWide(const wchar_t* pszWide)
{
    std::string strBytes;
    if (pszWide == nullptr)
        return strBytes;
    for (const wchar_t* p = pszWide; *p != 0; ++p)
    {
        // Most names are ASCII, which is its own UTF-8 form.
        if (*p > 0 && *p < 0x80)
        {
            strBytes.push_back(static_cast<char>(*p));
            continue;
        }
        if (IsEscapedByte(*p))
        {
            strBytes.push_back(static_cast<char>(*p - kEscapeBase));
            continue;
        }
        char arrEncoded[4];
        const int nEncoded =
            WideCharToMultiByte(CP_UTF8, 0, p, 1, arrEncoded, sizeof arrEncoded, nullptr, nullptr);
        strBytes.append(arrEncoded, static_cast<size_t>(nEncoded));
    }
    return strBytes;
}
