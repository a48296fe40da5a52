// List box control, with single, multiple (LBS_MULTIPLESEL) and extended (LBS_EXTENDEDSEL)
// selection; also the drop-down list of a combo box (class "ComboLBox"), which reports to its
// combo box instead of its parent.
//
// Not implemented: owner-drawn items (LBS_OWNERDRAW*, WM_DRAWITEM, WM_MEASUREITEM), multiple
// columns (LBS_MULTICOLUMN, LB_SETCOLUMNWIDTH), tab stops, LB_DIR / LB_ADDFILE, horizontal
// extent, LBS_NOSEL, WM_VKEYTOITEM / WM_CHARTOITEM, locale (LB_SETLOCALE), drag selection with the
// mouse held down, LBN_SELCANCEL, LBS_DISABLENOSCROLL.
//
// Scrolling: the top row moves with the keys, the scroll bar's requests (WM_VSCROLL), the mouse
// wheel and LB_SETTOPINDEX, and never leaves an empty space below the last row. A list box
// created with WS_VSCROLL shows its bar only while its items do not all fit; one created
// without it never shows one.
//
// A handler of any notification may destroy the list box or its parent (or, for a combo box's
// list, the combo box). After each notification the list box checks that its window still
// lives (window handles are never reused) and otherwise stops at once.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwchar>

namespace
{
struct Item
{
    std::wstring strText;
    LPARAM lData = 0;
    bool bSelected = false;
};

// The state of one list box window, created on WM_NCCREATE and freed on WM_NCDESTROY.
struct ListBox
{
    HWND hwnd = nullptr;
    std::vector<Item> items;
    int nCurSel = -1; // single selection
    int nCaret = 0;
    int nAnchor = 0;
    int nTop = 0;
    int nItemHeight = VEK_CY_LISTITEM;
    HWND hwndCombo = nullptr;   // set for a combo box's list
    bool bScrollBar = false;    // created with WS_VSCROLL
    int nWheelRemainder = 0;    // part of a wheel notch not yet scrolled
    bool bLayoutChanged = true; // the scroll bar is to be brought in step
    bool bSyncingScrollBar = false;
};

DWORD Style(const ListBox* lb)
{
    return static_cast<DWORD>(GetWindowLongW(lb->hwnd, GWL_STYLE));
}
bool IsMulti(const ListBox* lb)
{
    return !lb->hwndCombo && (Style(lb) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}
int Count(const ListBox* lb)
{
    return static_cast<int>(lb->items.size());
}
bool Valid(const ListBox* lb, WPARAM w)
{
    int n = static_cast<int>(static_cast<INT_PTR>(w));
    return n >= 0 && n < Count(lb);
}
Item& At(ListBox* lb, int n)
{
    return lb->items[static_cast<size_t>(n)];
}

// Tells the parent (LBS_NOTIFY), or a combo box's list its combo box. False when the list box
// did not survive the handler: its state is freed then, and the caller must return at once.
bool Notify(ListBox* lb, UINT nCode)
{
    HWND h = lb->hwnd;
    if (lb->hwndCombo)
        SendMessageW(lb->hwndCombo, WM_COMMAND, MAKEWPARAM(0, nCode), reinterpret_cast<LPARAM>(h));
    else if (Style(lb) & LBS_NOTIFY)
        VekNotifyParentCommand(h, nCode);
    return IsWindow(h) != FALSE;
}

bool StartsWithNoCase(const std::wstring& str, LPCWSTR pszPrefix)
{
    size_t n = wcslen(pszPrefix);
    if (str.size() < n)
        return false;
    return VekCompareNoCase(str.substr(0, n).c_str(), pszPrefix) == 0;
}

// Searches after nStart, wrapping round; -1 searches from the first item.
int Find(const ListBox* lb, WPARAM wStart, LPCWSTR psz, bool bExact)
{
    int n = Count(lb);
    if (n == 0 || !psz)
        return LB_ERR;
    int nStart = static_cast<int>(static_cast<INT_PTR>(wStart));
    if (nStart < -1 || nStart >= n)
        nStart = -1;
    for (int k = 1; k <= n; ++k)
    {
        int i = (nStart + k) % n;
        const std::wstring& str = lb->items[static_cast<size_t>(i)].strText;
        if (bExact ? VekCompareNoCase(str.c_str(), psz) == 0 : StartsWithNoCase(str, psz))
            return i;
    }
    return LB_ERR;
}

// Whole rows that fit in the client area.
int PageRows(const ListBox* lb)
{
    RECT rc;
    GetClientRect(lb->hwnd, &rc);
    return std::max(1, static_cast<int>(rc.bottom) / lb->nItemHeight);
}

// Something shown changed: repaint, and bring the scroll bar in step once the message has been
// handled.
void Changed(ListBox* lb)
{
    lb->bLayoutChanged = true;
    InvalidateRect(lb->hwnd, nullptr, TRUE);
}

void SetTop(ListBox* lb, int nTop)
{
    nTop = std::max(0, std::min(nTop, Count(lb) - PageRows(lb)));
    if (nTop != lb->nTop)
    {
        lb->nTop = nTop;
        Changed(lb);
    }
}

// Keeps the last page full and the scroll bar showing the rows. Setting the bar may resize the
// client area, which comes back here through WM_SIZE.
void SyncScrollBar(ListBox* lb)
{
    if (lb->bSyncingScrollBar)
        return;
    lb->bSyncingScrollBar = true;
    SetTop(lb, lb->nTop);
    if (lb->bScrollBar)
    {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = std::max(0, Count(lb) - 1);
        si.nPage = static_cast<UINT>(PageRows(lb));
        si.nPos = lb->nTop;
        SetScrollInfo(lb->hwnd, SB_VERT, &si, TRUE);
    }
    lb->bLayoutChanged = false;
    lb->bSyncingScrollBar = false;
}

void EnsureVisible(ListBox* lb, int nIndex)
{
    int nRows = PageRows(lb);
    if (nIndex < lb->nTop)
        SetTop(lb, nIndex);
    else if (nIndex >= lb->nTop + nRows)
        SetTop(lb, nIndex - nRows + 1);
}

bool SetSingle(ListBox* lb, int nIndex)
{
    if (lb->nCurSel == nIndex)
        return false;
    lb->nCurSel = nIndex;
    if (nIndex >= 0)
        lb->nCaret = nIndex;
    Changed(lb);
    return true;
}

// Selects the items from a to b (either order) and clears the others.
bool SelectRange(ListBox* lb, int a, int b)
{
    int lo = std::min(a, b);
    int hi = std::max(a, b);
    bool bChanged = false;
    for (int i = 0; i < Count(lb); ++i)
    {
        bool bWant = i >= lo && i <= hi;
        Item& it = At(lb, i);
        if (it.bSelected != bWant)
        {
            it.bSelected = bWant;
            bChanged = true;
        }
    }
    return bChanged;
}

// A user's choice of item nIndex (mouse or keyboard): moves the selection and the caret,
// scrolls the item into view, then notifies when the selection changed. False when the list
// box did not survive the notification.
bool UserSelect(ListBox* lb, int nIndex, bool bToggle, bool bRange)
{
    if (nIndex < 0 || nIndex >= Count(lb))
        return true;
    bool bChanged = false;
    DWORD dwStyle = Style(lb);
    if (!IsMulti(lb))
    {
        bChanged = SetSingle(lb, nIndex);
    }
    else if (dwStyle & LBS_MULTIPLESEL)
    {
        if (bToggle)
        {
            At(lb, nIndex).bSelected = !At(lb, nIndex).bSelected;
            bChanged = true;
        }
    }
    else if (bRange)
    {
        bChanged = SelectRange(lb, lb->nAnchor, nIndex);
    }
    else if (bToggle)
    {
        At(lb, nIndex).bSelected = !At(lb, nIndex).bSelected;
        bChanged = true;
        lb->nAnchor = nIndex;
    }
    else
    {
        bChanged = SelectRange(lb, nIndex, nIndex);
        lb->nAnchor = nIndex;
    }
    lb->nCaret = nIndex;
    EnsureVisible(lb, nIndex);
    if (bChanged)
        Changed(lb);
    return bChanged ? Notify(lb, LBN_SELCHANGE) : true;
}

LRESULT Insert(ListBox* lb, int nIndex, LPCWSTR psz)
{
    if (nIndex < 0)
        nIndex = Count(lb);
    if (nIndex > Count(lb))
        return LB_ERR;
    Item it;
    it.strText = psz ? psz : L"";
    lb->items.insert(lb->items.begin() + nIndex, it);
    if (lb->nCurSel >= nIndex)
        ++lb->nCurSel;
    Changed(lb);
    return nIndex;
}

// ---- message handlers -----------------------------------------------------------------------

LRESULT OnNcCreate(HWND h, const CREATESTRUCTW* pCreate)
{
    auto* lb = new ListBox;
    lb->hwnd = h;
    lb->bScrollBar = (pCreate->style & WS_VSCROLL) != 0;
    if (VekIsClass(h, L"ComboLBox"))
        lb->hwndCombo = static_cast<HWND>(pCreate->lpCreateParams);
    VekSetCtlState(h, lb);
    return TRUE;
}

LRESULT OnAddString(ListBox* lb, LPCWSTR psz)
{
    int nIndex = Count(lb);
    if ((Style(lb) & LBS_SORT) && psz)
    {
        // Case-insensitive order; an equal text goes after the existing ones.
        nIndex = 0;
        while (nIndex < Count(lb) && VekCompareNoCase(At(lb, nIndex).strText.c_str(), psz) <= 0)
            ++nIndex;
    }
    return Insert(lb, nIndex, psz);
}

LRESULT OnDeleteString(ListBox* lb, WPARAM wParam)
{
    if (!Valid(lb, wParam))
        return LB_ERR;
    int n = static_cast<int>(wParam);
    lb->items.erase(lb->items.begin() + n);
    if (lb->nCurSel == n)
        lb->nCurSel = -1;
    else if (lb->nCurSel > n)
        --lb->nCurSel;
    if (lb->nCaret >= Count(lb))
        lb->nCaret = std::max(0, Count(lb) - 1);
    SetTop(lb, lb->nTop);
    Changed(lb);
    return Count(lb);
}

LRESULT OnResetContent(ListBox* lb)
{
    lb->items.clear();
    lb->nCurSel = -1;
    lb->nCaret = lb->nAnchor = lb->nTop = 0;
    Changed(lb);
    return 0;
}

LRESULT OnGetText(ListBox* lb, WPARAM wParam, LPWSTR pszOut)
{
    if (!Valid(lb, wParam) || !pszOut)
        return LB_ERR;
    const std::wstring& str = lb->items[wParam].strText;
    wcscpy(pszOut, str.c_str());
    return static_cast<LRESULT>(str.size());
}

LRESULT OnSetItemData(ListBox* lb, WPARAM wParam, LPARAM lData)
{
    if (!Valid(lb, wParam))
        return LB_ERR;
    lb->items[wParam].lData = lData;
    return TRUE;
}

LRESULT OnSetSel(ListBox* lb, BOOL bSelect, int nIndex)
{
    if (!IsMulti(lb))
        return LB_ERR;
    if (nIndex == -1)
    {
        for (auto& it : lb->items)
            it.bSelected = bSelect != FALSE;
        Changed(lb);
        return 0;
    }
    if (nIndex < 0 || nIndex >= Count(lb))
        return LB_ERR;
    At(lb, nIndex).bSelected = bSelect != FALSE;
    if (bSelect)
        lb->nCaret = lb->nAnchor = nIndex;
    Changed(lb);
    return 0;
}

LRESULT OnSelItemRange(ListBox* lb, BOOL bSelect, LPARAM lParam)
{
    if (!IsMulti(lb))
        return LB_ERR;
    int lo = std::min<int>(LOWORD(lParam), HIWORD(lParam));
    int hi = std::max<int>(LOWORD(lParam), HIWORD(lParam));
    for (int i = lo; i <= hi && i < Count(lb); ++i)
        At(lb, i).bSelected = bSelect != FALSE;
    Changed(lb);
    return 0;
}

LRESULT OnGetSel(ListBox* lb, WPARAM wParam)
{
    if (!Valid(lb, wParam))
        return LB_ERR;
    if (!IsMulti(lb))
        return static_cast<int>(wParam) == lb->nCurSel ? 1 : 0;
    return lb->items[wParam].bSelected ? 1 : 0;
}

LRESULT OnGetSelCount(ListBox* lb)
{
    if (!IsMulti(lb))
        return LB_ERR;
    return std::count_if(lb->items.begin(), lb->items.end(),
                         [](const Item& it) { return it.bSelected; });
}

LRESULT OnGetSelItems(ListBox* lb, int nMax, int* pOut)
{
    if (!IsMulti(lb))
        return LB_ERR;
    int nGot = 0;
    for (int i = 0; i < Count(lb) && nGot < nMax; ++i)
        if (At(lb, i).bSelected)
            pOut[nGot++] = i;
    return nGot;
}

LRESULT OnSetCurSel(ListBox* lb, WPARAM wParam)
{
    if (IsMulti(lb))
        return LB_ERR;
    int n = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (n < 0 || n >= Count(lb))
    {
        SetSingle(lb, -1);
        return LB_ERR;
    }
    SetSingle(lb, n);
    EnsureVisible(lb, n);
    return n;
}

LRESULT OnGetCurSel(ListBox* lb)
{
    if (IsMulti(lb))
        return Count(lb) ? lb->nCaret : LB_ERR;
    return lb->nCurSel;
}

LRESULT OnSelectString(ListBox* lb, WPARAM wStart, LPCWSTR psz)
{
    int n = Find(lb, wStart, psz, false);
    if (n == LB_ERR)
        return LB_ERR;
    if (IsMulti(lb))
        lb->nCaret = n;
    else
        SetSingle(lb, n);
    EnsureVisible(lb, n);
    return n;
}

LRESULT OnSetTopIndex(ListBox* lb, WPARAM wParam)
{
    if (!Valid(lb, wParam) && !(wParam == 0 && Count(lb) == 0))
        return LB_ERR;
    SetTop(lb, static_cast<int>(wParam));
    return 0;
}

LRESULT OnGetItemRect(ListBox* lb, WPARAM wParam, RECT* pRect)
{
    if (!Valid(lb, wParam) || !pRect)
        return LB_ERR;
    RECT rc;
    GetClientRect(lb->hwnd, &rc);
    int y = (static_cast<int>(wParam) - lb->nTop) * lb->nItemHeight;
    *pRect = RECT{0, y, rc.right, y + lb->nItemHeight};
    return 0;
}

LRESULT OnSetItemHeight(ListBox* lb, LPARAM lParam)
{
    if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255)
        return LB_ERR;
    lb->nItemHeight = LOWORD(lParam);
    SetTop(lb, lb->nTop);
    return 0;
}

// LOWORD: the nearest item; HIWORD: 1 when the point lies outside the client area or below the
// last item.
LRESULT OnItemFromPoint(ListBox* lb, LPARAM lParam)
{
    RECT rc;
    GetClientRect(lb->hwnd, &rc);
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    if (Count(lb) == 0)
        return MAKELONG(0, 1);
    int n = lb->nTop + (y < 0 ? -1 : y / lb->nItemHeight);
    bool bOutside = x < 0 || x >= rc.right || y < 0 || y >= rc.bottom || n >= Count(lb);
    n = std::max(0, std::min(n, Count(lb) - 1));
    return MAKELONG(n, bOutside ? 1 : 0);
}

LRESULT OnSetIndex(ListBox* lb, WPARAM wParam, int& nField)
{
    if (!Valid(lb, wParam))
        return LB_ERR;
    nField = static_cast<int>(wParam);
    return 0;
}

LRESULT OnShowWindow(ListBox* lb, BOOL bShow)
{
    // A combo box's list asks for its colours as it appears.
    if (bShow && lb->hwndCombo)
        SendMessageW(lb->hwndCombo, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(lb->hwnd));
    return 0;
}

LRESULT OnLButtonDown(ListBox* lb, WPARAM wParam, LPARAM lParam)
{
    HWND h = lb->hwnd;
    if (!lb->hwndCombo)
    {
        SetFocus(h);
        if (!IsWindow(h))
            return 0;
    }
    int y = GET_Y_LPARAM(lParam);
    int n = y < 0 ? -1 : lb->nTop + y / lb->nItemHeight;
    if (n < 0 || n >= Count(lb))
        return 0; // above or below the items
    UserSelect(lb, n, !(Style(lb) & LBS_EXTENDEDSEL) || (wParam & MK_CONTROL),
               (wParam & MK_SHIFT) != 0);
    return 0;
}

LRESULT OnLButtonUp(ListBox* lb)
{
    if (lb->hwndCombo)
        SendMessageW(lb->hwndCombo, WM_COMMAND, MAKEWPARAM(0, VEK_LBN_PICKED),
                     reinterpret_cast<LPARAM>(lb->hwnd));
    return 0;
}

LRESULT OnKeyDown(ListBox* lb, WPARAM wParam)
{
    if (Count(lb) == 0)
        return 0;
    const bool bMulti = IsMulti(lb);
    int nFrom = bMulti ? lb->nCaret : std::max(lb->nCurSel, 0);
    int n = nFrom;
    switch (wParam)
    {
    case VK_UP:
        n = std::max(0, (bMulti || lb->nCurSel >= 0) ? nFrom - 1 : 0);
        break;
    case VK_DOWN:
        n = std::min(Count(lb) - 1, (bMulti || lb->nCurSel >= 0) ? nFrom + 1 : 0);
        break;
    case VK_PRIOR:
        // A page moves the caret to the other end of the rows shown, not a full page past it.
        n = std::max(0, nFrom - PageRows(lb) + 1);
        break;
    case VK_NEXT:
        n = std::min(Count(lb) - 1, nFrom + PageRows(lb) - 1);
        break;
    case VK_HOME:
        n = 0;
        break;
    case VK_END:
        n = Count(lb) - 1;
        break;
    case VK_SPACE:
        if (Style(lb) & LBS_MULTIPLESEL)
            UserSelect(lb, lb->nCaret, true, false);
        return 0;
    default:
        return 0;
    }
    if (Style(lb) & LBS_MULTIPLESEL)
    {
        lb->nCaret = n;
        EnsureVisible(lb, n);
        Changed(lb);
    }
    else
    {
        UserSelect(lb, n, false, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    }
    return 0;
}

// A typed character selects the next item starting with it.
LRESULT OnChar(ListBox* lb, WPARAM wParam)
{
    WCHAR sz[2] = {static_cast<WCHAR>(wParam), 0};
    if (sz[0] < 0x20)
        return 0;
    int n = Find(lb, static_cast<WPARAM>(IsMulti(lb) ? lb->nCaret : lb->nCurSel), sz, false);
    if (n != LB_ERR)
        UserSelect(lb, n, false, false);
    return 0;
}

LRESULT OnVScroll(ListBox* lb, WPARAM wParam)
{
    SetTop(lb, VekScrollTopRow(wParam, lb->nTop, PageRows(lb), Count(lb)));
    return 0;
}

LRESULT OnMouseWheel(ListBox* lb, WPARAM wParam)
{
    int nRows =
        VekWheelScrollRows(lb->nWheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam), PageRows(lb));
    if (nRows != 0)
        SetTop(lb, lb->nTop - nRows);
    return 0;
}

ListBox* State(HWND h)
{
    return static_cast<ListBox*>(VekGetCtlState(h));
}

LRESULT Dispatch(ListBox* lb, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case LB_ADDSTRING:
        return OnAddString(lb, reinterpret_cast<LPCWSTR>(lParam));
    case LB_INSERTSTRING:
        return Insert(lb, static_cast<int>(static_cast<INT_PTR>(wParam)),
                      reinterpret_cast<LPCWSTR>(lParam));
    case LB_DELETESTRING:
        return OnDeleteString(lb, wParam);
    case LB_RESETCONTENT:
        return OnResetContent(lb);
    case LB_GETCOUNT:
        return Count(lb);
    case LB_GETTEXT:
        return OnGetText(lb, wParam, reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
        return Valid(lb, wParam) ? static_cast<LRESULT>(lb->items[wParam].strText.size()) : LB_ERR;
    case LB_GETITEMDATA:
        return Valid(lb, wParam) ? lb->items[wParam].lData : LB_ERR;
    case LB_SETITEMDATA:
        return OnSetItemData(lb, wParam, lParam);
    case LB_SETSEL:
        return OnSetSel(lb, static_cast<BOOL>(wParam), static_cast<int>(lParam));
    case LB_SELITEMRANGE:
        return OnSelItemRange(lb, static_cast<BOOL>(wParam), lParam);
    case LB_GETSEL:
        return OnGetSel(lb, wParam);
    case LB_GETSELCOUNT:
        return OnGetSelCount(lb);
    case LB_GETSELITEMS:
        return OnGetSelItems(lb, static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
    case LB_SETCURSEL:
        return OnSetCurSel(lb, wParam);
    case LB_GETCURSEL:
        return OnGetCurSel(lb);
    case LB_FINDSTRING:
        return Find(lb, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case LB_FINDSTRINGEXACT:
        return Find(lb, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
    case LB_SELECTSTRING:
        return OnSelectString(lb, wParam, reinterpret_cast<LPCWSTR>(lParam));
    case LB_GETTOPINDEX:
        return lb->nTop;
    case LB_SETTOPINDEX:
        return OnSetTopIndex(lb, wParam);
    case LB_GETITEMRECT:
        return OnGetItemRect(lb, wParam, reinterpret_cast<RECT*>(lParam));
    case LB_GETITEMHEIGHT:
        return lb->nItemHeight;
    case LB_SETITEMHEIGHT:
        return OnSetItemHeight(lb, lParam);
    case LB_ITEMFROMPOINT:
        return OnItemFromPoint(lb, lParam);
    case LB_GETCARETINDEX:
        return lb->nCaret;
    case LB_SETCARETINDEX:
        return OnSetIndex(lb, wParam, lb->nCaret);
    case LB_GETANCHORINDEX:
        return lb->nAnchor;
    case LB_SETANCHORINDEX:
        return OnSetIndex(lb, wParam, lb->nAnchor);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SHOWWINDOW:
        return OnShowWindow(lb, static_cast<BOOL>(wParam));
    case WM_LBUTTONDOWN:
        return OnLButtonDown(lb, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(lb);
    case WM_LBUTTONDBLCLK:
        Notify(lb, LBN_DBLCLK);
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(lb, wParam);
    case WM_CHAR:
        return OnChar(lb, wParam);
    case WM_VSCROLL:
        return OnVScroll(lb, wParam);
    case WM_SETFOCUS:
        Notify(lb, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(lb, LBN_KILLFOCUS);
        return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(lb, wParam);
    case WM_SIZE:
        lb->bLayoutChanged = true;
        return 0;
    default:
        return DefWindowProcW(lb->hwnd, msg, wParam, lParam);
    }
}

LRESULT ListBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
        return OnNcCreate(h, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    ListBox* lb = State(h);
    if (!lb)
        return DefWindowProcW(h, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
    {
        VekSetCtlState(h, nullptr);
        delete lb;
        return 0;
    }
    LRESULT r = Dispatch(lb, msg, wParam, lParam);
    // The handler may have destroyed the list box: look its state up again.
    lb = IsWindow(h) ? State(h) : nullptr;
    if (lb && lb->bLayoutChanged)
        SyncScrollBar(lb);
    return r;
}

void Snapshot(HWND hWnd, nlohmann::json& control)
{
    const ListBox* lb = State(hWnd);
    if (!lb)
        return;
    nlohmann::json items = nlohmann::json::array();
    nlohmann::json selected = nlohmann::json::array();
    for (size_t i = 0; i < lb->items.size(); ++i)
    {
        items.push_back(VekJsonText(lb->items[i].strText));
        if (IsMulti(lb) ? lb->items[i].bSelected : static_cast<int>(i) == lb->nCurSel)
            selected.push_back(i);
    }
    control["items"] = std::move(items);
    control["selection"] = IsMulti(lb) ? -1 : lb->nCurSel;
    control["selected"] = std::move(selected);
    control["caret"] = lb->nCaret;
    control["top"] = lb->nTop;
    control["itemHeight"] = lb->nItemHeight;
    const DWORD dwStyle = Style(lb);
    control["selectionMode"] = !IsMulti(lb)                  ? "single"
                               : (dwStyle & LBS_EXTENDEDSEL) ? "extended"
                                                             : "multiple";
    control["combo"] = VekJsonHandle(lb->hwndCombo);
}
} // namespace

void VekRegisterListBoxClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListBoxProc;
    wc.lpszClassName = L"ListBox";
    RegisterClassW(&wc);
    wc.lpszClassName = L"ComboLBox";
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(L"ListBox", &Snapshot);
    VekRegisterSnapshotHook(L"ComboLBox", &Snapshot);
}
