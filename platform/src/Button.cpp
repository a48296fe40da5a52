// Button control: push buttons, check boxes (plain, automatic, three-state), radio buttons and
// group boxes.
//
// Not implemented: BS_OWNERDRAW drawing (WM_DRAWITEM), images (BM_SETIMAGE), BN_HILITE /
// BN_UNHILITE / BN_PAINT, split buttons and command links, keyboard focus moving a checked
// automatic radio button.
#include "VekWindowInternal.h"

namespace
{
struct ButtonState
{
    UINT nState = 0;       // BST_ check bits | BST_PUSHED | BST_FOCUS
    bool bPressed = false; // button down inside, waiting for the release
};

UINT Type(HWND h)
{
    return static_cast<UINT>(GetWindowLongW(h, GWL_STYLE)) & BS_TYPEMASK;
}

UINT MaxCheck(UINT nType)
{
    switch (nType)
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return BST_CHECKED;
    case BS_3STATE:
    case BS_AUTO3STATE:
        return BST_INDETERMINATE;
    default:
        return 0;
    }
}

// Clears the other automatic radio buttons of hWnd's group.
void UncheckRadioGroup(HWND hWnd)
{
    HWND hParent = GetParent(hWnd);
    if (!hParent || !(GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        return;
    for (HWND h = GetNextDlgGroupItem(hParent, hWnd, FALSE); h && h != hWnd;
         h = GetNextDlgGroupItem(hParent, h, FALSE))
    {
        if (VekIsClass(h, L"Button") && Type(h) == BS_AUTORADIOBUTTON)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Release(HWND hWnd, ButtonState* s, bool bClick)
{
    s->bPressed = false;
    s->nState &= ~static_cast<UINT>(BST_PUSHED);
    if (GetCapture() == hWnd)
        ReleaseCapture();
    if (!bClick)
        return;
    // An automatic button changes state before its parent hears of the click.
    UINT nCheck = s->nState & 3;
    switch (Type(hWnd))
    {
    case BS_AUTOCHECKBOX:
        SendMessageW(hWnd, BM_SETCHECK, nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessageW(hWnd, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageW(hWnd, BM_SETCHECK, (nCheck + 1) % 3, 0);
        break;
    default:
        break;
    }
    VekNotifyParentCommand(hWnd, BN_CLICKED);
}

LRESULT ButtonProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = static_cast<ButtonState*>(VekGetCtlState(hWnd));
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
    UINT nType = dwStyle & BS_TYPEMASK;
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE:
        VekSetCtlState(hWnd, new ButtonState);
        return TRUE;
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(hWnd, nullptr);
        return 0;
    case WM_GETDLGCODE:
        switch (nType)
        {
        case BS_PUSHBUTTON:
        case BS_USERBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
        }
    case WM_NCHITTEST:
        if (nType == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if ((dwStyle & BS_NOTIFY) || nType == BS_RADIOBUTTON || nType == BS_USERBUTTON ||
            nType == BS_OWNERDRAW)
        {
            VekNotifyParentCommand(hWnd, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (nType == BS_GROUPBOX)
            return 0;
        SetFocus(hWnd); // the focus change notifies, and a handler may destroy the button
        if (!IsWindow(hWnd))
            return 0;
        SetCapture(hWnd);
        s->bPressed = true;
        s->nState |= BST_PUSHED;
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && nType != BS_GROUPBOX)
        {
            s->bPressed = true;
            s->nState |= BST_PUSHED;
            SetCapture(hWnd);
        }
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE || !s->bPressed)
            return 0;
        Release(hWnd, s, true);
        return 0;
    case WM_LBUTTONUP: {
        if (!s->bPressed)
            return 0;
        RECT rc;
        GetClientRect(hWnd, &rc);
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        Release(hWnd, s, PtInRect(&rc, pt) != 0);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->bPressed && GetCapture() != hWnd)
        {
            s->bPressed = false;
            s->nState &= ~static_cast<UINT>(BST_PUSHED);
        }
        return 0;
    case WM_SETFOCUS:
        s->nState |= BST_FOCUS;
        if (dwStyle & BS_NOTIFY)
            VekNotifyParentCommand(hWnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->nState &= ~static_cast<UINT>(BST_FOCUS);
        if (s->bPressed)
            Release(hWnd, s, false);
        if (dwStyle & BS_NOTIFY)
            VekNotifyParentCommand(hWnd, BN_KILLFOCUS);
        return 0;
    case BM_GETCHECK:
        return s->nState & 3;
    case BM_SETCHECK: {
        UINT nMax = MaxCheck(nType);
        if (nMax == 0)
            return 0;
        UINT nCheck = static_cast<UINT>(wParam) > nMax ? nMax : static_cast<UINT>(wParam);
        s->nState = (s->nState & ~3u) | nCheck;
        if (nType == BS_AUTORADIOBUTTON && nCheck == BST_CHECKED)
            UncheckRadioGroup(hWnd);
        return 0;
    }
    case BM_GETSTATE:
        return s->nState;
    case BM_SETSTATE:
        if (wParam)
            s->nState |= BST_PUSHED;
        else
            s->nState &= ~static_cast<UINT>(BST_PUSHED);
        return 0;
    case BM_SETSTYLE:
        SetWindowLongW(hWnd, GWL_STYLE,
                       static_cast<LONG>((dwStyle & ~static_cast<DWORD>(BS_TYPEMASK)) |
                                         (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
        if (lParam)
            InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case BM_CLICK:
        // A disabled button cannot be clicked, not even by program.
        if (!IsWindowEnabled(hWnd))
            return 0;
        SendMessageW(hWnd, WM_LBUTTONDOWN, 0, 0);
        SendMessageW(hWnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case WM_CTLCOLORBTN:
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterButtonClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ButtonProc;
    wc.lpszClassName = L"Button";
    RegisterClassW(&wc);
}
