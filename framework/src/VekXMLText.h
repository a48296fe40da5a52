// Conversions between the framework's wide text and the UTF-8 the XML tree
// stores, and between node objects and tree handles. Internal to the framework.
#pragma once

#include "VekXMLNode.h"
#include "afxstr.h"

#include <pugixml.hpp>

#include <charconv>
#include <limits>
#include <string>

namespace vek_xml
{
// Appends the UTF-8 form of psz[0..nLength) to strOut.
void AppendUtf8(const wchar_t* psz, size_t nLength, std::string& strOut);

// Bytes the UTF-8 form of psz[0..nLength) takes.
size_t Utf8Length(const wchar_t* psz, size_t nLength);
// Writes the UTF-8 form of psz[0..nLength) to pOut (Utf8Length bytes); returns the end.
char* EncodeUtf8(const wchar_t* psz, size_t nLength, char* pOut);

inline std::string ToUtf8(const CString& str)
{
    std::string strOut;
    AppendUtf8(str.GetString(), static_cast<size_t>(str.GetLength()), strOut);
    return strOut;
}

// The wide form of UTF-8 text; malformed sequences become U+FFFD.
CString FromUtf8(const char* psz);

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
    // Ends the text; an incomplete sequence at the end becomes U+FFFD.
    void Finish();

private:
    void Decode(const unsigned char* p, size_t nSize);

    CString& m_strOut;
    int m_nLength = 0;
    unsigned char m_arrCarry[4] = {};
    size_t m_nCarry = 0;
};

inline pugi::xml_node NodeOf(const VekXMLNode* pNode)
{
    return pNode ? pugi::xml_node(static_cast<pugi::xml_node_struct*>(pNode->GetHandle()))
                 : pugi::xml_node();
}

inline void* HandleOf(pugi::xml_node node)
{
    return node.internal_object();
}

// Name of the holder element under which a document keeps its unattached
// nodes. '#' cannot start an XML name, so no parsed element carries it.
constexpr const char* kUnattachedHolder = "#unattached";

inline bool IsUnattachedHolder(pugi::xml_node node)
{
    const char* pszName = node.name();
    return node.type() == pugi::node_element && pszName[0] == '#' &&
           node.parent().type() == pugi::node_document;
}
inline const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    return p;
}

// Integer as a C stream reads it: blanks, an optional sign, then digits.
template <class TInt> bool ParseInteger(const char* psz, TInt& nValue)
{
    const char* p = SkipBlanks(psz);
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    if (*p < '0' || *p > '9')
        return false;
    const char* pEnd = p;
    while (*pEnd >= '0' && *pEnd <= '9')
        ++pEnd;
    unsigned long long nMagnitude = 0;
    auto result = std::from_chars(p, pEnd, nMagnitude);
    if (result.ec != std::errc())
        return false;
    const unsigned long long nMax =
        static_cast<unsigned long long>(std::numeric_limits<TInt>::max());
    if (!std::numeric_limits<TInt>::is_signed)
    {
        if (bNegative && nMagnitude != 0)
            return false;
        if (nMagnitude > nMax)
            return false;
        nValue = static_cast<TInt>(nMagnitude);
        return true;
    }
    if (nMagnitude > nMax + (bNegative ? 1u : 0u))
        return false;
    nValue = bNegative ? static_cast<TInt>(-static_cast<long long>(nMagnitude - 1) - 1)
                       : static_cast<TInt>(nMagnitude);
    return true;
}

// Double from the start of the text; reading stops at the first character
// that cannot continue the number.
inline bool ParseDouble(const char* psz, double& dValue)
{
    const char* p = SkipBlanks(psz);
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    bool bDigit = (*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9');
    if (!bDigit)
        return false;
    const char* pEnd = p;
    while (*pEnd)
        ++pEnd;
    double d = 0.0;
    auto result = std::from_chars(p, pEnd, d, std::chars_format::general);
    if (result.ec != std::errc())
        return false;
    dValue = bNegative ? -d : d;
    return true;
}

// Shortest text that reads back as exactly d.
std::string FormatDouble(double d);
} // namespace vek_xml
