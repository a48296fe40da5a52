#include "vekresload.h"

#include "afxstr.h"

#include "libloaderapi.h"
#include "VekDataFileImage.h"
#include "VekModules.h"

#include <algorithm>
#include <link.h>

namespace
{
// The current resource handle of the process. Unset means the main program, as
// for an MFC program whose resources are its own.
bool g_bResourceHandleSet = false;
HINSTANCE g_hResourceHandle = nullptr;

// The resource table of a loaded resource library, or null. The table must be
// the library's own (not one of its dependencies') and of this layout version.
const VEK_RES_TABLE* LookUpTable(HINSTANCE hInstance)
{
    const void* pSymbol =
        vek::IsDataFileHandle(hInstance)
            ? vek::FindDataFileObject(hInstance, VEK_RES_TABLE_SYMBOL, sizeof(VEK_RES_TABLE))
            : vek::FindOwnSymbol(vek::FindLoadedModule(hInstance), VEK_RES_TABLE_SYMBOL);
    if (!pSymbol)
        return nullptr;
    const auto* pTable = static_cast<const VEK_RES_TABLE*>(pSymbol);
    return pTable->nVersion == VEK_RES_TABLE_VERSION ? pTable : nullptr;
}

// How many libraries the process has unloaded so far, as the dynamic loader counts.
unsigned long long UnloadCount()
{
    unsigned long long nSubs = 0;
    dl_iterate_phdr(
        [](dl_phdr_info* pInfo, size_t, void* pData) {
            *static_cast<unsigned long long*>(pData) = pInfo->dlpi_subs;
            return 1; // the counter is the same in every entry: the first will do
        },
        &nSubs);
    return nSubs;
}

// Looking a table up takes the loader's lock and a symbol search, and strings are
// loaded by the thousand when rules are read. Tables found are remembered until
// any library is unloaded, since only an unload can invalidate a handle. Data-file
// images are not remembered: freeing one is no unload the loader counts, and a
// later image may get the freed one's address, so each lookup validates its handle.
const VEK_RES_TABLE* FindTable(HINSTANCE hInstance)
{
    if (vek::IsDataFileHandle(hInstance))
        return LookUpTable(hInstance);

    struct Entry
    {
        HINSTANCE hInstance;
        const VEK_RES_TABLE* pTable;
    };
    static Entry s_entries[8];
    static int s_nEntries = 0;
    static unsigned long long s_nUnloads = 0;

    const unsigned long long nUnloads = UnloadCount();
    if (nUnloads != s_nUnloads)
    {
        s_nEntries = 0;
        s_nUnloads = nUnloads;
    }
    for (int i = 0; i < s_nEntries; ++i)
        if (s_entries[i].hInstance == hInstance)
            return s_entries[i].pTable;

    const VEK_RES_TABLE* pTable = LookUpTable(hInstance);
    if (pTable)
    {
        // The oldest entry makes room; a process uses few resource libraries at once.
        if (s_nEntries == 8)
            std::rotate(s_entries, s_entries + 1, s_entries + s_nEntries--);
        s_entries[s_nEntries++] = {hInstance, pTable};
    }
    return pTable;
}
} // namespace

LPCWSTR VekFindStringResource(HINSTANCE hInstance, UINT uID)
{
    const VEK_RES_TABLE* pTable = FindTable(hInstance);
    if (!pTable || !pTable->pStrings)
        return nullptr;
    for (UINT i = 0; i < pTable->nStrings; ++i)
    {
        const VEK_RES_STRING& entry = pTable->pStrings[i];
        // A string table cannot hold an empty string: it reads as missing.
        if (entry.nID == uID)
            return entry.pszText && entry.pszText[0] ? entry.pszText : nullptr;
    }
    return nullptr;
}

const VEK_RES_DIALOG* VekFindDialogResource(HINSTANCE hInstance, UINT nID)
{
    const VEK_RES_TABLE* pTable = FindTable(hInstance);
    if (!pTable || !pTable->pDialogs)
        return nullptr;
    for (UINT i = 0; i < pTable->nDialogs; ++i)
        if (pTable->pDialogs[i].nID == nID)
            return &pTable->pDialogs[i];
    return nullptr;
}

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    LPCWSTR pszText = VekFindStringResource(hInstance, uID);
    if (!pszText || !lpBuffer || cchBufferMax < 0)
        return 0;
    const int nLength = static_cast<int>(std::wcslen(pszText));
    if (cchBufferMax == 0)
    {
        // The caller asked for a pointer to the resource itself.
        *reinterpret_cast<LPCWSTR*>(lpBuffer) = pszText;
        return nLength;
    }
    const int nCopy = std::min(nLength, cchBufferMax - 1);
    std::copy_n(pszText, nCopy, lpBuffer);
    lpBuffer[nCopy] = L'\0';
    return nCopy;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_bResourceHandleSet ? g_hResourceHandle : GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResourceHandle = hInstResource;
    g_bResourceHandleSet = true;
}

BOOL CString::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    LPCWSTR pszText = VekFindStringResource(hInstance, nID);
    if (!pszText)
        return FALSE;
    *this = pszText;
    return TRUE;
}
