// Static control: text that mouse input passes through.
//
// Not implemented: SS_NOTIFY notifications (STN_CLICKED and friends), icons, bitmaps, frames;
// painting only asks the parent for colours.
#include "VekSnapshotInternal.h"
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
    case WM_PAINT:
        if (HWND hParent = GetParent(hWnd))
            SendMessageW(hParent, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(hWnd));
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}
void Snapshot(HWND hWnd, nlohmann::json& control)
{
    switch (static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE)) & 3)
    {
    case SS_CENTER:
        control["align"] = "center";
        break;
    case SS_RIGHT:
        control["align"] = "right";
        break;
    default:
        control["align"] = "left";
        break;
    }
}
} // namespace

void VekRegisterStaticClass()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &StaticProc;
    wc.lpszClassName = L"Static";
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(L"Static", &Snapshot);
}
