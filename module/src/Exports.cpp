// The seven functions through which the host talks to the module. They run in
// the caller's module state: each one that loads strings switches to the
// module's current-language library and gives the caller its handle back.
#include <VekRulesModuleExports.h>

#include "ModuleDocument.h"
#include "ResourceHandleScope.h"
#include "VEKInvestmentCastRulesApp.h"
#include "VEKUniformThicknessRule.h"
#include "resource.h"

#define VEK_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
const wchar_t kModuleIdentifier[] = L"VEKInvestmentCastRulesValidator";
const int kRuleCategory = 20;
const int kRuleIdentifier = 20010;

CString LoadModuleString(UINT nID)
{
    CString strText;
    strText.LoadString(nID);
    return strText;
}

HINSTANCE ModuleResDll()
{
    return g_pApp ? g_pApp->m_hResDll : nullptr;
}
} // namespace

VEK_MODULE_EXPORT void GetModuleName(CString& strName)
{
    CResourceHandleScope scope(ModuleResDll());
    strName.LoadString(IDS_MODULE_NAME);
}

VEK_MODULE_EXPORT void GetModuleSummary(CString& strSummary)
{
    CResourceHandleScope scope(ModuleResDll());
    strSummary.LoadString(IDS_MODULE_SUMMARY);
}

VEK_MODULE_EXPORT void GetAllRules(VekArray<CVekRule*>* pRules)
{
    if (g_pApp == nullptr || pRules == nullptr)
        return;
    CResourceHandleScope scope(g_pApp->m_hResDll);
    CVekRule* pRule =
        new CVEKUniformThicknessRule(LoadModuleString(IDS_RULE_DESCRIPTION), kModuleIdentifier,
                                     kRuleCategory, kRuleIdentifier, nullptr);
    pRules->Append(pRule);
}

VEK_MODULE_EXPORT void GetRule(VekXMLNode* pNode, CVekRule** ppRule)
{
    if (pNode == nullptr || ppRule == nullptr)
        return;
    CResourceHandleScope scope(ModuleResDll());

    CString strName;
    CString strModule;
    pNode->GetAttributeValue(L"Name", strName);
    pNode->GetAttributeValue(L"Module", strModule);
    // The host offers every stored rule to every module; other modules' rules are not ours.
    if (strModule.CompareNoCase(kModuleIdentifier) != 0)
        return;

    const CString strDescription = LoadModuleString(IDS_RULE_DESCRIPTION);
    if (*ppRule == nullptr && g_pApp != nullptr)
    {
        // Stored names are the default-language ones, so rules read back in any language.
        const CString strRuleName = g_pApp->LoadDefaultResString(IDS_RULE_NAME);
        if (strName.CompareNoCase(strRuleName) == 0)
            *ppRule = new CVEKUniformThicknessRule(strDescription, kModuleIdentifier, kRuleCategory,
                                                   kRuleIdentifier,
                                                   CVEKUniformThicknessRule::PopulatedNext());
    }
    if (*ppRule != nullptr)
        (*ppRule)->PopulateFromXML(pNode);
}

VEK_MODULE_EXPORT void DeleteRule(CVekRule** ppRule)
{
    if (ppRule == nullptr)
        return;
    delete *ppRule;
    *ppRule = nullptr;
}

VEK_MODULE_EXPORT void SetXMLDoc(VekXMLDocument* pDocument)
{
    g_pXMLDoc = pDocument;
}

VEK_MODULE_EXPORT void SetDBModuleList(CStringList& lstModules)
{
    if (g_pApp == nullptr)
        return;
    g_pApp->m_lstDBModules.RemoveAll();
    POSITION pos = lstModules.GetHeadPosition();
    for (int i = 0; i < lstModules.GetCount() && pos != nullptr; ++i)
        g_pApp->m_lstDBModules.AddTail(lstModules.GetNext(pos));
}

VEK_CHECK_RULES_MODULE_EXPORTS();
