// Standard scroll bars of a window: the vertical bar's range, page and position, its
// visibility through WS_VSCROLL, and the geometry of its parts. The bar is part of the window's
// non-client area: showing it narrows the client area by VEK_CX_VSCROLL.
//
// Not implemented: scroll bar controls (class "ScrollBar", SB_CTL), the horizontal bar's display
// (SB_HORZ is stored only), EnableScrollBar and arrow disabling, ScrollWindow(Ex) (nothing is
// drawn), scroll bar colours.
#include "VekWindowInternal.h"

#include <algorithm>

namespace
{
// Thumb never shrinks below this, so that it stays a target for the mouse.
const int kMinThumb = 8;

SCROLLINFO* BarOf(VekWindow* w, int nBar)
{
    if (!w)
        return nullptr;
    if (nBar == SB_VERT)
        return &w->siVert;
    if (nBar == SB_HORZ)
        return &w->siHorz;
    return nullptr;
}

// The highest position a page still fits below.
int MaxPos(const SCROLLINFO& si)
{
    return si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0);
}

int Clamp(const SCROLLINFO& si, int nPos)
{
    return std::max(si.nMin, std::min(nPos, std::max(si.nMin, MaxPos(si))));
}

// Whether the content exceeds the page, so that the bar is needed.
bool Needed(const SCROLLINFO& si)
{
    if (si.nMax <= si.nMin)
        return false;
    return si.nPage == 0 || static_cast<long long>(si.nMax) - si.nMin + 1 > si.nPage;
}

// Shows or hides the vertical bar through WS_VSCROLL and tells the window its new client size.
void ShowVertical(HWND hWnd, bool bShow)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || bShow == ((w->dwStyle & WS_VSCROLL) != 0))
        return;
    if (bShow)
        w->dwStyle |= WS_VSCROLL;
    else
        w->dwStyle &= ~WS_VSCROLL;
    w->bInvalid = true;
    RECT rc;
    GetClientRect(hWnd, &rc);
    SendMessageW(hWnd, WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
}
} // namespace

int SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw)
{
    VekWindow* w = VekGetWindow(hWnd);
    SCROLLINFO* si = BarOf(w, nBar);
    if (!si || !lpsi)
        return 0;
    if ((lpsi->fMask & SIF_RANGE) && lpsi->nMin <= lpsi->nMax)
    {
        si->nMin = lpsi->nMin;
        si->nMax = lpsi->nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
    {
        // A page never exceeds the range it scrolls.
        long long nRange = static_cast<long long>(si->nMax) - si->nMin + 1;
        si->nPage = static_cast<UINT>(std::min<long long>(lpsi->nPage, nRange));
    }
    if (lpsi->fMask & SIF_POS)
        si->nPos = lpsi->nPos;
    si->nPos = Clamp(*si, si->nPos);
    si->nTrackPos = si->nPos;
    si->fMask = SIF_ALL; // set at least once: GetScrollInfo answers from now on
    int nPos = si->nPos;
    if (nBar == SB_VERT && (lpsi->fMask & (SIF_RANGE | SIF_PAGE)))
    {
        bool bNeeded = Needed(*si);
        if (bNeeded || !(lpsi->fMask & SIF_DISABLENOSCROLL))
            ShowVertical(hWnd, bNeeded);
    }
    if (bRedraw && IsWindow(hWnd))
        InvalidateRect(hWnd, nullptr, FALSE);
    return nPos;
}

BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    VekWindow* w = VekGetWindow(hWnd);
    SCROLLINFO* si = BarOf(w, nBar);
    if (!si || !lpsi || !(lpsi->fMask & SIF_ALL))
        return FALSE;
    DWORD dwStyleBit = nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!si->fMask && !(w->dwStyle & dwStyleBit))
        return FALSE; // a window without that bar
    if (lpsi->fMask & SIF_RANGE)
    {
        lpsi->nMin = si->nMin;
        lpsi->nMax = si->nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
        lpsi->nPage = si->nPage;
    if (lpsi->fMask & SIF_POS)
        lpsi->nPos = si->nPos;
    if (lpsi->fMask & SIF_TRACKPOS)
        lpsi->nTrackPos = si->nTrackPos;
    return TRUE;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    SCROLLINFO* si = BarOf(VekGetWindow(hWnd), nBar);
    return si ? si->nPos : 0;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO* si = BarOf(VekGetWindow(hWnd), nBar);
    if (!si)
        return 0;
    int nOld = si->nPos;
    SCROLLINFO in = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(hWnd, nBar, &in, bRedraw);
    return nOld;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    SCROLLINFO* si = BarOf(VekGetWindow(hWnd), nBar);
    if (!si || !lpMinPos || !lpMaxPos)
        return FALSE;
    *lpMinPos = si->nMin;
    *lpMaxPos = si->nMax;
    return TRUE;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (!BarOf(VekGetWindow(hWnd), nBar))
        return FALSE;
    SCROLLINFO in = {sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(hWnd, nBar, &in, bRedraw);
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    if (!VekGetWindow(hWnd))
        return FALSE;
    if (wBar == SB_VERT || wBar == SB_BOTH)
        ShowVertical(hWnd, bShow != FALSE);
    return TRUE;
}

BOOL GetScrollBarInfo(HWND hWnd, LONG idObject, PSCROLLBARINFO psbi)
{
    VekWindow* w = VekGetWindow(hWnd);
    if (!w || !psbi || idObject != OBJID_VSCROLL)
        return FALSE;
    *psbi = SCROLLBARINFO{};
    psbi->cbSize = sizeof(SCROLLBARINFO);
    // The bar stands right of the client area, as tall as it.
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    POINT ptOrigin = {0, 0};
    ClientToScreen(hWnd, &ptOrigin);
    psbi->rcScrollBar =
        RECT{ptOrigin.x + rcClient.right, ptOrigin.y, ptOrigin.x + rcClient.right + VEK_CX_VSCROLL,
             ptOrigin.y + rcClient.bottom};
    if (!(w->dwStyle & WS_VSCROLL))
    {
        psbi->rcScrollBar.right = psbi->rcScrollBar.left;
        psbi->rgstate[0] = STATE_SYSTEM_INVISIBLE;
        return TRUE;
    }
    int nHeight = rcClient.bottom;
    int nArrow = std::min(VEK_CX_VSCROLL, nHeight / 2);
    psbi->dxyLineButton = nArrow;
    const SCROLLINFO& si = w->siVert;
    int nTrack = nHeight - 2 * nArrow;
    long long nRange = static_cast<long long>(si.nMax) - si.nMin + 1;
    int nThumb = si.nPage ? static_cast<int>(nTrack * static_cast<long long>(si.nPage) / nRange)
                          : VEK_CX_VSCROLL;
    nThumb = std::max(nThumb, kMinThumb);
    if (!Needed(si) || nThumb >= nTrack)
    {
        // Nothing to scroll, or no room for a thumb: the bar shows its arrows only.
        psbi->rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
        psbi->xyThumbTop = psbi->xyThumbBottom = nArrow;
        return TRUE;
    }
    int nSpan = MaxPos(si) - si.nMin;
    int nOffset = nSpan > 0 ? static_cast<int>(static_cast<long long>(nTrack - nThumb) *
                                               (si.nTrackPos - si.nMin) / nSpan)
                            : 0;
    psbi->xyThumbTop = nArrow + nOffset;
    psbi->xyThumbBottom = psbi->xyThumbTop + nThumb;
    return TRUE;
}

BOOL SystemParametersInfoW(UINT uiAction, UINT, PVOID pvParam, UINT)
{
    if (uiAction != SPI_GETWHEELSCROLLLINES || !pvParam)
        return FALSE;
    *static_cast<UINT*>(pvParam) = 3;
    return TRUE;
}

void VekSetScrollTrackPos(HWND hWnd, int nBar, int nTrackPos)
{
    SCROLLINFO* si = BarOf(VekGetWindow(hWnd), nBar);
    if (si)
        si->nTrackPos = Clamp(*si, nTrackPos);
}
