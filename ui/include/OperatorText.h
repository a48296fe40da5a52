// Texts of the comparison operators as the configuration dialog shows them.
#pragma once

#include <afx.h>

#include <VekEnums.h>

// The text of an operator code: 1 "RANGE", 3 "=", 5 "<", 6 ">", 7 ">=", 8 "<="; empty for any
// other code.
CString GetOperatorText(int nOperator);
// The code whose text equals strText, ignoring case; 0 for any other text.
VekOperator_e GetOperatorFromText(const CString& strText);
