// The configuration dialog is not part of the module yet: until it is, the
// rule's Configure tells the user so and leaves the rule unchanged.
#include "UniformThicknessDialogFactory.h"

INT_PTR RunUniformThicknessDialog(CVEKUniformThicknessRule*, const CString&)
{
    AfxMessageBox(L"The configuration dialog of this rule is not available in this build.", MB_OK);
    return IDCANCEL;
}
