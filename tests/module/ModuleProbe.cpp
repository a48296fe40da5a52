// Built only into the test copy of the module: lets tests look at the
// application object, which the real module keeps to itself.
#include "ModuleProbe.h"

#include "VEKInvestmentCastRulesApp.h"

#define VEK_PROBE_EXPORT extern "C" __attribute__((visibility("default")))

VEK_PROBE_EXPORT bool VekProbeReadApp(VekProbeAppState& state)
{
    if (g_pApp == nullptr)
        return false;
    state.hResDll = g_pApp->m_hResDll;
    state.hDefaultResDll = g_pApp->m_hDefaultResDll;
    state.strResPath = g_pApp->m_strResPath;
    state.strHelpFilePath = g_pApp->m_strHelpFilePath;
    state.pDBModules = &g_pApp->m_lstDBModules;
    return true;
}

VEK_PROBE_EXPORT bool VekProbeLoadDefaultResString(UINT nID, CString& strText)
{
    if (g_pApp == nullptr)
        return false;
    strText = g_pApp->LoadDefaultResString(nID);
    return true;
}

VEK_PROBE_EXPORT void VekProbeExitInstance()
{
    if (g_pApp != nullptr)
        g_pApp->ExitInstance();
}
