// The window table: classes, creation and destruction, window longs, text, and the relations
// between windows (parent, owner, children, dialog items).
//
// Not implemented: WM_PARENTNOTIFY, z-order changes, threads (everything runs on the caller's
// thread).
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <unordered_map>

namespace
{
struct VekClass
{
    std::wstring strName;
    WNDPROC pfnProc;
    UINT nStyle;
};

// Every window by handle. Hashed: each message looks its window up, often several times.
std::unordered_map<uintptr_t, std::unique_ptr<VekWindow>>& Windows()
{
    static std::unordered_map<uintptr_t, std::unique_ptr<VekWindow>> s_windows;
    return s_windows;
}
std::map<std::wstring, VekClass>& Classes()
{
    static std::map<std::wstring, VekClass> s_classes;
    return s_classes;
}
std::vector<HWND> g_topLevel; // bottom first
uintptr_t g_nextHandle = 0x10000;
void (*g_pfnCreateHook)(HWND, void*) = nullptr;
void* g_pCreateHookContext = nullptr;

std::wstring Lower(LPCWSTR psz)
{
    std::wstring s = psz ? psz : L"";
    for (auto& ch : s)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return s;
}

void EnsureBuiltinClasses()
{
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    VekRegisterButtonClass();
    VekRegisterEditClass();
    VekRegisterStaticClass();
    VekRegisterComboBoxClass();
    VekRegisterListBoxClass();
    VekRegisterListViewClass();
    VekRegisterHeaderClass();
    VekRegisterTreeViewClass();
    VekRegisterDialogClass();
}
bool Contains(HWND hAncestor, HWND h)
{
    for (VekWindow* w = VekGetWindow(h); w;
         w = VekIsChildWindow(w) ? VekGetWindow(w->hwndParent) : nullptr)
        if (w->hwnd == hAncestor)
            return true;
    return false;
}

void Unlink(VekWindow* w)
{
    if (VekIsChildWindow(w))
    {
        if (VekWindow* p = VekGetWindow(w->hwndParent))
            p->children.erase(std::remove(p->children.begin(), p->children.end(), w->hwnd),
                              p->children.end());
    }
    VekTopLevelWindows().erase(
        std::remove(VekTopLevelWindows().begin(), VekTopLevelWindows().end(), w->hwnd),
        VekTopLevelWindows().end());
}

void SendDestroy(HWND h)
{
    SendMessageW(h, WM_DESTROY, 0, 0);
    VekWindow* w = VekGetWindow(h);
    if (!w)
        return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids)
        if (IsWindow(c))
            SendDestroy(c);
}

void FreeWindow(HWND h)
{
    VekWindow* w = VekGetWindow(h);
    if (!w)
        return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids)
        FreeWindow(c);
    SendMessageW(h, WM_NCDESTROY, 0, 0);
    w = VekGetWindow(h);
    if (!w)
        return;
    if (w->pPermanent)
        w->pPermanent->m_hWnd = nullptr;
    CWnd* pTemp = w->pTemporary;
    w->pTemporary = nullptr;
    Unlink(w);
    VekForgetWindowState(h);
    Windows().erase(reinterpret_cast<uintptr_t>(h));
    delete pTemp;
}
} // namespace

std::vector<HWND>& VekTopLevelWindows()
{
    return g_topLevel;
}

VekWindow* VekGetWindow(HWND hWnd)
{
    auto it = Windows().find(reinterpret_cast<uintptr_t>(hWnd));
    return it == Windows().end() ? nullptr : it->second.get();
}

void* VekGetCtlState(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w ? w->pCtlState : nullptr;
}

void VekSetCtlState(HWND hWnd, void* pState)
{
    if (VekWindow* w = VekGetWindow(hWnd))
        w->pCtlState = pState;
}

bool VekIsClass(HWND hWnd, LPCWSTR pszClass)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w && Lower(w->strClass.c_str()) == Lower(pszClass);
}

void VekSetCreateHook(void (*pfn)(HWND, void*), void* pContext)
{
    g_pfnCreateHook = pfn;
    g_pCreateHookContext = pContext;
}

void VekNotifyParentCommand(HWND hWnd, UINT nCode)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return;
    HWND hParent = GetParent(hWnd);
    if (hParent)
        SendMessageW(hParent, WM_COMMAND, MAKEWPARAM(w->nID, nCode),
                     reinterpret_cast<LPARAM>(hWnd));
}

LRESULT VekNotifyParent(HWND hWnd, UINT nCode, NMHDR* pHdr)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return 0;
    pHdr->hwndFrom = hWnd;
    pHdr->idFrom = w->nID;
    pHdr->code = nCode;
    HWND hParent = GetParent(hWnd);
    if (!hParent)
        return 0;
    return SendMessageW(hParent, WM_NOTIFY, static_cast<WPARAM>(w->nID),
                        reinterpret_cast<LPARAM>(pHdr));
}

HWND VekFindDialogAncestor(HWND hWnd)
{
    for (HWND h = hWnd; h; h = GetParent(h))
    {
        if (VekIsClass(h, L"#32770"))
            return h;
        VekWindow* w = VekGetWindow(h);
        if (!w)
            return nullptr;
    }
    return nullptr;
}

HWND VekGetTopLevel(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    while (w && VekIsChildWindow(w))
        w = VekGetWindow(w->hwndParent);
    return w ? w->hwnd : nullptr;
}

int VekCompareNoCase(LPCWSTR a, LPCWSTR b)
{
    a = a ? a : L"";
    b = b ? b : L"";
    for (;; ++a, ++b)
    {
        wint_t ca = std::towlower(static_cast<wint_t>(*a));
        wint_t cb = std::towlower(static_cast<wint_t>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!*a)
            return 0;
    }
}

int VekCopyText(const std::wstring& str, LPWSTR pszBuf, int cchMax)
{
    if (!pszBuf || cchMax <= 0)
        return 0;
    int n = std::min(static_cast<int>(str.size()), cchMax - 1);
    std::copy(str.begin(), str.begin() + n, pszBuf);
    pszBuf[n] = 0;
    return n;
}

BOOL RegisterClassW(const WNDCLASSW* lpWndClass)
{
    if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc)
        return FALSE;
    std::wstring key = Lower(lpWndClass->lpszClassName);
    if (Classes().count(key))
        return FALSE;
    Classes()[key] =
        VekClass{lpWndClass->lpszClassName, lpWndClass->lpfnWndProc, lpWndClass->style};
    return TRUE;
}

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                     int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance, LPVOID lpParam)
{
    EnsureBuiltinClasses();
    auto it = Classes().find(Lower(lpClassName));
    if (it == Classes().end())
        return nullptr;
    if ((dwStyle & WS_CHILD) && !VekGetWindow(hWndParent))
        return nullptr;
    auto w = std::make_unique<VekWindow>();
    g_nextHandle += 8;
    HWND h = reinterpret_cast<HWND>(g_nextHandle);
    w->hwnd = h;
    w->strClass = it->second.strName;
    w->nClassStyle = it->second.nStyle;
    w->pfnClassProc = w->pfnProc = it->second.pfnProc;
    w->dwStyle = dwStyle;
    w->dwExStyle = dwExStyle;
    w->strText = lpWindowName ? lpWindowName : L"";
    w->rc = RECT{x, y, x + std::max(nWidth, 0), y + std::max(nHeight, 0)};
    w->hInstance = hInstance;
    if (dwStyle & WS_CHILD)
    {
        w->hwndParent = hWndParent;
        w->nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(hMenu));
        VekGetWindow(hWndParent)->children.push_back(h);
    }
    else
    {
        w->hwndOwner = VekGetWindow(hWndParent) ? VekGetTopLevel(hWndParent) : nullptr;
        VekTopLevelWindows().push_back(h);
    }
    Windows()[g_nextHandle] = std::move(w);

    if (g_pfnCreateHook)
    {
        auto pfn = g_pfnCreateHook;
        void* pContext = g_pCreateHookContext;
        g_pfnCreateHook = nullptr;
        g_pCreateHookContext = nullptr;
        pfn(h, pContext);
    }

    CREATESTRUCTW cs = {};
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = dwExStyle;
    if (!SendMessageW(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)))
    {
        DestroyWindow(h);
        return nullptr;
    }
    if (SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
    {
        DestroyWindow(h);
        return nullptr;
    }
    return IsWindow(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || w->bDestroying)
        return FALSE;
    std::vector<HWND> owned;
    for (HWND t : VekTopLevelWindows())
        if (VekWindow* tw = VekGetWindow(t); tw && tw->hwndOwner == hWnd)
            owned.push_back(t);
    for (HWND t : owned)
        DestroyWindow(t);
    w = VekGetWindow(hWnd);
    if (!w)
        return TRUE;
    if (HWND hFocus = GetFocus(); hFocus && (hFocus == hWnd || IsChild(hWnd, hFocus)))
        SetFocus(VekIsChildWindow(w) ? w->hwndParent : nullptr);
    VekDropCaptureWithin(hWnd);
    w = VekGetWindow(hWnd);
    if (!w)
        return TRUE;
    w->bDestroying = true;
    SendDestroy(hWnd);
    FreeWindow(hWnd);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    return VekGetWindow(hWnd) != nullptr;
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !w->pfnProc)
        return 0;
    WNDPROC pfn = w->pfnProc;
    return pfn(hWnd, Msg, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!lpPrevWndFunc)
        return DefWindowProcW(hWnd, Msg, wParam, lParam);
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return 0;
    switch (nIndex)
    {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->pfnProc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->hInstance);
    case GWLP_ID:
        return static_cast<LONG_PTR>(w->nID);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->dwStyle));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->dwExStyle));
    case GWLP_USERDATA:
        return w->lUserData;
    case DWLP_MSGRESULT:
        return w->lMsgResult;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtrW(hWnd, nIndex);
    switch (nIndex)
    {
    case GWLP_WNDPROC:
        w->pfnProc = reinterpret_cast<WNDPROC>(dwNewLong);
        break;
    case GWLP_HINSTANCE:
        w->hInstance = reinterpret_cast<HINSTANCE>(dwNewLong);
        break;
    case GWLP_ID:
        w->nID = static_cast<UINT>(dwNewLong);
        break;
    case GWL_STYLE:
        w->dwStyle = static_cast<DWORD>(dwNewLong);
        break;
    case GWL_EXSTYLE:
        w->dwExStyle = static_cast<DWORD>(dwNewLong);
        break;
    case GWLP_USERDATA:
        w->lUserData = dwNewLong;
        break;
    case DWLP_MSGRESULT:
        w->lMsgResult = dwNewLong;
        break;
    default:
        return 0;
    }
    return old;
}

LONG GetWindowLongW(HWND hWnd, int nIndex)
{
    return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex));
}

LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong)
{
    if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE)
        return static_cast<LONG>(
            SetWindowLongPtrW(hWnd, nIndex, static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))));
    return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, dwNewLong));
}

int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w ? VekCopyText(w->strClass, lpClassName, nMaxCount) : 0;
}

HWND GetParent(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return nullptr;
    return VekIsChildWindow(w) ? w->hwndParent : w->hwndOwner;
}

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return nullptr;
    if (uCmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (uCmd == GW_OWNER)
        return w->hwndOwner;
    const std::vector<HWND>* pList = &VekTopLevelWindows();
    VekWindow* p = VekIsChildWindow(w) ? VekGetWindow(w->hwndParent) : nullptr;
    if (p)
        pList = &p->children;
    auto it = std::find(pList->begin(), pList->end(), hWnd);
    if (it == pList->end())
        return nullptr;
    switch (uCmd)
    {
    case GW_HWNDFIRST:
        return pList->front();
    case GW_HWNDLAST:
        return pList->back();
    case GW_HWNDNEXT:
        return (it + 1) == pList->end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return it == pList->begin() ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    VekWindow* w = VekGetWindow(hDlg);
    if (!w)
        return nullptr;
    for (HWND c : w->children)
        if (VekWindow* cw = VekGetWindow(c); cw && cw->nID == static_cast<UINT>(nIDDlgItem))
            return c;
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w && VekIsChildWindow(w) ? static_cast<int>(w->nID) : 0;
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    if (!hWndParent || hWnd == hWndParent)
        return FALSE;
    return Contains(hWndParent, hWnd);
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (!lpString || nMaxCount <= 0)
        return 0;
    lpString[0] = 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd)
{
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    if (!IsWindow(hWnd))
        return FALSE;
    return static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    return SetWindowTextW(GetDlgItem(hDlg, nIDDlgItem), lpString);
}

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    HWND h = GetDlgItem(hDlg, nIDDlgItem);
    if (!h)
    {
        if (lpString && cchMax > 0)
            lpString[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(h, lpString, cchMax));
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND h = GetDlgItem(hDlg, nIDButton);
    if (!h)
        return FALSE;
    SendMessageW(h, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(SendMessageW(GetDlgItem(hDlg, nIDButton), BM_GETCHECK, 0, 0));
}
