// The user's decimal separator: from the user's locale or the test override,
// with the C runtime's own number formatting left as it is.
#include "afx.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace
{
const char* const kVars[] = {"LC_ALL", "LC_NUMERIC", "LANG", "LOCPATH", "VEK_DECIMAL_SEPARATOR"};

class LocaleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* pszVar : kVars)
        {
            const char* pszValue = std::getenv(pszVar);
            m_saved.emplace_back(pszVar, pszValue ? pszValue : "");
            m_bWasSet.push_back(pszValue != nullptr);
            unsetenv(pszVar);
        }
    }
    void TearDown() override
    {
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
        VekSetUserLocaleOverride(LOCALE_STHOUSAND, nullptr);
        for (size_t i = 0; i < m_saved.size(); ++i)
            if (m_bWasSet[i])
                setenv(m_saved[i].first.c_str(), m_saved[i].second.c_str(), 1);
            else
                unsetenv(m_saved[i].first.c_str());
    }
    static std::wstring Info(LCTYPE lcType)
    {
        wchar_t szBuf[5] = L"";
        return GetLocaleInfoW(LOCALE_USER_DEFAULT, lcType, szBuf, 5) > 0 ? szBuf : L"<failed>";
    }
    static bool HaveGermanLocale()
    {
        struct stat st;
        return stat(VEK_TEST_LOCPATH "/de_DE.UTF-8/LC_NUMERIC", &st) == 0;
    }

    std::vector<std::pair<std::string, std::string>> m_saved;
    std::vector<bool> m_bWasSet;
};

TEST_F(LocaleTest, SeparatorWithoutAUsableLocaleIsAFullStop)
{
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL));
    setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL));
    setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL));
}

TEST_F(LocaleTest, SeparatorFollowsTheUsersLocaleByPosixPrecedence)
{
    if (!HaveGermanLocale())
        GTEST_SKIP() << "no compiled de_DE locale";
    setenv("LOCPATH", VEK_TEST_LOCPATH, 1);
    const struct
    {
        const char* pszAll;
        const char* pszNumeric;
        const char* pszLang;
        const wchar_t* pszDecimal;
    } rows[] = {
        {"de_DE.UTF-8", nullptr, nullptr, L","},   {nullptr, "de_DE.UTF-8", "C", L","},
        {nullptr, nullptr, "de_DE.UTF-8", L","},   {nullptr, "C", "de_DE.UTF-8", L"."},
        {"C", "de_DE.UTF-8", "de_DE.UTF-8", L"."},
    };
    for (const auto& row : rows)
    {
        const char* names[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
        const char* values[] = {row.pszAll, row.pszNumeric, row.pszLang};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(row.pszDecimal, Info(LOCALE_SDECIMAL))
            << (row.pszAll ? row.pszAll : "-") << " " << (row.pszNumeric ? row.pszNumeric : "-")
            << " " << (row.pszLang ? row.pszLang : "-");
    }
    setenv("LANG", "de_DE.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_NUMERIC");
    EXPECT_EQ(L".", Info(LOCALE_STHOUSAND));
}

TEST_F(LocaleTest, ReturnsCharacterCountsAsWindows)
{
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(2, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0));
    wchar_t szBuf[2] = L"";
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szBuf, 1));
    EXPECT_EQ(2, GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szBuf, 2));
    EXPECT_STREQ(L",", szBuf);
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x1234, szBuf, 2));
}

TEST_F(LocaleTest, OverrideComesFirstAndCanBeCleared)
{
    setenv("VEK_DECIMAL_SEPARATOR", ";", 1);
    EXPECT_EQ(L";", Info(LOCALE_SDECIMAL));
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(L",", Info(LOCALE_SDECIMAL));
    VekSetUserLocaleOverride(LOCALE_STHOUSAND, L"'");
    EXPECT_EQ(L"'", Info(LOCALE_STHOUSAND));
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
    EXPECT_EQ(L";", Info(LOCALE_SDECIMAL));
    unsetenv("VEK_DECIMAL_SEPARATOR");
    EXPECT_EQ(L".", Info(LOCALE_SDECIMAL));
}

TEST_F(LocaleTest, RuntimeNumberFormattingIsUntouched)
{
    if (HaveGermanLocale())
    {
        setenv("LOCPATH", VEK_TEST_LOCPATH, 1);
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        EXPECT_EQ(L",", Info(LOCALE_SDECIMAL));
    }
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    EXPECT_EQ(L",", Info(LOCALE_SDECIMAL));

    EXPECT_STREQ(".", std::localeconv()->decimal_point);
    EXPECT_STREQ("C", std::setlocale(LC_NUMERIC, nullptr));
    wchar_t szBuf[32];
    std::swprintf(szBuf, 32, L"%f", 1.5);
    EXPECT_STREQ(L"1.500000", szBuf);
    CString str;
    str.Format(L"%lf", 10.0);
    EXPECT_STREQ(L"10.000000", str);
    EXPECT_DOUBLE_EQ(2.5, std::wcstod(L"2.5", nullptr));
}
} // namespace
