// Between the framework's wide text and the UTF-8 the XML tree stores. Every
// conversion goes through the platform's MultiByteToWideChar and
// WideCharToMultiByte, so the tree follows their rules for text that has no
// valid form (U+FFFD); what is added here only saves copies of large texts.
// Internal to the framework.
#pragma once

#include "afxstr.h"

#include <pugixml.hpp>

#include <string>

namespace vek_xml
{
// Appends the UTF-8 form of psz[0..nLength) to strOut.
void AppendUtf8(const wchar_t* psz, size_t nLength, std::string& strOut);

// Bytes the UTF-8 form of psz[0..nLength) takes.
size_t Utf8Length(const wchar_t* psz, size_t nLength);
// Writes the UTF-8 form of psz[0..nLength) to pOut, which holds nCapacity
// bytes; returns the end of what was written, or null when it does not fit.
char* EncodeUtf8(const wchar_t* psz, size_t nLength, char* pOut, size_t nCapacity);

inline std::string ToUtf8(const CString& str)
{
    std::string strOut;
    AppendUtf8(str.GetString(), static_cast<size_t>(str.GetLength()), strOut);
    return strOut;
}

// The wide form of UTF-8 text.
CString FromUtf8(const char* psz);
// Makes strOut the wide form of UTF-8 text, in its own storage.
void AssignUtf8(CString& strOut, const char* psz);

// Copies an all-ASCII name, with its terminator, narrowed into pOut, which
// holds nCapacity bytes. False when a character is not ASCII or the name does
// not fit (pOut then holds nothing usable); the caller then converts it in full.
bool NarrowAsciiName(const wchar_t* pszName, char* pOut, size_t nCapacity);

// The UTF-8 form of a name given as text, on the stack when it is short
// ASCII, as element and attribute names known to the code are.
class Utf8Name
{
public:
    explicit Utf8Name(const wchar_t* pszName)
    {
        if (!NarrowAsciiName(pszName, m_szShort, sizeof m_szShort))
        {
            AppendUtf8(pszName, std::char_traits<wchar_t>::length(pszName), m_strLong);
            m_pszName = m_strLong.c_str();
        }
    }
    Utf8Name(const Utf8Name&) = delete;
    Utf8Name& operator=(const Utf8Name&) = delete;
    const char* c_str() const { return m_pszName; }

private:
    char m_szShort[64];
    std::string m_strLong;
    const char* m_pszName = m_szShort;
};

// The UTF-8 form of a text, on the stack when it is short, as most values are.
class Utf8Text
{
public:
    explicit Utf8Text(const CString& str)
    {
        const wchar_t* psz = str.GetString();
        const size_t nLength = static_cast<size_t>(str.GetLength());
        // ASCII narrows byte for byte; anything else takes the general converter.
        size_t i = 0;
        for (; i < nLength && i + 1 < sizeof m_szShort && psz[i] >= 0 && psz[i] < 0x80; ++i)
            m_szShort[i] = static_cast<char>(psz[i]);
        if (i == nLength)
        {
            m_szShort[i] = '\0';
            m_nSize = i;
            return;
        }
        char* pEnd = EncodeUtf8(psz, nLength, m_szShort, sizeof m_szShort - 1);
        if (pEnd != nullptr)
        {
            *pEnd = '\0';
            m_nSize = static_cast<size_t>(pEnd - m_szShort);
            return;
        }
        AppendUtf8(psz, nLength, m_strLong);
        m_pszText = m_strLong.c_str();
        m_nSize = m_strLong.size();
    }
    Utf8Text(const Utf8Text&) = delete;
    Utf8Text& operator=(const Utf8Text&) = delete;
    const char* data() const { return m_pszText; }
    size_t size() const { return m_nSize; }

private:
    char m_szShort[128];
    std::string m_strLong;
    const char* m_pszText = m_szShort;
    size_t m_nSize = 0;
};

// Writer that counts the characters the UTF-8 output of the tree decodes to.
class CountingWriter : public pugi::xml_writer
{
public:
    void write(const void* pData, size_t nSize) override
    {
        const unsigned char* p = static_cast<const unsigned char*>(pData);
        for (size_t i = 0; i < nSize; ++i)
            m_nCharacters += (p[i] & 0xC0) != 0x80;
    }
    size_t m_nCharacters = 0;
};

// Writer that decodes the UTF-8 output of the tree straight into a CString, so
// that a large document is not held a second time in UTF-8.
class WideStringWriter : public pugi::xml_writer
{
public:
    explicit WideStringWriter(CString& strOut) : m_strOut(strOut) { m_strOut.Empty(); }
    // Makes room for nCharacters at once, so that a large text is not moved
    // from one allocation to the next while it grows.
    void Reserve(size_t nCharacters);
    void write(const void* pData, size_t nSize) override;
    // Ends the text, decoding a sequence left incomplete at the end.
    void Finish();

private:
    void Decode(const unsigned char* p, size_t nSize);

    CString& m_strOut;
    int m_nLength = 0;
    unsigned char m_arrCarry[4] = {};
    size_t m_nCarry = 0;
};
} // namespace vek_xml
