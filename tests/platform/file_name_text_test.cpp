// File names through wide text and back: every byte string survives, well-formed
// UTF-8 reads as its text, and nothing else can turn into a character such as "/".
#include "vekfilename.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace
{
// The wide character that stands for a byte that is not UTF-8.
wchar_t Escaped(unsigned char ch)
{
    return static_cast<wchar_t>(0xDC00 + ch);
}

std::string RoundTrip(const std::string& strBytes)
{
    return VekFileNameFromWide(VekFileNameToWide(strBytes.c_str()).c_str());
}
} // namespace

TEST(VekFileName, DecodesUtf8AsTextAndEscapesEveryOtherByte)
{
    struct Case
    {
        const char* pszBytes;
        std::wstring strWide;
    };
    const Case cases[] = {
        {"rules.xml", L"rules.xml"},
        {"\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9"},
        {"\xF0\x9F\x93\x90", std::wstring(1, static_cast<wchar_t>(0x1F4D0))},
        // ISO 8859-1 "été"
        {"\xE9t\xE9", std::wstring{Escaped(0xE9), L't', Escaped(0xE9)}},
        // an overlong "/" stays two bytes, never a folder separator
        {"a\xC0\xAF"
         "b",
         std::wstring{L'a', Escaped(0xC0), Escaped(0xAF), L'b'}},
        // a sequence cut short by an ASCII byte, and one cut short by the end
        {"\xE2\x82x\xE2\x82",
         std::wstring{Escaped(0xE2), Escaped(0x82), L'x', Escaped(0xE2), Escaped(0x82)}},
        // an encoded surrogate and a value above U+10FFFF are not UTF-8
        {"\xED\xB2\x80", std::wstring{Escaped(0xED), Escaped(0xB2), Escaped(0x80)}},
        {"\xF4\x90\x80\x80",
         std::wstring{Escaped(0xF4), Escaped(0x90), Escaped(0x80), Escaped(0x80)}},
        // a lone continuation byte before a valid character
        {"\x80\xC3\xA9", std::wstring{Escaped(0x80), L'\u00E9'}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszBytes);
        EXPECT_EQ(c.strWide, VekFileNameToWide(c.pszBytes));
        EXPECT_EQ(std::string(c.pszBytes), VekFileNameFromWide(c.strWide.c_str()));
    }
    EXPECT_EQ(L"", VekFileNameToWide(nullptr));
    EXPECT_EQ("", VekFileNameFromWide(nullptr));
}

TEST(VekFileName, EveryByteStringSurvivesTheRoundTrip)
{
    // All names of one and two bytes...
    for (int a = 1; a < 256; ++a)
    {
        for (int b = 0; b < 256; ++b)
        {
            std::string strName(1, static_cast<char>(a));
            if (b != 0)
                strName += static_cast<char>(b);
            ASSERT_EQ(strName, RoundTrip(strName)) << a << " " << b;
        }
    }
    // ...and longer ones, biased towards bytes that start or continue sequences.
    std::mt19937 random(13);
    const unsigned char arrInteresting[] = {0x2F, 0x41, 0x7F, 0x80, 0x8F, 0x9F, 0xA0, 0xBF, 0xC0,
                                            0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int nCase = 0; nCase < 20000; ++nCase)
    {
        std::string strName(1 + random() % 12, 'x');
        for (char& ch : strName)
        {
            const unsigned nPick = random() % 3;
            ch = static_cast<char>(nPick == 0 ? 1 + random() % 255
                                              : arrInteresting[random() % sizeof arrInteresting]);
        }
        ASSERT_EQ(strName, RoundTrip(strName));
    }
}

TEST(VekFileName, WideCharactersWithoutABytesFormBecomeTheReplacementCharacter)
{
    // Surrogates other than the escaped bytes, and values beyond Unicode.
    const wchar_t szOdd[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0xDC41),
                             static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ("a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", VekFileNameFromWide(szOdd));
}
