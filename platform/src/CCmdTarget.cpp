// CCmdTarget: message-map lookup and command routing.
#include "VekWindowInternal.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e && e->pfn; ++e)
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void*)
{
    UINT nMsg = HIWORD(static_cast<DWORD>(nCode));
    UINT nNotify = LOWORD(static_cast<DWORD>(nCode));
    if (nMsg == 0)
        nMsg = WM_COMMAND;
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMsg, nNotify, nID);
    if (!pEntry)
        return FALSE;
    if (nMsg == WM_NOTIFY || nMsg == WM_NOTIFY + WM_REFLECT_BASE)
    {
        auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        LRESULT lDummy = 0;
        return pEntry->pfn(this, nID, reinterpret_cast<LPARAM>(pNotify ? pNotify->pNMHDR : nullptr),
                           pNotify && pNotify->pResult ? pNotify->pResult : &lDummy);
    }
    LRESULT lResult = 0;
    return pEntry->pfn(this, nID, 0, &lResult);
}
