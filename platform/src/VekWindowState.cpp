// Window state: keyboard focus, mouse capture, enabling, visibility and the invalid flag that
// UpdateWindow turns into WM_PAINT.
//
// Not implemented: WM_ACTIVATE and activation, painting beyond counting WM_PAINT.
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
HWND g_hwndFocus = nullptr;
HWND g_hwndCapture = nullptr;
} // namespace

void VekForgetWindowState(HWND hWnd)
{
    if (g_hwndFocus == hWnd)
        g_hwndFocus = nullptr;
    if (g_hwndCapture == hWnd)
        g_hwndCapture = nullptr;
}

void VekDropCaptureWithin(HWND hWnd)
{
    if (g_hwndCapture && (g_hwndCapture == hWnd || IsChild(hWnd, g_hwndCapture)))
        g_hwndCapture = nullptr;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL bWasDisabled = (w->dwStyle & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable && bWasDisabled)
    {
        w->dwStyle &= ~static_cast<DWORD>(WS_DISABLED);
        SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
    }
    else if (!bEnable && !bWasDisabled)
    {
        SendMessageW(hWnd, WM_CANCELMODE, 0, 0);
        w->dwStyle |= WS_DISABLED;
        // A disabled window cannot keep the focus.
        if (g_hwndFocus && (g_hwndFocus == hWnd || IsChild(hWnd, g_hwndFocus)))
            SetFocus(nullptr);
        if (g_hwndCapture && (g_hwndCapture == hWnd || IsChild(hWnd, g_hwndCapture)))
            ReleaseCapture();
        SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
    }
    return bWasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    return w && !(w->dwStyle & WS_DISABLED);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL bWasVisible = (w->dwStyle & WS_VISIBLE) ? TRUE : FALSE;
    bool bShow = nCmdShow != SW_HIDE;
    if (bShow && !VekIsChildWindow(w))
    {
        // A top-level window shown comes to the front.
        VekTopLevelWindows().erase(
            std::remove(VekTopLevelWindows().begin(), VekTopLevelWindows().end(), hWnd),
            VekTopLevelWindows().end());
        VekTopLevelWindows().push_back(hWnd);
    }
    if (bShow == static_cast<bool>(bWasVisible))
        return bWasVisible;
    SendMessageW(hWnd, WM_SHOWWINDOW, bShow ? TRUE : FALSE, 0);
    w = VekGetWindow(hWnd);
    if (!w)
        return bWasVisible;
    if (bShow)
    {
        w->dwStyle |= WS_VISIBLE;
        w->bInvalid = true;
    }
    else
    {
        w->dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
        // Hiding the window that has the focus hands it to the parent.
        if (g_hwndFocus && (g_hwndFocus == hWnd || IsChild(hWnd, g_hwndFocus)))
            SetFocus(VekIsChildWindow(w) ? w->hwndParent : nullptr);
    }
    return bWasVisible;
}

BOOL IsWindowVisible(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    for (; w; w = VekIsChildWindow(w) ? VekGetWindow(w->hwndParent) : nullptr)
        if (!(w->dwStyle & WS_VISIBLE))
            return FALSE;
    return TRUE;
}

HWND SetFocus(HWND hWnd)
{
    if (hWnd)
    {
        VekWindow* w = VekGetWindow(hWnd);
        if (!w)
            return nullptr;
        // A window whose top-level window is disabled (behind a modal dialog) cannot take it.
        VekWindow* top = VekGetWindow(VekGetTopLevel(hWnd));
        if (top && (top->dwStyle & WS_DISABLED))
            return nullptr;
    }
    HWND hOld = g_hwndFocus;
    if (hOld == hWnd)
        return hOld;
    g_hwndFocus = hWnd;
    if (hOld && IsWindow(hOld))
        SendMessageW(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && g_hwndFocus == hWnd && IsWindow(hWnd))
        SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    return hOld;
}

HWND GetFocus()
{
    return g_hwndFocus;
}

HWND SetCapture(HWND hWnd)
{
    HWND hOld = g_hwndCapture;
    g_hwndCapture = IsWindow(hWnd) ? hWnd : nullptr;
    if (hOld && hOld != g_hwndCapture)
        SendMessageW(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(g_hwndCapture));
    return hOld;
}

BOOL ReleaseCapture()
{
    HWND hOld = g_hwndCapture;
    g_hwndCapture = nullptr;
    if (hOld)
        SendMessageW(hOld, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return g_hwndCapture;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT, BOOL)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    w->bInvalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    if (w->bInvalid && IsWindowVisible(hWnd) && w->bRedraw)
        SendMessageW(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT, void*, UINT flags)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        w->bInvalid = true;
    if (flags & RDW_UPDATENOW)
        UpdateWindow(hWnd);
    if (flags & RDW_ALLCHILDREN)
    {
        std::vector<HWND> kids = w->children;
        for (HWND c : kids)
            RedrawWindow(c, nullptr, nullptr, flags);
    }
    return TRUE;
}
