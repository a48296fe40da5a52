// The database library (VEKDatabaseu.so) as the host loads it: before the rules
// modules, so that they find it among the loaded libraries, and kept until
// they are gone.
#pragma once

#include <afx.h>

#include <string>

class CDatabaseLibrary
{
public:
    CDatabaseLibrary() = default;
    CDatabaseLibrary(const CDatabaseLibrary&) = delete;
    CDatabaseLibrary& operator=(const CDatabaseLibrary&) = delete;
    ~CDatabaseLibrary();

    // Loads the file and resolves its GetModuleName. False, with a one-line
    // message in strError, when either fails; nothing is loaded then.
    bool Load(const std::string& strPath, std::string& strError);
    bool IsLoaded() const { return m_hLibrary != nullptr; }

    // The name rules modules know the library by, for SetDBModuleList.
    static const wchar_t* FileName() { return L"VEKDatabaseu.dll"; }
    // The database's display name, from the library; empty when not loaded.
    CString GetDisplayName();

private:
    typedef void (*PFN_GET_MODULE_NAME)(CString&);

    void* m_hLibrary = nullptr;
    PFN_GET_MODULE_NAME m_pfnGetModuleName = nullptr;
};
