// A module with an application object, as a regular MFC DLL has one.
#include "afx.h"
#include "app_module_log.h"

#include <string>

class CTestModuleApp : public CWinApp
{
public:
    CTestModuleApp() { VekTestLog("app-ctor"); }
    ~CTestModuleApp() override { VekTestLog("app-dtor"); }

    BOOL InitInstance() override
    {
        VekTestLog("init");
        VekTestLog(AfxGetApp() == this ? "init: is current app" : "init: another app is current");
        VekTestLog(AfxGetResourceHandle() == m_hInstance ? "init: own resources"
                                                         : "init: caller's resources");
        VekTestLog(("init: name " + std::string(m_pszAppName ? "set" : "null")).c_str());
        VekTestLog(m_pszAppName && CString(m_pszAppName) == L"vektest_appmodule"
                       ? "init: named after file"
                       : "init: other name");
        // Becomes the module's own resource handle; the caller's must come back.
        AfxSetResourceHandle(GetModuleHandleW(nullptr));
        return CWinApp::InitInstance();
    }

    int ExitInstance() override
    {
        VekTestLog("exit");
        VekTestLog(AfxGetResourceHandle() == GetModuleHandleW(nullptr)
                       ? "exit: own resources"
                       : "exit: caller's resources");
        return CWinApp::ExitInstance();
    }
};

CTestModuleApp theApp;
