// The module's strings and templates from the built en-US resource library, for test and
// benchmark programs that run the module's dialogs without the application object.
#include <RuleResources.h>

IRuleResources* GetRuleResources()
{
    class CResources : public IRuleResources
    {
    public:
        CResources()
            : m_hRes(LoadLibraryW(L"" VEK_BIN_DIR L"/res/en-US/VEKInvestmentCastRulesResu.so"))
        {
        }
        HINSTANCE GetResDll() const override { return m_hRes; }
        CString LoadDefaultResString(UINT nID) override
        {
            CString str;
            str.LoadString(m_hRes, nID);
            return str;
        }

    private:
        HINSTANCE m_hRes;
    };
    static CResources s_resources;
    return &s_resources;
}
