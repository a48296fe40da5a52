// Resources for tests that link the rule code without the module: the built
// en-US resource library stands in for both the current-language and the
// default-folder library.
#pragma once

#include <afx.h>

// The test's resource library handle; null when it could not be loaded.
HINSTANCE GetTestResDll();

// Text of string nID of the test's resource library; empty when missing.
CString LoadTestString(UINT nID);
