// ListBox control: placeholder registration until the control's procedure is written.
//
// Not implemented: everything; the window only has the default processing.
#include "VekWindowInternal.h"

namespace
{
LRESULT ListBoxProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}
} // namespace

void VekRegisterListBoxClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListBoxProc;
    wc.lpszClassName = L"ListBox";
    RegisterClassW(&wc);
}
