// The rule reaches its configuration dialog through this function: the rule model sits below
// the user interface, and the module is where the two meet.
#include "UniformThicknessDialogFactory.h"

#include <CVEKUniformThicknessDlg.h>

INT_PTR RunUniformThicknessDialog(CVEKUniformThicknessRule* pRule, const CString& strUnitText)
{
    CVEKUniformThicknessDlg dlg(nullptr, pRule);
    dlg.SetUnitText(strUnitText);
    return dlg.DoModal();
}
