// CWinApp: the application object, and the start-up of a module that has one.
//
// A module (shared object) that defines a global CWinApp-derived object and
// links the start-up object (CMake target vekplatform_dllmain) behaves as a
// regular MFC DLL: when it is loaded, after its static objects are constructed,
// the application's InitInstance runs; when it is unloaded (or the process
// exits), ExitInstance runs before its static objects are destroyed. Both run
// with the module's own resource handle current (initially the module itself);
// the caller's resource handle is restored afterwards.
#pragma once

#include "afxobject.h"
#include "afxstr.h"

class VEK_PLATFORM_API CWinApp : public CObject
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // lpszAppName (copied) becomes m_pszAppName; null means the module's file
    // name without folder and extension, set when the module starts.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Runs when the module is loaded; FALSE makes the start-up run ExitInstance at once.
    virtual BOOL InitInstance();
    // Runs when the module is unloaded; the result is the module's exit code.
    virtual int ExitInstance();

    // Owned by the application (malloc'd; free() before replacing, as in MFC).
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    // The module that holds the application object (null when it is not in a module).
    HINSTANCE m_hInstance = nullptr;
};

// The application object most recently constructed and still alive, or null.
VEK_PLATFORM_API CWinApp* AfxGetApp();
// AfxGetApp()->m_pszAppName, or null without an application.
VEK_PLATFORM_API LPCTSTR AfxGetAppName();
// The module of the current application, or the main program without one.
VEK_PLATFORM_API HINSTANCE AfxGetInstanceHandle();

// Called by the start-up object of the module containing pAddressInModule. Attach
// runs the application's InitInstance (nothing when the module has no
// application); Detach runs its ExitInstance once. Not for other callers.
extern "C" VEK_PLATFORM_API void VekModuleAttach(const void* pAddressInModule);
extern "C" VEK_PLATFORM_API void VekModuleDetach(const void* pAddressInModule);
