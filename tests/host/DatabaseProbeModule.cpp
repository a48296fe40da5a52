// A rules module that offers no rules and tells, as its summary, what the host
// said of database libraries: each name SetDBModuleList gave, and the display
// name of that library when it is loaded in the process at that moment.
#include <CVekRule.h>
#include <VekArray.h>
#include <VekXMLDocument.h>
#include <afx.h>

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
CString g_strSeen = L"SetDBModuleList not called";
}

PROBE_EXPORT void GetModuleName(CString& strName)
{
    strName = L"Database Probe";
}

PROBE_EXPORT void GetModuleSummary(CString& strSummary)
{
    strSummary = g_strSeen;
}

PROBE_EXPORT void GetAllRules(VekArray<CVekRule*>*) {}

PROBE_EXPORT void GetRule(VekXMLNode*, CVekRule**) {}

PROBE_EXPORT void DeleteRule(CVekRule** ppRule)
{
    delete *ppRule;
    *ppRule = nullptr;
}

PROBE_EXPORT void SetXMLDoc(VekXMLDocument*) {}

PROBE_EXPORT void SetDBModuleList(CStringList& lstModules)
{
    g_strSeen = L"databases:";
    for (POSITION pos = lstModules.GetHeadPosition(); pos != nullptr;)
    {
        const CString strModule = lstModules.GetNext(pos);
        g_strSeen += L" " + strModule;
        HMODULE hModule = GetModuleHandleW(strModule);
        typedef void (*PFN_GET_MODULE_NAME)(CString&);
        auto pfn =
            hModule
                ? reinterpret_cast<PFN_GET_MODULE_NAME>(GetProcAddress(hModule, "GetModuleName"))
                : nullptr;
        CString strName = L"not loaded";
        if (pfn)
            pfn(strName);
        g_strSeen += L" (" + strName + L")";
    }
}
