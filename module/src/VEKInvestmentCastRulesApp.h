// The module's application object: picks the resource libraries for the user's
// language, knows the help file and keeps the host's database module list.
#pragma once

#include <afx.h>

#include "RuleResources.h"

class CVEKInvestmentCastRulesApp : public CWinApp, public IRuleResources
{
public:
    CVEKInvestmentCastRulesApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // String nID of the default-folder library, whatever library is current; empty when missing.
    CString LoadDefaultResString(UINT nID) override;
    HINSTANCE GetResDll() const override { return m_hResDll; }
    CString GetHelpFilePath() const override { return m_strHelpFilePath; }

    HINSTANCE m_hResDll;        // current-language library; null when none could be loaded
    HINSTANCE m_hDefaultResDll; // the library of the default-language folder
    CString m_strResPath;       // folder m_hResDll was loaded from
    CStringList m_lstDBModules; // copy of the host's database module names
    CString m_strHelpFilePath;

private:
    void LoadResources();
};

extern CVEKInvestmentCastRulesApp theApp;
// Null until InitInstance has loaded the resources, then &theApp.
extern CVEKInvestmentCastRulesApp* g_pApp;
