#include "VEKInvestmentCastRulesApp.h"

#include <CLocationHelper.h>

#include "ResourceHandleScope.h"

namespace
{
const wchar_t kResourceLibrary[] = L"VEKInvestmentCastRulesResu.dll";
const wchar_t kHelpFile[] = L"ortiva.chm";

// Folders and file names are joined with one backslash, whatever the folder ends in.
CString JoinPath(const CString& strFolder, LPCWSTR pszFile)
{
    return strFolder + L"\\" + pszFile;
}

// The resource libraries hold nothing but their tables: loading them as data
// files reads them into memory instead of mapping and preparing them as code.
HINSTANCE LoadResourceLibrary(const CString& strFolder)
{
    return LoadLibraryExW(JoinPath(strFolder, kResourceLibrary), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}
} // namespace

CVEKInvestmentCastRulesApp theApp;
CVEKInvestmentCastRulesApp* g_pApp = nullptr;

IRuleResources* GetRuleResources()
{
    return g_pApp;
}

CVEKInvestmentCastRulesApp::CVEKInvestmentCastRulesApp()
    : m_hResDll(nullptr), m_hDefaultResDll(nullptr), m_lstDBModules(10)
{
}

BOOL CVEKInvestmentCastRulesApp::InitInstance()
{
    CWinApp::InitInstance();
    LoadResources();
    g_pApp = this;
    // The module loads even without its resource libraries.
    return TRUE;
}

void CVEKInvestmentCastRulesApp::LoadResources()
{
    m_strResPath = CLocationHelper::GetLocalizedResPath();
    m_hResDll = LoadResourceLibrary(m_strResPath);

    const CString strDefaultPath = CLocationHelper::GetDefaultResPath();
    if (m_hResDll == nullptr)
    {
        m_strResPath = strDefaultPath;
        m_hResDll = LoadResourceLibrary(m_strResPath);
    }
    // Loaded in every case; after the fallback this is a second image of the same
    // file, with a handle of its own, and both are freed.
    m_hDefaultResDll = LoadResourceLibrary(strDefaultPath);

    m_strHelpFilePath = JoinPath(m_strResPath, kHelpFile);

    if (m_hResDll != nullptr)
        AfxSetResourceHandle(m_hResDll);
}

int CVEKInvestmentCastRulesApp::ExitInstance()
{
    if (m_hResDll != nullptr)
    {
        FreeLibrary(m_hResDll);
        m_hResDll = nullptr;
    }
    if (m_hDefaultResDll != nullptr)
    {
        FreeLibrary(m_hDefaultResDll);
        m_hDefaultResDll = nullptr;
    }
    return CWinApp::ExitInstance();
}

CString CVEKInvestmentCastRulesApp::LoadDefaultResString(UINT nID)
{
    CResourceHandleScope scope(m_hDefaultResDll);
    CString strText;
    strText.LoadString(nID);
    return strText;
}
