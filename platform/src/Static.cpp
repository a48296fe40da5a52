// Static control: text that mouse input passes through.
//
// Not implemented: SS_NOTIFY (STN_CLICKED and friends), icons, bitmaps, frames and
// WM_CTLCOLORSTATIC requests (nothing is painted).
#include "VekWindowInternal.h"

namespace
{
LRESULT StaticProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_NCHITTEST:
        // Clicks on a label reach the window beneath it, unless it asks for notifications.
        if (GetWindowLongW(hWnd, GWL_STYLE) & SS_NOTIFY)
            return HTCLIENT;
        return HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterStaticClass()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &StaticProc;
    wc.lpszClassName = L"Static";
    RegisterClassW(&wc);
}
