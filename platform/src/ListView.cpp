// List view control in report mode: columns through a header child, rows of texts with
// selection and focus states, hit tests and rectangles, the default mouse and keyboard
// selection, and scrolling by rows.
//
// Geometry (client coordinates): the header takes the top VEK_CY_HEADER pixels (none with
// LVS_NOCOLUMNHEADER); row r starts at VEK_CY_HEADER + (r - top index) * VEK_CY_LVROW; column
// k spans the header item k. The column-0 label starts VEK_CX_LVLABELPAD pixels into the cell
// (plus VEK_CX_TVSTATEICON for LVS_EX_CHECKBOXES); other labels are the whole cell.
//
// Scrolling: the list keeps its top row and tells the standard vertical bar the rows, the page
// (rows wholly shown) and the top row, so the bar shows exactly while the rows do not fit. The
// bar's requests, the wheel (system lines per notch, partial deltas added up) and the navigation
// keys move the top row.
//
// Header notifications: the header reports to the list view, which acts on them and passes
// them on to its own parent unchanged (hwndFrom and idFrom stay the header's), except those
// caused by the list view's own column messages.
//
// Every notification may end with the list view (or its parent) destroyed by the handler, so
// each handler keeps the window handle and re-checks IsWindow after anything it sends, before
// it touches the state again.
//
// Not implemented: the icon, small-icon and list views (every view is laid out as a report),
// image lists and icons, groups, tiles, label editing (LVS_EDITLABELS), owner data
// (LVS_OWNERDATA), sorting (LVS_SORT*, LVM_SORTITEMS), drag and drop (LVN_BEGINDRAG,
// LVN_BEGINRDRAG), tool tips (LVS_EX_INFOTIP and LVS_EX_LABELTIP are stored only),
// LVS_EX_ONECLICKACTIVATE / TWOCLICKACTIVATE activation (LVN_ITEMACTIVATE), hot tracking,
// horizontal scrolling, check-box toggling (LVS_EX_CHECKBOXES only moves the label),
// LVN_GETDISPINFO callbacks, custom draw, WM_CONTEXTMENU after NM_RCLICK, NM_RETURN,
// incremental search by typed characters.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
struct Row
{
    std::vector<std::wstring> texts; // by column; missing entries are empty
    UINT nState = 0;
    LPARAM lParam = 0;
};

struct ListViewState
{
    HWND hwndSelf = nullptr;
    HWND hwndHeader = nullptr;
    std::vector<Row> rows;
    DWORD dwExStyle = 0;
    int nTop = 0;      // first row shown
    int nSelMark = -1; // where Shift extends the selection from
    // Header notifications that arrive while this is non-zero come from the list view's own
    // column messages and are not passed on.
    int nOwnHeaderCalls = 0;
    int nWheelRemainder = 0;      // wheel delta not yet turned into rows
    bool bUpdatingScroll = false; // telling the bar, which may answer with WM_SIZE
};

ListViewState* State(HWND h)
{
    return static_cast<ListViewState*>(VekGetCtlState(h));
}
bool Alive(HWND h)
{
    return IsWindow(h) != FALSE;
}
DWORD Style(const ListViewState* s)
{
    return static_cast<DWORD>(GetWindowLongW(s->hwndSelf, GWL_STYLE));
}
int Count(const ListViewState* s)
{
    return static_cast<int>(s->rows.size());
}
bool ValidItem(const ListViewState* s, int n)
{
    return n >= 0 && n < Count(s);
}
Row& RowAt(ListViewState* s, int n)
{
    return s->rows[static_cast<size_t>(n)];
}
const Row& RowAt(const ListViewState* s, int n)
{
    return s->rows[static_cast<size_t>(n)];
}
int IndexArg(WPARAM wParam)
{
    return static_cast<int>(static_cast<INT_PTR>(wParam));
}

// ---- Header --------------------------------------------------------------------------------

// Sends a message to the header as part of the list view's own work; its notifications are
// then not passed on. The list view may not survive it (a subclassed list's handler).
LRESULT SendToHeader(ListViewState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND h = s->hwndSelf;
    ++s->nOwnHeaderCalls;
    LRESULT r = SendMessageW(s->hwndHeader, msg, wParam, lParam);
    if (Alive(h))
        --s->nOwnHeaderCalls;
    return r;
}

int Columns(const ListViewState* s)
{
    return static_cast<int>(SendMessageW(s->hwndHeader, HDM_GETITEMCOUNT, 0, 0));
}

RECT ColumnRect(const ListViewState* s, int k)
{
    RECT rc = {0, 0, 0, 0};
    SendMessageW(s->hwndHeader, HDM_GETITEMRECT, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(&rc));
    return rc;
}

int HeaderHeight(const ListViewState* s)
{
    return (Style(s) & LVS_NOCOLUMNHEADER) ? 0 : VEK_CY_HEADER;
}

void LayoutHeader(ListViewState* s)
{
    RECT rc;
    GetClientRect(s->hwndSelf, &rc);
    MoveWindow(s->hwndHeader, 0, 0, rc.right, VEK_CY_HEADER, FALSE);
    ShowWindow(s->hwndHeader, HeaderHeight(s) ? SW_SHOWNA : SW_HIDE);
}

// ---- Geometry ------------------------------------------------------------------------------

int RowTop(const ListViewState* s, int n)
{
    return HeaderHeight(s) + (n - s->nTop) * VEK_CY_LVROW;
}

int RowsRight(const ListViewState* s)
{
    int n = Columns(s);
    return n ? ColumnRect(s, n - 1).right : 0;
}

int LabelPad(const ListViewState* s)
{
    return VEK_CX_LVLABELPAD + ((s->dwExStyle & LVS_EX_CHECKBOXES) ? VEK_CX_TVSTATEICON : 0);
}

// Rows that fit wholly below the header.
int PerPage(const ListViewState* s)
{
    RECT rc;
    GetClientRect(s->hwndSelf, &rc);
    return std::max(0, static_cast<int>(rc.bottom - HeaderHeight(s)) / VEK_CY_LVROW);
}

// Item rectangle by LVIR_ code for column 0 (or the whole row), in client coordinates.
RECT ItemRect(const ListViewState* s, int n, int nCode)
{
    int top = RowTop(s, n);
    RECT col0 = Columns(s) ? ColumnRect(s, 0) : RECT{0, 0, 0, 0};
    RECT rc = {col0.left, top, col0.right, top + VEK_CY_LVROW};
    switch (nCode)
    {
    case LVIR_BOUNDS:
        rc.right = std::max(static_cast<int>(rc.right), RowsRight(s));
        break;
    case LVIR_ICON:
        rc.left = col0.left + LabelPad(s);
        rc.right = rc.left;
        break;
    case LVIR_SELECTBOUNDS:
        if (s->dwExStyle & LVS_EX_FULLROWSELECT)
            rc.right = std::max(static_cast<int>(rc.right), RowsRight(s));
        else
            rc.left = col0.left + LabelPad(s);
        break;
    case LVIR_LABEL:
    default:
        rc.left = std::min(col0.left + LabelPad(s), col0.right);
        break;
    }
    return rc;
}

// Sub-item hit test: the column under the point and the row, as LVM_SUBITEMHITTEST reports it.
int SubItemHitTest(const ListViewState* s, LVHITTESTINFO* p)
{
    p->iItem = -1;
    p->iSubItem = -1;
    p->flags = LVHT_NOWHERE;
    int x = p->pt.x;
    int y = p->pt.y;
    int nCol = -1;
    for (int k = 0; k < Columns(s); ++k)
    {
        RECT rc = ColumnRect(s, k);
        if (x >= rc.left && x < rc.right)
        {
            nCol = k;
            break;
        }
    }
    if (nCol < 0)
        return -1;
    p->iSubItem = nCol;
    int dy = y - HeaderHeight(s);
    int nRow = dy < 0 ? -1 : s->nTop + dy / VEK_CY_LVROW;
    if (dy < 0 || nRow >= Count(s))
        return -1;
    p->iItem = nRow;
    p->flags = LVHT_ONITEMLABEL;
    if (nCol == 0 && (s->dwExStyle & LVS_EX_CHECKBOXES) && x < ColumnRect(s, 0).left + LabelPad(s))
        p->flags = LVHT_ONITEMSTATEICON;
    return nRow;
}

// Item hit test: without full-row selection only column 0 holds the item.
int HitTest(const ListViewState* s, LVHITTESTINFO* p)
{
    LVHITTESTINFO info = *p;
    int n = SubItemHitTest(s, &info);
    p->iSubItem = 0;
    p->iItem = -1;
    p->flags = LVHT_NOWHERE;
    RECT rc;
    GetClientRect(s->hwndSelf, &rc);
    if (p->pt.y < HeaderHeight(s))
        p->flags = p->pt.y < 0 ? LVHT_ABOVE : LVHT_NOWHERE;
    else if (p->pt.y >= rc.bottom)
        p->flags = LVHT_BELOW;
    else if (p->pt.x < 0)
        p->flags = LVHT_TOLEFT;
    else if (p->pt.x >= rc.right)
        p->flags = LVHT_TORIGHT;
    if (n < 0)
        return -1;
    if (info.iSubItem != 0 && !(s->dwExStyle & LVS_EX_FULLROWSELECT))
        return -1;
    p->iItem = n;
    p->flags = info.flags;
    return n;
}

// ---- Scrolling -----------------------------------------------------------------------------

// The top row within the rows, so that the last page stays full.
int ClampedTop(const ListViewState* s, int nTop)
{
    int nMax = std::max(0, Count(s) - std::max(1, PerPage(s)));
    return std::max(0, std::min(nTop, nMax));
}

void ScrollTo(ListViewState* s, int nTop)
{
    nTop = ClampedTop(s, nTop);
    if (nTop == s->nTop)
        return;
    s->nTop = nTop;
    InvalidateRect(s->hwndSelf, nullptr, TRUE);
}

// Keeps the top row valid and tells the standard vertical bar the rows, the page and the top
// row; the bar shows itself when the rows do not fit (narrowing the client area, which sends
// WM_SIZE back here).
void UpdateScroll(ListViewState* s)
{
    s->nTop = ClampedTop(s, s->nTop);
    if ((Style(s) & LVS_NOSCROLL) || s->bUpdatingScroll)
        return;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, Count(s) - 1);
    si.nPage = static_cast<UINT>(PerPage(s));
    si.nPos = s->nTop;
    s->bUpdatingScroll = true;
    SetScrollInfo(s->hwndSelf, SB_VERT, &si, TRUE);
    s->bUpdatingScroll = false;
}

// Scrolls as little as needed to show row n wholly (or partly, with bPartialOK).
void EnsureVisible(ListViewState* s, int n, bool bPartialOK)
{
    int nPage = std::max(1, PerPage(s));
    int nTop = s->nTop;
    if (n < nTop)
        nTop = n;
    else if (n >= nTop + nPage)
    {
        // A row cut by the bottom edge counts as visible when partly visible is enough.
        RECT rc;
        GetClientRect(s->hwndSelf, &rc);
        bool bPartlyShown = RowTop(s, n) < rc.bottom;
        if (!(bPartialOK && bPartlyShown))
            nTop = n - nPage + 1;
    }
    ScrollTo(s, nTop);
    UpdateScroll(s);
}

// ---- Notifications -------------------------------------------------------------------------

// Sends a list-view notification to the parent; the result of the parent.
LRESULT NotifyItem(ListViewState* s, UINT nCode, int nItem, int nSubItem, UINT nNew, UINT nOld,
                   UINT nChanged, LPARAM lParam = 0)
{
    NMLISTVIEW nm = {};
    nm.iItem = nItem;
    nm.iSubItem = nSubItem;
    nm.uNewState = nNew;
    nm.uOldState = nOld;
    nm.uChanged = nChanged;
    nm.lParam = lParam;
    return VekNotifyParent(s->hwndSelf, nCode, &nm.hdr);
}

// NM_CLICK and its kin: the row and column under the point, the modifier keys.
void NotifyClick(ListViewState* s, UINT nCode, POINT pt, WPARAM wKeys)
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    NMITEMACTIVATE nm = {};
    nm.iItem = HitTest(s, &info);
    LVHITTESTINFO sub = {};
    sub.pt = pt;
    SubItemHitTest(s, &sub);
    nm.iSubItem = sub.iSubItem;
    nm.ptAction = pt;
    nm.uKeyFlags = static_cast<UINT>(wKeys & (MK_CONTROL | MK_SHIFT));
    VekNotifyParent(s->hwndSelf, nCode, &nm.hdr);
}

// ---- Item states ---------------------------------------------------------------------------
// Each of these may destroy the list view; callers re-check IsWindow before going on.

// Changes the states of one item with LVN_ITEMCHANGING (which may refuse) and LVN_ITEMCHANGED.
bool SetOneState(ListViewState* s, int n, UINT nState, UINT nMask)
{
    HWND h = s->hwndSelf;
    if (!ValidItem(s, n))
        return false;
    UINT nOld = RowAt(s, n).nState;
    UINT nNew = (nOld & ~nMask) | (nState & nMask);
    if (nNew == nOld)
        return true;
    if (NotifyItem(s, LVN_ITEMCHANGING, n, 0, nNew, nOld, LVIF_STATE, RowAt(s, n).lParam))
        return false;
    // The handler may have destroyed the list or removed the row.
    if (!Alive(h) || !ValidItem(s, n))
        return false;
    RowAt(s, n).nState = nNew;
    NotifyItem(s, LVN_ITEMCHANGED, n, 0, nNew, nOld, LVIF_STATE, RowAt(s, n).lParam);
    InvalidateRect(h, nullptr, TRUE);
    return true;
}

int FocusedItem(const ListViewState* s)
{
    for (int i = 0; i < Count(s); ++i)
        if (RowAt(s, i).nState & LVIS_FOCUSED)
            return i;
    return -1;
}

// Clears the bits of nMask on every row but nExcept.
void ClearOthers(ListViewState* s, int nExcept, UINT nMask)
{
    HWND h = s->hwndSelf;
    for (int i = 0; i < Count(s); ++i)
    {
        if (i != nExcept)
            SetOneState(s, i, 0, nMask);
        if (!Alive(h))
            return;
    }
}

// Sets states as LVM_SETITEMSTATE does: one focused item, one selected item in LVS_SINGLESEL.
bool SetState(ListViewState* s, int n, UINT nState, UINT nMask)
{
    HWND h = s->hwndSelf;
    if (n == -1)
    {
        // Focus cannot be given to every item.
        UINT nAllMask = nMask;
        if (nState & LVIS_FOCUSED)
            nAllMask &= ~static_cast<UINT>(LVIS_FOCUSED);
        for (int i = 0; i < Count(s); ++i)
        {
            SetOneState(s, i, nState, nAllMask);
            if (!Alive(h))
                return false;
        }
        return true;
    }
    if (!ValidItem(s, n))
        return false;
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
    {
        int nOld = FocusedItem(s);
        if (nOld >= 0 && nOld != n)
            SetOneState(s, nOld, 0, LVIS_FOCUSED);
        if (!Alive(h))
            return false;
    }
    if ((nMask & LVIS_SELECTED) && (nState & LVIS_SELECTED) && (Style(s) & LVS_SINGLESEL))
    {
        ClearOthers(s, n, LVIS_SELECTED);
        if (!Alive(h))
            return false;
    }
    return SetOneState(s, n, nState, nMask);
}

// Selects and focuses row n alone (n = -1: clears the selection) and makes it the mark.
void SelectOnly(ListViewState* s, int n)
{
    HWND h = s->hwndSelf;
    ClearOthers(s, n, LVIS_SELECTED);
    if (n < 0 || !Alive(h))
        return;
    SetState(s, n, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (Alive(h))
        s->nSelMark = n;
}

// Selects the rows from the selection mark to n (only those) and focuses n.
void SelectRange(ListViewState* s, int n)
{
    HWND h = s->hwndSelf;
    int nMark = s->nSelMark >= 0 ? s->nSelMark : n;
    int lo = std::min(nMark, n);
    int hi = std::max(nMark, n);
    for (int i = 0; i < Count(s); ++i)
    {
        SetOneState(s, i, (i >= lo && i <= hi) ? LVIS_SELECTED : 0, LVIS_SELECTED);
        if (!Alive(h))
            return;
    }
    SetState(s, n, LVIS_FOCUSED, LVIS_FOCUSED);
}

// ---- Rows and cells ------------------------------------------------------------------------

const std::wstring& Text(const ListViewState* s, int n, int k)
{
    static const std::wstring s_empty;
    const Row& row = RowAt(s, n);
    return k >= 0 && k < static_cast<int>(row.texts.size()) ? row.texts[static_cast<size_t>(k)]
                                                            : s_empty;
}

void SetText(Row& row, int k, LPCWSTR psz)
{
    if (static_cast<int>(row.texts.size()) <= k)
        row.texts.resize(static_cast<size_t>(k) + 1);
    row.texts[static_cast<size_t>(k)] = psz && psz != LPSTR_TEXTCALLBACKW ? psz : L"";
}

// ---- Message handlers ----------------------------------------------------------------------

LRESULT OnCreate(ListViewState* s)
{
    DWORD dwHeaderStyle = WS_CHILD | ((Style(s) & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS);
    s->hwndHeader = CreateWindowExW(0, WC_HEADERW, L"", dwHeaderStyle, 0, 0, 0, VEK_CY_HEADER,
                                    s->hwndSelf, nullptr, nullptr, nullptr);
    if (!s->hwndHeader)
        return -1;
    LayoutHeader(s);
    UpdateScroll(s);
    return 0;
}

LRESULT OnSize(ListViewState* s)
{
    LayoutHeader(s);
    UpdateScroll(s);
    return 0;
}

LRESULT OnSetFont(ListViewState* s, WPARAM wParam, LPARAM lParam)
{
    DefWindowProcW(s->hwndSelf, WM_SETFONT, wParam, lParam);
    SendToHeader(s, WM_SETFONT, wParam, lParam);
    return 0;
}

LRESULT OnInsertColumn(ListViewState* s, int k, const LVCOLUMNW* p)
{
    HWND h = s->hwndSelf;
    if (!p)
        return -1;
    int nCols = Columns(s);
    if (k < 0 || k > nCols)
        k = nCols;
    HDITEMW hdi = {};
    hdi.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    hdi.pszText = (p->mask & LVCF_TEXT) ? p->pszText : const_cast<LPWSTR>(L"");
    hdi.cxy = (p->mask & LVCF_WIDTH) ? p->cx : 0;
    // The first column is always left-aligned.
    hdi.fmt =
        HDF_STRING | ((k == 0 || !(p->mask & LVCF_FMT)) ? HDF_LEFT : (p->fmt & HDF_JUSTIFYMASK));
    LRESULT r =
        SendToHeader(s, HDM_INSERTITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&hdi));
    if (r < 0 || !Alive(h))
        return -1;
    for (Row& row : s->rows)
        if (static_cast<int>(row.texts.size()) > k)
            row.texts.insert(row.texts.begin() + k, std::wstring());
    InvalidateRect(h, nullptr, TRUE);
    return r;
}

LRESULT OnDeleteColumn(ListViewState* s, int k)
{
    HWND h = s->hwndSelf;
    if (!SendToHeader(s, HDM_DELETEITEM, static_cast<WPARAM>(k), 0) || !Alive(h))
        return FALSE;
    for (Row& row : s->rows)
        if (static_cast<int>(row.texts.size()) > k)
            row.texts.erase(row.texts.begin() + k);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetColumn(ListViewState* s, int k, LVCOLUMNW* p)
{
    if (!p || k < 0 || k >= Columns(s))
        return FALSE;
    HDITEMW hdi = {};
    hdi.mask = HDI_WIDTH | HDI_FORMAT | ((p->mask & LVCF_TEXT) ? HDI_TEXT : 0);
    hdi.pszText = p->pszText;
    hdi.cchTextMax = p->cchTextMax;
    SendMessageW(s->hwndHeader, HDM_GETITEMW, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(&hdi));
    if (p->mask & LVCF_WIDTH)
        p->cx = hdi.cxy;
    if (p->mask & LVCF_FMT)
        p->fmt = hdi.fmt & HDF_JUSTIFYMASK;
    if (p->mask & LVCF_SUBITEM)
        p->iSubItem = k;
    if (p->mask & LVCF_ORDER)
        p->iOrder = k;
    return TRUE;
}

LRESULT OnSetColumn(ListViewState* s, int k, const LVCOLUMNW* p)
{
    if (!p || k < 0 || k >= Columns(s))
        return FALSE;
    HDITEMW hdi = {};
    if (p->mask & LVCF_TEXT)
    {
        hdi.mask |= HDI_TEXT;
        hdi.pszText = p->pszText;
    }
    if (p->mask & LVCF_WIDTH)
    {
        hdi.mask |= HDI_WIDTH;
        hdi.cxy = p->cx;
    }
    if ((p->mask & LVCF_FMT) && k != 0)
    {
        hdi.mask |= HDI_FORMAT;
        hdi.fmt = HDF_STRING | (p->fmt & HDF_JUSTIFYMASK);
    }
    return SendToHeader(s, HDM_SETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&hdi));
}

LRESULT OnGetColumnWidth(const ListViewState* s, int k)
{
    if (k < 0 || k >= Columns(s))
        return 0;
    RECT rc = ColumnRect(s, k);
    return rc.right - rc.left;
}

LRESULT OnSetColumnWidth(ListViewState* s, int k, int cx)
{
    if (k < 0 || k >= Columns(s))
        return FALSE;
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER)
    {
        int nWidest = 0;
        for (int i = 0; i < Count(s); ++i)
            nWidest = std::max(nWidest, VekTextWidth(Text(s, i, k)));
        if (cx == LVSCW_AUTOSIZE_USEHEADER)
        {
            WCHAR sz[260] = {};
            HDITEMW hdi = {};
            hdi.mask = HDI_TEXT;
            hdi.pszText = sz;
            hdi.cchTextMax = 260;
            SendMessageW(s->hwndHeader, HDM_GETITEMW, static_cast<WPARAM>(k),
                         reinterpret_cast<LPARAM>(&hdi));
            nWidest = std::max(nWidest, VekTextWidth(sz));
        }
        cx = nWidest + 2 * LabelPad(s);
    }
    HDITEMW hdi = {};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = cx;
    return SendToHeader(s, HDM_SETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&hdi));
}

LRESULT OnInsertItem(ListViewState* s, const LVITEMW* p)
{
    HWND h = s->hwndSelf;
    if (!p || p->iSubItem != 0)
        return -1;
    int n = p->iItem;
    if (n < 0 || n > Count(s))
        n = Count(s);
    Row row;
    SetText(row, 0, (p->mask & LVIF_TEXT) ? p->pszText : nullptr);
    if (p->mask & LVIF_STATE)
        row.nState = p->state & p->stateMask;
    if (p->mask & LVIF_PARAM)
        row.lParam = p->lParam;
    bool bFocus = (row.nState & LVIS_FOCUSED) != 0;
    row.nState &= ~static_cast<UINT>(LVIS_FOCUSED);
    s->rows.insert(s->rows.begin() + n, row);
    if (s->nSelMark >= n)
        ++s->nSelMark;
    UpdateScroll(s);
    InvalidateRect(h, nullptr, TRUE);
    NotifyItem(s, LVN_INSERTITEM, n, 0, 0, 0, 0, row.lParam);
    if (bFocus && Alive(h))
        SetState(s, n, LVIS_FOCUSED, LVIS_FOCUSED);
    return n;
}

LRESULT OnDeleteItem(ListViewState* s, int n)
{
    HWND h = s->hwndSelf;
    if (!ValidItem(s, n))
        return FALSE;
    NotifyItem(s, LVN_DELETEITEM, n, 0, 0, 0, 0, RowAt(s, n).lParam);
    if (!Alive(h) || !ValidItem(s, n))
        return FALSE;
    bool bHadFocus = (RowAt(s, n).nState & LVIS_FOCUSED) != 0;
    s->rows.erase(s->rows.begin() + n);
    if (s->nSelMark == n)
        s->nSelMark = -1;
    else if (s->nSelMark > n)
        --s->nSelMark;
    // The focus passes to the item that took the deleted one's place, or to the last item.
    if (bHadFocus && Count(s) > 0)
        RowAt(s, std::min(n, Count(s) - 1)).nState |= LVIS_FOCUSED;
    UpdateScroll(s);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

LRESULT OnDeleteAllItems(ListViewState* s)
{
    HWND h = s->hwndSelf;
    // A parent answering TRUE to LVN_DELETEALLITEMS does not want one LVN_DELETEITEM each.
    bool bEach = !NotifyItem(s, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0);
    if (!Alive(h))
        return FALSE;
    for (int i = 0; bEach && i < Count(s); ++i)
    {
        NotifyItem(s, LVN_DELETEITEM, i, 0, 0, 0, 0, RowAt(s, i).lParam);
        if (!Alive(h))
            return FALSE;
    }
    s->rows.clear();
    s->nTop = 0;
    s->nSelMark = -1;
    UpdateScroll(s);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

LRESULT OnSetItemText(ListViewState* s, int n, const LVITEMW* p)
{
    if (!p || !ValidItem(s, n) || p->iSubItem < 0)
        return FALSE;
    // A sub-item exists only for an existing column.
    if (p->iSubItem > 0 && p->iSubItem >= Columns(s))
        return FALSE;
    SetText(RowAt(s, n), p->iSubItem, p->pszText);
    InvalidateRect(s->hwndSelf, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetItemText(const ListViewState* s, int n, LVITEMW* p)
{
    if (!p)
        return 0;
    if (!ValidItem(s, n) || p->iSubItem < 0)
    {
        VekCopyText(std::wstring(), p->pszText, p->cchTextMax);
        return 0;
    }
    return VekCopyText(Text(s, n, p->iSubItem), p->pszText, p->cchTextMax);
}

LRESULT OnGetItem(const ListViewState* s, LVITEMW* p)
{
    if (!p || !ValidItem(s, p->iItem))
        return FALSE;
    const Row& row = RowAt(s, p->iItem);
    if (p->mask & LVIF_TEXT)
        VekCopyText(Text(s, p->iItem, p->iSubItem), p->pszText, p->cchTextMax);
    if (p->mask & LVIF_STATE)
        p->state = row.nState & p->stateMask;
    if (p->mask & LVIF_PARAM)
        p->lParam = row.lParam;
    return TRUE;
}

LRESULT OnSetItem(ListViewState* s, const LVITEMW* p)
{
    HWND h = s->hwndSelf;
    if (!p || !ValidItem(s, p->iItem))
        return FALSE;
    if (p->mask & LVIF_TEXT)
    {
        if (p->iSubItem > 0 && p->iSubItem >= Columns(s))
            return FALSE;
        SetText(RowAt(s, p->iItem), p->iSubItem, p->pszText);
    }
    if (p->mask & LVIF_PARAM)
        RowAt(s, p->iItem).lParam = p->lParam;
    InvalidateRect(h, nullptr, TRUE);
    if (p->mask & LVIF_STATE)
        SetState(s, p->iItem, p->state, p->stateMask);
    return TRUE;
}

LRESULT OnGetItemState(const ListViewState* s, int n, UINT nMask)
{
    return ValidItem(s, n) ? (RowAt(s, n).nState & nMask) : 0;
}

LRESULT OnGetSelectedCount(const ListViewState* s)
{
    return std::count_if(s->rows.begin(), s->rows.end(),
                         [](const Row& r) { return (r.nState & LVIS_SELECTED) != 0; });
}

LRESULT OnGetNextItem(const ListViewState* s, int nStart, UINT nFlags)
{
    UINT nWant = nFlags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    auto matches = [&](int i) { return (RowAt(s, i).nState & nWant) == nWant; };
    if (nFlags & LVNI_ABOVE)
    {
        for (int i = nStart - 1; i >= 0; --i)
            if (matches(i))
                return i;
        return -1;
    }
    for (int i = std::max(nStart + 1, 0); i < Count(s); ++i)
        if (matches(i))
            return i;
    return -1;
}

LRESULT OnSetSelectionMark(ListViewState* s, int nMark)
{
    int nOld = s->nSelMark;
    s->nSelMark = nMark;
    return nOld;
}

LRESULT OnGetItemRect(const ListViewState* s, int n, RECT* p)
{
    if (!p || !ValidItem(s, n))
        return FALSE;
    *p = ItemRect(s, n, p->left);
    return TRUE;
}

LRESULT OnGetSubItemRect(const ListViewState* s, int n, RECT* p)
{
    if (!p)
        return FALSE;
    int k = p->top;
    int nCode = p->left;
    if (k < 0 || (k > 0 && k >= Columns(s)))
        return FALSE;
    if (k == 0)
    {
        *p = ItemRect(s, n, nCode);
        return TRUE;
    }
    RECT col = ColumnRect(s, k);
    int top = RowTop(s, n);
    *p = RECT{col.left, top, col.right, top + VEK_CY_LVROW};
    return TRUE;
}

LRESULT OnSetExtendedStyle(ListViewState* s, DWORD dwMask, DWORD dwStyle)
{
    DWORD dwOld = s->dwExStyle;
    if (!dwMask)
        dwMask = 0xFFFFFFFFu;
    s->dwExStyle = (dwOld & ~dwMask) | (dwStyle & dwMask);
    InvalidateRect(s->hwndSelf, nullptr, TRUE);
    return dwOld;
}

LRESULT OnEnsureVisible(ListViewState* s, int n, bool bPartialOK)
{
    if (!ValidItem(s, n))
        return FALSE;
    EnsureVisible(s, n, bPartialOK);
    return TRUE;
}

// Report views scroll by whole rows: dy is rounded to the nearest row.
LRESULT OnScroll(ListViewState* s, int dy)
{
    int nHalf = VEK_CY_LVROW / 2;
    int nRows = dy >= 0 ? (dy + nHalf) / VEK_CY_LVROW : -((-dy + nHalf) / VEK_CY_LVROW);
    ScrollTo(s, s->nTop + nRows);
    UpdateScroll(s);
    return TRUE;
}

LRESULT OnVScroll(ListViewState* s, WPARAM wParam)
{
    ScrollTo(s, VekScrollTopRow(wParam, s->nTop, std::max(1, PerPage(s)), Count(s)));
    UpdateScroll(s);
    return 0;
}

// Rows per notch as the system sets them (at most a page); partial deltas add up until they make
// a row, and a turn the other way drops what was left of the previous one.
LRESULT OnMouseWheel(ListViewState* s, WPARAM wParam)
{
    int nDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    if ((nDelta < 0) == (s->nWheelRemainder < 0))
        s->nWheelRemainder += nDelta;
    else
        s->nWheelRemainder = nDelta;
    UINT nLines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    int nPage = std::max(1, PerPage(s));
    int nPerNotch = std::min(static_cast<int>(std::min(nLines, 0x7FFFu)), nPage);
    if (nPerNotch <= 0)
        return 0;
    int nRows = nPerNotch * s->nWheelRemainder / WHEEL_DELTA;
    s->nWheelRemainder -= WHEEL_DELTA * nRows / nPerNotch;
    ScrollTo(s, s->nTop - nRows);
    UpdateScroll(s);
    return 0;
}

// The default left click: selection (with Ctrl toggling and Shift extending), focus, then
// NM_CLICK (or NM_DBLCLK for the second click of a double click).
LRESULT OnLButtonDown(ListViewState* s, WPARAM wKeys, POINT pt, UINT nNotify)
{
    HWND h = s->hwndSelf;
    SetFocus(h);
    if (!Alive(h))
        return 0;
    LVHITTESTINFO info = {};
    info.pt = pt;
    int n = HitTest(s, &info);
    bool bMulti = !(Style(s) & LVS_SINGLESEL);
    if (n < 0)
    {
        SelectOnly(s, -1);
    }
    else if ((wKeys & MK_CONTROL) && bMulti)
    {
        UINT nSel = RowAt(s, n).nState & LVIS_SELECTED;
        SetState(s, n, (nSel ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        if (Alive(h))
            s->nSelMark = n;
    }
    else if ((wKeys & MK_SHIFT) && bMulti && s->nSelMark >= 0)
    {
        SelectRange(s, n);
    }
    else
    {
        SelectOnly(s, n);
    }
    if (Alive(h))
        NotifyClick(s, nNotify, pt, wKeys);
    return 0;
}

// The default right click: the row under the point gets the focus (and the selection, unless
// it is selected already or a modifier is held), then NM_RCLICK.
LRESULT OnRButtonDown(ListViewState* s, WPARAM wKeys, POINT pt)
{
    HWND h = s->hwndSelf;
    SetFocus(h);
    if (!Alive(h))
        return 0;
    LVHITTESTINFO info = {};
    info.pt = pt;
    int n = HitTest(s, &info);
    if (n >= 0)
    {
        SetState(s, n, LVIS_FOCUSED, LVIS_FOCUSED);
        if (Alive(h) && ValidItem(s, n) && !(wKeys & (MK_SHIFT | MK_CONTROL)) &&
            !(RowAt(s, n).nState & LVIS_SELECTED))
            SelectOnly(s, n);
    }
    else
    {
        ClearOthers(s, -1, LVIS_SELECTED);
    }
    if (Alive(h))
        NotifyClick(s, NM_RCLICK, pt, wKeys);
    return 0;
}

// The row a navigation key moves the focus to, or -1 for keys that do not navigate.
int KeyTarget(const ListViewState* s, UINT nKey, int nFocus)
{
    int nLast = Count(s) - 1;
    int nPage = std::max(1, PerPage(s));
    int nBottom = s->nTop + nPage - 1; // last wholly visible row
    switch (nKey)
    {
    case VK_UP:
        return nFocus < 0 ? 0 : std::max(0, nFocus - 1);
    case VK_DOWN:
        return nFocus < 0 ? 0 : std::min(nLast, nFocus + 1);
    case VK_HOME:
        return 0;
    case VK_END:
        return nLast;
    case VK_PRIOR:
        // To the top visible row first, from there a page further up.
        return std::max(0, nFocus == s->nTop ? s->nTop - nPage + 1 : s->nTop);
    case VK_NEXT:
        // To the last wholly visible row first, from there a page further down.
        return std::min(nLast, nFocus == nBottom ? nFocus + nPage - 1 : nBottom);
    default:
        return -1;
    }
}

LRESULT OnKeyDown(ListViewState* s, UINT nKey)
{
    HWND h = s->hwndSelf;
    NMLVKEYDOWN nm = {};
    nm.wVKey = static_cast<WORD>(nKey);
    VekNotifyParent(h, LVN_KEYDOWN, &nm.hdr);
    if (!Alive(h) || Count(s) == 0)
        return 0;
    int nFocus = FocusedItem(s);
    if (nKey == VK_SPACE)
    {
        if (nFocus >= 0)
            SetState(s, nFocus, LVIS_SELECTED, LVIS_SELECTED);
        return 0;
    }
    int n = KeyTarget(s, nKey, nFocus);
    if (n < 0)
        return 0;
    bool bMulti = !(Style(s) & LVS_SINGLESEL);
    if (GetKeyState(VK_SHIFT) < 0 && bMulti)
        SelectRange(s, n);
    else if (GetKeyState(VK_CONTROL) < 0 && bMulti)
        SetState(s, n, LVIS_FOCUSED, LVIS_FOCUSED); // Ctrl moves the focus alone
    else
        SelectOnly(s, n);
    if (Alive(h) && ValidItem(s, n))
        EnsureVisible(s, n, false);
    return 0;
}

LRESULT OnSetFocus(ListViewState* s)
{
    NMHDR nm = {};
    VekNotifyParent(s->hwndSelf, NM_SETFOCUS, &nm);
    return 0;
}

LRESULT OnKillFocus(ListViewState* s)
{
    s->nWheelRemainder = 0;
    NMHDR nm = {};
    VekNotifyParent(s->hwndSelf, NM_KILLFOCUS, &nm);
    return 0;
}

// A header notification: acted on, then passed on to the parent unless the list view caused it.
LRESULT OnHeaderNotify(ListViewState* s, NMHEADERW* p)
{
    HWND h = s->hwndSelf;
    bool bOwn = s->nOwnHeaderCalls > 0;
    switch (p->hdr.code)
    {
    case HDN_ITEMCLICKW:
        NotifyItem(s, LVN_COLUMNCLICK, -1, p->iItem, 0, 0, 0);
        if (!Alive(h))
            return 0;
        break;
    case HDN_ITEMCHANGEDW:
        InvalidateRect(h, nullptr, TRUE);
        break;
    default:
        break;
    }
    if (bOwn)
        return 0;
    HWND hParent = GetParent(h);
    return hParent ? SendMessageW(hParent, WM_NOTIFY, p->hdr.idFrom, reinterpret_cast<LPARAM>(p))
                   : 0;
}

LRESULT ListViewProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListViewState* s = State(h);
    if (msg == WM_NCCREATE)
    {
        s = new ListViewState;
        s->hwndSelf = h;
        VekSetCtlState(h, s);
        return TRUE;
    }
    if (!s)
        return DefWindowProcW(h, msg, wParam, lParam);
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg)
    {
    case WM_CREATE:
        return OnCreate(s);
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case WM_SIZE:
        return OnSize(s);
    case WM_SETFONT:
        return OnSetFont(s, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        return OnSetFocus(s);
    case WM_KILLFOCUS:
        return OnKillFocus(s);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(s, wParam, pt, NM_CLICK);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(s, wParam, pt, NM_DBLCLK);
    case WM_LBUTTONUP:
        return 0;
    case WM_RBUTTONDOWN:
        return OnRButtonDown(s, wParam, pt);
    case WM_RBUTTONDBLCLK:
        NotifyClick(s, NM_RDBLCLK, pt, wParam);
        return 0;
    case WM_RBUTTONUP:
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(s, static_cast<UINT>(wParam));
    case WM_VSCROLL:
        return OnVScroll(s, wParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(s, wParam);
    case WM_NOTIFY: {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr && pHdr->hwndFrom == s->hwndHeader)
            return OnHeaderNotify(s, reinterpret_cast<NMHEADERW*>(pHdr));
        return 0;
    }
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(s->hwndHeader);
    case LVM_INSERTCOLUMNW:
        return OnInsertColumn(s, IndexArg(wParam), reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN:
        return OnDeleteColumn(s, IndexArg(wParam));
    case LVM_GETCOLUMNW:
        return OnGetColumn(s, IndexArg(wParam), reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW:
        return OnSetColumn(s, IndexArg(wParam), reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH:
        return OnGetColumnWidth(s, IndexArg(wParam));
    case LVM_SETCOLUMNWIDTH:
        return OnSetColumnWidth(s, IndexArg(wParam), static_cast<short>(LOWORD(lParam)));
    case LVM_GETITEMCOUNT:
        return Count(s);
    case LVM_INSERTITEMW:
        return OnInsertItem(s, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
        return OnDeleteItem(s, IndexArg(wParam));
    case LVM_DELETEALLITEMS:
        return OnDeleteAllItems(s);
    case LVM_SETITEMTEXTW:
        return OnSetItemText(s, IndexArg(wParam), reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW:
        return OnGetItemText(s, IndexArg(wParam), reinterpret_cast<LVITEMW*>(lParam));
    case LVM_GETITEMW:
        return OnGetItem(s, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW:
        return OnSetItem(s, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_SETITEMSTATE: {
        auto* p = reinterpret_cast<const LVITEMW*>(lParam);
        return p ? SetState(s, IndexArg(wParam), p->state, p->stateMask) : FALSE;
    }
    case LVM_GETITEMSTATE:
        return OnGetItemState(s, IndexArg(wParam), static_cast<UINT>(lParam));
    case LVM_GETSELECTEDCOUNT:
        return OnGetSelectedCount(s);
    case LVM_GETNEXTITEM:
        return OnGetNextItem(s, IndexArg(wParam), LOWORD(lParam));
    case LVM_GETSELECTIONMARK:
        return s->nSelMark;
    case LVM_SETSELECTIONMARK:
        return OnSetSelectionMark(s, static_cast<int>(lParam));
    case LVM_GETITEMRECT:
        return OnGetItemRect(s, IndexArg(wParam), reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT:
        return OnGetSubItemRect(s, IndexArg(wParam), reinterpret_cast<RECT*>(lParam));
    case LVM_SUBITEMHITTEST: {
        auto* p = reinterpret_cast<LVHITTESTINFO*>(lParam);
        return p ? SubItemHitTest(s, p) : -1;
    }
    case LVM_HITTEST: {
        auto* p = reinterpret_cast<LVHITTESTINFO*>(lParam);
        return p ? HitTest(s, p) : -1;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return OnSetExtendedStyle(s, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s->dwExStyle;
    case LVM_GETTOPINDEX:
        return s->nTop;
    case LVM_GETCOUNTPERPAGE:
        return PerPage(s);
    case LVM_ENSUREVISIBLE:
        return OnEnsureVisible(s, IndexArg(wParam), LOWORD(lParam) != 0);
    case LVM_SCROLL:
        return OnScroll(s, static_cast<int>(lParam));
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}

// Every row with all its texts: the 260-row grid goes through here after each event, so this
// reads the rows directly and asks the header only for the columns.
void Snapshot(HWND hWnd, nlohmann::json& control)
{
    ListViewState* s = State(hWnd);
    if (!s)
        return;
    const int nColumns = Columns(s);
    nlohmann::json columns = nlohmann::json::array();
    WCHAR szText[260];
    for (int k = 0; k < nColumns; ++k)
    {
        HDITEMW hdi = {};
        hdi.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT;
        szText[0] = 0;
        hdi.pszText = szText;
        hdi.cchTextMax = static_cast<int>(sizeof(szText) / sizeof(szText[0]));
        SendMessageW(s->hwndHeader, HDM_GETITEMW, static_cast<WPARAM>(k),
                     reinterpret_cast<LPARAM>(&hdi));
        columns.push_back({{"text", VekJsonText(szText)},
                           {"width", hdi.cxy},
                           {"format", VekJsonFormat(hdi.fmt)}});
    }
    const bool bCheckBoxes = (s->dwExStyle & LVS_EX_CHECKBOXES) != 0;
    nlohmann::json rows = nlohmann::json::array();
    for (const Row& row : s->rows)
    {
        nlohmann::json texts = nlohmann::json::array();
        for (int k = 0; k < nColumns; ++k)
            texts.push_back(static_cast<size_t>(k) < row.texts.size()
                                ? VekJsonText(row.texts[static_cast<size_t>(k)])
                                : nlohmann::json(""));
        nlohmann::json checked = nullptr;
        if (bCheckBoxes)
            checked = ((row.nState & LVIS_STATEIMAGEMASK) >> 12) == 2;
        rows.push_back({{"texts", std::move(texts)},
                        {"selected", (row.nState & LVIS_SELECTED) != 0},
                        {"focused", (row.nState & LVIS_FOCUSED) != 0},
                        {"checked", std::move(checked)}});
    }
    control["header"] = VekJsonHandle(s->hwndHeader);
    control["columns"] = std::move(columns);
    control["rows"] = std::move(rows);
    control["top"] = s->nTop;
    control["rowHeight"] = VEK_CY_LVROW;
    control["headerHeight"] = HeaderHeight(s);
    control["fullRowSelect"] = (s->dwExStyle & LVS_EX_FULLROWSELECT) != 0;
    control["gridLines"] = (s->dwExStyle & LVS_EX_GRIDLINES) != 0;
    control["checkBoxes"] = bCheckBoxes;
    control["showSelAlways"] = (Style(s) & LVS_SHOWSELALWAYS) != 0;
}
} // namespace

void VekRegisterListViewClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListViewProc;
    wc.lpszClassName = WC_LISTVIEWW;
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(WC_LISTVIEWW, &Snapshot);
}
