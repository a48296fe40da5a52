// The user's decimal separator: from the user's locale or the test override,
// with the C runtime's own number formatting left as it is.
#include "afx.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <string>

#include <sys/stat.h>

// glibc's newlocale keeps the search list it builds from LOCPATH, which only
// these tests set; the leak checker of sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

namespace
{
class LocaleTest : public ::testing::Test
{
protected:
    // The test process's own locale settings do not matter to these tests.
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        for (const char* pszVar :
             {"LC_ALL", "LC_NUMERIC", "LANG", "LOCPATH", "VEK_DECIMAL_SEPARATOR"})
            unsetenv(pszVar);
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
        VekSetUserLocaleOverride(LOCALE_STHOUSAND, nullptr);
    }
    static std::wstring Info(LCTYPE lcType)
    {
        wchar_t szBuf[5] = L"";
        return GetLocaleInfoW(LOCALE_USER_DEFAULT, lcType, szBuf, 5) > 0 ? szBuf : L"<failed>";
    }
    // A locale with a decimal comma compiled into the build folder, when the
    // system had the locale sources.
    static bool UseGermanLocale()
    {
        struct stat st;
        setenv("LOCPATH", VEK_TEST_LOCPATH, 1);
        return stat(VEK_TEST_LOCPATH "/de_DE.UTF-8/LC_NUMERIC", &st) == 0;
    }
};

TEST_F(LocaleTest, SeparatorFollowsTheUsersLocaleByPosixPrecedence)
{
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL)) << "nothing set";
    setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL)) << "locale not installed";
    if (!UseGermanLocale())
        GTEST_SKIP() << "no compiled de_DE locale";
    const char* const kDe = "de_DE.UTF-8";
    const struct
    {
        const char* pszValues[3]; // LC_ALL, LC_NUMERIC, LANG
        const wchar_t* pszDecimal;
    } rows[] = {{{kDe, nullptr, nullptr}, L","},
                {{nullptr, kDe, "C"}, L","},
                {{nullptr, nullptr, kDe}, L","},
                {{nullptr, "C", kDe}, L"."},
                {{"C", kDe, kDe}, L"."}};
    for (const auto& row : rows)
    {
        const char* names[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
        for (int i = 0; i < 3; ++i)
            row.pszValues[i] ? setenv(names[i], row.pszValues[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(row.pszDecimal, Info(LOCALE_SDECIMAL)) << (&row - rows);
    }
    unsetenv("LC_ALL");
    EXPECT_EQ(L".", Info(LOCALE_STHOUSAND)) << "German grouping";
}

TEST_F(LocaleTest, OverridesAndReturnValues)
{
    setenv("VEK_DECIMAL_SEPARATOR", ";", 1);
    EXPECT_EQ(L";", Info(LOCALE_SDECIMAL));
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(L",", Info(LOCALE_SDECIMAL)) << "the override comes first";
    EXPECT_EQ(2, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0));
    wchar_t szBuf[2] = L"";
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szBuf, 1));
    EXPECT_EQ(2, GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szBuf, 2));
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x1234, szBuf, 2));
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
    EXPECT_EQ(L";", Info(LOCALE_SDECIMAL));
}

TEST_F(LocaleTest, RuntimeNumberFormattingIsUntouched)
{
    if (UseGermanLocale())
    {
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        EXPECT_EQ(L",", Info(LOCALE_SDECIMAL));
    }
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(L",", Info(LOCALE_SDECIMAL));

    EXPECT_STREQ(".", std::localeconv()->decimal_point);
    wchar_t szBuf[32];
    std::swprintf(szBuf, 32, L"%f", 1.5);
    EXPECT_STREQ(L"1.500000", szBuf);
    CString str;
    str.Format(L"%lf", 10.0);
    EXPECT_STREQ(L"10.000000", str);
    EXPECT_DOUBLE_EQ(2.5, std::wcstod(L"2.5", nullptr));
}
} // namespace
