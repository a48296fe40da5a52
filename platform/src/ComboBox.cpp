// Combo box control: a drop-down list (CBS_DROPDOWNLIST), a drop-down with an edit
// (CBS_DROPDOWN) or a simple one. The items live in the combo box's list window ("ComboLBox"),
// a popup that appears under the combo box when it drops down and asks the combo box for its
// colours; the combo box passes its children's colour requests on to its parent. The open list
// holds the mouse capture.
//
// Not implemented: owner-drawn items, CBS_SIMPLE's always-shown list (its list stays hidden),
// extended UI (CB_SETEXTENDEDUI), CB_DIR, CB_SETEDITSEL / CB_GETEDITSEL, auto-complete in the
// edit, CBN_DBLCLK, horizontal extent, Alt+Down (F4 drops the list), the selection following the
// mouse over the open list, keys typed into a drop-down's edit reaching the list (Up, Down, F4).
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>
#include <unordered_map>

namespace
{
// The state of one combo box window, created on WM_NCCREATE and freed on WM_NCDESTROY.
struct Combo
{
    HWND hwnd = nullptr;
    HWND hwndList = nullptr;
    HWND hwndEdit = nullptr; // CBS_DROPDOWN and CBS_SIMPLE only
    bool bDropped = false;
    int nSelBeforeDrop = -1;
    int nDropHeight = 0; // the height asked for beyond the field, for the list
    UINT nLimit = 0;
};

Combo* ComboOf(HWND h)
{
    return static_cast<Combo*>(VekGetCtlState(h));
}

// The combo box of each list window: a list is a popup owned by the top-level window, so its
// owner does not lead back to its combo box.
std::unordered_map<HWND, HWND>& CombosOfLists()
{
    static std::unordered_map<HWND, HWND> s_map;
    return s_map;
}

DWORD Type(const Combo* cb)
{
    return static_cast<DWORD>(GetWindowLongW(cb->hwnd, GWL_STYLE)) & 3;
}

LRESULT List(const Combo* cb, UINT msg, WPARAM w = 0, LPARAM l = 0)
{
    return SendMessageW(cb->hwndList, msg, w, l);
}

int CurSel(const Combo* cb)
{
    return static_cast<int>(List(cb, LB_GETCURSEL));
}

int Count(const Combo* cb)
{
    return static_cast<int>(List(cb, LB_GETCOUNT));
}

std::wstring ItemText(const Combo* cb, int n)
{
    LRESULT len = List(cb, LB_GETTEXTLEN, static_cast<WPARAM>(n));
    if (len < 0)
        return std::wstring();
    std::wstring str(static_cast<size_t>(len) + 1, L'\0');
    List(cb, LB_GETTEXT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&str[0]));
    str.resize(static_cast<size_t>(len));
    return str;
}

std::wstring SelectedText(const Combo* cb)
{
    int n = CurSel(cb);
    return n >= 0 ? ItemText(cb, n) : std::wstring();
}

// The edit of a drop-down combo box shows the selected item.
void SyncEdit(const Combo* cb)
{
    if (!cb->hwndEdit)
        return;
    // Set without the edit's change notifications reaching the parent as edit changes.
    VekGetWindow(cb->hwndEdit)->strText = SelectedText(cb);
}

// Keeps the window at the height of its field; extra height is the height of the list.
void FixHeight(Combo* cb)
{
    VekWindow* w = VekGetWindow(cb->hwnd);
    int cy = w->rc.bottom - w->rc.top;
    if (cy > VEK_CY_COMBO_FIELD)
    {
        cb->nDropHeight = cy - VEK_CY_COMBO_FIELD;
        w->rc.bottom = w->rc.top + VEK_CY_COMBO_FIELD;
    }
}

int ListHeight(const Combo* cb)
{
    int nItems = std::max(1, std::min(Count(cb), VEK_CY_COMBO_LIST_MAX));
    return nItems * VEK_CY_LISTITEM + 2 * VEK_CX_BORDER;
}

// Tells the parent. False when the combo box did not survive the handler: its state is freed
// then, and the caller must return at once.
bool Notify(const Combo* cb, UINT nCode)
{
    HWND h = cb->hwnd;
    VekNotifyParentCommand(h, nCode);
    return IsWindow(h) != FALSE;
}

// Shows the list under the field. The open list holds the mouse capture, so that the first
// click outside it only closes it.
void DropDown(Combo* cb)
{
    if (cb->bDropped || !Notify(cb, CBN_DROPDOWN))
        return;
    cb->nSelBeforeDrop = CurSel(cb);
    RECT rc;
    GetWindowRect(cb->hwnd, &rc);
    MoveWindow(cb->hwndList, rc.left, rc.bottom, rc.right - rc.left, ListHeight(cb), FALSE);
    cb->bDropped = true;
    HWND h = cb->hwnd;
    ShowWindow(cb->hwndList, SW_SHOWNA); // the list asks the parent for its colours
    if (IsWindow(h) && cb->bDropped && GetCapture() != cb->hwndList)
        SetCapture(cb->hwndList);
}

// Hides the list; without bOk a drop-down list takes back the choice made while it was open.
void CloseUp(Combo* cb, bool bOk)
{
    if (!cb->bDropped)
        return;
    cb->bDropped = false;
    if (GetCapture() == cb->hwndList)
        ReleaseCapture();
    if (!bOk && Type(cb) == CBS_DROPDOWNLIST)
        List(cb, LB_SETCURSEL, static_cast<WPARAM>(cb->nSelBeforeDrop));
    if (!Notify(cb, bOk ? CBN_SELENDOK : CBN_SELENDCANCEL))
        return;
    ShowWindow(cb->hwndList, SW_HIDE);
    SyncEdit(cb);
    Notify(cb, CBN_CLOSEUP);
}

void ToggleDropDown(Combo* cb)
{
    if (cb->bDropped)
        CloseUp(cb, true);
    else
        DropDown(cb);
}

// A selection made by the user in the closed combo box or its open list.
void UserSelect(Combo* cb, int n)
{
    int nCount = Count(cb);
    if (nCount == 0)
        return;
    n = std::max(0, std::min(n, nCount - 1));
    if (n == CurSel(cb))
        return;
    List(cb, LB_SETCURSEL, static_cast<WPARAM>(n));
    SyncEdit(cb);
    if (!Notify(cb, CBN_SELCHANGE))
        return;
    if (!cb->bDropped)
        Notify(cb, CBN_SELENDOK);
}

// The combo box's own procedure for its list, in front of the list class: while the list
// holds the capture, a press outside it closes it and goes no further; one on its frame or
// scroll bar is handled there as a non-client press.
LRESULT ComboListProc(HWND hList, UINT msg, WPARAM wParam, LPARAM lParam)
{
    VekWindow* w = VekGetWindow(hList);
    if (!w)
        return 0;
    WNDPROC pfnList = w->pfnClassProc;
    bool bMouse = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_LBUTTONUP;
    if (!bMouse || GetCapture() != hList)
        return CallWindowProcW(pfnList, hList, msg, wParam, lParam);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT rcClient;
    GetClientRect(hList, &rcClient);
    if (PtInRect(&rcClient, pt))
        return CallWindowProcW(pfnList, hList, msg, wParam, lParam);
    if (msg == WM_LBUTTONUP)
        return 0; // the release of the press that opened the list, or of one outside it
    POINT ptScreen = pt;
    ClientToScreen(hList, &ptScreen);
    RECT rcWindow;
    GetWindowRect(hList, &rcWindow);
    auto it = CombosOfLists().find(hList);
    HWND hCombo = it != CombosOfLists().end() ? it->second : nullptr;
    ReleaseCapture();
    if (PtInRect(&rcWindow, ptScreen))
    {
        LPARAM lScreen = MAKELPARAM(ptScreen.x, ptScreen.y);
        LRESULT hit = SendMessageW(hList, WM_NCHITTEST, 0, lScreen);
        SendMessageW(hList, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), lScreen);
        Combo* cb = IsWindow(hCombo) ? ComboOf(hCombo) : nullptr;
        if (cb && cb->bDropped && IsWindow(hList) && !GetCapture())
            SetCapture(hList);
        return 0;
    }
    if (Combo* cb = IsWindow(hCombo) ? ComboOf(hCombo) : nullptr)
        CloseUp(cb, false);
    return 0;
}

// Message handlers, one per message or family.

LRESULT OnCreate(Combo* cb)
{
    FixHeight(cb);
    HWND h = cb->hwnd;
    DWORD dwListStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
    if (GetWindowLongW(h, GWL_STYLE) & CBS_SORT)
        dwListStyle |= LBS_SORT;
    cb->hwndList =
        CreateWindowExW(0, L"ComboLBox", L"", dwListStyle, 0, 0, 10, 10, h, nullptr, nullptr, h);
    if (!cb->hwndList)
        return -1;
    CombosOfLists()[cb->hwndList] = h;
    SetWindowLongPtrW(cb->hwndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboListProc));
    if (Type(cb) != CBS_DROPDOWNLIST)
    {
        RECT rc;
        GetClientRect(h, &rc);
        cb->hwndEdit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0,
                                       0, rc.right - VEK_CX_VSCROLL, rc.bottom, h,
                                       reinterpret_cast<HMENU>(static_cast<uintptr_t>(1001)),
                                       nullptr, nullptr);
    }
    return 0;
}

LRESULT OnDestroy(Combo* cb)
{
    CombosOfLists().erase(cb->hwndList);
    if (cb->hwndList)
        DestroyWindow(cb->hwndList);
    cb->hwndList = nullptr;
    return 0;
}

LRESULT OnSetCurSel(Combo* cb, WPARAM wParam)
{
    LRESULT r = List(cb, LB_SETCURSEL, wParam);
    SyncEdit(cb);
    return r;
}

LRESULT OnResetContent(Combo* cb)
{
    List(cb, LB_RESETCONTENT);
    SyncEdit(cb);
    InvalidateRect(cb->hwnd, nullptr, TRUE);
    return CB_OKAY;
}

LRESULT OnSelectString(Combo* cb, WPARAM wParam, LPARAM lParam)
{
    LRESULT n = List(cb, LB_FINDSTRING, wParam, lParam);
    if (n == LB_ERR)
        return CB_ERR;
    List(cb, LB_SETCURSEL, static_cast<WPARAM>(n));
    SyncEdit(cb);
    return n;
}

LRESULT OnLimitText(Combo* cb, WPARAM wParam)
{
    cb->nLimit = static_cast<UINT>(wParam);
    if (cb->hwndEdit)
        SendMessageW(cb->hwndEdit, EM_LIMITTEXT, wParam, 0);
    return TRUE;
}

LRESULT OnShowDropDown(Combo* cb, BOOL bShow)
{
    if (bShow)
        DropDown(cb);
    else
        CloseUp(cb, false);
    return TRUE;
}

LRESULT OnGetDroppedControlRect(Combo* cb, RECT* pRect)
{
    if (pRect)
    {
        GetWindowRect(cb->hwnd, pRect);
        pRect->bottom += ListHeight(cb);
    }
    return TRUE;
}

LRESULT OnGetComboBoxInfo(Combo* cb, COMBOBOXINFO* pInfo)
{
    if (!pInfo)
        return FALSE;
    GetClientRect(cb->hwnd, &pInfo->rcItem);
    pInfo->rcButton = pInfo->rcItem;
    pInfo->rcItem.right = std::max<LONG>(0, pInfo->rcItem.right - VEK_CX_VSCROLL);
    pInfo->rcButton.left = pInfo->rcItem.right;
    pInfo->stateButton = 0;
    pInfo->hwndCombo = cb->hwnd;
    pInfo->hwndItem = cb->hwndEdit ? cb->hwndEdit : cb->hwnd;
    pInfo->hwndList = cb->hwndList;
    return TRUE;
}

// The window text is the edit's, or for a drop-down list the selected item's.
LRESULT OnGetText(Combo* cb, int cchMax, LPWSTR pszBuf)
{
    if (cb->hwndEdit)
        return SendMessageW(cb->hwndEdit, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                            reinterpret_cast<LPARAM>(pszBuf));
    return VekCopyText(SelectedText(cb), pszBuf, cchMax);
}

LRESULT OnGetTextLength(Combo* cb)
{
    if (cb->hwndEdit)
        return SendMessageW(cb->hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    return static_cast<LRESULT>(SelectedText(cb).size());
}

LRESULT OnSetText(Combo* cb, LPARAM lParam)
{
    if (cb->hwndEdit)
        return SendMessageW(cb->hwndEdit, WM_SETTEXT, 0, lParam);
    // A drop-down list shows only its items: the text selects the matching one.
    LRESULT n = List(cb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
    if (n == LB_ERR)
        return CB_ERR;
    List(cb, LB_SETCURSEL, static_cast<WPARAM>(n));
    return TRUE;
}

LRESULT OnSetFont(Combo* cb, WPARAM wParam, LPARAM lParam)
{
    DefWindowProcW(cb->hwnd, WM_SETFONT, wParam, lParam);
    SendMessageW(cb->hwndList, WM_SETFONT, wParam, lParam);
    if (cb->hwndEdit)
        SendMessageW(cb->hwndEdit, WM_SETFONT, wParam, lParam);
    return 0;
}

// Colour requests of the combo box's own windows go to its parent.
LRESULT OnCtlColor(Combo* cb, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (HWND hParent = GetParent(cb->hwnd))
        return SendMessageW(hParent, msg, wParam, lParam);
    return DefWindowProcW(cb->hwnd, msg, wParam, lParam);
}

// What the edit and the list tell the combo box.
LRESULT OnCommand(Combo* cb, UINT nCode, HWND hFrom)
{
    if (cb->hwndEdit && hFrom == cb->hwndEdit)
    {
        if (nCode == EN_CHANGE)
            Notify(cb, CBN_EDITCHANGE);
        else if (nCode == EN_UPDATE)
            Notify(cb, CBN_EDITUPDATE);
    }
    else if (hFrom == cb->hwndList)
    {
        if (nCode == LBN_SELCHANGE)
        {
            SyncEdit(cb);
            Notify(cb, CBN_SELCHANGE);
        }
        else if (nCode == VEK_LBN_PICKED)
        {
            CloseUp(cb, true);
        }
    }
    return 0;
}

LRESULT OnGetDlgCode(Combo* cb, const MSG* pMsg)
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // Enter and Escape close the open list instead of reaching the dialog's buttons.
    if (pMsg && pMsg->message == WM_KEYDOWN && cb->bDropped &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT OnLButtonDown(Combo* cb)
{
    HWND h = cb->hwnd;
    SetFocus(cb->hwndEdit ? cb->hwndEdit : h);
    if (!IsWindow(h))
        return 0;
    ToggleDropDown(cb);
    return 0;
}

LRESULT OnKeyDown(Combo* cb, WPARAM vk)
{
    int nSel = CurSel(cb);
    switch (vk)
    {
    case VK_F4:
        ToggleDropDown(cb);
        break;
    case VK_RETURN:
        CloseUp(cb, true);
        break;
    case VK_ESCAPE:
        CloseUp(cb, false);
        break;
    case VK_UP:
        UserSelect(cb, nSel < 0 ? 0 : nSel - 1);
        break;
    case VK_DOWN:
        UserSelect(cb, nSel < 0 ? 0 : nSel + 1);
        break;
    case VK_HOME:
        UserSelect(cb, 0);
        break;
    case VK_END:
        UserSelect(cb, Count(cb) - 1);
        break;
    default:
        break;
    }
    return 0;
}

// A letter typed into a drop-down list selects the next item that starts with it.
LRESULT OnChar(Combo* cb, WCHAR ch)
{
    WCHAR sz[2] = {ch, 0};
    if (ch < 0x20 || cb->hwndEdit)
        return 0;
    LRESULT n =
        List(cb, LB_FINDSTRING, static_cast<WPARAM>(CurSel(cb)), reinterpret_cast<LPARAM>(sz));
    if (n != LB_ERR)
        UserSelect(cb, static_cast<int>(n));
    return 0;
}

LRESULT OnSetFocus(Combo* cb)
{
    HWND h = cb->hwnd;
    if (cb->hwndEdit)
    {
        SetFocus(cb->hwndEdit);
        if (!IsWindow(h))
            return 0;
    }
    Notify(cb, CBN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(Combo* cb, HWND hNew)
{
    // The focus moving between the combo box and its own windows is no loss.
    if (hNew && (hNew == cb->hwndEdit || hNew == cb->hwndList))
        return 0;
    HWND h = cb->hwnd;
    CloseUp(cb, false);
    if (IsWindow(h))
        Notify(cb, CBN_KILLFOCUS);
    return 0;
}

LRESULT OnEnable(Combo* cb, BOOL bEnable)
{
    HWND h = cb->hwnd;
    if (cb->hwndEdit)
        EnableWindow(cb->hwndEdit, bEnable);
    if (!bEnable && IsWindow(h))
        CloseUp(cb, false);
    return 0;
}

LRESULT ComboProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Combo* cb = ComboOf(h);
    if (!cb && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE: {
        auto* pNew = new Combo;
        pNew->hwnd = h;
        VekSetCtlState(h, pNew);
        return TRUE;
    }
    case WM_CREATE:
        return OnCreate(cb);
    case WM_SIZE:
        FixHeight(cb);
        return 0;
    case WM_DESTROY:
        return OnDestroy(cb);
    case WM_NCDESTROY:
        delete cb;
        VekSetCtlState(h, nullptr);
        return 0;
    case CB_ADDSTRING:
        return List(cb, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return List(cb, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return List(cb, LB_DELETESTRING, wParam);
    case CB_RESETCONTENT:
        return OnResetContent(cb);
    case CB_GETCOUNT:
        return Count(cb);
    case CB_GETCURSEL:
        return CurSel(cb);
    case CB_SETCURSEL:
        return OnSetCurSel(cb, wParam);
    case CB_GETLBTEXT:
        return List(cb, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return List(cb, LB_GETTEXTLEN, wParam);
    case CB_GETITEMDATA:
        return List(cb, LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA:
        return List(cb, LB_SETITEMDATA, wParam, lParam);
    case CB_FINDSTRING:
        return List(cb, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return List(cb, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING:
        return OnSelectString(cb, wParam, lParam);
    case CB_LIMITTEXT:
        return OnLimitText(cb, wParam);
    case CB_SHOWDROPDOWN:
        return OnShowDropDown(cb, static_cast<BOOL>(wParam));
    case CB_GETDROPPEDSTATE:
        return cb->bDropped ? TRUE : FALSE;
    case CB_GETITEMHEIGHT:
        return VEK_CY_LISTITEM;
    case CB_GETDROPPEDCONTROLRECT:
        return OnGetDroppedControlRect(cb, reinterpret_cast<RECT*>(lParam));
    case CB_GETCOMBOBOXINFO:
        return OnGetComboBoxInfo(cb, reinterpret_cast<COMBOBOXINFO*>(lParam));
    case WM_GETTEXT:
        return OnGetText(cb, static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return OnGetTextLength(cb);
    case WM_SETTEXT:
        return OnSetText(cb, lParam);
    case WM_SETFONT:
        return OnSetFont(cb, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(cb, msg, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(cb, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_GETDLGCODE:
        return OnGetDlgCode(cb, reinterpret_cast<const MSG*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(cb);
    case WM_KEYDOWN:
        return OnKeyDown(cb, wParam);
    case WM_CHAR:
        return OnChar(cb, static_cast<WCHAR>(wParam));
    case WM_SETFOCUS:
        return OnSetFocus(cb);
    case WM_KILLFOCUS:
        return OnKillFocus(cb, reinterpret_cast<HWND>(wParam));
    case WM_SHOWWINDOW:
        // A combo box that disappears takes its open list with it.
        if (!wParam)
            CloseUp(cb, false);
        return 0;
    case WM_ENABLE:
        return OnEnable(cb, static_cast<BOOL>(wParam));
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}

const char* TypeName(DWORD dwType)
{
    switch (dwType)
    {
    case CBS_SIMPLE:
        return "simple";
    case CBS_DROPDOWN:
        return "dropDown";
    default:
        return "dropDownList";
    }
}

// The items are the list's; they are read through its messages, which change nothing.
void Snapshot(HWND hWnd, nlohmann::json& control)
{
    const Combo* cb = ComboOf(hWnd);
    if (!cb)
        return;
    control["type"] = TypeName(Type(cb));
    nlohmann::json items = nlohmann::json::array();
    const int nCount = Count(cb);
    std::wstring str;
    for (int i = 0; i < nCount; ++i)
    {
        const LRESULT nLen = List(cb, LB_GETTEXTLEN, static_cast<WPARAM>(i));
        str.assign(nLen > 0 ? static_cast<size_t>(nLen) : 0, L'\0');
        if (nLen > 0)
            List(cb, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&str[0]));
        items.push_back(VekJsonText(str));
    }
    control["items"] = std::move(items);
    control["selection"] = CurSel(cb);
    control["dropped"] = cb->bDropped;
    control["list"] = VekJsonHandle(cb->hwndList);
    control["edit"] = VekJsonHandle(cb->hwndEdit);
}
} // namespace

void VekRegisterComboBoxClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ComboProc;
    wc.lpszClassName = L"ComboBox";
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(L"ComboBox", &Snapshot);
}

BOOL GetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO* pcbi)
{
    if (!pcbi || !IsWindow(hwndCombo))
        return FALSE;
    return static_cast<BOOL>(
        SendMessageW(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
}
