// The rule's way to its configuration dialog, which lives above the rule model.
#pragma once

#include <afx.h>

class CVEKUniformThicknessRule;

// Runs the configuration dialog for pRule modally (no parent window), showing
// thicknesses in the unit named strUnitText. Returns the dialog's result
// (IDOK or IDCANCEL); accepted changes are already written into the rule.
INT_PTR RunUniformThicknessDialog(CVEKUniformThicknessRule* pRule, const CString& strUnitText);
