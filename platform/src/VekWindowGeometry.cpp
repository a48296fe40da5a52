// Geometry and coordinates: window and client rectangles, frames, the mapping between client
// and screen coordinates, the window under a screen point and dialog units. Sizes come from
// the fixed constants of vekinput.h.
//
// Not implemented: WM_WINDOWPOSCHANGING/CHANGED, WM_MOVE, z-order changes through SetWindowPos,
// regions.
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
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
    if (VekIsChildWindow(w))
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
} // namespace

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
    for (auto it = VekTopLevelWindows().rbegin(); it != VekTopLevelWindows().rend(); ++it)
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
