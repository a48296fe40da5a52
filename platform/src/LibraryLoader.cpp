#include "libloaderapi.h"

#include "VekModules.h"
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
// The tables of a module's dynamic section that a symbol lookup needs.
struct DynamicSymbols
{
    const ElfW(Sym) * pSymbols = nullptr;
    const char* pszStrings = nullptr;
    const ElfW(Half) * pVersions = nullptr;
    const Elf32_Word* pGnuHash = nullptr;
    const Elf32_Word* pSysvHash = nullptr;
};

DynamicSymbols ReadDynamicSymbols(const link_map* pModule)
{
    // The loader adjusts the addresses in a writable dynamic section by the load
    // bias; a read-only one keeps offsets from it. An adjusted address is never
    // below the bias, an offset always is (the bias of a shared object is far
    // beyond its size, and zero where nothing needs adjusting).
    const ElfW(Addr) nBias = pModule->l_addr;
    auto address = [nBias](ElfW(Addr) nValue) { return nValue < nBias ? nValue + nBias : nValue; };
    DynamicSymbols tables;
    for (const ElfW(Dyn)* pEntry = pModule->l_ld; pEntry && pEntry->d_tag != DT_NULL; ++pEntry)
    {
        const ElfW(Addr) nAddress = address(pEntry->d_un.d_ptr);
        switch (pEntry->d_tag)
        {
        case DT_SYMTAB:
            tables.pSymbols = reinterpret_cast<const ElfW(Sym)*>(nAddress);
            break;
        case DT_STRTAB:
            tables.pszStrings = reinterpret_cast<const char*>(nAddress);
            break;
        case DT_VERSYM:
            tables.pVersions = reinterpret_cast<const ElfW(Half)*>(nAddress);
            break;
        case DT_GNU_HASH:
            tables.pGnuHash = reinterpret_cast<const Elf32_Word*>(nAddress);
            break;
        case DT_HASH:
            tables.pSysvHash = reinterpret_cast<const Elf32_Word*>(nAddress);
            break;
        default:
            break;
        }
    }
    return tables;
}

// What dlsym would give for this entry of the module's table, if it names
// pszName: a definition of the default version, not a thread-local one.
// Sets bUnsure for entries only dlsym can evaluate (indirect functions).
void* Definition(const link_map* pModule, const DynamicSymbols& tables, Elf32_Word nIndex,
                 const char* pszName, bool& bUnsure)
{
    const ElfW(Sym)& sym = tables.pSymbols[nIndex];
    if (sym.st_shndx == SHN_UNDEF || std::strcmp(tables.pszStrings + sym.st_name, pszName) != 0)
        return nullptr;
    const unsigned char nBind = ELF64_ST_BIND(sym.st_info);
    if (nBind != STB_GLOBAL && nBind != STB_WEAK && nBind != STB_GNU_UNIQUE)
        return nullptr;
    // A hidden version is reachable only by its version name.
    if (tables.pVersions && (tables.pVersions[nIndex] & 0x8000) != 0)
        return nullptr;
    switch (ELF64_ST_TYPE(sym.st_info))
    {
    case STT_FUNC:
    case STT_OBJECT:
    case STT_NOTYPE:
    case STT_COMMON:
        break;
    case STT_TLS:
        return nullptr;
    default:
        bUnsure = true;
        return nullptr;
    }
    return reinterpret_cast<void*>(sym.st_shndx == SHN_ABS ? sym.st_value
                                                           : pModule->l_addr + sym.st_value);
}

void* FindInGnuHash(const link_map* pModule, const DynamicSymbols& tables, const char* pszName,
                    bool& bUnsure)
{
    const Elf32_Word* pHeader = tables.pGnuHash;
    const Elf32_Word nBuckets = pHeader[0];
    const Elf32_Word nFirstHashed = pHeader[1];
    const Elf32_Word nBloomWords = pHeader[2];
    if (nBuckets == 0)
        return nullptr;
    const auto* pBloom = reinterpret_cast<const ElfW(Addr)*>(pHeader + 4);
    const auto* pBuckets = reinterpret_cast<const Elf32_Word*>(pBloom + nBloomWords);
    const Elf32_Word* pChain = pBuckets + nBuckets;
    uint32_t nHash = 5381;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pszName); *p; ++p)
        nHash = nHash * 33 + *p;
    for (Elf32_Word nIndex = pBuckets[nHash % nBuckets]; nIndex >= nFirstHashed && nIndex != 0;
         ++nIndex)
    {
        const Elf32_Word nEntryHash = pChain[nIndex - nFirstHashed];
        if ((nEntryHash | 1) == (nHash | 1))
            if (void* pSymbol = Definition(pModule, tables, nIndex, pszName, bUnsure))
                return pSymbol;
        if (nEntryHash & 1)
            break; // the end of this bucket's chain
    }
    return nullptr;
}

void* FindInSysvHash(const link_map* pModule, const DynamicSymbols& tables, const char* pszName,
                     bool& bUnsure)
{
    const Elf32_Word nBuckets = tables.pSysvHash[0];
    if (nBuckets == 0)
        return nullptr;
    const Elf32_Word* pBuckets = tables.pSysvHash + 2;
    const Elf32_Word* pChain = pBuckets + nBuckets;
    uint32_t nHash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pszName); *p; ++p)
    {
        nHash = (nHash << 4) + *p;
        const uint32_t nHigh = nHash & 0xf0000000u;
        nHash ^= nHigh >> 24;
        nHash &= ~nHigh;
    }
    for (Elf32_Word nIndex = pBuckets[nHash % nBuckets]; nIndex != STN_UNDEF;
         nIndex = pChain[nIndex])
        if (void* pSymbol = Definition(pModule, tables, nIndex, pszName, bUnsure))
            return pSymbol;
    return nullptr;
}

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
    const DynamicSymbols tables = ReadDynamicSymbols(pModule);
    if (tables.pSymbols && tables.pszStrings && (tables.pGnuHash || tables.pSysvHash))
    {
        bool bUnsure = false;
        void* pSymbol = tables.pGnuHash ? FindInGnuHash(pModule, tables, pszName, bUnsure)
                                        : FindInSysvHash(pModule, tables, pszName, bUnsure);
        if (!bUnsure)
            return pSymbol;
    }
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

BOOL FreeLibrary(HMODULE hLibModule)
{
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
