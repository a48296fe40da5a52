// A second rules module for the host's tests: one rule, "Hole Depth", with a
// single integer parameter, stored as a "Rule" element of module
// "OtherRulesValidator". It lets the tests see the host offer every rule
// element to every module and give every rule back to the module that made it.
#include <VekRulesModuleExports.h>

#include <cstdio>
#include <cwchar>

#define OTHER_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
VekXMLDocument* g_pDocument = nullptr;
int g_nLiveRules = 0;

const wchar_t kModule[] = L"OtherRulesValidator";

class COtherRule : public CVekRule
{
public:
    COtherRule()
    {
        ++g_nLiveRules;
        m_strName = L"Hole Depth";
        m_strSummary = L"Holes no deeper than 5 diameters";
        m_strModule = kModule;
    }
    ~COtherRule() override { --g_nLiveRules; }

    void PopulateFromXML(VekXMLNode* pNode) override
    {
        int nDepth = 0;
        CString strDepth;
        if (pNode->GetAttributeValue(L"Depth", strDepth))
            nDepth = static_cast<int>(std::wcstol(strDepth, nullptr, 10));
        m_nDepth = nDepth;
    }

    VekXMLNode* GetXMLNode() override
    {
        if (g_pDocument == nullptr)
            return nullptr;
        VekXMLNode* pNode = g_pDocument->CreateNode(L"Rule");
        pNode->AddAttribute(L"Name", m_strName);
        pNode->AddAttribute(L"Module", m_strModule);
        CString strDepth;
        strDepth.Format(L"%d", m_nDepth);
        pNode->AddAttribute(L"Depth", strDepth);
        return pNode;
    }

    int m_nDepth = 5;
};
} // namespace

OTHER_EXPORT void GetModuleName(CString& strName)
{
    strName = L"Other Process";
}

OTHER_EXPORT void GetModuleSummary(CString& strSummary)
{
    strSummary = L"Rules of another process, for testing hosts.";
}

OTHER_EXPORT void GetAllRules(VekArray<CVekRule*>* pRules)
{
    pRules->Append(new COtherRule);
}

OTHER_EXPORT void GetRule(VekXMLNode* pNode, CVekRule** ppRule)
{
    if (pNode == nullptr)
        return;
    CString strModule;
    pNode->GetAttributeValue(L"Module", strModule);
    if (strModule.CompareNoCase(kModule) != 0)
        return;
    if (*ppRule == nullptr)
        *ppRule = new COtherRule;
    (*ppRule)->PopulateFromXML(pNode);
}

OTHER_EXPORT void DeleteRule(CVekRule** ppRule)
{
    delete *ppRule;
    *ppRule = nullptr;
}

OTHER_EXPORT void SetXMLDoc(VekXMLDocument* pDocument)
{
    g_pDocument = pDocument;
}

OTHER_EXPORT void SetDBModuleList(CStringList&) {}

VEK_CHECK_RULES_MODULE_EXPORTS();

// A rule still alive when the host unloads the module was never given back.
__attribute__((destructor)) static void ReportLeakedRules()
{
    if (g_nLiveRules != 0)
        std::fprintf(stderr, "OtherRules: %d rule(s) not deleted through DeleteRule\n",
                     g_nLiveRules);
}
