// List box control, with single, multiple (LBS_MULTIPLESEL) and extended (LBS_EXTENDEDSEL)
// selection; also the drop-down list of a combo box (class "ComboLBox"), which reports to its
// combo box instead of its parent.
//
// Not implemented: owner-drawn items (LBS_OWNERDRAW*, WM_DRAWITEM, WM_MEASUREITEM), multiple
// columns (LBS_MULTICOLUMN, LB_SETCOLUMNWIDTH), tab stops, LB_DIR / LB_ADDFILE, horizontal
// extent, LBS_NOSEL, WM_VKEYTOITEM / WM_CHARTOITEM, locale (LB_SETLOCALE), drag selection with the
// mouse held down.
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

struct ListBoxState
{
    std::vector<Item> items;
    int nCurSel = -1; // single selection
    int nCaret = 0;
    int nAnchor = 0;
    int nTop = 0;
    int nItemHeight = VEK_CY_LISTITEM;
    HWND hwndCombo = nullptr; // set for a combo box's list
};

ListBoxState* State(HWND h)
{
    return static_cast<ListBoxState*>(VekGetCtlState(h));
}
DWORD Style(HWND h)
{
    return static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
}
bool IsMulti(HWND h, const ListBoxState* s)
{
    return !s->hwndCombo && (Style(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}
int Count(const ListBoxState* s)
{
    return static_cast<int>(s->items.size());
}
bool Valid(const ListBoxState* s, WPARAM w)
{
    int n = static_cast<int>(static_cast<INT_PTR>(w));
    return n >= 0 && n < Count(s);
}

void Notify(HWND h, ListBoxState* s, UINT nCode)
{
    if (s->hwndCombo)
        SendMessageW(s->hwndCombo, WM_COMMAND, MAKEWPARAM(0, nCode), reinterpret_cast<LPARAM>(h));
    else if (Style(h) & LBS_NOTIFY)
        VekNotifyParentCommand(h, nCode);
}

bool StartsWithNoCase(const std::wstring& str, LPCWSTR pszPrefix)
{
    size_t n = wcslen(pszPrefix);
    if (str.size() < n)
        return false;
    return VekCompareNoCase(str.substr(0, n).c_str(), pszPrefix) == 0;
}

// Searches after nStart, wrapping round; -1 searches from the first item.
int Find(const ListBoxState* s, WPARAM wStart, LPCWSTR psz, bool bExact)
{
    int n = Count(s);
    if (n == 0 || !psz)
        return LB_ERR;
    int nStart = static_cast<int>(static_cast<INT_PTR>(wStart));
    if (nStart < -1 || nStart >= n)
        nStart = -1;
    for (int k = 1; k <= n; ++k)
    {
        int i = (nStart + k) % n;
        const std::wstring& str = s->items[static_cast<size_t>(i)].strText;
        if (bExact ? VekCompareNoCase(str.c_str(), psz) == 0 : StartsWithNoCase(str, psz))
            return i;
    }
    return LB_ERR;
}

int ItemHeightRows(HWND h, const ListBoxState* s)
{
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.bottom) / s->nItemHeight);
}

void EnsureVisible(HWND h, ListBoxState* s, int nIndex)
{
    int nRows = ItemHeightRows(h, s);
    if (nIndex < s->nTop)
        s->nTop = nIndex;
    else if (nIndex >= s->nTop + nRows)
        s->nTop = nIndex - nRows + 1;
    s->nTop = std::max(0, s->nTop);
}

int ItemFromPoint(HWND h, const ListBoxState* s, int y, bool* pbOutside)
{
    RECT rc;
    GetClientRect(h, &rc);
    int n = s->nTop + (y < 0 ? -1 : y / s->nItemHeight);
    bool bOutside = y < 0 || y >= rc.bottom || n >= Count(s);
    n = std::max(0, std::min(n, Count(s) - 1));
    if (pbOutside)
        *pbOutside = bOutside;
    return n;
}

bool SetSingle(ListBoxState* s, int nIndex)
{
    if (s->nCurSel == nIndex)
        return false;
    s->nCurSel = nIndex;
    if (nIndex >= 0)
        s->nCaret = nIndex;
    return true;
}

void SelectOnly(ListBoxState* s, int nIndex, bool& bChanged)
{
    for (int i = 0; i < Count(s); ++i)
    {
        bool bWant = i == nIndex;
        Item& it = s->items[static_cast<size_t>(i)];
        if (it.bSelected != bWant)
        {
            it.bSelected = bWant;
            bChanged = true;
        }
    }
}

void SelectRange(ListBoxState* s, int a, int b, bool& bChanged)
{
    int lo = std::min(a, b);
    int hi = std::max(a, b);
    for (int i = 0; i < Count(s); ++i)
    {
        bool bWant = i >= lo && i <= hi;
        Item& it = s->items[static_cast<size_t>(i)];
        if (it.bSelected != bWant)
        {
            it.bSelected = bWant;
            bChanged = true;
        }
    }
}

// A user's choice of item nIndex (mouse or keyboard); notifies when the selection changed.
void UserSelect(HWND h, ListBoxState* s, int nIndex, bool bToggle, bool bRange)
{
    if (nIndex < 0 || nIndex >= Count(s))
        return;
    bool bChanged = false;
    DWORD dwStyle = Style(h);
    if (!IsMulti(h, s))
    {
        bChanged = SetSingle(s, nIndex);
    }
    else if (dwStyle & LBS_MULTIPLESEL)
    {
        if (bToggle)
        {
            Item& it = s->items[static_cast<size_t>(nIndex)];
            it.bSelected = !it.bSelected;
            bChanged = true;
        }
    }
    else if (bRange)
    {
        SelectRange(s, s->nAnchor, nIndex, bChanged);
    }
    else if (bToggle)
    {
        Item& it = s->items[static_cast<size_t>(nIndex)];
        it.bSelected = !it.bSelected;
        bChanged = true;
        s->nAnchor = nIndex;
    }
    else
    {
        SelectOnly(s, nIndex, bChanged);
        s->nAnchor = nIndex;
    }
    s->nCaret = nIndex;
    EnsureVisible(h, s, nIndex);
    if (bChanged)
        Notify(h, s, LBN_SELCHANGE);
}

LRESULT Insert(HWND h, ListBoxState* s, int nIndex, LPCWSTR psz)
{
    if (nIndex < 0)
        nIndex = Count(s);
    if (nIndex > Count(s))
        return LB_ERR;
    Item it;
    it.strText = psz ? psz : L"";
    s->items.insert(s->items.begin() + nIndex, it);
    if (s->nCurSel >= nIndex)
        ++s->nCurSel;
    InvalidateRect(h, nullptr, TRUE);
    return nIndex;
}

LRESULT ListBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListBoxState* s = State(h);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE: {
        auto* pNew = new ListBoxState;
        if (VekIsClass(h, L"ComboLBox"))
            pNew->hwndCombo =
                static_cast<HWND>(reinterpret_cast<LPCREATESTRUCT>(lParam)->lpCreateParams);
        VekSetCtlState(h, pNew);
        return TRUE;
    }
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case LB_ADDSTRING: {
        LPCWSTR psz = reinterpret_cast<LPCWSTR>(lParam);
        int nIndex = Count(s);
        if (Style(h) & LBS_SORT)
        {
            // Case-insensitive order; an equal text goes after the existing ones.
            nIndex = 0;
            while (nIndex < Count(s) &&
                   VekCompareNoCase(s->items[static_cast<size_t>(nIndex)].strText.c_str(), psz) <=
                       0)
                ++nIndex;
        }
        return Insert(h, s, nIndex, psz);
    }
    case LB_INSERTSTRING:
        return Insert(h, s, static_cast<int>(static_cast<INT_PTR>(wParam)),
                      reinterpret_cast<LPCWSTR>(lParam));
    case LB_DELETESTRING: {
        if (!Valid(s, wParam))
            return LB_ERR;
        int n = static_cast<int>(wParam);
        s->items.erase(s->items.begin() + n);
        if (s->nCurSel == n)
            s->nCurSel = -1;
        else if (s->nCurSel > n)
            --s->nCurSel;
        if (s->nCaret >= Count(s))
            s->nCaret = std::max(0, Count(s) - 1);
        s->nTop = std::min(s->nTop, std::max(0, Count(s) - 1));
        InvalidateRect(h, nullptr, TRUE);
        return Count(s);
    }
    case LB_RESETCONTENT:
        s->items.clear();
        s->nCurSel = -1;
        s->nCaret = s->nAnchor = s->nTop = 0;
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case LB_GETCOUNT:
        return Count(s);
    case LB_GETTEXT:
        if (!Valid(s, wParam) || !lParam)
            return LB_ERR;
        wcscpy(reinterpret_cast<LPWSTR>(lParam), s->items[wParam].strText.c_str());
        return static_cast<LRESULT>(s->items[wParam].strText.size());
    case LB_GETTEXTLEN:
        return Valid(s, wParam) ? static_cast<LRESULT>(s->items[wParam].strText.size()) : LB_ERR;
    case LB_GETITEMDATA:
        return Valid(s, wParam) ? s->items[wParam].lData : LB_ERR;
    case LB_SETITEMDATA:
        if (!Valid(s, wParam))
            return LB_ERR;
        s->items[wParam].lData = lParam;
        return TRUE;
    case LB_SETSEL: {
        if (!IsMulti(h, s))
            return LB_ERR;
        int n = static_cast<int>(lParam);
        if (n == -1)
        {
            for (auto& it : s->items)
                it.bSelected = wParam != 0;
            return 0;
        }
        if (n < 0 || n >= Count(s))
            return LB_ERR;
        s->items[static_cast<size_t>(n)].bSelected = wParam != 0;
        if (wParam)
            s->nCaret = s->nAnchor = n;
        return 0;
    }
    case LB_SELITEMRANGE: {
        if (!IsMulti(h, s))
            return LB_ERR;
        int lo = std::min<int>(LOWORD(lParam), HIWORD(lParam));
        int hi = std::max<int>(LOWORD(lParam), HIWORD(lParam));
        for (int i = lo; i <= hi && i < Count(s); ++i)
            s->items[static_cast<size_t>(i)].bSelected = wParam != 0;
        return 0;
    }
    case LB_GETSEL:
        if (!Valid(s, wParam))
            return LB_ERR;
        if (!IsMulti(h, s))
            return static_cast<int>(wParam) == s->nCurSel ? 1 : 0;
        return s->items[wParam].bSelected ? 1 : 0;
    case LB_GETSELCOUNT:
        if (!IsMulti(h, s))
            return LB_ERR;
        return std::count_if(s->items.begin(), s->items.end(),
                             [](const Item& it) { return it.bSelected; });
    case LB_GETSELITEMS: {
        if (!IsMulti(h, s))
            return LB_ERR;
        auto* pOut = reinterpret_cast<int*>(lParam);
        int nMax = static_cast<int>(wParam);
        int nGot = 0;
        for (int i = 0; i < Count(s) && nGot < nMax; ++i)
            if (s->items[static_cast<size_t>(i)].bSelected)
                pOut[nGot++] = i;
        return nGot;
    }
    case LB_SETCURSEL: {
        if (IsMulti(h, s))
            return LB_ERR;
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (n < 0 || n >= Count(s))
        {
            SetSingle(s, -1);
            return LB_ERR;
        }
        SetSingle(s, n);
        EnsureVisible(h, s, n);
        return n;
    }
    case LB_GETCURSEL:
        if (IsMulti(h, s))
            return Count(s) ? s->nCaret : LB_ERR;
        return s->nCurSel;
    case LB_FINDSTRING:
        return Find(s, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case LB_FINDSTRINGEXACT:
        return Find(s, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
    case LB_SELECTSTRING: {
        int n = Find(s, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
        if (n == LB_ERR)
            return LB_ERR;
        if (IsMulti(h, s))
            s->nCaret = n;
        else
            SetSingle(s, n);
        EnsureVisible(h, s, n);
        return n;
    }
    case LB_GETTOPINDEX:
        return s->nTop;
    case LB_SETTOPINDEX:
        if (!Valid(s, wParam) && !(wParam == 0 && Count(s) == 0))
            return LB_ERR;
        s->nTop = static_cast<int>(wParam);
        return 0;
    case LB_GETITEMRECT: {
        if (!Valid(s, wParam) || !lParam)
            return LB_ERR;
        RECT rc;
        GetClientRect(h, &rc);
        int y = (static_cast<int>(wParam) - s->nTop) * s->nItemHeight;
        *reinterpret_cast<RECT*>(lParam) = RECT{0, y, rc.right, y + s->nItemHeight};
        return 0;
    }
    case LB_GETITEMHEIGHT:
        return s->nItemHeight;
    case LB_SETITEMHEIGHT:
        if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255)
            return LB_ERR;
        s->nItemHeight = LOWORD(lParam);
        return 0;
    case LB_ITEMFROMPOINT: {
        bool bOutside = true;
        int n = Count(s) ? ItemFromPoint(h, s, GET_Y_LPARAM(lParam), &bOutside) : 0;
        RECT rc;
        GetClientRect(h, &rc);
        int x = GET_X_LPARAM(lParam);
        if (x < 0 || x >= rc.right)
            bOutside = true;
        return MAKELONG(n, bOutside ? 1 : 0);
    }
    case LB_GETCARETINDEX:
        return s->nCaret;
    case LB_SETCARETINDEX:
        if (!Valid(s, wParam))
            return LB_ERR;
        s->nCaret = static_cast<int>(wParam);
        return 0;
    case LB_GETANCHORINDEX:
        return s->nAnchor;
    case LB_SETANCHORINDEX:
        if (!Valid(s, wParam))
            return LB_ERR;
        s->nAnchor = static_cast<int>(wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SHOWWINDOW:
        // A combo box's list asks for its colours as it appears.
        if (wParam && s->hwndCombo)
            SendMessageW(s->hwndCombo, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(h));
        return 0;
    case WM_LBUTTONDOWN: {
        if (!s->hwndCombo)
            SetFocus(h);
        if (!IsWindow(h) || Count(s) == 0)
            return 0;
        int y = GET_Y_LPARAM(lParam);
        int n = y < 0 ? -1 : s->nTop + y / s->nItemHeight;
        if (n < 0 || n >= Count(s))
            return 0; // above or below the items
        UserSelect(h, s, n, !(Style(h) & LBS_EXTENDEDSEL) || (wParam & MK_CONTROL),
                   (wParam & MK_SHIFT) != 0);
        return 0;
    }
    case WM_LBUTTONUP:
        if (s->hwndCombo)
            SendMessageW(s->hwndCombo, WM_COMMAND, MAKEWPARAM(0, VEK_LBN_PICKED),
                         reinterpret_cast<LPARAM>(h));
        return 0;
    case WM_LBUTTONDBLCLK:
        Notify(h, s, LBN_DBLCLK);
        return 0;
    case WM_KEYDOWN: {
        if (Count(s) == 0)
            return 0;
        int nFrom = IsMulti(h, s) ? s->nCaret : std::max(s->nCurSel, 0);
        int n = nFrom;
        switch (wParam)
        {
        case VK_UP:
            n = std::max(0, (IsMulti(h, s) || s->nCurSel >= 0) ? nFrom - 1 : 0);
            break;
        case VK_DOWN:
            n = std::min(Count(s) - 1, (IsMulti(h, s) || s->nCurSel >= 0) ? nFrom + 1 : 0);
            break;
        case VK_HOME:
            n = 0;
            break;
        case VK_END:
            n = Count(s) - 1;
            break;
        case VK_SPACE:
            if (Style(h) & LBS_MULTIPLESEL)
                UserSelect(h, s, s->nCaret, true, false);
            return 0;
        default:
            return 0;
        }
        if (Style(h) & LBS_MULTIPLESEL)
        {
            s->nCaret = n;
            EnsureVisible(h, s, n);
        }
        else
        {
            UserSelect(h, s, n, false, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        }
        return 0;
    }
    case WM_CHAR: {
        WCHAR sz[2] = {static_cast<WCHAR>(wParam), 0};
        if (sz[0] < 0x20)
            return 0;
        int n = Find(s, static_cast<WPARAM>(IsMulti(h, s) ? s->nCaret : s->nCurSel), sz, false);
        if (n != LB_ERR)
            UserSelect(h, s, n, false, false);
        return 0;
    }
    case WM_VSCROLL: {
        s->nTop = VekScrollTopRow(wParam, s->nTop, ItemHeightRows(h, s), Count(s));
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case WM_SETFOCUS:
        Notify(h, s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(h, s, LBN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
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
}
