// The module seen from the host: its exports, called through dlopen.
#include <gtest/gtest.h>

#include <VekXMLNodeList.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "RulesModule.h"
#include "resource.h"

namespace
{
const std::string kModulePath = std::string(VEK_BIN_DIR) + "/VEKInvestmentCastRulesu.so";

class ModuleExports : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("VEK_UI_LANGUAGE", "en-US", 1);
        m_hEnglish = LoadBuiltResources(L"en-US");
        m_hGerman = LoadBuiltResources(L"de-DE");
        ASSERT_NE(m_hEnglish, nullptr);
        ASSERT_NE(m_hGerman, nullptr);
        m_pModule = std::make_unique<RulesModule>(kModulePath);
    }
    void TearDown() override
    {
        m_pModule.reset();
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hEnglish);
        FreeLibrary(m_hGerman);
    }

    // A stored rule element under a parent carrying the unit.
    VekXMLNode* AddRuleElement(const wchar_t* pszModule, const wchar_t* pszName,
                               const wchar_t* pszSeverity = nullptr)
    {
        if (!m_pRoot)
            m_pRoot.reset(m_doc.CreateRootNode(L"Rules"));
        m_pRoot->AddAttribute(L"Unit", L"0");
        VekXMLNode* pRule = m_pRoot->AppendNode(L"Rule");
        if (pszName)
            pRule->AddAttribute(L"Name", pszName);
        if (pszModule)
            pRule->AddAttribute(L"Module", pszModule);
        if (pszSeverity)
            pRule->AddAttribute(L"Severity", pszSeverity);
        m_nodes.emplace_back(pRule);
        return pRule;
    }

    HINSTANCE m_hEnglish = nullptr;
    HINSTANCE m_hGerman = nullptr;
    std::unique_ptr<RulesModule> m_pModule;
    VekXMLDocument m_doc;
    std::unique_ptr<VekXMLNode> m_pRoot;
    std::vector<std::unique_ptr<VekXMLNode>> m_nodes;
};

TEST(ModuleSymbols, ExportsExactlyTheSevenFunctions)
{
    const std::string command = "nm -D --defined-only " + kModulePath;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
    {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3)
            symbols.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    const std::set<std::string> expected = {"DeleteRule",       "GetAllRules", "GetModuleName",
                                            "GetModuleSummary", "GetRule",     "SetDBModuleList",
                                            "SetXMLDoc"};
    EXPECT_EQ(symbols, expected);
}

TEST_F(ModuleExports, NameAndSummaryComeFromTheModuleAndTheCallersHandleIsRestored)
{
    AfxSetResourceHandle(m_hGerman);
    CString strName;
    CString strSummary;
    m_pModule->GetModuleName(strName);
    EXPECT_EQ(AfxGetResourceHandle(), m_hGerman);
    m_pModule->GetModuleSummary(strSummary);
    EXPECT_EQ(AfxGetResourceHandle(), m_hGerman);
    EXPECT_EQ(strName, LoadText(m_hEnglish, IDS_MODULE_NAME));
    EXPECT_EQ(strSummary, LoadText(m_hEnglish, IDS_MODULE_SUMMARY));

    CVekRule* pRule = m_pModule->NewRule();
    EXPECT_EQ(AfxGetResourceHandle(), m_hGerman);
    m_pModule->DeleteRule(&pRule);
}

TEST_F(ModuleExports, ANullCallerHandleIsNotPutBack)
{
    AfxSetResourceHandle(nullptr);
    CString strName;
    m_pModule->GetModuleName(strName);
    // The module's own library stays current: only a real handle is restored.
    EXPECT_NE(AfxGetResourceHandle(), nullptr);
    EXPECT_EQ(LoadText(AfxGetResourceHandle(), IDS_MODULE_NAME), strName);
}

TEST_F(ModuleExports, GetRuleAcceptsOnlyThisModulesUniformThicknessNodes)
{
    const CString strRuleName = LoadText(m_hEnglish, IDS_RULE_NAME);
    CString strUpperName = strRuleName;
    strUpperName.MakeUpper();
    const CString strGermanName = LoadText(m_hGerman, IDS_RULE_NAME);
    struct Row
    {
        const wchar_t* pszModule;
        const wchar_t* pszName;
        bool bAccepted;
    } rows[] = {
        {L"VEKInvestmentCastRulesValidator", strRuleName, true},
        {L"vekinvestmentcastrulesvalidator", strRuleName, true},
        {L"VEKInvestmentCastRulesValidator", strUpperName, true},
        {L"SomeOtherRulesValidator", strRuleName, false},
        {nullptr, strRuleName, false},
        {L"VEKInvestmentCastRulesValidator", nullptr, false},
        {L"VEKInvestmentCastRulesValidator", strGermanName, false},
        {L"VEKInvestmentCastRulesValidator", L"Draft Angle", false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(::testing::Message()
                     << "module " << (row.pszModule ? row.pszModule : L"(none)") << ", name "
                     << (row.pszName ? row.pszName : L"(none)"));
        CVekRule* pRule = nullptr;
        m_pModule->GetRule(AddRuleElement(row.pszModule, row.pszName), &pRule);
        EXPECT_EQ(pRule != nullptr, row.bAccepted);
        if (pRule)
        {
            EXPECT_EQ(pRule->m_strName.CompareNoCase(strRuleName), 0);
            EXPECT_TRUE(pRule->m_bPopulated);
        }
        m_pModule->DeleteRule(&pRule);
    }
}

TEST_F(ModuleExports, GetRuleRefreshesARuleAlreadyInTheSlotWhateverItsName)
{
    CVekRule* pRule = m_pModule->NewRule();
    ASSERT_NE(pRule, nullptr);
    CVekRule* const pBefore = pRule;
    ASSERT_EQ(pRule->m_nSeverity, 2);

    m_pModule->GetRule(AddRuleElement(L"SomeOtherRulesValidator", L"Draft Angle", L"4"), &pRule);
    EXPECT_EQ(pRule, pBefore);
    EXPECT_EQ(pRule->m_nSeverity, 2) << "another module's node is not read";

    m_pModule->GetRule(AddRuleElement(L"VEKInvestmentCastRulesValidator", L"Draft Angle", L"4"),
                       &pRule);
    EXPECT_EQ(pRule, pBefore);
    EXPECT_EQ(pRule->m_nSeverity, 4) << "the rule in the slot reads the node";

    m_pModule->GetRule(nullptr, &pRule);
    EXPECT_EQ(pRule, pBefore);
    m_pModule->DeleteRule(&pRule);
    EXPECT_EQ(pRule, nullptr);
    m_pModule->DeleteRule(&pRule);
    EXPECT_EQ(pRule, nullptr);
}

TEST_F(ModuleExports, GetAllRulesAppendsANewRuleEachCallAndGrowsTheHostsArray)
{
    VekArray<CVekRule*> arrRules;
    for (int i = 0; i < 10; ++i)
        arrRules.Append(nullptr);
    ASSERT_EQ(arrRules.GetCapacity(), 10);

    m_pModule->GetAllRules(&arrRules);
    EXPECT_EQ(arrRules.GetSize(), 11);
    EXPECT_EQ(arrRules.GetCapacity(), 11);
    m_pModule->GetAllRules(&arrRules);
    EXPECT_EQ(arrRules.GetSize(), 12);
    EXPECT_EQ(arrRules.GetCapacity(), 15);

    ASSERT_NE(arrRules[10], nullptr);
    ASSERT_NE(arrRules[11], nullptr);
    EXPECT_NE(arrRules[10], arrRules[11]);
    for (int i = 10; i < 12; ++i)
        m_pModule->DeleteRule(&arrRules[i]);
}

TEST_F(ModuleExports, RulesWriteXMLOnlyWhileADocumentIsSet)
{
    CVekRule* pRule = m_pModule->NewRule();
    ASSERT_NE(pRule, nullptr);

    m_pModule->SetXMLDoc(nullptr);
    EXPECT_EQ(pRule->GetXMLNode(), nullptr);

    m_pModule->SetXMLDoc(&m_doc);
    std::unique_ptr<VekXMLNode> pNode(pRule->GetXMLNode());
    ASSERT_NE(pNode, nullptr);
    EXPECT_EQ(pNode->GetNodeName(), L"Rule");
    std::unique_ptr<VekXMLNodeList> pConstraints(pNode->GetNodeList(L"Constraint"));
    EXPECT_EQ(pConstraints->GetSize(), 6);

    m_pModule->SetXMLDoc(nullptr);
    m_pModule->DeleteRule(&pRule);
}

// Run under the sanitizer build, this shows that a load, use and unload leaves nothing behind.
TEST(ModuleLifetime, LoadingAndUnloadingAThousandTimesLeavesTheModuleUnloaded)
{
    for (int i = 0; i < 1000; ++i)
    {
        RulesModule module(kModulePath);
        CVekRule* pRule = module.NewRule();
        ASSERT_NE(pRule, nullptr);
        module.DeleteRule(&pRule);
    }
    EXPECT_EQ(dlopen(kModulePath.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}
// Every load is a fresh module that finds its resource libraries anew: loads
// alternating between languages (fr-FR falling back to en-US) keep giving each
// language's own texts, also after its library was unloaded and loaded again.
TEST(ModuleLifetime, EachLoadReadsTheResourcesOfTheLanguageThenCurrent)
{
    struct Texts
    {
        CString strModuleName;
        CString strDisplayName;
        CString strSummary;
        bool operator==(const Texts& other) const
        {
            return strModuleName == other.strModuleName && strDisplayName == other.strDisplayName &&
                   strSummary == other.strSummary;
        }
    };
    auto loadAndRead = [](const char* pszLanguage) {
        setenv("VEK_UI_LANGUAGE", pszLanguage, 1);
        RulesModule module(kModulePath);
        Texts texts;
        module.GetModuleName(texts.strModuleName);
        CVekRule* pRule = module.NewRule();
        if (pRule)
        {
            texts.strDisplayName = pRule->m_strDisplayName;
            texts.strSummary = pRule->m_strSummary;
            module.DeleteRule(&pRule);
        }
        return texts;
    };
    const Texts english = loadAndRead("en-US");
    const Texts german = loadAndRead("de-DE");
    EXPECT_EQ(english.strModuleName, L"Investment Casting");
    EXPECT_EQ(german.strModuleName, L"Feinguss");
    EXPECT_NE(english.strDisplayName, german.strDisplayName);
    EXPECT_NE(english.strSummary, german.strSummary);
    const char* const languages[] = {"de-DE", "fr-FR", "en-US", "de-DE", "de-DE", "fr-FR"};
    for (int i = 0; i < 120; ++i)
    {
        const char* pszLanguage = languages[i % 6];
        const Texts texts = loadAndRead(pszLanguage);
        ASSERT_TRUE(texts == (std::string(pszLanguage) == "de-DE" ? german : english))
            << "load " << i << " in " << pszLanguage << ": " << texts.strModuleName.GetString();
    }
    setenv("VEK_UI_LANGUAGE", "en-US", 1);
    EXPECT_EQ(dlopen(kModulePath.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}
} // namespace
