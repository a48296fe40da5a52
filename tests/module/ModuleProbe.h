// What the test copy of the module tells about its application object. Plain
// data and C functions, so that tests need none of the module's classes.
#pragma once

#include <afx.h>

struct VekProbeAppState
{
    HINSTANCE hResDll;
    HINSTANCE hDefaultResDll;
    CString strResPath;
    CString strHelpFilePath;
    CStringList* pDBModules; // the application object's own list
};

using VekProbeReadAppFn = bool (*)(VekProbeAppState&);           // false before initialisation
using VekProbeLoadDefaultResStringFn = bool (*)(UINT, CString&); // false before initialisation
using VekProbeExitInstanceFn = void (*)();
