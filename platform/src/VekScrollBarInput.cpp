// Pointer input on a window's vertical scroll bar: what DefWindowProc does with a press on
// HTVSCROLL. A press on an arrow sends SB_LINEUP / SB_LINEDOWN, on the track above or below the
// thumb SB_PAGEUP / SB_PAGEDOWN; the release then sends SB_ENDSCROLL. A press on the thumb
// starts a drag: each move sends SB_THUMBTRACK with the position under the thumb (also the bar's
// nTrackPos), the release SB_THUMBPOSITION and SB_ENDSCROLL.
//
// Windows runs a nested message loop with the capture for this; input here arrives one event at
// a time, so the drag is state kept by the input path, which routes moves and the release to it
// before anything else (GetCapture does not report it).
//
// Not implemented: repeated line and page scrolling while the button stays down, the thumb
// snapping back when the pointer strays far from the bar, WM_SYSCOMMAND (SC_VSCROLL) on the way,
// the horizontal bar and scroll bar controls.
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
struct VekScrollTracking
{
    HWND hwnd = nullptr; // null: no drag
    int nBarTop = 0;     // screen y of the bar's top
    int nGrab = 0;       // where the thumb was taken, from its top
    int nArrow = 0;      // height of each arrow
    int nThumb = 0;      // height of the thumb
    int nBarHeight = 0;
    int nLastY = 0;
    int nTrackPos = 0;
    bool bThumb = false; // dragging the thumb, not waiting for the end of a line or page request
};
VekScrollTracking g_tracking;

void SendScroll(HWND hWnd, WORD nCode, int nPos = 0)
{
    SendMessageW(hWnd, WM_VSCROLL, MAKEWPARAM(nCode, static_cast<WORD>(nPos)), 0);
}

// The position whose thumb top lies at nThumbTop pixels below the top arrow.
int PositionAt(const SCROLLINFO& si, int nThumbTop)
{
    const int nPixels = g_tracking.nBarHeight - 2 * g_tracking.nArrow - g_tracking.nThumb;
    const int nSpan = si.nMax - si.nMin - std::max(static_cast<int>(si.nPage) - 1, 0);
    if (nPixels <= 0 || nSpan <= 0)
        return si.nMin;
    const int nOffset = std::max(0, std::min(nThumbTop, nPixels));
    return si.nMin +
           static_cast<int>((static_cast<long long>(nSpan) * nOffset + nPixels / 2) / nPixels);
}
} // namespace

void VekBeginScrollBarTracking(HWND hWnd, POINT ptScreen)
{
    SCROLLBARINFO sbi = {};
    sbi.cbSize = sizeof(sbi);
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi) || (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) ||
        !GetScrollInfo(hWnd, SB_VERT, &si))
        return;
    // A bar with nothing to scroll does nothing.
    if (si.nMax <= si.nMin || (si.nPage && static_cast<long long>(si.nMax) - si.nMin + 1 <=
                                               static_cast<long long>(si.nPage)))
        return;
    const int y = ptScreen.y - sbi.rcScrollBar.top;
    const int nHeight = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    const bool bHasThumb = !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    WORD nCode = SB_ENDSCROLL;
    if (y < sbi.dxyLineButton)
        nCode = SB_LINEUP;
    else if (y >= nHeight - sbi.dxyLineButton)
        nCode = SB_LINEDOWN;
    else if (!bHasThumb)
        return; // a bar too short for its thumb has arrows only
    else if (y < sbi.xyThumbTop)
        nCode = SB_PAGEUP;
    else if (y >= sbi.xyThumbBottom)
        nCode = SB_PAGEDOWN;

    g_tracking = VekScrollTracking();
    g_tracking.hwnd = hWnd;
    g_tracking.nBarTop = sbi.rcScrollBar.top;
    g_tracking.nArrow = sbi.dxyLineButton;
    g_tracking.nBarHeight = nHeight;
    g_tracking.nLastY = ptScreen.y;
    if (nCode == SB_ENDSCROLL)
    {
        g_tracking.bThumb = true;
        g_tracking.nGrab = y - sbi.xyThumbTop;
        g_tracking.nThumb = sbi.xyThumbBottom - sbi.xyThumbTop;
        g_tracking.nTrackPos = si.nPos;
        return;
    }
    SendScroll(hWnd, nCode);
}

bool VekIsTrackingScrollBar()
{
    return g_tracking.hwnd != nullptr;
}

void VekTrackScrollBar(POINT ptScreen)
{
    HWND hWnd = g_tracking.hwnd;
    if (!IsWindow(hWnd))
    {
        g_tracking = VekScrollTracking();
        return;
    }
    if (!g_tracking.bThumb || ptScreen.y == g_tracking.nLastY)
        return;
    g_tracking.nLastY = ptScreen.y;
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hWnd, SB_VERT, &si))
        return;
    const int nThumbTop = ptScreen.y - g_tracking.nBarTop - g_tracking.nGrab - g_tracking.nArrow;
    g_tracking.nTrackPos = PositionAt(si, nThumbTop);
    VekSetScrollTrackPos(hWnd, SB_VERT, g_tracking.nTrackPos);
    SendScroll(hWnd, SB_THUMBTRACK, g_tracking.nTrackPos);
}

void VekEndScrollBarTracking(POINT)
{
    const VekScrollTracking ended = g_tracking;
    g_tracking = VekScrollTracking(); // a handler may start input of its own
    if (!IsWindow(ended.hwnd))
        return;
    if (ended.bThumb)
        SendScroll(ended.hwnd, SB_THUMBPOSITION, ended.nTrackPos);
    if (IsWindow(ended.hwnd))
        SendScroll(ended.hwnd, SB_ENDSCROLL);
    // The thumb shows the position again, wherever the window has put it.
    if (IsWindow(ended.hwnd))
        VekSetScrollTrackPos(ended.hwnd, SB_VERT, GetScrollPos(ended.hwnd, SB_VERT));
}
