// Button control: push buttons, check boxes (plain, automatic, three-state), radio buttons and
// group boxes.
//
// Not implemented: BS_OWNERDRAW drawing (WM_DRAWITEM), images (BM_SETIMAGE), BN_HILITE /
// BN_UNHILITE / BN_PAINT, split buttons and command links, keyboard focus moving a checked
// automatic radio button.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

namespace
{
// The state of one button window, created on WM_NCCREATE and freed on WM_NCDESTROY.
struct Button
{
    HWND hwnd = nullptr;
    UINT nState = 0;       // BST_ check bits | BST_PUSHED | BST_FOCUS
    bool bPressed = false; // button down inside, waiting for the release
};

Button* ButtonOf(HWND h)
{
    return static_cast<Button*>(VekGetCtlState(h));
}

DWORD Style(const Button* bn)
{
    return static_cast<DWORD>(GetWindowLongW(bn->hwnd, GWL_STYLE));
}

UINT TypeOf(HWND h)
{
    return static_cast<UINT>(GetWindowLongW(h, GWL_STYLE)) & BS_TYPEMASK;
}

UINT Type(const Button* bn)
{
    return TypeOf(bn->hwnd);
}

bool WantsFocusNotifications(const Button* bn)
{
    return (Style(bn) & BS_NOTIFY) != 0;
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

// Tells the parent. False when the button did not survive the handler: its state is freed
// then, and the caller must return at once.
bool Notify(const Button* bn, UINT nCode)
{
    HWND h = bn->hwnd;
    VekNotifyParentCommand(h, nCode);
    return IsWindow(h) != FALSE;
}

// Clears the other automatic radio buttons of the button's group.
void UncheckRadioGroup(const Button* bn)
{
    HWND hWnd = bn->hwnd;
    HWND hParent = GetParent(hWnd);
    if (!hParent || !(Style(bn) & WS_CHILD))
        return;
    for (HWND h = GetNextDlgGroupItem(hParent, hWnd, FALSE); h && h != hWnd;
         h = GetNextDlgGroupItem(hParent, h, FALSE))
    {
        if (VekIsClass(h, L"Button") && TypeOf(h) == BS_AUTORADIOBUTTON)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Press(Button* bn)
{
    bn->bPressed = true;
    bn->nState |= BST_PUSHED;
    SetCapture(bn->hwnd);
}

// Lets the button up; with bClick it was clicked: an automatic button changes state before
// its parent hears of the click.
void Release(Button* bn, bool bClick)
{
    bn->bPressed = false;
    bn->nState &= ~static_cast<UINT>(BST_PUSHED);
    if (GetCapture() == bn->hwnd)
        ReleaseCapture();
    if (!bClick)
        return;
    UINT nCheck = bn->nState & 3;
    switch (Type(bn))
    {
    case BS_AUTOCHECKBOX:
        SendMessageW(bn->hwnd, BM_SETCHECK, nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessageW(bn->hwnd, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageW(bn->hwnd, BM_SETCHECK, (nCheck + 1) % 3, 0);
        break;
    default:
        break;
    }
    Notify(bn, BN_CLICKED);
}

// Message handlers, one per message or family.

LRESULT OnGetDlgCode(const Button* bn)
{
    switch (Type(bn))
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
}

LRESULT OnLButtonDown(Button* bn)
{
    if (Type(bn) == BS_GROUPBOX)
        return 0;
    HWND h = bn->hwnd;
    SetFocus(h); // the focus change notifies, and a handler may destroy the button
    if (!IsWindow(h))
        return 0;
    Press(bn);
    return 0;
}

// Buttons that ask for it hear of double clicks; the others take them as a second press.
LRESULT OnLButtonDblClk(Button* bn)
{
    UINT nType = Type(bn);
    if ((Style(bn) & BS_NOTIFY) || nType == BS_RADIOBUTTON || nType == BS_USERBUTTON ||
        nType == BS_OWNERDRAW)
    {
        Notify(bn, BN_DOUBLECLICKED);
        return 0;
    }
    return OnLButtonDown(bn);
}

LRESULT OnLButtonUp(Button* bn, LPARAM lParam)
{
    if (!bn->bPressed)
        return 0;
    RECT rc;
    GetClientRect(bn->hwnd, &rc);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    Release(bn, PtInRect(&rc, pt) != 0);
    return 0;
}

// Space presses the button and its release clicks it.
LRESULT OnKeyDown(Button* bn, WPARAM vk)
{
    if (vk == VK_SPACE && Type(bn) != BS_GROUPBOX)
        Press(bn);
    return 0;
}

LRESULT OnKeyUp(Button* bn, WPARAM vk)
{
    if (vk == VK_SPACE && bn->bPressed)
        Release(bn, true);
    return 0;
}

LRESULT OnCaptureChanged(Button* bn)
{
    if (bn->bPressed && GetCapture() != bn->hwnd)
    {
        bn->bPressed = false;
        bn->nState &= ~static_cast<UINT>(BST_PUSHED);
    }
    return 0;
}

LRESULT OnSetFocus(Button* bn)
{
    bn->nState |= BST_FOCUS;
    if (WantsFocusNotifications(bn))
        Notify(bn, BN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(Button* bn)
{
    bn->nState &= ~static_cast<UINT>(BST_FOCUS);
    bool bNotify = WantsFocusNotifications(bn);
    if (bn->bPressed)
        Release(bn, false);
    if (bNotify)
        Notify(bn, BN_KILLFOCUS);
    return 0;
}

LRESULT OnSetCheck(Button* bn, WPARAM wParam)
{
    UINT nType = Type(bn);
    UINT nMax = MaxCheck(nType);
    if (nMax == 0)
        return 0;
    UINT nCheck = static_cast<UINT>(wParam) > nMax ? nMax : static_cast<UINT>(wParam);
    bn->nState = (bn->nState & ~3u) | nCheck;
    if (nType == BS_AUTORADIOBUTTON && nCheck == BST_CHECKED)
        UncheckRadioGroup(bn);
    return 0;
}

LRESULT OnSetState(Button* bn, BOOL bPushed)
{
    if (bPushed)
        bn->nState |= BST_PUSHED;
    else
        bn->nState &= ~static_cast<UINT>(BST_PUSHED);
    return 0;
}

LRESULT OnSetStyle(Button* bn, WPARAM wParam, BOOL bRedraw)
{
    DWORD dwStyle = Style(bn);
    SetWindowLongW(bn->hwnd, GWL_STYLE,
                   static_cast<LONG>((dwStyle & ~static_cast<DWORD>(BS_TYPEMASK)) |
                                     (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
    if (bRedraw)
        InvalidateRect(bn->hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnClick(Button* bn)
{
    HWND h = bn->hwnd;
    // A disabled button cannot be clicked, not even by program.
    if (!IsWindowEnabled(h))
        return 0;
    SendMessageW(h, WM_LBUTTONDOWN, 0, 0);
    SendMessageW(h, WM_LBUTTONUP, 0, 0); // nothing happens when the press destroyed it
    return 0;
}

LRESULT ButtonProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Button* bn = ButtonOf(hWnd);
    if (!bn && msg != WM_NCCREATE)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE: {
        auto* pNew = new Button;
        pNew->hwnd = hWnd;
        VekSetCtlState(hWnd, pNew);
        return TRUE;
    }
    case WM_NCDESTROY:
        delete bn;
        VekSetCtlState(hWnd, nullptr);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(bn);
    case WM_NCHITTEST:
        // A group box lets clicks through to the controls inside it.
        if (Type(bn) == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(bn);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(bn);
    case WM_LBUTTONUP:
        return OnLButtonUp(bn, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(bn, wParam);
    case WM_KEYUP:
        return OnKeyUp(bn, wParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(bn);
    case WM_SETFOCUS:
        return OnSetFocus(bn);
    case WM_KILLFOCUS:
        return OnKillFocus(bn);
    case BM_GETCHECK:
        return bn->nState & 3;
    case BM_SETCHECK:
        return OnSetCheck(bn, wParam);
    case BM_GETSTATE:
        return bn->nState;
    case BM_SETSTATE:
        return OnSetState(bn, static_cast<BOOL>(wParam));
    case BM_SETSTYLE:
        return OnSetStyle(bn, wParam, static_cast<BOOL>(lParam));
    case BM_CLICK:
        return OnClick(bn);
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}
const char* KindName(UINT nType)
{
    switch (nType)
    {
    case BS_PUSHBUTTON:
        return "push";
    case BS_DEFPUSHBUTTON:
        return "defPush";
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return "checkBox";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return "radio";
    case BS_3STATE:
    case BS_AUTO3STATE:
        return "threeState";
    case BS_GROUPBOX:
        return "groupBox";
    default:
        return "other";
    }
}

void Snapshot(HWND hWnd, nlohmann::json& control)
{
    const Button* bn = ButtonOf(hWnd);
    if (!bn)
        return;
    const UINT nType = Type(bn);
    control["kind"] = KindName(nType);
    control["auto"] =
        nType == BS_AUTOCHECKBOX || nType == BS_AUTORADIOBUTTON || nType == BS_AUTO3STATE;
    control["check"] = bn->nState & 3;
    control["pushed"] = (bn->nState & BST_PUSHED) != 0;
}
} // namespace

void VekRegisterButtonClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ButtonProc;
    wc.lpszClassName = L"Button";
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(L"Button", &Snapshot);
}
