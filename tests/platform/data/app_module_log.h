// The test modules write what happens to them, one line per event, to the file
// named by VEK_TEST_APP_LOG, which outlives the module.
#pragma once

void VekTestLog(const char* pszEvent);
