#include "VekXMLText.h"

#include "stringapiset.h"

#include <cstdint>
#include <cstring>

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

bool IsContinuation(unsigned char ch)
{
    return (ch & 0xC0) == 0x80;
}
} // namespace

void AppendUtf8(const wchar_t* psz, size_t nLength, std::string& strOut)
{
    size_t nStart = strOut.size();
    // Most text is ASCII: size for one byte each, measure only when a wider
    // character turns up.
    strOut.resize(nStart + nLength);
    char* pOut = &strOut[0] + nStart;
    size_t i = 0;
    for (; i < nLength && static_cast<uint32_t>(psz[i]) < 0x80; ++i)
        pOut[i] = static_cast<char>(psz[i]);
    if (i == nLength)
        return;
    size_t nTail = Utf8Length(psz + i, nLength - i);
    strOut.resize(nStart + i + nTail);
    EncodeUtf8(psz + i, nLength - i, &strOut[0] + nStart + i, nTail);
}

size_t Utf8Length(const wchar_t* psz, size_t nLength)
{
    if (nLength == 0)
        return 0;
    return static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, psz, static_cast<int>(nLength),
                                                   nullptr, 0, nullptr, nullptr));
}

char* EncodeUtf8(const wchar_t* psz, size_t nLength, char* pOut, size_t nCapacity)
{
    if (nLength == 0)
        return pOut;
    const int nWritten = WideCharToMultiByte(CP_UTF8, 0, psz, static_cast<int>(nLength), pOut,
                                             static_cast<int>(nCapacity), nullptr, nullptr);
    return nWritten > 0 ? pOut + nWritten : nullptr;
}

void AssignUtf8(CString& strOut, const char* psz)
{
    const size_t nBytes = std::strlen(psz);
    // At most one character per byte: decode straight into the string, then
    // cut it to size. Most values are ASCII, whose bytes are their characters.
    wchar_t* pOut = strOut.GetBufferSetLength(static_cast<int>(nBytes));
    size_t nAscii = 0;
    for (; nAscii < nBytes; ++nAscii)
    {
        const unsigned char ch = static_cast<unsigned char>(psz[nAscii]);
        if (ch >= 0x80)
            break;
        pOut[nAscii] = ch;
    }
    if (nAscii == nBytes)
        return;
    const int nRest = static_cast<int>(nBytes - nAscii);
    const int nDecoded = MultiByteToWideChar(CP_UTF8, 0, psz + nAscii, nRest, pOut + nAscii, nRest);
    // A text that cannot be decoded at all gives an empty string.
    strOut.ReleaseBuffer(nDecoded > 0 ? static_cast<int>(nAscii) + nDecoded : 0);
}

CString FromUtf8(const char* psz)
{
    CString str;
    AssignUtf8(str, psz);
    return str;
}

bool NarrowAsciiName(const wchar_t* pszName, char* pOut, size_t nCapacity)
{
    for (size_t i = 0; i < nCapacity; ++i)
    {
        // One test for both ends: the terminator and anything beyond ASCII
        // (negative values included) fall outside 1..0x7F.
        const uint32_t ch = static_cast<uint32_t>(pszName[i]);
        pOut[i] = static_cast<char>(ch);
        if (ch - 1 >= 0x7F)
            return ch == 0;
    }
    return false;
}

void WideStringWriter::write(const void* pData, size_t nSize)
{
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    // Complete a sequence split across two writes first. A byte that cannot
    // continue it is left for the text that follows, so the carried bytes
    // decode exactly as they would have without the split.
    if (m_nCarry > 0)
    {
        const size_t nNeed = SequenceLength(m_arrCarry[0]);
        while (m_nCarry < nNeed && nSize > 0 && IsContinuation(*p))
        {
            m_arrCarry[m_nCarry++] = *p++;
            --nSize;
        }
        if (m_nCarry < nNeed && nSize == 0)
            return;
        const size_t nCarry = m_nCarry;
        m_nCarry = 0;
        Decode(m_arrCarry, nCarry);
    }
    // Keep back an incomplete sequence at the end.
    size_t nTail = 0;
    for (size_t nBack = 1; nBack <= 3 && nBack <= nSize; ++nBack)
    {
        unsigned char ch = p[nSize - nBack];
        if (!IsContinuation(ch))
        {
            if (SequenceLength(ch) > nBack)
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
    // At most one character per byte; the string is cut to size after decoding.
    wchar_t* pOut = m_strOut.GetBufferSetLength(m_nLength + static_cast<int>(nSize)) + m_nLength;
    m_nLength += MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(p),
                                     static_cast<int>(nSize), pOut, static_cast<int>(nSize));
    m_strOut.ReleaseBuffer(m_nLength);
}

void WideStringWriter::Reserve(size_t nCharacters)
{
    m_strOut.GetBufferSetLength(static_cast<int>(nCharacters));
    m_strOut.ReleaseBuffer(m_nLength);
}

void WideStringWriter::Finish()
{
    const size_t nCarry = m_nCarry;
    m_nCarry = 0;
    Decode(m_arrCarry, nCarry);
}
} // namespace vek_xml
