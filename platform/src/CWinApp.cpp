#include "afxwinapp.h"

#include "libloaderapi.h"
#include "vekresload.h"
#include "VekModules.h"
#include "vekfilename.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace
{
struct AppEntry
{
    CWinApp* pApp;
    link_map* pModule;      // the module holding the object, null for none
    HINSTANCE hOwnResource; // the module's own resource handle between attach and detach
    bool bAttached;
};

// Living application objects in order of construction. One per module; the
// module's code runs on one thread, so no lock.
std::vector<AppEntry>& Apps()
{
    static std::vector<AppEntry> s_apps;
    return s_apps;
}

AppEntry* FindByModule(link_map* pModule)
{
    if (!pModule)
        return nullptr;
    for (auto& entry : Apps())
        if (entry.pModule == pModule)
            return &entry;
    return nullptr;
}

// Modules whose start-up object ran before any application object of theirs
// existed. An application constructed there later would never be started,
// which means the start-up object was linked in front of it.
std::vector<link_map*>& AttachedWithoutApp()
{
    static std::vector<link_map*> s_modules;
    return s_modules;
}

LPWSTR Duplicate(const std::wstring& str)
{
    return wcsdup(str.c_str());
}

// The file name of a module without folder and extension ("VEKInvestmentCastRulesu").
std::wstring FileTitle(link_map* pModule)
{
    std::wstring path = VekFileNameToWide(vek::ModuleFilePath(pModule).c_str());
    size_t slash = path.rfind(L'/');
    std::wstring title = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = title.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? title : title.substr(0, dot);
}
} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    if (lpszAppName)
        m_pszAppName = Duplicate(lpszAppName);
    link_map* pModule = vek::ModuleOfAddress(this);
    // Only a static object sits inside a module's image; one on the heap or the
    // stack belongs to no module and is never attached.
    Apps().push_back({this, pModule, nullptr, false});
    auto& early = AttachedWithoutApp();
    if (pModule && std::find(early.begin(), early.end(), pModule) != early.end())
        std::fprintf(stderr,
                     "vekplatform: %s: the application object is constructed after the start-up "
                     "object ran and will not be started; link vekplatform_dllmain last\n",
                     vek::ModuleFilePath(pModule).c_str());
    m_hInstance = reinterpret_cast<HINSTANCE>(pModule);
}

CWinApp::~CWinApp()
{
    auto& apps = Apps();
    for (auto it = apps.begin(); it != apps.end(); ++it)
        if (it->pApp == this)
        {
            apps.erase(it);
            break;
        }
    free(const_cast<LPTSTR>(m_pszAppName));
    free(const_cast<LPTSTR>(m_pszExeName));
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

CWinApp* AfxGetApp()
{
    return Apps().empty() ? nullptr : Apps().back().pApp;
}

LPCTSTR AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pszAppName : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->m_hInstance ? pApp->m_hInstance : GetModuleHandleW(nullptr);
}

void VekModuleAttach(const void* pAddressInModule)
{
    link_map* pModule = vek::ModuleOfAddress(pAddressInModule);
    AppEntry* pEntry = FindByModule(pModule);
    if (!pEntry)
    {
        if (pModule)
            AttachedWithoutApp().push_back(pModule);
        return;
    }
    if (pEntry->bAttached)
        return;
    CWinApp* pApp = pEntry->pApp;
    const std::wstring title = FileTitle(pEntry->pModule);
    if (!pApp->m_pszExeName)
        pApp->m_pszExeName = Duplicate(title);
    if (!pApp->m_pszAppName)
        pApp->m_pszAppName = Duplicate(title);
    pEntry->bAttached = true;

    // The application starts in its own module state: its own resource handle is
    // current (initially the module), and the caller's is back afterwards.
    HINSTANCE hCaller = AfxGetResourceHandle();
    AfxSetResourceHandle(pApp->m_hInstance);
    BOOL bInit = pApp->InitInstance();
    // Look the entry up again: InitInstance may have constructed other
    // application objects, which can move the entries.
    pEntry = FindByModule(pModule);
    if (pEntry)
        pEntry->hOwnResource = AfxGetResourceHandle();
    if (!bInit)
    {
        // A Windows DLL whose InitInstance fails is not loaded; a shared object
        // cannot refuse, so the application is shut down at once instead.
        std::fprintf(stderr, "vekplatform: %s: InitInstance failed\n",
                     vek::WideToUtf8(title.c_str()).c_str());
        if (pEntry)
            pEntry->bAttached = false;
        pApp->ExitInstance();
    }
    AfxSetResourceHandle(hCaller);
}

void VekModuleDetach(const void* pAddressInModule)
{
    link_map* pModule = vek::ModuleOfAddress(pAddressInModule);
    auto& early = AttachedWithoutApp();
    early.erase(std::remove(early.begin(), early.end(), pModule), early.end());
    AppEntry* pEntry = FindByModule(pModule);
    if (!pEntry || !pEntry->bAttached)
        return;
    pEntry->bAttached = false;
    HINSTANCE hCaller = AfxGetResourceHandle();
    AfxSetResourceHandle(pEntry->hOwnResource);
    pEntry->pApp->ExitInstance();
    AfxSetResourceHandle(hCaller);
}
