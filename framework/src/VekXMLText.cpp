#include "VekXMLText.h"

namespace vek_xml
{
void AppendUtf8(const wchar_t* psz, size_t nLength, std::string& strOut)
{
    size_t nStart = strOut.size();
    // Most text is ASCII: size for one byte each, grow only when a wider
    // character turns up.
    strOut.resize(nStart + nLength);
    char* pOut = &strOut[0] + nStart;
    size_t i = 0;
    for (; i < nLength; ++i)
    {
        uint32_t ch = static_cast<uint32_t>(psz[i]);
        if (ch >= 0x80)
            break;
        pOut[i] = static_cast<char>(ch);
    }
    if (i == nLength)
        return;
    size_t nTail = Utf8Length(psz + i, nLength - i);
    strOut.resize(nStart + i + nTail);
    EncodeUtf8(psz + i, nLength - i, &strOut[0] + nStart + i);
}

size_t Utf8Length(const wchar_t* psz, size_t nLength)
{
    size_t nBytes = 0;
    for (size_t i = 0; i < nLength; ++i)
    {
        uint32_t ch = static_cast<uint32_t>(psz[i]);
        nBytes += ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : ch < 0x110000 ? 4 : 3;
    }
    return nBytes;
}

char* EncodeUtf8(const wchar_t* psz, size_t nLength, char* pOut)
{
    for (size_t i = 0; i < nLength; ++i)
    {
        uint32_t ch = static_cast<uint32_t>(psz[i]);
        if (ch < 0x80)
        {
            *pOut++ = static_cast<char>(ch);
        }
        else if (ch < 0x800)
        {
            *pOut++ = static_cast<char>(0xC0 | (ch >> 6));
            *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        }
        else if (ch < 0x10000 || ch >= 0x110000)
        {
            if ((ch >= 0xD800 && ch <= 0xDFFF) || ch >= 0x110000)
                ch = 0xFFFD;
            *pOut++ = static_cast<char>(0xE0 | (ch >> 12));
            *pOut++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        }
        else
        {
            *pOut++ = static_cast<char>(0xF0 | (ch >> 18));
            *pOut++ = static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
            *pOut++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            *pOut++ = static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return pOut;
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

namespace vek_xml
{
namespace
{
// Length of the sequence a lead byte starts; 0 for a byte that cannot lead.
size_t SequenceLength(unsigned char ch)
{
    if (ch < 0x80)
        return 1;
    if ((ch & 0xE0) == 0xC0)
        return 2;
    if ((ch & 0xF0) == 0xE0)
        return 3;
    if ((ch & 0xF8) == 0xF0)
        return 4;
    return 0;
}
} // namespace

void WideStringWriter::write(const void* pData, size_t nSize)
{
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    // Complete a sequence split across two writes first.
    while (m_nCarry > 0 && nSize > 0)
    {
        m_arrCarry[m_nCarry++] = *p++;
        --nSize;
        if (m_nCarry == SequenceLength(m_arrCarry[0]))
        {
            size_t nCarry = m_nCarry;
            m_nCarry = 0;
            Decode(m_arrCarry, nCarry);
        }
    }
    // Keep back an incomplete sequence at the end.
    size_t nTail = 0;
    for (size_t nBack = 1; nBack <= 3 && nBack <= nSize; ++nBack)
    {
        unsigned char ch = p[nSize - nBack];
        if ((ch & 0xC0) != 0x80)
        {
            size_t nNeed = SequenceLength(ch);
            if (nNeed > nBack)
                nTail = nBack;
            break;
        }
    }
    Decode(p, nSize - nTail);
    for (size_t i = 0; i < nTail; ++i)
        m_arrCarry[m_nCarry++] = p[nSize - nTail + i];
}

void WideStringWriter::Decode(const unsigned char* p, size_t nSize)
{
    if (nSize == 0)
        return;
    // At most one character per byte; the string is cut to size in Finish.
    wchar_t* pOut = m_strOut.GetBufferSetLength(m_nLength + static_cast<int>(nSize)) + m_nLength;
    const unsigned char* pEnd = p + nSize;
    while (p < pEnd)
    {
        uint32_t ch = *p++;
        if (ch < 0x80)
        {
            *pOut++ = static_cast<wchar_t>(ch);
            continue;
        }
        size_t nMore = SequenceLength(static_cast<unsigned char>(ch));
        if (nMore == 0)
        {
            *pOut++ = 0xFFFD;
            continue;
        }
        --nMore;
        ch &= 0xFF >> (nMore + 2);
        bool bOk = true;
        for (size_t i = 0; i < nMore; ++i)
        {
            if (p >= pEnd || (*p & 0xC0) != 0x80)
            {
                bOk = false;
                break;
            }
            ch = (ch << 6) | (*p++ & 0x3F);
        }
        *pOut++ = bOk ? static_cast<wchar_t>(ch) : static_cast<wchar_t>(0xFFFD);
    }
    m_nLength = static_cast<int>(pOut - m_strOut.GetBuffer());
    m_strOut.ReleaseBuffer(m_nLength);
}

void WideStringWriter::Reserve(size_t nCharacters)
{
    m_strOut.GetBufferSetLength(static_cast<int>(nCharacters));
    m_strOut.ReleaseBuffer(m_nLength);
}

void WideStringWriter::Finish()
{
    if (m_nCarry > 0)
    {
        m_strOut.AppendChar(0xFFFD);
        m_nCarry = 0;
    }
}
} // namespace vek_xml
