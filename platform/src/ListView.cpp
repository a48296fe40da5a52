// List view control in report mode: columns through a header child, rows of texts with
// selection and focus states, hit tests and rectangles, the default mouse and keyboard
// selection, and scrolling by rows.
//
// Geometry (client coordinates): the header takes the top VEK_CY_HEADER pixels (none with
// LVS_NOCOLUMNHEADER); row r starts at VEK_CY_HEADER + (r - top index) * VEK_CY_LVROW; column
// k spans the header item k. The column-0 label starts VEK_CX_LVLABELPAD pixels into the cell
// (plus VEK_CX_TVSTATEICON for LVS_EX_CHECKBOXES); other labels are the whole cell.
//
// Not implemented: the icon, small-icon and list views (every view is laid out as a report),
// image lists and icons, groups, tiles, label editing (LVS_EDITLABELS), owner data
// (LVS_OWNERDATA), sorting (LVS_SORT*, LVM_SORTITEMS), drag and drop (LVN_BEGINDRAG), tool tips
// (LVS_EX_INFOTIP and LVS_EX_LABELTIP are stored only), LVS_EX_ONECLICKACTIVATE /
// TWOCLICKACTIVATE activation (LVN_ITEMACTIVATE), hot tracking, horizontal scrolling,
// check-box toggling (LVS_EX_CHECKBOXES only moves the label), LVN_GETDISPINFO callbacks,
// custom draw.
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
    HWND hwndHeader = nullptr;
    std::vector<Row> rows;
    DWORD dwExStyle = 0;
    int nTop = 0;
    int nSelMark = -1;
};

ListViewState* State(HWND h)
{
    return static_cast<ListViewState*>(VekGetCtlState(h));
}
DWORD Style(HWND h)
{
    return static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
}
int Count(const ListViewState* s)
{
    return static_cast<int>(s->rows.size());
}
int Columns(const ListViewState* s)
{
    return static_cast<int>(SendMessageW(s->hwndHeader, HDM_GETITEMCOUNT, 0, 0));
}
bool ValidItem(const ListViewState* s, int n)
{
    return n >= 0 && n < Count(s);
}

int HeaderHeight(HWND h)
{
    return (Style(h) & LVS_NOCOLUMNHEADER) ? 0 : VEK_CY_HEADER;
}

RECT ColumnRect(const ListViewState* s, int k)
{
    RECT rc = {0, 0, 0, 0};
    SendMessageW(s->hwndHeader, HDM_GETITEMRECT, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(&rc));
    return rc;
}

int RowTop(HWND h, const ListViewState* s, int n)
{
    return HeaderHeight(h) + (n - s->nTop) * VEK_CY_LVROW;
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

int PerPage(HWND h)
{
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(0, static_cast<int>(rc.bottom - HeaderHeight(h)) / VEK_CY_LVROW);
}

void ClampTop(HWND h, ListViewState* s)
{
    int nMax = std::max(0, Count(s) - std::max(1, PerPage(h)));
    s->nTop = std::max(0, std::min(s->nTop, nMax));
}

void LayoutHeader(HWND h, ListViewState* s)
{
    RECT rc;
    GetClientRect(h, &rc);
    MoveWindow(s->hwndHeader, 0, 0, rc.right, VEK_CY_HEADER, FALSE);
    ShowWindow(s->hwndHeader, HeaderHeight(h) ? SW_SHOWNA : SW_HIDE);
}

LRESULT NotifyItem(HWND h, UINT nCode, int nItem, int nSubItem, UINT nNew, UINT nOld, UINT nChanged,
                   LPARAM lParam = 0, POINT pt = {0, 0})
{
    NMLISTVIEW nm = {};
    nm.iItem = nItem;
    nm.iSubItem = nSubItem;
    nm.uNewState = nNew;
    nm.uOldState = nOld;
    nm.uChanged = nChanged;
    nm.ptAction = pt;
    nm.lParam = lParam;
    return VekNotifyParent(h, nCode, &nm.hdr);
}

// Changes the states of one item with LVN_ITEMCHANGING (which may refuse) and LVN_ITEMCHANGED.
bool SetOneState(HWND h, ListViewState* s, int n, UINT nState, UINT nMask)
{
    if (!ValidItem(s, n))
        return false;
    Row& row = s->rows[static_cast<size_t>(n)];
    UINT nOld = row.nState;
    UINT nNew = (nOld & ~nMask) | (nState & nMask);
    if (nNew == nOld)
        return true;
    if (NotifyItem(h, LVN_ITEMCHANGING, n, 0, nNew, nOld, LVIF_STATE, row.lParam))
        return false;
    if (!IsWindow(h) || !ValidItem(s, n))
        return false;
    s->rows[static_cast<size_t>(n)].nState = nNew;
    NotifyItem(h, LVN_ITEMCHANGED, n, 0, nNew, nOld, LVIF_STATE,
               s->rows[static_cast<size_t>(n)].lParam);
    InvalidateRect(h, nullptr, TRUE);
    return true;
}

int FocusedItem(const ListViewState* s)
{
    for (int i = 0; i < Count(s); ++i)
        if (s->rows[static_cast<size_t>(i)].nState & LVIS_FOCUSED)
            return i;
    return -1;
}

// Sets states as LVM_SETITEMSTATE does: one focused item, one selected item in LVS_SINGLESEL.
bool SetState(HWND h, ListViewState* s, int n, UINT nState, UINT nMask)
{
    if (n == -1)
    {
        // Focus cannot be given to every item.
        UINT nAllMask = nMask;
        if (nState & LVIS_FOCUSED)
            nAllMask &= ~static_cast<UINT>(LVIS_FOCUSED);
        for (int i = 0; i < Count(s); ++i)
            SetOneState(h, s, i, nState, nAllMask);
        return true;
    }
    if (!ValidItem(s, n))
        return false;
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
    {
        int nOld = FocusedItem(s);
        if (nOld >= 0 && nOld != n)
            SetOneState(h, s, nOld, 0, LVIS_FOCUSED);
    }
    if ((nMask & LVIS_SELECTED) && (nState & LVIS_SELECTED) && (Style(h) & LVS_SINGLESEL))
    {
        for (int i = 0; i < Count(s); ++i)
            if (i != n)
                SetOneState(h, s, i, 0, LVIS_SELECTED);
    }
    return SetOneState(h, s, n, nState, nMask);
}

const std::wstring& Text(const ListViewState* s, int n, int k)
{
    static const std::wstring s_empty;
    const Row& row = s->rows[static_cast<size_t>(n)];
    return k >= 0 && k < static_cast<int>(row.texts.size()) ? row.texts[static_cast<size_t>(k)]
                                                            : s_empty;
}

void SetText(Row& row, int k, LPCWSTR psz)
{
    if (static_cast<int>(row.texts.size()) <= k)
        row.texts.resize(static_cast<size_t>(k) + 1);
    row.texts[static_cast<size_t>(k)] = psz && psz != LPSTR_TEXTCALLBACKW ? psz : L"";
}

// Item rectangle by LVIR_ code for column 0 (or the whole row), in client coordinates.
RECT ItemRect(HWND h, const ListViewState* s, int n, int nCode)
{
    int top = RowTop(h, s, n);
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
int SubItemHitTest(HWND h, const ListViewState* s, LVHITTESTINFO* p)
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
    int dy = y - HeaderHeight(h);
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
int HitTest(HWND h, const ListViewState* s, LVHITTESTINFO* p)
{
    LVHITTESTINFO info = *p;
    int n = SubItemHitTest(h, s, &info);
    p->iSubItem = 0;
    p->iItem = -1;
    p->flags = LVHT_NOWHERE;
    RECT rc;
    GetClientRect(h, &rc);
    if (p->pt.y < HeaderHeight(h))
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

void SelectOnly(HWND h, ListViewState* s, int n)
{
    for (int i = 0; i < Count(s) && IsWindow(h); ++i)
        if (i != n)
            SetOneState(h, s, i, 0, LVIS_SELECTED);
    if (n >= 0 && IsWindow(h))
    {
        SetState(h, s, n, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        s->nSelMark = n;
    }
}

// The default click: selection (with Ctrl toggling and Shift extending), focus, then NM_CLICK.
void Click(HWND h, ListViewState* s, WPARAM wParam, LPARAM lParam, UINT nNotify)
{
    SetFocus(h);
    if (!IsWindow(h))
        return;
    LVHITTESTINFO info = {};
    info.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int n = HitTest(h, s, &info);
    if (n < 0)
    {
        SelectOnly(h, s, -1);
    }
    else if ((wParam & MK_CONTROL) && !(Style(h) & LVS_SINGLESEL))
    {
        UINT nSel = s->rows[static_cast<size_t>(n)].nState & LVIS_SELECTED;
        SetState(h, s, n, (nSel ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        s->nSelMark = n;
    }
    else if ((wParam & MK_SHIFT) && !(Style(h) & LVS_SINGLESEL) && s->nSelMark >= 0)
    {
        int lo = std::min(s->nSelMark, n);
        int hi = std::max(s->nSelMark, n);
        for (int i = 0; i < Count(s) && IsWindow(h); ++i)
            SetOneState(h, s, i, (i >= lo && i <= hi) ? LVIS_SELECTED : 0, LVIS_SELECTED);
        SetState(h, s, n, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    else
    {
        SelectOnly(h, s, n);
    }
    if (!IsWindow(h))
        return;
    NMITEMACTIVATE nm = {};
    nm.iItem = n;
    LVHITTESTINFO sub = {};
    sub.pt = info.pt;
    SubItemHitTest(h, s, &sub);
    nm.iSubItem = sub.iSubItem;
    nm.ptAction = info.pt;
    nm.uKeyFlags = static_cast<UINT>(wParam & (MK_CONTROL | MK_SHIFT));
    VekNotifyParent(h, nNotify, &nm.hdr);
}

void EnsureVisible(HWND h, ListViewState* s, int n)
{
    int nPage = std::max(1, PerPage(h));
    if (n < s->nTop)
        s->nTop = n;
    else if (n >= s->nTop + nPage)
        s->nTop = n - nPage + 1;
    ClampTop(h, s);
}

LRESULT InsertItem(HWND h, ListViewState* s, const LVITEMW* p)
{
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
    NotifyItem(h, LVN_INSERTITEM, n, 0, 0, 0, 0, row.lParam);
    if (bFocus && IsWindow(h))
        SetState(h, s, n, LVIS_FOCUSED, LVIS_FOCUSED);
    InvalidateRect(h, nullptr, TRUE);
    return n;
}

BOOL DeleteItem(HWND h, ListViewState* s, int n)
{
    if (!ValidItem(s, n))
        return FALSE;
    NotifyItem(h, LVN_DELETEITEM, n, 0, 0, 0, 0, s->rows[static_cast<size_t>(n)].lParam);
    if (!IsWindow(h) || !ValidItem(s, n))
        return FALSE;
    bool bHadFocus = (s->rows[static_cast<size_t>(n)].nState & LVIS_FOCUSED) != 0;
    s->rows.erase(s->rows.begin() + n);
    if (s->nSelMark == n)
        s->nSelMark = -1;
    else if (s->nSelMark > n)
        --s->nSelMark;
    // The focus passes to the item that took the deleted one's place, or to the last item.
    if (bHadFocus && Count(s) > 0)
        s->rows[static_cast<size_t>(std::min(n, Count(s) - 1))].nState |= LVIS_FOCUSED;
    ClampTop(h, s);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

LRESULT ListViewProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListViewState* s = State(h);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE:
        VekSetCtlState(h, new ListViewState);
        return TRUE;
    case WM_CREATE: {
        s->hwndHeader = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | HDS_BUTTONS, 0, 0, 0,
                                        VEK_CY_HEADER, h, nullptr, nullptr, nullptr);
        if (!s->hwndHeader)
            return -1;
        LayoutHeader(h, s);
        return 0;
    }
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case WM_SIZE:
        LayoutHeader(h, s);
        return 0;
    case WM_SETFONT:
        DefWindowProcW(h, msg, wParam, lParam);
        SendMessageW(s->hwndHeader, WM_SETFONT, wParam, lParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(s->hwndHeader);
    case LVM_INSERTCOLUMNW: {
        auto* p = reinterpret_cast<const LVCOLUMNW*>(lParam);
        if (!p)
            return -1;
        int nCols = Columns(s);
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (k < 0 || k > nCols)
            k = nCols;
        HDITEMW hdi = {};
        hdi.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        hdi.pszText = (p->mask & LVCF_TEXT) ? p->pszText : const_cast<LPWSTR>(L"");
        hdi.cxy = (p->mask & LVCF_WIDTH) ? p->cx : 0;
        // The first column is always left-aligned.
        hdi.fmt = HDF_STRING |
                  ((k == 0 || !(p->mask & LVCF_FMT)) ? HDF_LEFT : (p->fmt & HDF_JUSTIFYMASK));
        LRESULT r = SendMessageW(s->hwndHeader, HDM_INSERTITEMW, static_cast<WPARAM>(k),
                                 reinterpret_cast<LPARAM>(&hdi));
        if (r < 0)
            return -1;
        for (Row& row : s->rows)
            if (static_cast<int>(row.texts.size()) > k)
                row.texts.insert(row.texts.begin() + k, std::wstring());
        InvalidateRect(h, nullptr, TRUE);
        return r;
    }
    case LVM_DELETECOLUMN: {
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!SendMessageW(s->hwndHeader, HDM_DELETEITEM, wParam, 0))
            return FALSE;
        for (Row& row : s->rows)
            if (static_cast<int>(row.texts.size()) > k)
                row.texts.erase(row.texts.begin() + k);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case LVM_GETCOLUMNW: {
        auto* p = reinterpret_cast<LVCOLUMNW*>(lParam);
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!p || k < 0 || k >= Columns(s))
            return FALSE;
        HDITEMW hdi = {};
        hdi.mask = HDI_WIDTH | HDI_FORMAT | ((p->mask & LVCF_TEXT) ? HDI_TEXT : 0);
        hdi.pszText = p->pszText;
        hdi.cchTextMax = p->cchTextMax;
        SendMessageW(s->hwndHeader, HDM_GETITEMW, wParam, reinterpret_cast<LPARAM>(&hdi));
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
    case LVM_SETCOLUMNW: {
        auto* p = reinterpret_cast<const LVCOLUMNW*>(lParam);
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
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
        return SendMessageW(s->hwndHeader, HDM_SETITEMW, wParam, reinterpret_cast<LPARAM>(&hdi));
    }
    case LVM_GETCOLUMNWIDTH: {
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (k < 0 || k >= Columns(s))
            return 0;
        RECT rc = ColumnRect(s, k);
        return rc.right - rc.left;
    }
    case LVM_SETCOLUMNWIDTH: {
        int k = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (k < 0 || k >= Columns(s))
            return FALSE;
        int cx = static_cast<short>(LOWORD(lParam));
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
                SendMessageW(s->hwndHeader, HDM_GETITEMW, wParam, reinterpret_cast<LPARAM>(&hdi));
                nWidest = std::max(nWidest, VekTextWidth(sz));
            }
            cx = nWidest + 2 * LabelPad(s);
        }
        HDITEMW hdi = {};
        hdi.mask = HDI_WIDTH;
        hdi.cxy = cx;
        return SendMessageW(s->hwndHeader, HDM_SETITEMW, wParam, reinterpret_cast<LPARAM>(&hdi));
    }
    case LVM_GETITEMCOUNT:
        return Count(s);
    case LVM_INSERTITEMW:
        return InsertItem(h, s, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(h, s, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case LVM_DELETEALLITEMS: {
        // A parent answering TRUE to LVN_DELETEALLITEMS does not want one LVN_DELETEITEM each.
        bool bEach = !NotifyItem(h, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0);
        if (!IsWindow(h))
            return FALSE;
        if (bEach)
            for (int i = 0; i < Count(s); ++i)
                NotifyItem(h, LVN_DELETEITEM, i, 0, 0, 0, 0,
                           s->rows[static_cast<size_t>(i)].lParam);
        if (!IsWindow(h))
            return FALSE;
        s->rows.clear();
        s->nTop = 0;
        s->nSelMark = -1;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case LVM_SETITEMTEXTW: {
        auto* p = reinterpret_cast<const LVITEMW*>(lParam);
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!p || !ValidItem(s, n) || p->iSubItem < 0)
            return FALSE;
        // A sub-item exists only for an existing column.
        if (p->iSubItem > 0 && p->iSubItem >= Columns(s))
            return FALSE;
        SetText(s->rows[static_cast<size_t>(n)], p->iSubItem, p->pszText);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case LVM_GETITEMTEXTW: {
        auto* p = reinterpret_cast<LVITEMW*>(lParam);
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!p)
            return 0;
        if (!ValidItem(s, n) || p->iSubItem < 0)
        {
            VekCopyText(std::wstring(), p->pszText, p->cchTextMax);
            return 0;
        }
        return VekCopyText(Text(s, n, p->iSubItem), p->pszText, p->cchTextMax);
    }
    case LVM_GETITEMW: {
        auto* p = reinterpret_cast<LVITEMW*>(lParam);
        if (!p || !ValidItem(s, p->iItem))
            return FALSE;
        const Row& row = s->rows[static_cast<size_t>(p->iItem)];
        if (p->mask & LVIF_TEXT)
            VekCopyText(Text(s, p->iItem, p->iSubItem), p->pszText, p->cchTextMax);
        if (p->mask & LVIF_STATE)
            p->state = row.nState & p->stateMask;
        if (p->mask & LVIF_PARAM)
            p->lParam = row.lParam;
        return TRUE;
    }
    case LVM_SETITEMW: {
        auto* p = reinterpret_cast<const LVITEMW*>(lParam);
        if (!p || !ValidItem(s, p->iItem))
            return FALSE;
        if ((p->mask & LVIF_TEXT))
        {
            if (p->iSubItem > 0 && p->iSubItem >= Columns(s))
                return FALSE;
            SetText(s->rows[static_cast<size_t>(p->iItem)], p->iSubItem, p->pszText);
        }
        if (p->mask & LVIF_PARAM)
            s->rows[static_cast<size_t>(p->iItem)].lParam = p->lParam;
        if (p->mask & LVIF_STATE)
            SetState(h, s, p->iItem, p->state, p->stateMask);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case LVM_SETITEMSTATE: {
        auto* p = reinterpret_cast<const LVITEMW*>(lParam);
        if (!p)
            return FALSE;
        return SetState(h, s, static_cast<int>(static_cast<INT_PTR>(wParam)), p->state,
                        p->stateMask);
    }
    case LVM_GETITEMSTATE: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        return ValidItem(s, n)
                   ? (s->rows[static_cast<size_t>(n)].nState & static_cast<UINT>(lParam))
                   : 0;
    }
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(s->rows.begin(), s->rows.end(),
                             [](const Row& r) { return (r.nState & LVIS_SELECTED) != 0; });
    case LVM_GETNEXTITEM: {
        int nStart = static_cast<int>(static_cast<INT_PTR>(wParam));
        UINT nFlags = LOWORD(lParam);
        UINT nWant = nFlags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
        auto matches = [&](int i) {
            return (s->rows[static_cast<size_t>(i)].nState & nWant) == nWant;
        };
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
    case LVM_GETSELECTIONMARK:
        return s->nSelMark;
    case LVM_SETSELECTIONMARK: {
        int nOld = s->nSelMark;
        s->nSelMark = static_cast<int>(lParam);
        return nOld;
    }
    case LVM_GETITEMRECT: {
        auto* p = reinterpret_cast<RECT*>(lParam);
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!p || !ValidItem(s, n))
            return FALSE;
        *p = ItemRect(h, s, n, p->left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* p = reinterpret_cast<RECT*>(lParam);
        if (!p)
            return FALSE;
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        int k = p->top;
        int nCode = p->left;
        if (k < 0 || (k > 0 && k >= Columns(s)))
            return FALSE;
        if (k == 0)
        {
            *p = ItemRect(h, s, n, nCode);
            return TRUE;
        }
        RECT col = ColumnRect(s, k);
        int top = RowTop(h, s, n);
        *p = RECT{col.left, top, col.right, top + VEK_CY_LVROW};
        return TRUE;
    }
    case LVM_SUBITEMHITTEST: {
        auto* p = reinterpret_cast<LVHITTESTINFO*>(lParam);
        return p ? SubItemHitTest(h, s, p) : -1;
    }
    case LVM_HITTEST: {
        auto* p = reinterpret_cast<LVHITTESTINFO*>(lParam);
        return p ? HitTest(h, s, p) : -1;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD dwOld = s->dwExStyle;
        DWORD dwMask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        s->dwExStyle = (dwOld & ~dwMask) | (static_cast<DWORD>(lParam) & dwMask);
        InvalidateRect(h, nullptr, TRUE);
        return dwOld;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s->dwExStyle;
    case LVM_GETTOPINDEX:
        return s->nTop;
    case LVM_GETCOUNTPERPAGE:
        return PerPage(h);
    case LVM_ENSUREVISIBLE: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!ValidItem(s, n))
            return FALSE;
        EnsureVisible(h, s, n);
        return TRUE;
    }
    case LVM_SCROLL:
        s->nTop += static_cast<int>(lParam) / VEK_CY_LVROW;
        ClampTop(h, s);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    case WM_VSCROLL: {
        int nPage = std::max(1, PerPage(h));
        s->nTop = VekScrollTopRow(wParam, s->nTop, nPage, Count(s));
        ClampTop(h, s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONDOWN:
        Click(h, s, wParam, lParam, NM_CLICK);
        return 0;
    case WM_LBUTTONDBLCLK:
        Click(h, s, wParam, lParam, NM_DBLCLK);
        return 0;
    case WM_LBUTTONUP:
        return 0;
    case WM_KEYDOWN: {
        NMLVKEYDOWN nm = {};
        nm.wVKey = static_cast<WORD>(wParam);
        VekNotifyParent(h, LVN_KEYDOWN, &nm.hdr);
        if (!IsWindow(h) || Count(s) == 0)
            return 0;
        int nFocus = FocusedItem(s);
        int n = nFocus;
        switch (wParam)
        {
        case VK_UP:
            n = nFocus < 0 ? 0 : std::max(0, nFocus - 1);
            break;
        case VK_DOWN:
            n = nFocus < 0 ? 0 : std::min(Count(s) - 1, nFocus + 1);
            break;
        case VK_HOME:
            n = 0;
            break;
        case VK_END:
            n = Count(s) - 1;
            break;
        case VK_SPACE:
            if (nFocus >= 0)
                SetState(h, s, nFocus, LVIS_SELECTED, LVIS_SELECTED);
            return 0;
        default:
            return 0;
        }
        SelectOnly(h, s, n);
        if (IsWindow(h))
            EnsureVisible(h, s, n);
        return 0;
    }
    case WM_SETFOCUS: {
        NMHDR nm = {};
        VekNotifyParent(h, NM_SETFOCUS, &nm);
        return 0;
    }
    case WM_KILLFOCUS: {
        NMHDR nm = {};
        VekNotifyParent(h, NM_KILLFOCUS, &nm);
        return 0;
    }
    case WM_NOTIFY: {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr && pHdr->hwndFrom == s->hwndHeader)
        {
            if (pHdr->code == HDN_ITEMCLICKW)
                NotifyItem(h, LVN_COLUMNCLICK, -1, reinterpret_cast<NMHEADERW*>(pHdr)->iItem, 0, 0,
                           0);
            else if (pHdr->code == HDN_ITEMCHANGEDW)
                InvalidateRect(h, nullptr, TRUE);
        }
        return 0;
    }
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterListViewClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListViewProc;
    wc.lpszClassName = WC_LISTVIEWW;
    RegisterClassW(&wc);
}
