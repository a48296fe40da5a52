// Header control: the column titles of a report list view, laid side by side from x = 0 in
// the order of insertion, VEK_CY_HEADER pixels high.
//
// Not implemented: drag and drop of columns (HDI_ORDER is stored but never changes the
// layout), divider tracking with the mouse (HDN_BEGINTRACK / HDN_TRACK / HDN_ENDTRACK),
// images, filters, HDM_LAYOUT (the list view places its header itself), owner drawing.
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
    std::vector<HeaderItem> items;
    int nPressed = -1;
};

HeaderState* State(HWND h)
{
    return static_cast<HeaderState*>(VekGetCtlState(h));
}
int Count(const HeaderState* s)
{
    return static_cast<int>(s->items.size());
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

RECT ItemRect(HWND h, const HeaderState* s, int n)
{
    RECT rc;
    GetClientRect(h, &rc);
    int x = 0;
    for (int i = 0; i < n; ++i)
        x += s->items[static_cast<size_t>(i)].cxy;
    return RECT{x, 0, x + s->items[static_cast<size_t>(n)].cxy, rc.bottom};
}

int HitTest(HWND h, const HeaderState* s, POINT pt, UINT* pFlags)
{
    RECT rc;
    GetClientRect(h, &rc);
    *pFlags = HHT_NOWHERE;
    if (pt.y < 0 || pt.y >= rc.bottom)
        return -1;
    for (int i = 0; i < Count(s); ++i)
    {
        RECT r = ItemRect(h, s, i);
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

LRESULT Notify(HWND h, UINT nCode, int nItem, HDITEMW* pItem)
{
    NMHEADERW nm = {};
    nm.iItem = nItem;
    nm.pitem = pItem;
    return VekNotifyParent(h, nCode, &nm.hdr);
}

LRESULT HeaderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HeaderState* s = State(h);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE:
        VekSetCtlState(h, new HeaderState);
        return TRUE;
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case HDM_GETITEMCOUNT:
        return Count(s);
    case HDM_INSERTITEMW: {
        auto* p = reinterpret_cast<const HDITEMW*>(lParam);
        if (!p)
            return -1;
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (n < 0 || n > Count(s))
            n = Count(s);
        HeaderItem it;
        it.iOrder = n;
        Apply(it, p);
        s->items.insert(s->items.begin() + n, it);
        InvalidateRect(h, nullptr, TRUE);
        return n;
    }
    case HDM_DELETEITEM: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (n < 0 || n >= Count(s))
            return FALSE;
        s->items.erase(s->items.begin() + n);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMW: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto* p = reinterpret_cast<HDITEMW*>(lParam);
        if (!p || n < 0 || n >= Count(s))
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
    case HDM_SETITEMW: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto* p = reinterpret_cast<HDITEMW*>(lParam);
        if (!p || n < 0 || n >= Count(s))
            return FALSE;
        if (Notify(h, HDN_ITEMCHANGINGW, n, p))
            return FALSE;
        if (!IsWindow(h))
            return FALSE;
        Apply(s->items[static_cast<size_t>(n)], p);
        Notify(h, HDN_ITEMCHANGEDW, n, p);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMRECT: {
        int n = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lParam || n < 0 || n >= Count(s))
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(h, s, n);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* p = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!p)
            return -1;
        p->iItem = HitTest(h, s, p->pt, &p->flags);
        return p->iItem;
    }
    case WM_LBUTTONDOWN: {
        UINT nFlags = 0;
        s->nPressed = HitTest(h, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &nFlags);
        if (s->nPressed >= 0)
            SetCapture(h);
        return 0;
    }
    case WM_LBUTTONUP: {
        int nPressed = s->nPressed;
        s->nPressed = -1;
        if (GetCapture() == h)
            ReleaseCapture();
        UINT nFlags = 0;
        int n = HitTest(h, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &nFlags);
        if (nPressed >= 0 && n == nPressed && (GetWindowLongW(h, GWL_STYLE) & HDS_BUTTONS))
            Notify(h, HDN_ITEMCLICKW, n, nullptr);
        return 0;
    }
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterHeaderClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &HeaderProc;
    wc.lpszClassName = WC_HEADERW;
    RegisterClassW(&wc);
}
