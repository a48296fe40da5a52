// The default window procedure: what a window does with a message its own procedure leaves.
#include "VekWindowInternal.h"

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w)
        return 0;
    switch (Msg)
    {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        w->strText = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return TRUE;
    case WM_GETTEXT:
        return VekCopyText(w->strText, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->strText.size());
    case WM_SETFONT:
        w->hFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->hFont);
    case WM_SETREDRAW:
        w->bRedraw = wParam != 0;
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT:
        w->bInvalid = false;
        ++w->nPaintCount;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return 1;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTVSCROLL)
            VekBeginScrollBarTracking(hWnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEWHEEL:
        // Wheel turns go to the focus window; one that does not scroll hands them up.
        if (VekIsChildWindow(w))
            return SendMessageW(w->hwndParent, Msg, wParam, lParam);
        return 0;
    case WM_NCHITTEST: {
        RECT rc;
        GetClientRect(hWnd, &rc);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hWnd, &pt);
        if (PtInRect(&rc, pt))
            return HTCLIENT;
        if (w->dwStyle & WS_VSCROLL)
        {
            SCROLLBARINFO sbi = {};
            sbi.cbSize = sizeof(sbi);
            POINT ptScreen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi) && PtInRect(&sbi.rcScrollBar, ptScreen))
                return HTVSCROLL;
        }
        if ((w->dwStyle & WS_CAPTION) == WS_CAPTION && pt.y < 0)
            return HTCAPTION;
        return HTBORDER;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    default:
        return 0;
    }
}
