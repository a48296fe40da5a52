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
    m_hResDll = LoadLibraryW(JoinPath(m_strResPath, kResourceLibrary));

    const CString strDefaultPath = CLocationHelper::GetDefaultResPath();
    if (m_hResDll == nullptr)
    {
        m_strResPath = strDefaultPath;
        m_hResDll = LoadLibraryW(JoinPath(m_strResPath, kResourceLibrary));
    }
    // Loaded in every case; after the fallback this is a second reference to the same library.
    m_hDefaultResDll = LoadLibraryW(JoinPath(strDefaultPath, kResourceLibrary));

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
