// Combo box control: a drop-down list (CBS_DROPDOWNLIST), a drop-down with an edit
// (CBS_DROPDOWN) or a simple one. The items live in the combo box's list window ("ComboLBox"),
// a popup that appears under the combo box when it drops down and asks the combo box for its
// colours; the combo box passes its children's colour requests on to its parent.
//
// Not implemented: owner-drawn items, CBS_SIMPLE's always-shown list (its list stays hidden),
// extended UI (CB_SETEXTENDEDUI), CB_DIR, CB_SETEDITSEL / CB_GETEDITSEL, auto-complete in the
// edit, CBN_DBLCLK, horizontal extent, Alt+Down (F4 drops the list).
#include "VekWindowInternal.h"

#include <algorithm>
#include <unordered_map>

namespace
{
struct ComboState
{
    HWND hwndList = nullptr;
    HWND hwndEdit = nullptr;
    bool bDropped = false;
    int nSelBeforeDrop = -1;
    int nDropHeight = 0; // the height asked for beyond the field, for the list
    UINT nLimit = 0;
};

ComboState* State(HWND h)
{
    return static_cast<ComboState*>(VekGetCtlState(h));
}

// The combo box of each list window: a list is a popup owned by the top-level window, so its
// owner does not lead back to its combo box.
std::unordered_map<HWND, HWND>& CombosOfLists()
{
    static std::unordered_map<HWND, HWND> s_map;
    return s_map;
}
DWORD Type(HWND h)
{
    return static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)) & 3;
}

LRESULT List(ComboState* s, UINT msg, WPARAM w = 0, LPARAM l = 0)
{
    return SendMessageW(s->hwndList, msg, w, l);
}

std::wstring ItemText(ComboState* s, int n)
{
    LRESULT len = List(s, LB_GETTEXTLEN, static_cast<WPARAM>(n));
    if (len < 0)
        return std::wstring();
    std::wstring str(static_cast<size_t>(len) + 1, L'\0');
    List(s, LB_GETTEXT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&str[0]));
    str.resize(static_cast<size_t>(len));
    return str;
}

// The edit of a drop-down combo box shows the selected item.
void SyncEdit(ComboState* s)
{
    if (!s->hwndEdit)
        return;
    int n = static_cast<int>(List(s, LB_GETCURSEL));
    std::wstring str = n >= 0 ? ItemText(s, n) : std::wstring();
    // Set without the edit's change notifications reaching the parent as edit changes.
    VekGetWindow(s->hwndEdit)->strText = str;
}

// Keeps the window at the height of its field; extra height is the height of the list.
void FixHeight(HWND h, ComboState* s)
{
    VekWindow* w = VekGetWindow(h);
    int cy = w->rc.bottom - w->rc.top;
    if (cy > VEK_CY_COMBO_FIELD)
    {
        s->nDropHeight = cy - VEK_CY_COMBO_FIELD;
        w->rc.bottom = w->rc.top + VEK_CY_COMBO_FIELD;
    }
}

void Notify(HWND h, UINT nCode)
{
    VekNotifyParentCommand(h, nCode);
}

// The open list holds the mouse capture, so that the first click outside it only closes it.
void DropDown(HWND h, ComboState* s)
{
    if (s->bDropped)
        return;
    Notify(h, CBN_DROPDOWN);
    if (!IsWindow(h))
        return;
    s->nSelBeforeDrop = static_cast<int>(List(s, LB_GETCURSEL));
    RECT rc;
    GetWindowRect(h, &rc);
    int nItems =
        std::max(1, std::min(static_cast<int>(List(s, LB_GETCOUNT)), VEK_CY_COMBO_LIST_MAX));
    int cy = nItems * VEK_CY_LISTITEM + 2 * VEK_CX_BORDER;
    MoveWindow(s->hwndList, rc.left, rc.bottom, rc.right - rc.left, cy, FALSE);
    s->bDropped = true;
    ShowWindow(s->hwndList, SW_SHOWNA); // the list asks the parent for its colours
    if (IsWindow(h) && s->bDropped && GetCapture() != s->hwndList)
        SetCapture(s->hwndList);
}

void CloseUp(HWND h, ComboState* s, bool bOk)
{
    if (!s->bDropped)
        return;
    s->bDropped = false;
    if (GetCapture() == s->hwndList)
        ReleaseCapture();
    if (!bOk && Type(h) == CBS_DROPDOWNLIST)
        List(s, LB_SETCURSEL, static_cast<WPARAM>(s->nSelBeforeDrop));
    Notify(h, bOk ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(h))
        return;
    ShowWindow(s->hwndList, SW_HIDE);
    SyncEdit(s);
    Notify(h, CBN_CLOSEUP);
}

// A selection made by the user in the closed combo box or its open list.
void UserSelect(HWND h, ComboState* s, int n)
{
    int nCount = static_cast<int>(List(s, LB_GETCOUNT));
    if (nCount == 0)
        return;
    n = std::max(0, std::min(n, nCount - 1));
    if (n == static_cast<int>(List(s, LB_GETCURSEL)))
        return;
    List(s, LB_SETCURSEL, static_cast<WPARAM>(n));
    SyncEdit(s);
    Notify(h, CBN_SELCHANGE);
    if (IsWindow(h) && !s->bDropped)
        Notify(h, CBN_SELENDOK);
}

// The combo box's own procedure for its list, in front of the list class: while the list
// holds the capture, a press outside it closes it and goes no further; one on its scroll bar
// goes to the scroll bar.
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
    if (PtInRect(&rcWindow, ptScreen))
    {
        // The list's frame or scroll bar: handled as a non-client press, then the list takes
        // the capture back.
        LRESULT hit = SendMessageW(hList, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
        ReleaseCapture();
        SendMessageW(hList, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit),
                     MAKELPARAM(ptScreen.x, ptScreen.y));
        ComboState* s = IsWindow(hCombo) ? State(hCombo) : nullptr;
        if (s && s->bDropped && IsWindow(hList) && !GetCapture())
            SetCapture(hList);
        return 0;
    }
    ReleaseCapture();
    if (ComboState* s = IsWindow(hCombo) ? State(hCombo) : nullptr)
        CloseUp(hCombo, s, false);
    return 0;
}

LRESULT ComboProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ComboState* s = State(h);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE:
        VekSetCtlState(h, new ComboState);
        return TRUE;
    case WM_CREATE: {
        FixHeight(h, s);
        DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
        DWORD dwListStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
        if (dwStyle & CBS_SORT)
            dwListStyle |= LBS_SORT;
        s->hwndList = CreateWindowExW(0, L"ComboLBox", L"", dwListStyle, 0, 0, 10, 10, h, nullptr,
                                      nullptr, h);
        if (!s->hwndList)
            return -1;
        CombosOfLists()[s->hwndList] = h;
        SetWindowLongPtrW(s->hwndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboListProc));
        if (Type(h) != CBS_DROPDOWNLIST)
        {
            RECT rc;
            GetClientRect(h, &rc);
            s->hwndEdit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                          0, 0, rc.right - VEK_CX_VSCROLL, rc.bottom, h,
                                          reinterpret_cast<HMENU>(static_cast<uintptr_t>(1001)),
                                          nullptr, nullptr);
        }
        return 0;
    }
    case WM_SIZE:
        FixHeight(h, s);
        return 0;
    case WM_DESTROY:
        CombosOfLists().erase(s->hwndList);
        if (s->hwndList)
            DestroyWindow(s->hwndList);
        s->hwndList = nullptr;
        return 0;
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case CB_ADDSTRING:
        return List(s, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return List(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return List(s, LB_DELETESTRING, wParam);
    case CB_RESETCONTENT:
        List(s, LB_RESETCONTENT);
        SyncEdit(s);
        InvalidateRect(h, nullptr, TRUE);
        return CB_OKAY;
    case CB_GETCOUNT:
        return List(s, LB_GETCOUNT);
    case CB_GETCURSEL:
        return List(s, LB_GETCURSEL);
    case CB_SETCURSEL: {
        LRESULT r = List(s, LB_SETCURSEL, wParam);
        SyncEdit(s);
        return r;
    }
    case CB_GETLBTEXT:
        return List(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return List(s, LB_GETTEXTLEN, wParam);
    case CB_GETITEMDATA:
        return List(s, LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA:
        return List(s, LB_SETITEMDATA, wParam, lParam);
    case CB_FINDSTRING:
        return List(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return List(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        LRESULT n = List(s, LB_FINDSTRING, wParam, lParam);
        if (n == LB_ERR)
            return CB_ERR;
        List(s, LB_SETCURSEL, static_cast<WPARAM>(n));
        SyncEdit(s);
        return n;
    }
    case CB_LIMITTEXT:
        s->nLimit = static_cast<UINT>(wParam);
        if (s->hwndEdit)
            SendMessageW(s->hwndEdit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown(h, s);
        else
            CloseUp(h, s, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->bDropped ? TRUE : FALSE;
    case CB_GETITEMHEIGHT:
        return VEK_CY_LISTITEM;
    case CB_GETDROPPEDCONTROLRECT:
        if (lParam)
        {
            RECT rc;
            GetWindowRect(h, &rc);
            int nItems = std::max(
                1, std::min(static_cast<int>(List(s, LB_GETCOUNT)), VEK_CY_COMBO_LIST_MAX));
            rc.bottom += nItems * VEK_CY_LISTITEM + 2 * VEK_CX_BORDER;
            *reinterpret_cast<RECT*>(lParam) = rc;
        }
        return TRUE;
    case CB_GETCOMBOBOXINFO: {
        auto* pInfo = reinterpret_cast<COMBOBOXINFO*>(lParam);
        if (!pInfo)
            return FALSE;
        GetClientRect(h, &pInfo->rcItem);
        pInfo->rcButton = pInfo->rcItem;
        pInfo->rcItem.right = std::max<LONG>(0, pInfo->rcItem.right - VEK_CX_VSCROLL);
        pInfo->rcButton.left = pInfo->rcItem.right;
        pInfo->stateButton = 0;
        pInfo->hwndCombo = h;
        pInfo->hwndItem = s->hwndEdit ? s->hwndEdit : h;
        pInfo->hwndList = s->hwndList;
        return TRUE;
    }
    case WM_GETTEXT:
        if (s->hwndEdit)
            return SendMessageW(s->hwndEdit, WM_GETTEXT, wParam, lParam);
        {
            int n = static_cast<int>(List(s, LB_GETCURSEL));
            return VekCopyText(n >= 0 ? ItemText(s, n) : std::wstring(),
                               reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
        }
    case WM_GETTEXTLENGTH:
        if (s->hwndEdit)
            return SendMessageW(s->hwndEdit, WM_GETTEXTLENGTH, 0, 0);
        {
            int n = static_cast<int>(List(s, LB_GETCURSEL));
            return n >= 0 ? static_cast<LRESULT>(ItemText(s, n).size()) : 0;
        }
    case WM_SETTEXT:
        if (s->hwndEdit)
            return SendMessageW(s->hwndEdit, WM_SETTEXT, wParam, lParam);
        {
            // A drop-down list shows only its items: the text selects the matching one.
            LRESULT n = List(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
            if (n == LB_ERR)
                return CB_ERR;
            List(s, LB_SETCURSEL, static_cast<WPARAM>(n));
            return TRUE;
        }
    case WM_SETFONT:
        DefWindowProcW(h, msg, wParam, lParam);
        SendMessageW(s->hwndList, WM_SETFONT, wParam, lParam);
        if (s->hwndEdit)
            SendMessageW(s->hwndEdit, WM_SETFONT, wParam, lParam);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // Colour requests of the combo box's own windows go to its parent.
        if (HWND hParent = GetParent(h))
            return SendMessageW(hParent, msg, wParam, lParam);
        return DefWindowProcW(h, msg, wParam, lParam);
    case WM_COMMAND: {
        HWND hFrom = reinterpret_cast<HWND>(lParam);
        UINT nCode = HIWORD(wParam);
        if (hFrom == s->hwndEdit && s->hwndEdit)
        {
            if (nCode == EN_CHANGE)
                Notify(h, CBN_EDITCHANGE);
            else if (nCode == EN_UPDATE)
                Notify(h, CBN_EDITUPDATE);
        }
        else if (hFrom == s->hwndList)
        {
            if (nCode == LBN_SELCHANGE)
            {
                SyncEdit(s);
                Notify(h, CBN_SELCHANGE);
            }
            else if (nCode == VEK_LBN_PICKED)
            {
                CloseUp(h, s, true);
            }
        }
        return 0;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        auto* pMsg = reinterpret_cast<MSG*>(lParam);
        if (pMsg && pMsg->message == WM_KEYDOWN && s->bDropped &&
            (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(s->hwndEdit ? s->hwndEdit : h);
        if (!IsWindow(h))
            return 0;
        if (s->bDropped)
            CloseUp(h, s, true);
        else
            DropDown(h, s);
        return 0;
    case WM_KEYDOWN: {
        int nSel = static_cast<int>(List(s, LB_GETCURSEL));
        switch (wParam)
        {
        case VK_F4:
            if (s->bDropped)
                CloseUp(h, s, true);
            else
                DropDown(h, s);
            return 0;
        case VK_RETURN:
            CloseUp(h, s, true);
            return 0;
        case VK_ESCAPE:
            CloseUp(h, s, false);
            return 0;
        case VK_UP:
            UserSelect(h, s, nSel < 0 ? 0 : nSel - 1);
            return 0;
        case VK_DOWN:
            UserSelect(h, s, nSel < 0 ? 0 : nSel + 1);
            return 0;
        case VK_HOME:
            UserSelect(h, s, 0);
            return 0;
        case VK_END:
            UserSelect(h, s, static_cast<int>(List(s, LB_GETCOUNT)) - 1);
            return 0;
        default:
            return 0;
        }
    }
    case WM_CHAR: {
        WCHAR sz[2] = {static_cast<WCHAR>(wParam), 0};
        if (sz[0] < 0x20 || s->hwndEdit)
            return 0;
        LRESULT n = List(s, LB_FINDSTRING, List(s, LB_GETCURSEL), reinterpret_cast<LPARAM>(sz));
        if (n != LB_ERR)
            UserSelect(h, s, static_cast<int>(n));
        return 0;
    }
    case WM_SETFOCUS:
        if (s->hwndEdit)
            SetFocus(s->hwndEdit);
        Notify(h, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS: {
        HWND hNew = reinterpret_cast<HWND>(wParam);
        if (hNew && (hNew == s->hwndEdit || hNew == s->hwndList))
            return 0;
        CloseUp(h, s, false);
        if (IsWindow(h))
            Notify(h, CBN_KILLFOCUS);
        return 0;
    }
    case WM_SHOWWINDOW:
        // A combo box that disappears takes its open list with it.
        if (!wParam)
            CloseUp(h, s, false);
        return 0;
    case WM_ENABLE:
        if (s->hwndEdit)
            EnableWindow(s->hwndEdit, static_cast<BOOL>(wParam));
        if (!wParam)
            CloseUp(h, s, false);
        return 0;
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterComboBoxClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ComboProc;
    wc.lpszClassName = L"ComboBox";
    RegisterClassW(&wc);
}

BOOL GetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO* pcbi)
{
    if (!pcbi || !IsWindow(hwndCombo))
        return FALSE;
    return static_cast<BOOL>(
        SendMessageW(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
}
