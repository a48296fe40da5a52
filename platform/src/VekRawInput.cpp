// Raw input: pointer moves, button presses and releases, wheel turns, key presses and releases
// and text, each turned into the messages Windows sends for it; the key state they leave
// behind; double-click recognition.
//
// Double clicks follow the Windows rule: a press becomes a double click when the previous
// press was of the same button, on the same window, less than GetDoubleClickTime() earlier and
// less than half of SM_CXDOUBLECLK (SM_CYDOUBLECLK) away in each direction, and the window's
// class has CS_DBLCLKS or the press is over its frame. A double click clears the record, so a
// third press is a plain press again.
//
// Not implemented: the middle and X buttons, WM_SETCURSOR, WM_MOUSEACTIVATE on presses,
// WM_MOUSEHOVER / WM_MOUSELEAVE, WM_CONTEXTMENU after a right-button release, horizontal wheels,
// key repeat counts above one, scan codes and the extended-key bit, toggle keys (Caps Lock).
#include "VekWindowInternal.h"

#include <cstdlib>

namespace
{
const UINT DEFAULT_DOUBLE_CLICK_TIME = 500;
const int DOUBLE_CLICK_SIZE = 4; // SM_CXDOUBLECLK and SM_CYDOUBLECLK

unsigned char g_keyState[256] = {}; // 0x80: held
DWORD g_nLastEventTime = 0;
UINT g_nDoubleClickTime = DEFAULT_DOUBLE_CLICK_TIME;

// The press a following press may complete into a double click.
struct VekClickRecord
{
    UINT message = 0; // 0: none
    HWND hwnd = nullptr;
    DWORD nTime = 0;
    POINT pt = {0, 0};
};
VekClickRecord g_lastPress;

bool IsHeld(UINT vk)
{
    return (g_keyState[vk & 0xFF] & 0x80) != 0;
}

void SetHeld(UINT vk, bool bHeld)
{
    if (bHeld)
        g_keyState[vk & 0xFF] |= 0x80;
    else
        g_keyState[vk & 0xFF] &= static_cast<unsigned char>(~0x80);
}

void BeginEvent(UINT nModifiers, DWORD nTime)
{
    VekHoldModifiers(nModifiers);
    g_nLastEventTime = nTime;
    VekSetInputTime(nTime);
}

WPARAM MouseKeys()
{
    WPARAM w = 0;
    if (IsHeld(VK_LBUTTON))
        w |= MK_LBUTTON;
    if (IsHeld(VK_RBUTTON))
        w |= MK_RBUTTON;
    if (IsHeld(VK_SHIFT))
        w |= MK_SHIFT;
    if (IsHeld(VK_CONTROL))
        w |= MK_CONTROL;
    return w;
}

LPARAM PointParam(POINT pt)
{
    return MAKELPARAM(static_cast<short>(pt.x), static_cast<short>(pt.y));
}

// The message a press (WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_NCLBUTTONDOWN, ...) arrives as, and
// the double-click record updated.
UINT RecognizeDoubleClick(HWND hWnd, UINT message, bool bFrame, POINT pt)
{
    const VekWindow* w = VekGetWindow(hWnd);
    const bool bMayDouble = bFrame || (w && (w->nClassStyle & CS_DBLCLKS));
    const int nHalfX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int nHalfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (bMayDouble && g_lastPress.message == message && g_lastPress.hwnd == hWnd &&
        g_nLastEventTime - g_lastPress.nTime < GetDoubleClickTime() &&
        std::abs(pt.x - g_lastPress.pt.x) < nHalfX && std::abs(pt.y - g_lastPress.pt.y) < nHalfY)
    {
        g_lastPress = VekClickRecord();
        return message + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
    }
    g_lastPress = VekClickRecord{message, hWnd, g_nLastEventTime, pt};
    return message;
}

// The window a key event goes to, or null when none may take it.
HWND KeyTarget()
{
    HWND h = VekKeyboardTarget();
    return h && VekCanReceiveInput(h) ? h : nullptr;
}

POINT CursorPos()
{
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    return pt;
}

BOOL Key(UINT vk, bool bDown, UINT nModifiers, DWORD nTime)
{
    HWND hTarget = KeyTarget();
    if (!hTarget || vk == 0 || vk > 0xFE)
        return FALSE;
    const bool bWasHeld = IsHeld(vk);
    BeginEvent(nModifiers, nTime);
    SetHeld(vk, bDown);
    const bool bAlt = (IsHeld(VK_MENU) || vk == VK_MENU) && !IsHeld(VK_CONTROL);
    const bool bSystem = bAlt || vk == VK_F10;
    LPARAM lParam = 1;
    if (bAlt)
        lParam |= LPARAM(1) << 29; // context code
    if (!bDown || bWasHeld)
        lParam |= LPARAM(1) << 30; // previous key state
    if (!bDown)
        lParam |= LPARAM(1) << 31; // transition state
    UINT message =
        bDown ? (bSystem ? WM_SYSKEYDOWN : WM_KEYDOWN) : (bSystem ? WM_SYSKEYUP : WM_KEYUP);
    VekDeliverInput(hTarget, message, vk, static_cast<LPARAM>(static_cast<DWORD>(lParam)),
                    CursorPos());
    return TRUE;
}
} // namespace

UINT VekHeldModifiers()
{
    UINT n = 0;
    if (IsHeld(VK_SHIFT))
        n |= VEK_MOD_SHIFT;
    if (IsHeld(VK_CONTROL))
        n |= VEK_MOD_CONTROL;
    if (IsHeld(VK_MENU))
        n |= VEK_MOD_ALT;
    return n;
}

void VekHoldModifiers(UINT nModifiers)
{
    SetHeld(VK_SHIFT, (nModifiers & VEK_MOD_SHIFT) != 0);
    SetHeld(VK_CONTROL, (nModifiers & VEK_MOD_CONTROL) != 0);
    SetHeld(VK_MENU, (nModifiers & VEK_MOD_ALT) != 0);
}

BOOL VekRawButton(HWND hAim, UINT vkButton, bool bDown, POINT ptScreen, UINT nModifiers,
                  DWORD nTime)
{
    if (vkButton != VK_LBUTTON && vkButton != VK_RBUTTON)
        return FALSE;
    if (VekIsTrackingScrollBar())
    {
        BeginEvent(nModifiers, nTime);
        SetHeld(vkButton, bDown);
        if (!bDown && vkButton == VK_LBUTTON)
            VekEndScrollBarTracking(ptScreen);
        return TRUE;
    }
    HWND hUnder = hAim ? hAim : WindowFromPoint(ptScreen);
    HWND hCapture = GetCapture();
    if (hAim && !VekCanReceiveInput(hAim))
        return FALSE;
    if (!hCapture && (!hUnder || !VekCanReceiveInput(hUnder)))
        return FALSE;
    BeginEvent(nModifiers, nTime);
    SetHeld(vkButton, bDown);
    const UINT nOffset =
        (vkButton == VK_LBUTTON ? 0 : WM_RBUTTONDOWN - WM_LBUTTONDOWN) + (bDown ? 0 : 1);
    if (!hCapture)
    {
        LRESULT hit = SendMessageW(hUnder, WM_NCHITTEST, 0, PointParam(ptScreen));
        if (hit != HTCLIENT && hit != HTTRANSPARENT && IsWindow(hUnder))
        {
            UINT message = WM_NCLBUTTONDOWN + nOffset;
            if (bDown)
                message = RecognizeDoubleClick(hUnder, message, true, ptScreen);
            VekDeliverInput(hUnder, message, static_cast<WPARAM>(hit), PointParam(ptScreen),
                            ptScreen);
            return TRUE;
        }
    }
    HWND hTarget = GetCapture() ? GetCapture() : hUnder;
    if (!IsWindow(hTarget))
        return FALSE;
    UINT message = WM_LBUTTONDOWN + nOffset;
    if (bDown)
        message = RecognizeDoubleClick(hTarget, message, false, ptScreen);
    POINT pt = ptScreen;
    ScreenToClient(hTarget, &pt);
    VekDeliverInput(hTarget, message, MouseKeys(), PointParam(pt), ptScreen);
    return TRUE;
}

DWORD VekGestureTime()
{
    return g_nLastEventTime + GetDoubleClickTime();
}

short GetKeyState(int nVirtKey)
{
    return IsHeld(static_cast<UINT>(nVirtKey)) ? static_cast<short>(0x8000) : 0;
}

short GetAsyncKeyState(int vKey)
{
    return GetKeyState(vKey);
}

UINT GetDoubleClickTime()
{
    return g_nDoubleClickTime;
}

BOOL SetDoubleClickTime(UINT uInterval)
{
    g_nDoubleClickTime = uInterval ? uInterval : DEFAULT_DOUBLE_CLICK_TIME;
    return TRUE;
}

int GetSystemMetrics(int nIndex)
{
    switch (nIndex)
    {
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return DOUBLE_CLICK_SIZE;
    default:
        return 0;
    }
}

namespace VekRawInput
{
BOOL MouseMove(POINT ptScreen, UINT nModifiers, DWORD nTime)
{
    if (VekIsTrackingScrollBar())
    {
        BeginEvent(nModifiers, nTime);
        VekTrackScrollBar(ptScreen);
        return TRUE;
    }
    HWND hTarget = GetCapture();
    if (!hTarget)
    {
        hTarget = WindowFromPoint(ptScreen);
        if (!hTarget || !VekCanReceiveInput(hTarget))
            return FALSE;
    }
    BeginEvent(nModifiers, nTime);
    if (!GetCapture())
    {
        LRESULT hit = SendMessageW(hTarget, WM_NCHITTEST, 0, PointParam(ptScreen));
        if (hit != HTCLIENT && hit != HTTRANSPARENT)
        {
            if (IsWindow(hTarget))
                VekDeliverInput(hTarget, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit),
                                PointParam(ptScreen), ptScreen);
            return TRUE;
        }
    }
    if (!IsWindow(hTarget))
        return FALSE;
    POINT pt = ptScreen;
    ScreenToClient(hTarget, &pt);
    VekDeliverInput(hTarget, WM_MOUSEMOVE, MouseKeys(), PointParam(pt), ptScreen);
    return TRUE;
}

BOOL ButtonDown(UINT nVirtButton, POINT ptScreen, UINT nModifiers, DWORD nTime)
{
    return VekRawButton(nullptr, nVirtButton, true, ptScreen, nModifiers, nTime);
}

BOOL ButtonUp(UINT nVirtButton, POINT ptScreen, UINT nModifiers, DWORD nTime)
{
    return VekRawButton(nullptr, nVirtButton, false, ptScreen, nModifiers, nTime);
}

BOOL Wheel(int nDelta, POINT ptScreen, UINT nModifiers, DWORD nTime)
{
    HWND hTarget = KeyTarget();
    if (!hTarget)
        return FALSE;
    BeginEvent(nModifiers, nTime);
    WPARAM wParam =
        MAKEWPARAM(static_cast<WORD>(MouseKeys()), static_cast<WORD>(static_cast<short>(nDelta)));
    VekDeliverInput(hTarget, WM_MOUSEWHEEL, wParam, PointParam(ptScreen), ptScreen);
    return TRUE;
}

BOOL KeyDown(UINT nVirtKey, UINT nModifiers, DWORD nTime)
{
    return Key(nVirtKey, true, nModifiers, nTime);
}

BOOL KeyUp(UINT nVirtKey, UINT nModifiers, DWORD nTime)
{
    return Key(nVirtKey, false, nModifiers, nTime);
}

BOOL Text(LPCWSTR pszText, DWORD nTime)
{
    if (!pszText)
        return FALSE;
    for (LPCWSTR p = pszText; *p; ++p)
    {
        HWND hTarget = KeyTarget();
        if (!hTarget)
            return FALSE;
        auto ch = static_cast<unsigned long>(*p);
        auto next = static_cast<unsigned long>(p[1]);
        if (ch >= 0xD800 && ch <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF)
        {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (next - 0xDC00);
            ++p;
        }
        g_nLastEventTime = nTime;
        VekSetInputTime(nTime);
        VekDeliverInput(hTarget, WM_CHAR, static_cast<WPARAM>(ch), 1, CursorPos());
    }
    return TRUE;
}

DWORD LastEventTime()
{
    return g_nLastEventTime;
}
} // namespace VekRawInput
