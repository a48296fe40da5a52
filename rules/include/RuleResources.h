// The module's resource libraries as the rule sees them. The application object
// provides them once it has loaded its libraries; the rule never reaches the
// application object itself.
#pragma once

#include <afx.h>

class IRuleResources
{
public:
    // Current-language resource library; null when none could be loaded.
    virtual HINSTANCE GetResDll() const = 0;
    // String nID of the default-folder library (language independent); empty when missing.
    virtual CString LoadDefaultResString(UINT nID) = 0;
    // The help file of the module's dialogs; empty when unknown.
    virtual CString GetHelpFilePath() const { return CString(); }

protected:
    ~IRuleResources() = default;
};

// The module's resources, or null until the module has finished its initialisation.
IRuleResources* GetRuleResources();

// The current-language resource library when the module has one, else the
// library that is current now (so that the rule also works outside a module).
HINSTANCE GetRuleResDll();
// String nID of GetRuleResDll(); empty when it is missing.
CString LoadRuleString(UINT nID);
