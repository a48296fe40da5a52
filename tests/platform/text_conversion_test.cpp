// MultiByteToWideChar and WideCharToMultiByte with CP_UTF8: well-formed and
// ill-formed input with and without the ERR_INVALID_CHARS flags, size queries,
// terminators, short buffers and bad arguments.
#include "afx.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
struct DecodeResult
{
    int nReturned;
    DWORD dwError;
    std::wstring strText;
};

// Converts with a size query first, as callers do, and checks that the query
// and the conversion agree.
DecodeResult Decode(const std::string& strBytes, DWORD dwFlags = 0)
{
    SetLastError(ERROR_SUCCESS);
    const int nBytes = static_cast<int>(strBytes.size());
    const int nNeeded = MultiByteToWideChar(CP_UTF8, dwFlags, strBytes.data(), nBytes, nullptr, 0);
    if (nNeeded == 0)
        return {0, GetLastError(), L""};
    std::wstring strOut(static_cast<size_t>(nNeeded), L'?');
    const int nWritten =
        MultiByteToWideChar(CP_UTF8, dwFlags, strBytes.data(), nBytes, &strOut[0], nNeeded);
    EXPECT_EQ(nWritten, nNeeded) << "size query and conversion disagree";
    return {nWritten, GetLastError(), strOut};
}

std::wstring Bytes(const std::string& str)
{
    std::wstring strOut;
    for (unsigned char ch : str)
        strOut.push_back(ch);
    return strOut;
}

DecodeResult Encode(const std::wstring& strText, DWORD dwFlags = 0)
{
    SetLastError(ERROR_SUCCESS);
    const int nLength = static_cast<int>(strText.size());
    const int nNeeded = WideCharToMultiByte(CP_UTF8, dwFlags, strText.data(), nLength, nullptr, 0,
                                            nullptr, nullptr);
    if (nNeeded == 0)
        return {0, GetLastError(), L""};
    std::string strOut(static_cast<size_t>(nNeeded), '?');
    const int nWritten = WideCharToMultiByte(CP_UTF8, dwFlags, strText.data(), nLength, &strOut[0],
                                             nNeeded, nullptr, nullptr);
    EXPECT_EQ(nWritten, nNeeded) << "size query and conversion disagree";
    // The bytes, one wide character each, so both directions share one result type.
    return {nWritten, GetLastError(), Bytes(strOut)};
}

TEST(MultiByteToWideChar, DecodesWellFormedUtf8OneCodePointPerCharacter)
{
    const struct
    {
        const char* pszBytes;
        std::wstring strExpected;
    } rows[] = {
        {"plain", L"plain"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         L"Gr\u00FC\u00DFe"},
        {"\xE2\x82\xAC", L"\u20AC"},
        {"\xEF\xBF\xBD", L"\uFFFD"},
        {"\xED\x9F\xBF", L"\uD7FF"},
        {"\xEE\x80\x80", L"\uE000"},
        // Above U+FFFF: one wchar_t, not a surrogate pair.
        {"\xF0\x9F\x98\x80", L"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const auto& row : rows)
    {
        const DecodeResult result = Decode(row.pszBytes, MB_ERR_INVALID_CHARS);
        EXPECT_EQ(result.strText, row.strExpected) << row.pszBytes;
        EXPECT_EQ(result.nReturned, static_cast<int>(row.strExpected.size())) << row.pszBytes;
    }
}

TEST(MultiByteToWideChar, IllFormedInputBecomesReplacementsOrFailsWithTheFlag)
{
    const wchar_t R = 0xFFFD;
    const struct
    {
        const char* pszWhat;
        std::string strBytes;
        std::wstring strExpected;
    } rows[] = {
        {"lone continuation byte", "a\x80z", {L'a', R, L'z'}},
        {"bytes that never occur", "\xC0\xC1\xF5\xFF", {R, R, R, R}},
        {"overlong two-byte form", "\xC0\xAF", {R, R}},
        {"overlong three-byte form", "\xE0\x80\xAF", {R, R, R}},
        {"overlong four-byte form", "\xF0\x80\x80\xAF", {R, R, R, R}},
        {"encoded high surrogate", "\xED\xA0\x80", {R, R, R}},
        {"encoded low surrogate", "\xED\xBF\xBF", {R, R, R}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        // A started sequence that breaks off is one replacement, and the byte
        // that broke it is read afresh.
        {"three-byte sequence cut short",
         "\xE2\x82"
         "A",
         {R, L'A'}},
        {"four-byte sequence cut short",
         "\xF0\x9F\x98"
         "A",
         {R, L'A'}},
        {"sequence cut short by a lead byte", "\xE2\xC3\xBC", {R, L'\u00FC'}},
        {"sequence cut short at the end", "ok\xF0\x9F\x98", {L'o', L'k', R}},
    };
    for (const auto& row : rows)
    {
        const DecodeResult lenient = Decode(row.strBytes);
        EXPECT_EQ(lenient.strText, row.strExpected) << row.pszWhat;
        EXPECT_EQ(lenient.dwError, static_cast<DWORD>(ERROR_SUCCESS)) << row.pszWhat;

        const DecodeResult strict = Decode(row.strBytes, MB_ERR_INVALID_CHARS);
        EXPECT_EQ(strict.nReturned, 0) << row.pszWhat;
        EXPECT_EQ(strict.dwError, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION)) << row.pszWhat;
    }
}

TEST(WideCharToMultiByte, EncodesEveryCodePointAndReplacesWhatHasNoUtf8Form)
{
    const std::string kReplacement = "\xEF\xBF\xBD";
    const struct
    {
        const char* pszWhat;
        std::wstring strText;
        std::string strExpected; // empty: no UTF-8 form, so the flag makes the call fail
        std::string strLenient;
    } rows[] = {
        {"ASCII", L"abc", "abc", "abc"},
        {"two bytes", L"\u00FC", "\xC3\xBC", "\xC3\xBC"},
        {"three bytes", L"\u20AC", "\xE2\x82\xAC", "\xE2\x82\xAC"},
        {"four bytes", L"\U0001F600", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"highest code point", L"\U0010FFFF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"lone high surrogate", {L'a', 0xD800, L'b'}, "", "a" + kReplacement + "b"},
        {"lone low surrogate", {0xDFFF}, "", kReplacement},
        // In 32-bit wide text a UTF-16 pair is two surrogates, not one character.
        {"surrogate pair", {0xD83D, 0xDE00}, "", kReplacement + kReplacement},
        {"above U+10FFFF", {static_cast<wchar_t>(0x110000)}, "", kReplacement},
        {"negative wchar_t", {static_cast<wchar_t>(-1)}, "", kReplacement},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(Encode(row.strText).strText, Bytes(row.strLenient)) << row.pszWhat;
        const DecodeResult strict = Encode(row.strText, WC_ERR_INVALID_CHARS);
        if (row.strExpected.empty())
        {
            EXPECT_EQ(strict.nReturned, 0) << row.pszWhat;
            EXPECT_EQ(strict.dwError, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION))
                << row.pszWhat;
        }
        else
        {
            EXPECT_EQ(strict.strText, Bytes(row.strExpected)) << row.pszWhat;
        }
    }
}

TEST(TextConversion, MinusOneLengthConvertsAndCountsTheTerminator)
{
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0,
                                  "\xC3\xBC"
                                  "b",
                                  -1, nullptr, 0),
              3);
    wchar_t szWide[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0,
                                  "\xC3\xBC"
                                  "b",
                                  -1, szWide, 4),
              3);
    EXPECT_STREQ(szWide, L"\u00FC"
                         L"b");

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0,
                                  L"\u00FC"
                                  L"b",
                                  -1, nullptr, 0, nullptr, nullptr),
              4);
    char szBytes[5] = "xxxx";
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0,
                                  L"\u00FC"
                                  L"b",
                                  -1, szBytes, 5, nullptr, nullptr),
              4);
    EXPECT_STREQ(szBytes, "\xC3\xBC"
                          "b");
}

TEST(TextConversion, ShortBufferFailsWithInsufficientBuffer)
{
    wchar_t szWide[2];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, szWide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    // The last character does not fit whole: nothing of it may be written past the end.
    char szBytes[4] = {0, 0, 0, '#'};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a\u20AC", 2, szBytes, 3, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(szBytes[3], '#');
}

TEST(TextConversion, BadArgumentsFailWithTheWindowsErrors)
{
    wchar_t szWide[8];
    char szBytes[8];
    BOOL bUsedDefault = FALSE;
    const struct
    {
        const char* pszWhat;
        std::function<int()> call;
        DWORD dwExpected;
    } rows[] = {
        {"other code page", [&] { return MultiByteToWideChar(0, 0, "a", 1, szWide, 8); },
         ERROR_INVALID_PARAMETER},
        {"null input", [&] { return MultiByteToWideChar(CP_UTF8, 0, nullptr, 1, szWide, 8); },
         ERROR_INVALID_PARAMETER},
        {"zero length", [&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 0, szWide, 8); },
         ERROR_INVALID_PARAMETER},
        {"null output with a size",
         [&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 1, nullptr, 8); },
         ERROR_INVALID_PARAMETER},
        {"unknown decode flag",
         [&] { return MultiByteToWideChar(CP_UTF8, 0x1, "a", 1, szWide, 8); }, ERROR_INVALID_FLAGS},
        {"encode zero length",
         [&] { return WideCharToMultiByte(CP_UTF8, 0, L"a", 0, szBytes, 8, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"encode default character",
         [&] { return WideCharToMultiByte(CP_UTF8, 0, L"a", 1, szBytes, 8, "?", nullptr); },
         ERROR_INVALID_PARAMETER},
        {"encode used-default flag",
         [&] {
             return WideCharToMultiByte(CP_UTF8, 0, L"a", 1, szBytes, 8, nullptr, &bUsedDefault);
         },
         ERROR_INVALID_PARAMETER},
        {"unknown encode flag",
         [&] { return WideCharToMultiByte(CP_UTF8, 0x400, L"a", 1, szBytes, 8, nullptr, nullptr); },
         ERROR_INVALID_FLAGS},
    };
    for (const auto& row : rows)
    {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(row.call(), 0) << row.pszWhat;
        EXPECT_EQ(GetLastError(), row.dwExpected) << row.pszWhat;
    }
}
} // namespace
