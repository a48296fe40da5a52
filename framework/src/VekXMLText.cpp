#include "VekXMLText.h"

namespace vek_xml
{
void AppendUtf8(const wchar_t* psz, size_t nLength, std::string& strOut)
{
    strOut.reserve(strOut.size() + nLength);
    for (size_t i = 0; i < nLength; ++i)
    {
        uint32_t ch = static_cast<uint32_t>(psz[i]);
        if (ch < 0x80)
        {
            strOut.push_back(static_cast<char>(ch));
        }
        else if (ch < 0x800)
        {
            strOut.push_back(static_cast<char>(0xC0 | (ch >> 6)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
        else if (ch < 0x10000)
        {
            // A lone surrogate has no UTF-8 form.
            if (ch >= 0xD800 && ch <= 0xDFFF)
                ch = 0xFFFD;
            strOut.push_back(static_cast<char>(0xE0 | (ch >> 12)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
        else if (ch < 0x110000)
        {
            strOut.push_back(static_cast<char>(0xF0 | (ch >> 18)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
        else
        {
            strOut.append("\xEF\xBF\xBD");
        }
    }
}

CString FromUtf8(const char* psz)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(psz);
    size_t nLength = 0;
    while (p[nLength] != 0 && p[nLength] < 0x80)
        ++nLength;
    CString str;
    if (p[nLength] == 0)
    {
        // Plain ASCII: the common case, written straight into the string.
        if (nLength > 0)
        {
            wchar_t* pOut = str.GetBufferSetLength(static_cast<int>(nLength));
            for (size_t i = 0; i < nLength; ++i)
                pOut[i] = static_cast<wchar_t>(p[i]);
        }
        return str;
    }
    std::wstring strWide;
    strWide.reserve(nLength + 16);
    while (*p)
    {
        uint32_t ch = *p;
        int nMore = 0;
        if (ch < 0x80)
            nMore = 0;
        else if ((ch & 0xE0) == 0xC0)
            ch &= 0x1F, nMore = 1;
        else if ((ch & 0xF0) == 0xE0)
            ch &= 0x0F, nMore = 2;
        else if ((ch & 0xF8) == 0xF0)
            ch &= 0x07, nMore = 3;
        else
            nMore = -1;
        ++p;
        if (nMore < 0)
        {
            strWide.push_back(0xFFFD);
            continue;
        }
        bool bOk = true;
        for (int i = 0; i < nMore; ++i)
        {
            if ((*p & 0xC0) != 0x80)
            {
                bOk = false;
                break;
            }
            ch = (ch << 6) | (*p & 0x3F);
            ++p;
        }
        strWide.push_back(bOk ? static_cast<wchar_t>(ch) : static_cast<wchar_t>(0xFFFD));
    }
    return CString(strWide);
}
} // namespace vek_xml

namespace vek_xml
{
std::string FormatDouble(double d)
{
    char szBuffer[32];
    auto result = std::to_chars(szBuffer, szBuffer + sizeof(szBuffer), d);
    return std::string(szBuffer, result.ptr);
}
} // namespace vek_xml
