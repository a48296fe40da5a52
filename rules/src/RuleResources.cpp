#include "RuleResources.h"

HINSTANCE GetRuleResDll()
{
    IRuleResources* pResources = GetRuleResources();
    return pResources ? pResources->GetResDll() : AfxGetResourceHandle();
}

CString LoadRuleString(UINT nID)
{
    CString strText;
    strText.LoadString(GetRuleResDll(), nID);
    return strText;
}
