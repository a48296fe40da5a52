#include "XmlCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

const CXmlLimits g_RuleFileLimits = {
    64u << 20, // bytes
    32,        // nesting depth
    64u << 10, // attribute value bytes
    1024,      // name bytes
};

namespace
{
bool IsChar(uint32_t ch)
{
    return ch == 0x9 || ch == 0xA || ch == 0xD || (ch >= 0x20 && ch <= 0xD7FF) ||
           (ch >= 0xE000 && ch <= 0xFFFD) || (ch >= 0x10000 && ch <= 0x10FFFF);
}

bool IsNameStartChar(uint32_t ch)
{
    return ch == ':' || (ch >= 'A' && ch <= 'Z') || ch == '_' || (ch >= 'a' && ch <= 'z') ||
           (ch >= 0xC0 && ch <= 0xD6) || (ch >= 0xD8 && ch <= 0xF6) ||
           (ch >= 0xF8 && ch <= 0x2FF) || (ch >= 0x370 && ch <= 0x37D) ||
           (ch >= 0x37F && ch <= 0x1FFF) || (ch >= 0x200C && ch <= 0x200D) ||
           (ch >= 0x2070 && ch <= 0x218F) || (ch >= 0x2C00 && ch <= 0x2FEF) ||
           (ch >= 0x3001 && ch <= 0xD7FF) || (ch >= 0xF900 && ch <= 0xFDCF) ||
           (ch >= 0xFDF0 && ch <= 0xFFFD) || (ch >= 0x10000 && ch <= 0xEFFFF);
}

bool IsNameChar(uint32_t ch)
{
    return IsNameStartChar(ch) || ch == '-' || ch == '.' || (ch >= '0' && ch <= '9') ||
           ch == 0xB7 || (ch >= 0x300 && ch <= 0x36F) || (ch >= 0x203F && ch <= 0x2040);
}

bool IsSpace(unsigned char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

// Decodes one UTF-8 sequence at p (shortest form, no surrogates, at most
// U+10FFFF). Returns its length, or 0 when the bytes are not one.
size_t DecodeUtf8(const unsigned char* p, size_t nAvailable, uint32_t& ch)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80)
    {
        ch = b0;
        return 1;
    }
    size_t nLength = 0;
    unsigned char nLow = 0x80;
    unsigned char nHigh = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        nLength = 2, ch = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
    {
        nLength = 3, ch = b0 & 0x0F;
        if (b0 == 0xE0)
            nLow = 0xA0;
        else if (b0 == 0xED)
            nHigh = 0x9F;
    }
    else if (b0 >= 0xF0 && b0 <= 0xF4)
    {
        nLength = 4, ch = b0 & 0x07;
        if (b0 == 0xF0)
            nLow = 0x90;
        else if (b0 == 0xF4)
            nHigh = 0x8F;
    }
    else
        return 0;
    if (nAvailable < nLength || p[1] < nLow || p[1] > nHigh)
        return 0;
    for (size_t i = 1; i < nLength; ++i)
    {
        if (i > 1 && (p[i] < 0x80 || p[i] > 0xBF))
            return 0;
        ch = (ch << 6) | (p[i] & 0x3F);
    }
    return nLength;
}

class CWellFormednessChecker
{
public:
    CWellFormednessChecker(const std::string& strText, const CXmlLimits& limits)
        : m_p(reinterpret_cast<const unsigned char*>(strText.data())), m_nSize(strText.size()),
          m_limits(limits)
    {
    }

    bool Check(std::string& strProblem)
    {
        const bool bOk = CheckDocument();
        if (!bOk)
            strProblem = "line " + std::to_string(LineAt(m_nProblemAt)) + ": " + m_strProblem;
        return bOk;
    }

private:
    bool CheckDocument()
    {
        if (m_nSize > m_limits.nMaxBytes)
            return Fail("larger than " + std::to_string(m_limits.nMaxBytes >> 20) + " MiB");
        if (!CheckCharacters())
            return false;
        if (m_nSize >= 3 && m_p[0] == 0xEF && m_p[1] == 0xBB && m_p[2] == 0xBF)
            m_nPos = 3;
        if (LookingAt("<?xml") && m_nPos + 5 < m_nSize && IsSpace(m_p[m_nPos + 5]))
        {
            if (!XmlDeclaration())
                return false;
        }
        if (!Misc())
            return false;
        if (AtEnd() || !LookingAt("<") || LookingAt("</") || LookingAt("<!"))
            return Fail(LookingAt("<!") ? "markup declarations are not accepted"
                                        : "no root element");
        if (!Element())
            return false;
        if (!Misc())
            return false;
        if (!AtEnd())
            return Fail(LookingAt("<") ? "a second root element" : "text after the root element");
        return true;
    }

    // Every byte sequence is UTF-8 of a character XML allows.
    bool CheckCharacters()
    {
        for (size_t i = 0; i < m_nSize;)
        {
            uint32_t ch = 0;
            const size_t nLength = DecodeUtf8(m_p + i, m_nSize - i, ch);
            if (nLength == 0)
                return FailAt(i, "not UTF-8");
            if (!IsChar(ch))
                return FailAt(i, "character U+" + Hex(ch) + " is not allowed in XML");
            i += nLength;
        }
        return true;
    }

    bool XmlDeclaration()
    {
        m_nPos += 5;
        std::string_view value;
        if (!SkipSpace() || !Attribute(value, "version") || value.size() < 3 ||
            value.substr(0, 2) != "1." || !std::all_of(value.begin() + 2, value.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            return Fail("malformed XML declaration (version)");
        bool bSpace = SkipSpace();
        if (bSpace && LookingAt("encoding"))
        {
            if (!Attribute(value, "encoding"))
                return Fail("malformed XML declaration (encoding)");
            std::string strEncoding(value);
            std::transform(strEncoding.begin(), strEncoding.end(), strEncoding.begin(),
                           [](char c) { return static_cast<char>(std::toupper(c)); });
            if (strEncoding != "UTF-8")
                return Fail("encoding \"" + std::string(value) + "\"; only UTF-8 is read");
            bSpace = SkipSpace();
        }
        if (bSpace && LookingAt("standalone"))
        {
            if (!Attribute(value, "standalone") || (value != "yes" && value != "no"))
                return Fail("malformed XML declaration (standalone)");
            SkipSpace();
        }
        if (!Consume("?>"))
            return Fail("malformed XML declaration");
        return true;
    }

    // name S? = S? "value" in the declaration, where no references occur.
    bool Attribute(std::string_view& value, const char* pszName)
    {
        if (!Consume(pszName))
            return false;
        SkipSpace();
        if (!Consume("="))
            return false;
        SkipSpace();
        if (AtEnd() || (m_p[m_nPos] != '"' && m_p[m_nPos] != '\''))
            return false;
        const unsigned char chQuote = m_p[m_nPos++];
        const size_t nStart = m_nPos;
        while (!AtEnd() && m_p[m_nPos] != chQuote)
            ++m_nPos;
        if (AtEnd())
            return false;
        value = std::string_view(reinterpret_cast<const char*>(m_p + nStart), m_nPos - nStart);
        ++m_nPos;
        return true;
    }

    // Comments, processing instructions and white space around the root.
    bool Misc()
    {
        while (!AtEnd())
        {
            if (IsSpace(m_p[m_nPos]))
                ++m_nPos;
            else if (LookingAt("<!--"))
            {
                if (!Comment())
                    return false;
            }
            else if (LookingAt("<?"))
            {
                if (!ProcessingInstruction())
                    return false;
            }
            else if (LookingAt("<!DOCTYPE"))
                return Fail("document type declarations are not accepted");
            else if (m_p[m_nPos] == '<')
                return true;
            else
                return Fail(m_bRootSeen ? "text after the root element"
                                        : "text before the root element");
        }
        return true;
    }

    bool Comment()
    {
        m_nPos += 4;
        for (; m_nPos + 1 < m_nSize; ++m_nPos)
        {
            if (m_p[m_nPos] == '-' && m_p[m_nPos + 1] == '-')
            {
                if (m_nPos + 2 < m_nSize && m_p[m_nPos + 2] == '>')
                {
                    m_nPos += 3;
                    return true;
                }
                return Fail("\"--\" inside a comment");
            }
        }
        return Fail("unterminated comment");
    }

    bool ProcessingInstruction()
    {
        m_nPos += 2;
        const size_t nStart = m_nPos;
        if (!Name())
            return false;
        const size_t nLength = m_nPos - nStart;
        if (nLength == 3 && (m_p[nStart] | 0x20) == 'x' && (m_p[nStart + 1] | 0x20) == 'm' &&
            (m_p[nStart + 2] | 0x20) == 'l')
            return FailAt(nStart, "XML declaration not at the start of the document");
        if (Consume("?>"))
            return true;
        if (!SkipSpace())
            return Fail("malformed processing instruction");
        for (; m_nPos + 1 < m_nSize; ++m_nPos)
        {
            if (m_p[m_nPos] == '?' && m_p[m_nPos + 1] == '>')
            {
                m_nPos += 2;
                return true;
            }
        }
        return Fail("unterminated processing instruction");
    }

    bool Name()
    {
        const size_t nStart = m_nPos;
        bool bFirst = true;
        while (!AtEnd())
        {
            uint32_t ch = 0;
            const size_t nLength = DecodeUtf8(m_p + m_nPos, m_nSize - m_nPos, ch);
            if (!(bFirst ? IsNameStartChar(ch) : IsNameChar(ch)))
                break;
            bFirst = false;
            m_nPos += nLength;
        }
        if (bFirst)
            return Fail("a name was expected");
        if (m_nPos - nStart > m_limits.nMaxNameBytes)
            return FailAt(nStart, "a name longer than " + std::to_string(m_limits.nMaxNameBytes) +
                                      " bytes");
        return true;
    }

    // &lt; &gt; &amp; &apos; &quot; or a character reference to a character XML allows.
    bool Reference()
    {
        const size_t nStart = m_nPos++;
        if (Consume("#"))
        {
            const bool bHex = Consume("x");
            uint32_t nValue = 0;
            size_t nDigits = 0;
            for (; !AtEnd() && m_p[m_nPos] != ';'; ++m_nPos, ++nDigits)
            {
                const unsigned char c = m_p[m_nPos];
                int nDigit = -1;
                if (c >= '0' && c <= '9')
                    nDigit = c - '0';
                else if (bHex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                    nDigit = (c | 0x20) - 'a' + 10;
                if (nDigit < 0)
                    return FailAt(nStart, "malformed character reference");
                nValue = nValue * (bHex ? 16 : 10) + static_cast<uint32_t>(nDigit);
                if (nValue > 0x10FFFF)
                    nValue = 0x110000; // stays out of range, whatever follows
            }
            if (nDigits == 0 || !Consume(";"))
                return FailAt(nStart, "malformed character reference");
            if (!IsChar(nValue))
                return FailAt(nStart, "character reference to U+" + Hex(nValue) +
                                          ", which XML does not allow");
            return true;
        }
        static const char* const kPredefined[] = {"lt;", "gt;", "amp;", "apos;", "quot;"};
        for (const char* pszEntity : kPredefined)
        {
            if (Consume(pszEntity))
                return true;
        }
        const size_t nNameStart = m_nPos;
        if (Name() && Consume(";"))
            return FailAt(nStart, "undefined entity \"" +
                                      std::string(reinterpret_cast<const char*>(m_p + nNameStart),
                                                  m_nPos - 1 - nNameStart) +
                                      "\"");
        m_strProblem.clear();
        return FailAt(nStart, "\"&\" that does not start a reference");
    }

    bool Element()
    {
        std::vector<std::string_view> vecOpen;
        std::vector<std::string_view> vecAttributes;
        do
        {
            // At '<' of a start tag, an end tag or markup inside content.
            if (LookingAt("</"))
            {
                m_nPos += 2;
                const size_t nStart = m_nPos;
                if (!Name())
                    return false;
                const std::string_view name(reinterpret_cast<const char*>(m_p + nStart),
                                            m_nPos - nStart);
                if (vecOpen.empty() || name != vecOpen.back())
                    return FailAt(nStart, "end tag \"" + std::string(name) +
                                              "\" does not match the open element");
                SkipSpace();
                if (!Consume(">"))
                    return Fail("malformed end tag");
                vecOpen.pop_back();
            }
            else if (LookingAt("<!--"))
            {
                if (!Comment())
                    return false;
            }
            else if (LookingAt("<![CDATA["))
            {
                m_nPos += 9;
                const size_t nStart = m_nPos;
                while (m_nPos + 2 < m_nSize &&
                       !(m_p[m_nPos] == ']' && m_p[m_nPos + 1] == ']' && m_p[m_nPos + 2] == '>'))
                    ++m_nPos;
                if (m_nPos + 2 >= m_nSize)
                    return FailAt(nStart, "unterminated CDATA section");
                m_nPos += 3;
            }
            else if (LookingAt("<?"))
            {
                if (!ProcessingInstruction())
                    return false;
            }
            else if (LookingAt("<!"))
                return Fail("markup declarations are not accepted inside elements");
            else if (LookingAt("<"))
            {
                ++m_nPos;
                const size_t nStart = m_nPos;
                if (!Name())
                    return false;
                const std::string_view name(reinterpret_cast<const char*>(m_p + nStart),
                                            m_nPos - nStart);
                if (vecOpen.size() + 1 > m_limits.nMaxDepth)
                    return FailAt(nStart, "elements nested deeper than " +
                                              std::to_string(m_limits.nMaxDepth) + " levels");
                bool bEmpty = false;
                if (!StartTagRest(vecAttributes, bEmpty))
                    return false;
                m_bRootSeen = true;
                if (!bEmpty)
                    vecOpen.push_back(name);
            }
            if (vecOpen.empty())
                return true;
            if (!CharacterData())
                return false;
        } while (!AtEnd());
        return Fail("element \"" + std::string(vecOpen.back()) + "\" is not closed");
    }

    // Attributes and the end of a start tag.
    bool StartTagRest(std::vector<std::string_view>& vecAttributes, bool& bEmpty)
    {
        vecAttributes.clear();
        for (;;)
        {
            const bool bSpace = SkipSpace();
            if (Consume("/>"))
            {
                bEmpty = true;
                break;
            }
            if (Consume(">"))
                break;
            if (!bSpace)
                return Fail("malformed start tag");
            const size_t nStart = m_nPos;
            if (!Name())
                return false;
            vecAttributes.emplace_back(reinterpret_cast<const char*>(m_p + nStart),
                                       m_nPos - nStart);
            SkipSpace();
            if (!Consume("="))
                return Fail("attribute without a value");
            SkipSpace();
            if (AtEnd() || (m_p[m_nPos] != '"' && m_p[m_nPos] != '\''))
                return Fail("attribute value without quotes");
            const unsigned char chQuote = m_p[m_nPos++];
            const size_t nValueStart = m_nPos;
            while (!AtEnd() && m_p[m_nPos] != chQuote)
            {
                if (m_p[m_nPos] == '<')
                    return Fail("\"<\" inside an attribute value");
                if (m_p[m_nPos] == '&')
                {
                    if (!Reference())
                        return false;
                }
                else
                    ++m_nPos;
            }
            if (AtEnd())
                return FailAt(nValueStart, "unterminated attribute value");
            if (m_nPos - nValueStart > m_limits.nMaxAttributeBytes)
                return FailAt(nValueStart, "an attribute value longer than " +
                                               std::to_string(m_limits.nMaxAttributeBytes) +
                                               " bytes");
            ++m_nPos;
        }
        std::sort(vecAttributes.begin(), vecAttributes.end());
        auto it = std::adjacent_find(vecAttributes.begin(), vecAttributes.end());
        if (it != vecAttributes.end())
            return Fail("attribute \"" + std::string(*it) + "\" given twice");
        return true;
    }

    // Text up to the next markup; "]]>" may not appear in it.
    bool CharacterData()
    {
        while (!AtEnd() && m_p[m_nPos] != '<')
        {
            if (m_p[m_nPos] == '&')
            {
                if (!Reference())
                    return false;
                continue;
            }
            if (LookingAt("]]>"))
                return Fail("\"]]>\" in text");
            ++m_nPos;
        }
        return true;
    }

    bool AtEnd() const { return m_nPos >= m_nSize; }

    bool LookingAt(std::string_view text) const
    {
        return m_nSize - m_nPos >= text.size() &&
               std::equal(text.begin(), text.end(), m_p + m_nPos, [](char a, unsigned char b) {
                   return static_cast<unsigned char>(a) == b;
               });
    }

    bool Consume(std::string_view text)
    {
        if (!LookingAt(text))
            return false;
        m_nPos += text.size();
        return true;
    }

    // True when at least one blank was skipped.
    bool SkipSpace()
    {
        const size_t nStart = m_nPos;
        while (!AtEnd() && IsSpace(m_p[m_nPos]))
            ++m_nPos;
        return m_nPos > nStart;
    }

    bool Fail(const std::string& strProblem) { return FailAt(m_nPos, strProblem); }
    bool FailAt(size_t nPos, const std::string& strProblem)
    {
        if (m_strProblem.empty())
        {
            m_strProblem = strProblem;
            m_nProblemAt = nPos;
        }
        return false;
    }

    size_t LineAt(size_t nPos) const
    {
        return 1 + static_cast<size_t>(std::count(m_p, m_p + std::min(nPos, m_nSize), '\n'));
    }

    static std::string Hex(uint32_t n)
    {
        static const char kDigits[] = "0123456789ABCDEF";
        std::string str;
        do
        {
            str.insert(str.begin(), kDigits[n & 0xF]);
            n >>= 4;
        } while (n != 0);
        while (str.size() < 4)
            str.insert(str.begin(), '0');
        return str;
    }

    const unsigned char* m_p;
    size_t m_nSize;
    const CXmlLimits& m_limits;
    size_t m_nPos = 0;
    bool m_bRootSeen = false;
    std::string m_strProblem;
    size_t m_nProblemAt = 0;
};
} // namespace

bool CheckWellFormedXml(const std::string& strText, const CXmlLimits& limits,
                        std::string& strProblem)
{
    return CWellFormednessChecker(strText, limits).Check(strProblem);
}
