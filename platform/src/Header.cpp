// Header control: the column titles of a report list view, laid side by side from x = 0 in
// the order of insertion, VEK_CY_HEADER pixels high.
//
// Notifications go to the parent (a list view passes them on to its own parent). A handler
// may destroy the header or its parent; the header re-checks IsWindow after each one.
//
// Not implemented: drag and drop of columns (HDI_ORDER is stored but never changes the
// layout), divider tracking with the mouse (HDN_BEGINTRACK / HDN_TRACK / HDN_ENDTRACK,
// HDN_DIVIDERDBLCLICK), images, filters, HDM_LAYOUT (the list view places its header itself),
// owner drawing, hot tracking, NM_RCLICK, HDS_HIDDEN.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
struct HeaderItem
{
    std::wstring strText;
    int cxy = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int iOrder = 0;
};

struct HeaderState
{
    HWND hwndSelf = nullptr;
    std::vector<HeaderItem> items;
    int nPressed = -1; // item under the button since it went down, or -1
};

HeaderState* State(HWND h)
{
    return static_cast<HeaderState*>(VekGetCtlState(h));
}
int Count(const HeaderState* s)
{
    return static_cast<int>(s->items.size());
}
bool ValidItem(const HeaderState* s, int n)
{
    return n >= 0 && n < Count(s);
}
int IndexArg(WPARAM wParam)
{
    return static_cast<int>(static_cast<INT_PTR>(wParam));
}

void Apply(HeaderItem& it, const HDITEMW* p)
{
    if (p->mask & HDI_TEXT)
        it.strText = p->pszText && p->pszText != LPSTR_TEXTCALLBACKW ? p->pszText : L"";
    if (p->mask & HDI_WIDTH)
        it.cxy = std::max(0, p->cxy);
    if (p->mask & HDI_FORMAT)
        it.fmt = p->fmt;
    if (p->mask & HDI_LPARAM)
        it.lParam = p->lParam;
    if (p->mask & HDI_ORDER)
        it.iOrder = p->iOrder;
}

RECT ItemRect(const HeaderState* s, int n)
{
    RECT rc;
    GetClientRect(s->hwndSelf, &rc);
    int x = 0;
    for (int i = 0; i < n; ++i)
        x += s->items[static_cast<size_t>(i)].cxy;
    return RECT{x, 0, x + s->items[static_cast<size_t>(n)].cxy, rc.bottom};
}

int HitTest(const HeaderState* s, POINT pt, UINT* pFlags)
{
    RECT rc;
    GetClientRect(s->hwndSelf, &rc);
    *pFlags = HHT_NOWHERE;
    if (pt.y < 0 || pt.y >= rc.bottom)
        return -1;
    for (int i = 0; i < Count(s); ++i)
    {
        RECT r = ItemRect(s, i);
        if (pt.x >= r.left && pt.x < r.right)
        {
            *pFlags = HHT_ONHEADER;
            return i;
        }
    }
    if (pt.x >= 0)
        *pFlags = HHT_TORIGHT;
    return -1;
}

LRESULT Notify(HeaderState* s, UINT nCode, int nItem, HDITEMW* pItem)
{
    NMHEADERW nm = {};
    nm.iItem = nItem;
    nm.pitem = pItem;
    return VekNotifyParent(s->hwndSelf, nCode, &nm.hdr);
}

bool HasButtons(const HeaderState* s)
{
    return (GetWindowLongW(s->hwndSelf, GWL_STYLE) & HDS_BUTTONS) != 0;
}

// ---- Message handlers ----------------------------------------------------------------------

LRESULT OnInsertItem(HeaderState* s, int n, const HDITEMW* p)
{
    if (!p)
        return -1;
    if (n < 0 || n > Count(s))
        n = Count(s);
    HeaderItem it;
    it.iOrder = n;
    Apply(it, p);
    s->items.insert(s->items.begin() + n, it);
    InvalidateRect(s->hwndSelf, nullptr, TRUE);
    return n;
}

LRESULT OnDeleteItem(HeaderState* s, int n)
{
    if (!ValidItem(s, n))
        return FALSE;
    s->items.erase(s->items.begin() + n);
    if (s->nPressed >= Count(s))
        s->nPressed = -1;
    InvalidateRect(s->hwndSelf, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetItem(const HeaderState* s, int n, HDITEMW* p)
{
    if (!p || !ValidItem(s, n))
        return FALSE;
    const HeaderItem& it = s->items[static_cast<size_t>(n)];
    if (p->mask & HDI_TEXT)
        VekCopyText(it.strText, p->pszText, p->cchTextMax);
    if (p->mask & HDI_WIDTH)
        p->cxy = it.cxy;
    if (p->mask & HDI_FORMAT)
        p->fmt = it.fmt;
    if (p->mask & HDI_LPARAM)
        p->lParam = it.lParam;
    if (p->mask & HDI_ORDER)
        p->iOrder = it.iOrder;
    return TRUE;
}

// HDN_ITEMCHANGING may refuse the change or adjust *p; HDN_ITEMCHANGED follows.
LRESULT OnSetItem(HeaderState* s, int n, HDITEMW* p)
{
    HWND h = s->hwndSelf;
    if (!p || !ValidItem(s, n))
        return FALSE;
    if (Notify(s, HDN_ITEMCHANGINGW, n, p))
        return FALSE;
    // The handler may have destroyed the header or removed the item.
    if (!IsWindow(h) || !ValidItem(s, n))
        return FALSE;
    Apply(s->items[static_cast<size_t>(n)], p);
    InvalidateRect(h, nullptr, TRUE);
    Notify(s, HDN_ITEMCHANGEDW, n, p);
    return TRUE;
}

LRESULT OnGetItemRect(const HeaderState* s, int n, RECT* p)
{
    if (!p || !ValidItem(s, n))
        return FALSE;
    *p = ItemRect(s, n);
    return TRUE;
}

LRESULT OnHitTest(const HeaderState* s, HDHITTESTINFO* p)
{
    if (!p)
        return -1;
    p->iItem = HitTest(s, p->pt, &p->flags);
    return p->iItem;
}

LRESULT OnLButtonDown(HeaderState* s, POINT pt)
{
    UINT nFlags = 0;
    s->nPressed = HitTest(s, pt, &nFlags);
    if (s->nPressed >= 0 && HasButtons(s))
        SetCapture(s->hwndSelf);
    else
        s->nPressed = -1;
    return 0;
}

// A button press and release on the same item is a click on it.
LRESULT OnLButtonUp(HeaderState* s, POINT pt)
{
    HWND h = s->hwndSelf;
    int nPressed = s->nPressed;
    s->nPressed = -1;
    if (GetCapture() == h)
        ReleaseCapture();
    if (!IsWindow(h) || nPressed < 0)
        return 0;
    UINT nFlags = 0;
    if (HitTest(s, pt, &nFlags) == nPressed)
        Notify(s, HDN_ITEMCLICKW, nPressed, nullptr);
    return 0;
}

// The second press of a double click: HDN_ITEMDBLCLICK; its release clicks nothing.
LRESULT OnLButtonDblClk(HeaderState* s, POINT pt)
{
    UINT nFlags = 0;
    int n = HitTest(s, pt, &nFlags);
    if (n >= 0 && HasButtons(s))
        Notify(s, HDN_ITEMDBLCLICKW, n, nullptr);
    return 0;
}

LRESULT HeaderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HeaderState* s = State(h);
    if (msg == WM_NCCREATE)
    {
        s = new HeaderState;
        s->hwndSelf = h;
        VekSetCtlState(h, s);
        return TRUE;
    }
    if (!s)
        return DefWindowProcW(h, msg, wParam, lParam);
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg)
    {
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(s, pt);
    case WM_LBUTTONUP:
        return OnLButtonUp(s, pt);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(s, pt);
    case HDM_GETITEMCOUNT:
        return Count(s);
    case HDM_INSERTITEMW:
        return OnInsertItem(s, IndexArg(wParam), reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
        return OnDeleteItem(s, IndexArg(wParam));
    case HDM_GETITEMW:
        return OnGetItem(s, IndexArg(wParam), reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW:
        return OnSetItem(s, IndexArg(wParam), reinterpret_cast<HDITEMW*>(lParam));
    case HDM_GETITEMRECT:
        return OnGetItemRect(s, IndexArg(wParam), reinterpret_cast<RECT*>(lParam));
    case HDM_HITTEST:
        return OnHitTest(s, reinterpret_cast<HDHITTESTINFO*>(lParam));
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}

void Snapshot(HWND hWnd, nlohmann::json& control)
{
    const HeaderState* s = State(hWnd);
    if (!s)
        return;
    nlohmann::json items = nlohmann::json::array();
    int x = 0;
    for (const HeaderItem& it : s->items)
    {
        items.push_back({{"text", VekJsonText(it.strText)},
                         {"width", it.cxy},
                         {"format", VekJsonFormat(it.fmt)},
                         {"left", x},
                         {"right", x + it.cxy}});
        x += it.cxy;
    }
    control["items"] = std::move(items);
    control["pressed"] = s->nPressed;
}
} // namespace

void VekRegisterHeaderClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &HeaderProc;
    wc.lpszClassName = WC_HEADERW;
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(WC_HEADERW, &Snapshot);
}
