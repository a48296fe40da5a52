// The dialog manager: the dialog class "#32770" and its default procedure, dialogs created
// from templates, IsDialogMessage (Enter, Escape, Tab, arrows), the default button, and tab
// and group navigation.
//
// Not implemented: mnemonics (WM_SYSCHAR / Alt+letter accelerators), WS_EX_CONTROLPARENT
// nesting, radio-button checking by arrow keys, DS_CENTER (dialogs sit at their template
// position), modeless dialogs.
#include "VekWindowInternal.h"

#include <algorithm>
#include <cstdio>

namespace
{
struct DialogInfo
{
    UINT nDefID = 0;
    bool bHasDefID = false;
    HFONT hOwnedFont = nullptr;
};

DialogInfo* Info(HWND hDlg)
{
    return static_cast<DialogInfo*>(VekGetCtlState(hDlg));
}

bool IsPushButton(HWND h)
{
    if (!VekIsClass(h, L"Button"))
        return false;
    DWORD type = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsTabCandidate(HWND h)
{
    DWORD s = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    return (s & WS_TABSTOP) && (s & WS_VISIBLE) && !(s & WS_DISABLED);
}

// The dialog's direct child that is hCtl or contains it.
HWND DirectChild(HWND hDlg, HWND hCtl)
{
    while (hCtl && GetParent(hCtl) != hDlg)
    {
        if (!(GetWindowLongW(hCtl, GWL_STYLE) & WS_CHILD))
            return nullptr;
        hCtl = GetParent(hCtl);
    }
    return hCtl;
}

std::vector<HWND> Children(HWND hDlg)
{
    std::vector<HWND> v;
    for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        v.push_back(c);
    return v;
}

void SetDialogFocus(HWND hCtl)
{
    if (SendMessageW(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(hCtl, EM_SETSEL, 0, -1);
    SetFocus(hCtl);
}

UINT DefaultId(HWND hDlg)
{
    LRESULT dw = SendMessageW(hDlg, DM_GETDEFID, 0, 0);
    return HIWORD(dw) == DC_HASDEFID ? LOWORD(dw) : 0;
}

// Gives the default look to hNewFocus when it is a push button, and back to the real default
// button otherwise; DM_GETDEFID is not changed.
void SetDefaultLook(HWND hDlg, HWND hNewFocus)
{
    HWND hDefault = GetDlgItem(hDlg, static_cast<int>(DefaultId(hDlg)));
    HWND hLook = (hNewFocus && IsPushButton(hNewFocus) && GetParent(hNewFocus) == hDlg) ? hNewFocus
                                                                                        : hDefault;
    for (HWND c : Children(hDlg))
    {
        if (!IsPushButton(c))
            continue;
        bool bDef =
            (static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (c == hLook && !bDef)
            SendMessageW(c, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        else if (c != hLook && bDef)
            SendMessageW(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
}

// Position and size in dialog units to pixels, each mapped on its own as the dialog manager
// does, so that a size does not depend on the position's rounding.
RECT MapPlacement(short x, short y, short cx, short cy)
{
    RECT pos = {x, y, cx, cy};
    MapDialogRect(nullptr, &pos);
    return RECT{pos.left, pos.top, pos.left + pos.right, pos.top + pos.bottom};
}

// Handlers of the dialog's default procedure.

void OnNcDestroy(HWND hDlg, DialogInfo* pInfo)
{
    if (!pInfo)
        return;
    if (pInfo->hOwnedFont)
        DeleteObject(pInfo->hOwnedFont);
    delete pInfo;
    VekSetCtlState(hDlg, nullptr);
}

// Stores the default id and moves the default look from the old default button to the new.
LRESULT OnSetDefId(HWND hDlg, DialogInfo* pInfo, UINT nID)
{
    if (!pInfo)
        return FALSE;
    HWND hOld = pInfo->bHasDefID ? GetDlgItem(hDlg, static_cast<int>(pInfo->nDefID)) : nullptr;
    HWND hNew = GetDlgItem(hDlg, static_cast<int>(nID));
    pInfo->nDefID = nID;
    pInfo->bHasDefID = true;
    if (hOld && hOld != hNew && IsPushButton(hOld))
        SendMessageW(hOld, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (hNew && IsPushButton(hNew))
        SendMessageW(hNew, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return TRUE;
}

// The stored default id, else the first child that reports itself as the default button.
LRESULT OnGetDefId(HWND hDlg, const DialogInfo* pInfo)
{
    if (pInfo && pInfo->bHasDefID)
        return MAKELONG(pInfo->nDefID, DC_HASDEFID);
    for (HWND c : Children(hDlg))
        if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return MAKELONG(GetDlgCtrlID(c), DC_HASDEFID);
    return 0;
}

// Focus to the given control (bHandle) or to the next or previous tab stop; the focus change
// notifies, and a handler may destroy the dialog.
LRESULT OnNextDlgCtl(HWND hDlg, WPARAM wParam, bool bHandle)
{
    HWND hDest = bHandle ? reinterpret_cast<HWND>(wParam)
                         : GetNextDlgTabItem(hDlg, GetFocus(), static_cast<BOOL>(wParam));
    if (hDest && IsWindow(hDest))
        SetDialogFocus(hDest);
    if (IsWindow(hDlg))
        SetDefaultLook(hDlg, hDest);
    return 0;
}

LRESULT DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcW(hDlg, msg, wParam, lParam);
}
} // namespace

void VekRegisterDialogClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &DialogProc;
    wc.lpszClassName = L"#32770";
    RegisterClassW(&wc);
}

LRESULT DefDlgProcW(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DialogInfo* pInfo = Info(hDlg);
    switch (msg)
    {
    case WM_NCCREATE:
        if (!pInfo)
            VekSetCtlState(hDlg, new DialogInfo);
        return TRUE;
    case WM_NCDESTROY:
        OnNcDestroy(hDlg, pInfo);
        return DefWindowProcW(hDlg, msg, wParam, lParam);
    case DM_SETDEFID:
        return OnSetDefId(hDlg, pInfo, static_cast<UINT>(wParam));
    case DM_GETDEFID:
        return OnGetDefId(hDlg, pInfo);
    case WM_NEXTDLGCTL:
        return OnNextDlgCtl(hDlg, wParam, lParam != 0);
    case WM_CLOSE:
        PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    case WM_SETFOCUS:
        if (HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE))
            SetDialogFocus(hFirst);
        return 0;
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_GETDLGCODE:
        return 0;
    default:
        return DefWindowProcW(hDlg, msg, wParam, lParam);
    }
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    std::vector<HWND> kids = Children(hDlg);
    if (kids.empty())
        return nullptr;
    HWND hStart = DirectChild(hDlg, hCtl);
    int n = static_cast<int>(kids.size());
    int nIndex = -1;
    if (hStart)
        nIndex = static_cast<int>(std::find(kids.begin(), kids.end(), hStart) - kids.begin());
    if (nIndex >= n)
        nIndex = -1;
    for (int k = 1; k <= n; ++k)
    {
        int i;
        if (nIndex < 0)
            i = bPrevious ? n - k : k - 1;
        else
            i = ((bPrevious ? nIndex - k : nIndex + k) % n + n) % n;
        if (IsTabCandidate(kids[static_cast<size_t>(i)]))
            return kids[static_cast<size_t>(i)];
    }
    return hStart;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    std::vector<HWND> kids = Children(hDlg);
    HWND hStart = DirectChild(hDlg, hCtl);
    auto it = std::find(kids.begin(), kids.end(), hStart);
    if (!hStart || it == kids.end())
        return nullptr;
    // The group runs from a WS_GROUP control to the control before the next WS_GROUP one.
    int i = static_cast<int>(it - kids.begin());
    int nFirst = i;
    while (nFirst > 0 && !(GetWindowLongW(kids[static_cast<size_t>(nFirst)], GWL_STYLE) & WS_GROUP))
        --nFirst;
    int nLast = i;
    while (nLast + 1 < static_cast<int>(kids.size()) &&
           !(GetWindowLongW(kids[static_cast<size_t>(nLast + 1)], GWL_STYLE) & WS_GROUP))
        ++nLast;
    int nCount = nLast - nFirst + 1;
    for (int k = 1; k < nCount; ++k)
    {
        int j = nFirst + (((i - nFirst) + (bPrevious ? -k : k)) % nCount + nCount) % nCount;
        DWORD s = static_cast<DWORD>(GetWindowLongW(kids[static_cast<size_t>(j)], GWL_STYLE));
        if ((s & WS_VISIBLE) && !(s & WS_DISABLED))
            return kids[static_cast<size_t>(j)];
    }
    return hStart;
}

namespace
{
// Keys the dialog manager takes from its controls. Each returns whether it took the key;
// a key not taken is dispatched to the control.

bool OnTabKey(HWND hDlg, LRESULT dlgCode)
{
    if (dlgCode & DLGC_WANTTAB)
        return false;
    SendMessageW(hDlg, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
    return true;
}

// Arrows move the focus inside the group.
bool OnArrowKey(HWND hDlg, WPARAM vk, LRESULT dlgCode)
{
    if (dlgCode & DLGC_WANTARROWS)
        return false;
    BOOL bPrevious = vk == VK_LEFT || vk == VK_UP;
    if (HWND hNext = GetNextDlgGroupItem(hDlg, GetFocus(), bPrevious))
        SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
    return true;
}

// Escape cancels, with or without a Cancel button.
bool OnEscapeKey(HWND hDlg)
{
    SendMessageW(hDlg, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
    return true;
}

// Enter clicks the focused button with the default look, else the default id (nothing when
// that control is disabled), else IDOK.
bool OnEnterKey(HWND hDlg)
{
    HWND hFocus = GetFocus();
    if (hFocus && IsChild(hDlg, hFocus) &&
        (SendMessageW(hFocus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
    {
        SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hFocus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hFocus));
        return true;
    }
    LRESULT dw = SendMessageW(hDlg, DM_GETDEFID, 0, 0);
    if (HIWORD(dw) != DC_HASDEFID)
    {
        SendMessageW(hDlg, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
        return true;
    }
    HWND hDef = GetDlgItem(hDlg, LOWORD(dw));
    if (!hDef || IsWindowEnabled(hDef))
        SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(LOWORD(dw), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hDef));
    return true;
}

bool OnDialogKeyDown(HWND hDlg, const MSG* pMsg)
{
    // The control may ask for the key itself.
    LRESULT dlgCode =
        SendMessageW(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg));
    if ((dlgCode & DLGC_WANTMESSAGE) || !IsWindow(hDlg))
        return false;
    switch (pMsg->wParam)
    {
    case VK_TAB:
        return OnTabKey(hDlg, dlgCode);
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        return OnArrowKey(hDlg, pMsg->wParam, dlgCode);
    case VK_CANCEL:
    case VK_ESCAPE:
        return OnEscapeKey(hDlg);
    case VK_EXECUTE:
    case VK_RETURN:
        return OnEnterKey(hDlg);
    default:
        return false;
    }
}
} // namespace

BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    if (!lpMsg || !IsWindow(hDlg) || (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)))
        return FALSE;
    if (lpMsg->message == WM_KEYDOWN && OnDialogKeyDown(hDlg, lpMsg))
        return TRUE;
    if (!IsWindow(lpMsg->hwnd))
        return TRUE;
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}

BOOL EndDialog(HWND hDlg, INT_PTR)
{
    if (!IsWindow(hDlg))
        return FALSE;
    HWND hOwner = GetWindow(hDlg, GW_OWNER);
    if (hOwner)
        EnableWindow(hOwner, TRUE);
    ShowWindow(hDlg, SW_HIDE);
    return TRUE;
}

HWND VekCreateDialogFromTemplate(const VEK_RES_DIALOG* pTemplate, HWND hwndOwner, CDialog* pDlg)
{
    if (!pTemplate)
        return nullptr;
    DWORD dwStyle = (pTemplate->dwStyle | WS_POPUP) & ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    DWORD dwExStyle = pTemplate->dwExStyle;
    if (dwStyle & DS_MODALFRAME)
        dwExStyle |= WS_EX_DLGMODALFRAME;
    RECT rc = MapPlacement(pTemplate->x, pTemplate->y, pTemplate->cx, pTemplate->cy);
    POINT origin = {VEK_X_DESKTOP_ORIGIN, VEK_Y_DESKTOP_ORIGIN};
    if (hwndOwner)
    {
        origin = POINT{0, 0};
        ClientToScreen(hwndOwner, &origin);
    }
    RECT rcWindow = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
    AdjustWindowRectEx(&rcWindow, dwStyle, FALSE, dwExStyle);
    int x = origin.x + rc.left;
    int y = origin.y + rc.top;

    HINSTANCE hInst = AfxGetResourceHandle();
    if (pDlg)
        VekSetCreateHook([](HWND h, void* p) { static_cast<CDialog*>(p)->SubclassWindow(h); },
                         pDlg);
    HWND hDlg = CreateWindowExW(dwExStyle, L"#32770", pTemplate->pszCaption, dwStyle, x, y,
                                rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top,
                                hwndOwner, nullptr, hInst, nullptr);
    VekSetCreateHook(nullptr, nullptr);
    if (!hDlg)
        return nullptr;

    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (pTemplate->pszFontName && *pTemplate->pszFontName)
    {
        LOGFONTW lf = {};
        lf.lfHeight = -((pTemplate->wFontSize * 96 + 36) / 72);
        lf.lfWeight = FW_NORMAL;
        for (int i = 0; i < 31 && pTemplate->pszFontName[i]; ++i)
            lf.lfFaceName[i] = pTemplate->pszFontName[i];
        hFont = CreateFontIndirectW(&lf);
        if (DialogInfo* pInfo = Info(hDlg))
            pInfo->hOwnedFont = hFont;
    }
    SendMessageW(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);

    for (UINT i = 0; i < pTemplate->nItems; ++i)
    {
        const VEK_RES_DLGITEM& item = pTemplate->pItems[i];
        RECT rcItem = MapPlacement(item.x, item.y, item.cx, item.cy);
        // Template controls are visible children, as the resource compiler makes them.
        HWND hCtl = CreateWindowExW(
            item.dwExStyle, item.pszClass, item.pszText, item.dwStyle | WS_CHILD | WS_VISIBLE,
            rcItem.left, rcItem.top, rcItem.right - rcItem.left, rcItem.bottom - rcItem.top, hDlg,
            reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.nID)), hInst, nullptr);
        if (!hCtl)
        {
            fprintf(stderr, "vek: dialog %u: control %u of class %ls cannot be created\n",
                    pTemplate->nID, item.nID, item.pszClass ? item.pszClass : L"(null)");
            DestroyWindow(hDlg);
            return nullptr;
        }
        SendMessageW(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    }

    // The first default push button of the template is the dialog's default id.
    if (DialogInfo* pInfo = Info(hDlg))
    {
        for (HWND c : Children(hDlg))
            if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            {
                pInfo->nDefID = static_cast<UINT>(GetDlgCtrlID(c));
                pInfo->bHasDefID = true;
                break;
            }
    }

    HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    if (SendMessageW(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), 0) && IsWindow(hDlg))
    {
        hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
        if (hFirst)
            SetDialogFocus(hFirst);
    }
    return IsWindow(hDlg) ? hDlg : nullptr;
}
