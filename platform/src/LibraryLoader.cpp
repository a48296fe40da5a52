#include "libloaderapi.h"

#include "errhandlingapi.h"

#include "VekModules.h"
#include "VekDataFileImage.h"
#include "VekElfSymbols.h"
#include "vekfilename.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <vector>

namespace vek
{
link_map* FindLoadedModule(const void* h)
{
    if (!h)
        return nullptr;
    // The dynamic loader's handles are its link_map entries; walking its list
    // validates a handle without dereferencing it.
    for (link_map* m = _r_debug.r_map; m; m = m->l_next)
        if (m == h)
            return m;
    return nullptr;
}

link_map* ModuleOfAddress(const void* pAddress)
{
    Dl_info info;
    link_map* pModule = nullptr;
    if (!dladdr1(pAddress, &info, reinterpret_cast<void**>(&pModule), RTLD_DL_LINKMAP))
        return nullptr;
    return pModule;
}

namespace
{
// Asks the loader itself: slower, as a module loaded as a dependency must be
// opened for its own lookup scope, and dlsym searches its dependencies as well.
void* FindOwnSymbolThroughLoader(link_map* pModule, const char* pszName)
{
    const bool bMain = pModule == _r_debug.r_map;
    void* h = bMain ? dlopen(nullptr, RTLD_NOW) : dlopen(pModule->l_name, RTLD_NOW | RTLD_NOLOAD);
    if (!h)
        return nullptr;
    void* pSymbol = dlsym(h, pszName);
    dlclose(h);
    return pSymbol && vek::ModuleOfAddress(pSymbol) == pModule ? pSymbol : nullptr;
}
} // namespace

void* FindOwnSymbol(link_map* pModule, const char* pszName)
{
    if (!pModule || !pszName)
        return nullptr;
    // The module's own dynamic symbol table holds exactly its exports, so
    // looking there needs neither the loader's lock nor a check of the owner.
    bool bUnsure = false;
    void* pSymbol =
        FindDynamicSymbol(pModule->l_addr, pModule->l_ld, pszName, ElfImageRange(), bUnsure);
    if (!bUnsure)
        return pSymbol;
    return FindOwnSymbolThroughLoader(pModule, pszName);
}

std::string ModuleFilePath(link_map* pModule)
{
    if (pModule && pModule->l_name && pModule->l_name[0])
        return pModule->l_name;
    // The main program's entry carries no name.
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    return n > 0 ? std::string(buf.data(), static_cast<size_t>(n)) : std::string();
}
} // namespace vek

namespace
{
// The Windows spelling of a library name in the platform's: '\' separates
// folders and ".dll" stands for ".so".
std::string MapLibraryName(LPCWSTR pszName)
{
    std::string name = VekFileNameFromWide(pszName);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.size() >= 4 && strcasecmp(name.c_str() + name.size() - 4, ".dll") == 0)
        name.replace(name.size() - 4, 4, ".so");
    return name;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A loaded module whose file name (without folder) is name, letter case ignored,
// as Windows matches module names.
link_map* FindLoadedByFileName(const std::string& name)
{
    for (link_map* m = _r_debug.r_map; m; m = m->l_next)
        if (m->l_name && m->l_name[0] && strcasecmp(BaseName(m->l_name).c_str(), name.c_str()) == 0)
            return m;
    return nullptr;
}
} // namespace

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName)
        return nullptr;
    std::string name = MapLibraryName(lpLibFileName);
    if (name.find('/') == std::string::npos)
    {
        // A bare name means the library of that name if one is loaded already.
        if (link_map* pLoaded = FindLoadedByFileName(name))
            name = pLoaded->l_name;
    }
    return static_cast<HMODULE>(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL));
}

HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    constexpr DWORD kDataFlags = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE |
                                 LOAD_LIBRARY_AS_IMAGE_RESOURCE;
    if (dwFlags == 0 && !hFile)
        return LoadLibraryW(lpLibFileName);
    if (hFile || (dwFlags & ~kDataFlags) != 0 || !lpLibFileName || !*lpLibFileName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const uintptr_t nTag =
        (dwFlags & LOAD_LIBRARY_AS_IMAGE_RESOURCE) ? vek::kImageResourceTag : vek::kDataFileTag;
    return vek::LoadDataFileImage(MapLibraryName(lpLibFileName).c_str(), nTag);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    if (vek::IsDataFileHandle(hLibModule))
        return vek::FreeDataFileImage(hLibModule) ? TRUE : FALSE;
    link_map* pModule = vek::FindLoadedModule(hLibModule);
    if (!pModule)
        return FALSE;
    return dlclose(pModule) == 0 ? TRUE : FALSE;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
    if (!lpModuleName)
        return static_cast<HMODULE>(static_cast<void*>(_r_debug.r_map));
    std::string name = MapLibraryName(lpModuleName);
    if (name.empty())
        return nullptr;
    if (name.find('/') == std::string::npos)
        return reinterpret_cast<HMODULE>(FindLoadedByFileName(name));
    // RTLD_NOLOAD finds a loaded file under any spelling of its path; the
    // reference it takes is given back at once, as the call must not count.
    void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h)
        dlclose(h);
    return static_cast<HMODULE>(h);
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    // Windows looks only at the library's own exports.
    return reinterpret_cast<FARPROC>(
        vek::FindOwnSymbol(vek::FindLoadedModule(hModule), lpProcName));
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    link_map* pModule = hModule ? vek::FindLoadedModule(hModule) : _r_debug.r_map;
    if (!pModule || !lpFilename || nSize == 0)
        return 0;
    std::wstring path = VekFileNameToWide(vek::ModuleFilePath(pModule).c_str());
    if (path.empty())
        return 0;
    if (path.size() >= nSize)
    {
        // Cut to fit, terminated, and reported with nSize as Windows does.
        std::copy_n(path.c_str(), nSize - 1, lpFilename);
        lpFilename[nSize - 1] = L'\0';
        return nSize;
    }
    std::copy(path.begin(), path.end(), lpFilename);
    lpFilename[path.size()] = L'\0';
    return static_cast<DWORD>(path.size());
}
