#include "CLocationHelper.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace
{
const char* const g_arrLanguageVariables[] = {"VEK_UI_LANGUAGE", "LANGUAGE", "LC_ALL",
                                              "LC_MESSAGES", "LANG"};

// Sets the language variables for one test and restores them afterwards.
class LanguageEnvironment : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* pszName : g_arrLanguageVariables)
        {
            const char* pszValue = std::getenv(pszName);
            m_vecSaved.emplace_back(pszName,
                                    pszValue ? std::string(pszValue) : std::string("\x01"));
            unsetenv(pszName);
        }
        const char* pszHome = std::getenv("VEK_HOME");
        m_strHome = pszHome ? pszHome : "\x01";
    }
    void TearDown() override
    {
        for (const auto& entry : m_vecSaved)
            Restore(entry.first, entry.second);
        Restore("VEK_HOME", m_strHome);
    }
    static void Restore(const char* pszName, const std::string& strValue)
    {
        if (strValue == "\x01")
            unsetenv(pszName);
        else
            setenv(pszName, strValue.c_str(), 1);
    }

    std::vector<std::pair<const char*, std::string>> m_vecSaved;
    std::string m_strHome;
};

std::string Narrow(const CString& str)
{
    return std::string(str.GetString(), str.GetString() + str.GetLength());
}
} // namespace

TEST(LocationHelper, LocaleNamesBecomeLanguageTags)
{
    const std::pair<const wchar_t*, const wchar_t*> arrCases[] = {
        {L"de_DE.UTF-8", L"de-DE"},
        {L"fr_FR", L"fr-FR"},
        {L"en_GB.ISO-8859-1@euro", L"en-GB"},
        {L"de", L"de"},
        {L"C", L"en-US"},
        {L"POSIX", L"en-US"},
        {L"C.UTF-8", L"en-US"},
        {L"sr_RS@latin", L"sr-RS"},
        {L"", L""},
    };
    for (const auto& c : arrCases)
        EXPECT_EQ(c.second, CLocationHelper::LocaleToLanguageTag(c.first).str()) << Narrow(c.first);
}

TEST_F(LanguageEnvironment, LanguageComesFromFirstSetVariable)
{
    struct Case
    {
        const char* pszOverride;
        const char* pszLanguage;
        const char* pszLcAll;
        const char* pszLcMessages;
        const char* pszLang;
        const wchar_t* pszExpected;
    };
    const Case arrCases[] = {
        {nullptr, nullptr, nullptr, nullptr, nullptr, L"en-US"},
        {nullptr, nullptr, nullptr, nullptr, "de_DE.UTF-8", L"de-DE"},
        {nullptr, nullptr, nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", L"fr-FR"},
        {nullptr, nullptr, "it_IT", "fr_FR.UTF-8", "de_DE.UTF-8", L"it-IT"},
        {nullptr, "es_ES:de_DE", "it_IT", nullptr, nullptr, L"es-ES"},
        {nullptr, ":pt_BR:de", nullptr, nullptr, nullptr, L"pt-BR"},
        {nullptr, "", "", "", "C", L"en-US"},
        {nullptr, "", "", "", "", L"en-US"},
        {"de-DE", "fr_FR", nullptr, nullptr, "it_IT", L"de-DE"},
        {"", nullptr, nullptr, nullptr, "nl_NL.UTF-8", L"nl-NL"},
    };
    for (const Case& c : arrCases)
    {
        const char* arrValues[] = {c.pszOverride, c.pszLanguage, c.pszLcAll, c.pszLcMessages,
                                   c.pszLang};
        for (int i = 0; i < 5; ++i)
        {
            if (arrValues[i])
                setenv(g_arrLanguageVariables[i], arrValues[i], 1);
            else
                unsetenv(g_arrLanguageVariables[i]);
        }
        EXPECT_EQ(c.pszExpected, CLocationHelper::GetUserLanguage().str()) << Narrow(c.pszExpected);
    }
}

TEST_F(LanguageEnvironment, PathsFollowHomeAndLanguage)
{
    setenv("VEK_HOME", "/opt/vek/", 1);
    setenv("VEK_UI_LANGUAGE", "de-DE", 1);
    EXPECT_EQ(L"/opt/vek", CLocationHelper::GetHomePath().str());
    EXPECT_EQ(L"/opt/vek/res/de-DE", CLocationHelper::GetLocalizedResPath().str());
    EXPECT_EQ(L"/opt/vek/res/en-US", CLocationHelper::GetDefaultResPath().str());
    unsetenv("VEK_UI_LANGUAGE");
    EXPECT_EQ(L"/opt/vek/res/en-US", CLocationHelper::GetLocalizedResPath().str());
}

TEST_F(LanguageEnvironment, HomeDefaultsToLibraryFolder)
{
    unsetenv("VEK_HOME");
    char szExpected[PATH_MAX];
    char szActual[PATH_MAX];
    ASSERT_NE(nullptr, realpath(VEK_BIN_DIR, szExpected));
    std::string strHome = Narrow(CLocationHelper::GetHomePath());
    ASSERT_NE(nullptr, realpath(strHome.c_str(), szActual)) << strHome;
    EXPECT_STREQ(szExpected, szActual);
    setenv("VEK_HOME", "", 1);
    EXPECT_EQ(strHome, Narrow(CLocationHelper::GetHomePath()));
}
