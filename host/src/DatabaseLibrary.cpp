#include "DatabaseLibrary.h"

#include <dlfcn.h>

CDatabaseLibrary::~CDatabaseLibrary()
{
    if (m_hLibrary != nullptr)
        dlclose(m_hLibrary);
}

bool CDatabaseLibrary::Load(const std::string& strPath, std::string& strError)
{
    void* hLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (hLibrary == nullptr)
    {
        const char* pszReason = dlerror();
        strError = "cannot load the database library " + strPath + ": " +
                   (pszReason ? pszReason : "unknown error");
        return false;
    }
    auto pfnGetModuleName = reinterpret_cast<PFN_GET_MODULE_NAME>(dlsym(hLibrary, "GetModuleName"));
    if (pfnGetModuleName == nullptr)
    {
        dlclose(hLibrary);
        strError = "the database library " + strPath + " does not export GetModuleName";
        return false;
    }
    m_hLibrary = hLibrary;
    m_pfnGetModuleName = pfnGetModuleName;
    return true;
}

CString CDatabaseLibrary::GetDisplayName()
{
    CString strName;
    if (m_pfnGetModuleName != nullptr)
        m_pfnGetModuleName(strName);
    return strName;
}
