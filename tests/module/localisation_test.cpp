// Choosing the resource libraries by the user's language, looked at through the
// application object of a test copy of the module.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "RulesModule.h"
#include "ModuleProbe.h"
#include "resource.h"

namespace
{
const std::string kProbePath = std::string(VEK_PROBE_DIR) + "/VEKInvestmentCastRulesu_probe.so";

bool EndsWith(const CString& strText, const wchar_t* pszTail)
{
    return strText.Right(static_cast<int>(wcslen(pszTail))) == pszTail;
}

class Localisation : public ::testing::Test
{
protected:
    void Load(const char* pszLanguage)
    {
        setenv("VEK_UI_LANGUAGE", pszLanguage, 1);
        m_pModule = std::make_unique<RulesModule>(kProbePath);
        ASSERT_TRUE(ReadApp());
    }
    bool ReadApp() { return m_pModule->Resolve<VekProbeReadAppFn>("VekProbeReadApp")(m_app); }
    void TearDown() override
    {
        m_pModule.reset();
        unsetenv("VEK_UI_LANGUAGE");
        setenv("VEK_HOME", VEK_BIN_DIR, 1);
        AfxSetResourceHandle(nullptr);
    }

    std::unique_ptr<RulesModule> m_pModule;
    VekProbeAppState m_app{};
};

TEST_F(Localisation, LibrariesAndHelpFileFollowTheFolderActuallyUsed)
{
    struct Row
    {
        const char* pszLanguage;
        const wchar_t* pszFolderUsed;
    } rows[] = {{"de-DE", L"res/de-DE"}, {"en-US", L"res/en-US"}, {"fr-FR", L"res/en-US"}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pszLanguage);
        Load(row.pszLanguage);
        EXPECT_TRUE(EndsWith(m_app.strResPath, row.pszFolderUsed)) << m_app.strResPath.GetString();
        EXPECT_TRUE(EndsWith(m_app.strHelpFilePath, CString(row.pszFolderUsed) + L"\\ortiva.chm"))
            << m_app.strHelpFilePath.GetString();
        ASSERT_NE(m_app.hResDll, nullptr);
        ASSERT_NE(m_app.hDefaultResDll, nullptr);
        // Each handle reads the library of its own folder; after a fallback both
        // read the default one (as separate images or one library alike).
        HINSTANCE hUsed = LoadBuiltResources(row.pszFolderUsed + wcslen(L"res/"));
        HINSTANCE hDefault = LoadBuiltResources(L"en-US");
        EXPECT_EQ(LoadText(m_app.hResDll, IDS_RULE_NAME), LoadText(hUsed, IDS_RULE_NAME));
        EXPECT_EQ(LoadText(m_app.hDefaultResDll, IDS_RULE_NAME), LoadText(hDefault, IDS_RULE_NAME));
        FreeLibrary(hUsed);
        FreeLibrary(hDefault);
        m_pModule.reset();
    }
}

TEST_F(Localisation, RuleNamesAreLanguageIndependentWhileDisplayNamesAreNot)
{
    Load("de-DE");
    HINSTANCE hEnglish = LoadBuiltResources(L"en-US");
    HINSTANCE hGerman = LoadBuiltResources(L"de-DE");
    ASSERT_NE(LoadText(hEnglish, IDS_RULE_NAME), LoadText(hGerman, IDS_RULE_NAME));

    AfxSetResourceHandle(m_app.hResDll);
    CString strDefaultName;
    ASSERT_TRUE(m_pModule->Resolve<VekProbeLoadDefaultResStringFn>("VekProbeLoadDefaultResString")(
        IDS_RULE_NAME, strDefaultName));
    EXPECT_EQ(strDefaultName, LoadText(hEnglish, IDS_RULE_NAME));
    EXPECT_EQ(AfxGetResourceHandle(), m_app.hResDll);

    CVekRule* pRule = m_pModule->NewRule();
    ASSERT_NE(pRule, nullptr);
    EXPECT_EQ(pRule->m_strName, LoadText(hEnglish, IDS_RULE_NAME));
    EXPECT_EQ(pRule->m_strDisplayName, LoadText(hGerman, IDS_RULE_NAME));
    EXPECT_EQ(pRule->m_lstDescription.GetHead(), LoadText(hGerman, IDS_RULE_DESCRIPTION));
    m_pModule->DeleteRule(&pRule);

    CString strName;
    m_pModule->GetModuleName(strName);
    EXPECT_EQ(strName, LoadText(hGerman, IDS_MODULE_NAME));
    FreeLibrary(hEnglish);
    FreeLibrary(hGerman);
}

TEST_F(Localisation, ExitInstanceReleasesBothLibraries)
{
    Load("de-DE");
    m_pModule->Resolve<VekProbeExitInstanceFn>("VekProbeExitInstance")();
    ASSERT_TRUE(ReadApp());
    EXPECT_EQ(m_app.hResDll, nullptr);
    EXPECT_EQ(m_app.hDefaultResDll, nullptr);
}

TEST_F(Localisation, AStringMissingFromTheLibraryLeavesTheCallersTextAlone)
{
    setenv("VEK_HOME", VEK_EMPTY_HOME, 1);
    Load("en-US");
    ASSERT_NE(m_app.hResDll, nullptr);
    CString strName = L"unchanged";
    CString strSummary = L"unchanged too";
    m_pModule->GetModuleName(strName);
    m_pModule->GetModuleSummary(strSummary);
    EXPECT_EQ(strName, L"unchanged");
    EXPECT_EQ(strSummary, L"unchanged too");
}

TEST_F(Localisation, TheDatabaseModuleListIsACopy)
{
    Load("en-US");
    CStringList lstModules;
    lstModules.AddTail(L"VEKDatabaseu.dll");
    lstModules.AddTail(L"OtherDatabase.dll");
    m_pModule->SetDBModuleList(lstModules);
    lstModules.RemoveHead();
    lstModules.AddTail(L"Added later.dll");

    CStringList& lstCopy = *m_app.pDBModules;
    ASSERT_EQ(lstCopy.GetCount(), 2);
    EXPECT_EQ(lstCopy.GetHead(), L"VEKDatabaseu.dll");
    EXPECT_EQ(lstCopy.GetTail(), L"OtherDatabase.dll");

    CStringList lstEmpty;
    m_pModule->SetDBModuleList(lstEmpty);
    EXPECT_EQ(lstCopy.GetCount(), 0);
}
} // namespace
