#include "TestRuleResources.h"

#include <RuleResources.h>
#include <UniformThicknessDialogFactory.h>

namespace
{
class CTestRuleResources : public IRuleResources
{
public:
    CTestRuleResources()
        : m_hResDll(LoadLibraryW(L"" VEK_BIN_DIR L"/res/en-US/VEKInvestmentCastRulesResu.so"))
    {
    }
    HINSTANCE GetResDll() const override { return m_hResDll; }
    CString LoadDefaultResString(UINT nID) override { return LoadTestString(nID); }

private:
    HINSTANCE m_hResDll;
};

CTestRuleResources& TheResources()
{
    static CTestRuleResources s_resources;
    return s_resources;
}
} // namespace

IRuleResources* GetRuleResources()
{
    return &TheResources();
}

HINSTANCE GetTestResDll()
{
    return TheResources().GetResDll();
}

CString LoadTestString(UINT nID)
{
    CString strText;
    strText.LoadString(GetTestResDll(), nID);
    return strText;
}

// The configuration dialog lives above the rule model; these tests never open it.
INT_PTR RunUniformThicknessDialog(CVEKUniformThicknessRule*, const CString&)
{
    return IDCANCEL;
}
