// The window table: creation and destruction, classes, message sending, focus, capture,
// visibility, enabling, geometry and the default window procedure.
//
// Not implemented: WM_PARENTNOTIFY, WM_ACTIVATE and activation, WM_WINDOWPOSCHANGING/CHANGED,
// WM_MOVE/WM_SIZE on geometry changes, z-order changes through SetWindowPos, regions, painting
// beyond counting WM_PAINT, timers, threads (everything runs on the caller's thread).
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>

namespace
{
struct VekClass
{
    std::wstring strName;
    WNDPROC pfnProc;
    UINT nStyle;
};

std::map<uintptr_t, std::unique_ptr<VekWindow>>& Windows()
{
    static std::map<uintptr_t, std::unique_ptr<VekWindow>> s_windows;
    return s_windows;
}
std::map<std::wstring, VekClass>& Classes()
{
    static std::map<std::wstring, VekClass> s_classes;
    return s_classes;
}
std::vector<HWND> g_topLevel; // bottom first
uintptr_t g_nextHandle = 0x10000;
HWND g_hwndFocus = nullptr;
HWND g_hwndCapture = nullptr;
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

bool IsChildStyle(const VekWindow* w)
{
    return (w->dwStyle & WS_CHILD) && w->hwndParent;
}

void Borders(const VekWindow* w, int& l, int& t, int& r, int& b)
{
    DWORD s = w->dwStyle;
    DWORD ex = w->dwExStyle;
    int f = 0;
    if (s & WS_THICKFRAME)
        f = VEK_CX_THICKFRAME;
    else if ((s & WS_DLGFRAME) || (ex & WS_EX_DLGMODALFRAME))
        f = VEK_CX_DLGFRAME;
    else if (s & WS_BORDER)
        f = VEK_CX_BORDER;
    if (ex & WS_EX_CLIENTEDGE)
        f += VEK_CX_EDGE;
    if (ex & WS_EX_STATICEDGE)
        f += VEK_CX_STATICEDGE;
    l = r = b = f;
    t = f + (((s & WS_CAPTION) == WS_CAPTION) ? VEK_CY_CAPTION : 0);
    if (s & WS_VSCROLL)
        r += VEK_CX_VSCROLL;
    if (s & WS_HSCROLL)
        b += VEK_CY_HSCROLL;
}

POINT WindowOrigin(const VekWindow* w);
POINT ClientOrigin(const VekWindow* w)
{
    POINT pt = WindowOrigin(w);
    int l, t, r, b;
    Borders(w, l, t, r, b);
    return POINT{pt.x + l, pt.y + t};
}
POINT WindowOrigin(const VekWindow* w)
{
    if (IsChildStyle(w))
    {
        VekWindow* p = VekGetWindow(w->hwndParent);
        if (p)
        {
            POINT o = ClientOrigin(p);
            return POINT{o.x + w->rc.left, o.y + w->rc.top};
        }
    }
    return POINT{w->rc.left, w->rc.top};
}

bool Contains(HWND hAncestor, HWND h)
{
    for (VekWindow* w = VekGetWindow(h); w;
         w = IsChildStyle(w) ? VekGetWindow(w->hwndParent) : nullptr)
        if (w->hwnd == hAncestor)
            return true;
    return false;
}

void Unlink(VekWindow* w)
{
    if (IsChildStyle(w))
    {
        if (VekWindow* p = VekGetWindow(w->hwndParent))
            p->children.erase(std::remove(p->children.begin(), p->children.end(), w->hwnd),
                              p->children.end());
    }
    g_topLevel.erase(std::remove(g_topLevel.begin(), g_topLevel.end(), w->hwnd), g_topLevel.end());
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
    if (g_hwndFocus == h)
        g_hwndFocus = nullptr;
    if (g_hwndCapture == h)
        g_hwndCapture = nullptr;
    Windows().erase(reinterpret_cast<uintptr_t>(h));
    delete pTemp;
}
} // namespace

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
    while (w && IsChildStyle(w))
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
        g_topLevel.push_back(h);
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
    for (HWND t : g_topLevel)
        if (VekWindow* tw = VekGetWindow(t); tw && tw->hwndOwner == hWnd)
            owned.push_back(t);
    for (HWND t : owned)
        DestroyWindow(t);
    w = VekGetWindow(hWnd);
    if (!w)
        return TRUE;
    if (g_hwndFocus && (g_hwndFocus == hWnd || IsChild(hWnd, g_hwndFocus)))
        SetFocus(IsChildStyle(w) ? w->hwndParent : nullptr);
    if (g_hwndCapture && (g_hwndCapture == hWnd || IsChild(hWnd, g_hwndCapture)))
        g_hwndCapture = nullptr;
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

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return 0;
    switch (Msg)
    {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        w->strText = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return TRUE;
    case WM_GETTEXT:
        return VekCopyText(w->strText, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->strText.size());
    case WM_SETFONT:
        w->hFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->hFont);
    case WM_SETREDRAW:
        w->bRedraw = wParam != 0;
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT:
        w->bInvalid = false;
        ++w->nPaintCount;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return 1;
    case WM_NCHITTEST: {
        RECT rc;
        GetClientRect(hWnd, &rc);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hWnd, &pt);
        if (PtInRect(&rc, pt))
            return HTCLIENT;
        if ((w->dwStyle & WS_CAPTION) == WS_CAPTION && pt.y < 0)
            return HTCAPTION;
        return HTBORDER;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
        return 0;
    }
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
    return IsChildStyle(w) ? w->hwndParent : w->hwndOwner;
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
    const std::vector<HWND>* pList = &g_topLevel;
    VekWindow* p = IsChildStyle(w) ? VekGetWindow(w->hwndParent) : nullptr;
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
    return w && IsChildStyle(w) ? static_cast<int>(w->nID) : 0;
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

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL bWasDisabled = (w->dwStyle & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable && bWasDisabled)
    {
        w->dwStyle &= ~static_cast<DWORD>(WS_DISABLED);
        SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
    }
    else if (!bEnable && !bWasDisabled)
    {
        SendMessageW(hWnd, WM_CANCELMODE, 0, 0);
        w->dwStyle |= WS_DISABLED;
        // A disabled window cannot keep the focus.
        if (g_hwndFocus && (g_hwndFocus == hWnd || IsChild(hWnd, g_hwndFocus)))
            SetFocus(nullptr);
        if (g_hwndCapture && (g_hwndCapture == hWnd || IsChild(hWnd, g_hwndCapture)))
            ReleaseCapture();
        SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
    }
    return bWasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w && !(w->dwStyle & WS_DISABLED);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL bWasVisible = (w->dwStyle & WS_VISIBLE) ? TRUE : FALSE;
    bool bShow = nCmdShow != SW_HIDE;
    if (bShow && !IsChildStyle(w))
    {
        // A top-level window shown comes to the front.
        g_topLevel.erase(std::remove(g_topLevel.begin(), g_topLevel.end(), hWnd), g_topLevel.end());
        g_topLevel.push_back(hWnd);
    }
    if (bShow == static_cast<bool>(bWasVisible))
        return bWasVisible;
    SendMessageW(hWnd, WM_SHOWWINDOW, bShow ? TRUE : FALSE, 0);
    w = VekGetWindow(hWnd);
    if (!w)
        return bWasVisible;
    if (bShow)
    {
        w->dwStyle |= WS_VISIBLE;
        w->bInvalid = true;
    }
    else
    {
        w->dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
        // Hiding the window that has the focus hands it to the parent.
        if (g_hwndFocus && (g_hwndFocus == hWnd || IsChild(hWnd, g_hwndFocus)))
            SetFocus(IsChildStyle(w) ? w->hwndParent : nullptr);
    }
    return bWasVisible;
}

BOOL IsWindowVisible(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    for (; w; w = IsChildStyle(w) ? VekGetWindow(w->hwndParent) : nullptr)
        if (!(w->dwStyle & WS_VISIBLE))
            return FALSE;
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    w->rc = RECT{X, Y, X + std::max(nWidth, 0), Y + std::max(nHeight, 0)};
    if (bRepaint)
        w->bInvalid = true;
    RECT rc;
    GetClientRect(hWnd, &rc);
    SendMessageW(hWnd, WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    RECT rc = w->rc;
    if (!(uFlags & SWP_NOMOVE))
    {
        rc.right += X - rc.left;
        rc.bottom += Y - rc.top;
        rc.left = X;
        rc.top = Y;
    }
    if (!(uFlags & SWP_NOSIZE))
    {
        rc.right = rc.left + std::max(cx, 0);
        rc.bottom = rc.top + std::max(cy, 0);
    }
    w->rc = rc;
    if (uFlags & SWP_SHOWWINDOW)
        ShowWindow(hWnd, SW_SHOWNA);
    if (uFlags & SWP_HIDEWINDOW)
        ShowWindow(hWnd, SW_HIDE);
    return TRUE;
}

HWND SetFocus(HWND hWnd)
{
    if (hWnd)
    {
        VekWindow* w = VekGetWindow(hWnd);
        if (!w)
            return nullptr;
        // A window whose top-level window is disabled (behind a modal dialog) cannot take it.
        VekWindow* top = VekGetWindow(VekGetTopLevel(hWnd));
        if (top && (top->dwStyle & WS_DISABLED))
            return nullptr;
    }
    HWND hOld = g_hwndFocus;
    if (hOld == hWnd)
        return hOld;
    g_hwndFocus = hWnd;
    if (hOld && IsWindow(hOld))
        SendMessageW(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && g_hwndFocus == hWnd && IsWindow(hWnd))
        SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    return hOld;
}

HWND GetFocus()
{
    return g_hwndFocus;
}

HWND SetCapture(HWND hWnd)
{
    HWND hOld = g_hwndCapture;
    g_hwndCapture = IsWindow(hWnd) ? hWnd : nullptr;
    if (hOld && hOld != g_hwndCapture)
        SendMessageW(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(g_hwndCapture));
    return hOld;
}

BOOL ReleaseCapture()
{
    HWND hOld = g_hwndCapture;
    g_hwndCapture = nullptr;
    if (hOld)
        SendMessageW(hOld, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return g_hwndCapture;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !lpRect)
        return FALSE;
    int l, t, r, b;
    Borders(w, l, t, r, b);
    *lpRect = RECT{0, 0, std::max(0, static_cast<int>(w->rc.right - w->rc.left) - l - r),
                   std::max(0, static_cast<int>(w->rc.bottom - w->rc.top) - t - b)};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !lpRect)
        return FALSE;
    POINT o = WindowOrigin(w);
    *lpRect = RECT{o.x, o.y, o.x + (w->rc.right - w->rc.left), o.y + (w->rc.bottom - w->rc.top)};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !lpPoint)
        return FALSE;
    POINT o = ClientOrigin(w);
    lpPoint->x += o.x;
    lpPoint->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !lpPoint)
        return FALSE;
    POINT o = ClientOrigin(w);
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from{0, 0};
    POINT to{0, 0};
    if (hWndFrom)
    {
        VekWindow* w = VekGetWindow(hWndFrom);
        if (!w)
            return 0;
        from = ClientOrigin(w);
    }
    if (hWndTo)
    {
        VekWindow* w = VekGetWindow(hWndTo);
        if (!w)
            return 0;
        to = ClientOrigin(w);
    }
    int dx = from.x - to.x;
    int dy = from.y - to.y;
    for (UINT i = 0; lpPoints && i < cPoints; ++i)
    {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    return MAKELONG(static_cast<short>(dx), static_cast<short>(dy));
}

namespace
{
HWND ChildFromPoint(HWND hParent, POINT ptScreen)
{
    VekWindow* p = VekGetWindow(hParent);
    if (!p)
        return hParent;
    std::vector<HWND> kids = p->children;
    for (HWND c : kids)
    {
        VekWindow* cw = VekGetWindow(c);
        if (!cw || !(cw->dwStyle & WS_VISIBLE))
            continue;
        RECT rc;
        GetWindowRect(c, &rc);
        if (!PtInRect(&rc, ptScreen))
            continue;
        if (cw->dwStyle & WS_DISABLED)
            return hParent;
        HWND hDeepest = ChildFromPoint(c, ptScreen);
        // A transparent window (a label, a group box) lets the point through to what lies
        // beneath it.
        if (hDeepest == c &&
            SendMessageW(c, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)) == HTTRANSPARENT)
            continue;
        return hDeepest;
    }
    return hParent;
}
} // namespace

HWND WindowFromPoint(POINT Point)
{
    for (auto it = g_topLevel.rbegin(); it != g_topLevel.rend(); ++it)
    {
        VekWindow* w = VekGetWindow(*it);
        if (!w || !(w->dwStyle & WS_VISIBLE))
            continue;
        RECT rc;
        GetWindowRect(*it, &rc);
        if (!PtInRect(&rc, Point))
            continue;
        if (w->dwStyle & WS_DISABLED)
            return nullptr;
        return ChildFromPoint(*it, Point);
    }
    return nullptr;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT, BOOL)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    w->bInvalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    if (w->bInvalid && IsWindowVisible(hWnd) && w->bRedraw)
        SendMessageW(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT, void*, UINT flags)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        w->bInvalid = true;
    if (flags & RDW_UPDATENOW)
        UpdateWindow(hWnd);
    if (flags & RDW_ALLCHILDREN)
    {
        std::vector<HWND> kids = w->children;
        for (HWND c : kids)
            RedrawWindow(c, nullptr, nullptr, flags);
    }
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD dwExStyle)
{
    if (!lpRect)
        return FALSE;
    VekWindow w;
    w.dwStyle = dwStyle;
    w.dwExStyle = dwExStyle;
    int l, t, r, b;
    Borders(&w, l, t, r, b);
    lpRect->left -= l;
    lpRect->top -= t;
    lpRect->right += r;
    lpRect->bottom += b;
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    return MAKELONG(VEK_CX_DLGUNIT_BASE, VEK_CY_DLGUNIT_BASE);
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    if (!lpRect || (hDlg && !IsWindow(hDlg)))
        return FALSE;
    auto mx = [](LONG v) {
        return static_cast<LONG>((v * VEK_CX_DLGUNIT_BASE + (v >= 0 ? 2 : -2)) / 4);
    };
    auto my = [](LONG v) {
        return static_cast<LONG>((v * VEK_CY_DLGUNIT_BASE + (v >= 0 ? 4 : -4)) / 8);
    };
    lpRect->left = mx(lpRect->left);
    lpRect->right = mx(lpRect->right);
    lpRect->top = my(lpRect->top);
    lpRect->bottom = my(lpRect->bottom);
    return TRUE;
}

BOOL GetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO* pcbi)
{
    if (!pcbi || !IsWindow(hwndCombo))
        return FALSE;
    return static_cast<BOOL>(
        SendMessageW(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
}

CString VekDescribeWindowTree(HWND hWnd)
{
    CString str;
    struct Walker
    {
        static void Walk(HWND h, int nDepth, CString& out)
        {
            VekWindow* w = VekGetWindow(h);
            if (!w)
                return;
            RECT rc;
            GetWindowRect(h, &rc);
            CString line;
            line.Format(
                L"%*s%s id=%u style=0x%08X ex=0x%08X \"%s\" (%d,%d)-(%d,%d)%s%s%s\n", nDepth * 2,
                L"", w->strClass.c_str(), w->nID, w->dwStyle, w->dwExStyle, w->strText.c_str(),
                rc.left, rc.top, rc.right, rc.bottom, (w->dwStyle & WS_VISIBLE) ? L"" : L" hidden",
                (w->dwStyle & WS_DISABLED) ? L" disabled" : L"", GetFocus() == h ? L" focus" : L"");
            out += line;
            std::vector<HWND> kids = w->children;
            for (HWND c : kids)
                Walk(c, nDepth + 1, out);
        }
    };
    Walker::Walk(hWnd, 0, str);
    return str;
}

int VekScrollTopRow(WPARAM wParam, int nTop, int nPage, int nCount)
{
    switch (LOWORD(wParam))
    {
    case SB_LINEUP:
        --nTop;
        break;
    case SB_LINEDOWN:
        ++nTop;
        break;
    case SB_PAGEUP:
        nTop -= nPage;
        break;
    case SB_PAGEDOWN:
        nTop += nPage;
        break;
    case SB_TOP:
        nTop = 0;
        break;
    case SB_BOTTOM:
        nTop = nCount;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nTop = HIWORD(wParam);
        break;
    default:
        break;
    }
    return std::max(0, std::min(nTop, std::max(0, nCount - nPage)));
}
