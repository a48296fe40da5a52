// Input gestures (a click on a window, a double click, a key stroke, typed text, a paste), each
// composed of raw events at one time, and the clipboard.
#include "VekWindowInternal.h"

namespace
{
std::wstring g_strClipboard;

// Holds the given modifiers for one gesture and restores the previous ones afterwards.
struct ModifierScope
{
    explicit ModifierScope(UINT n) : nSaved(VekHeldModifiers()) { VekHoldModifiers(n); }
    ~ModifierScope() { VekHoldModifiers(nSaved); }
    ModifierScope(const ModifierScope&) = delete;
    ModifierScope& operator=(const ModifierScope&) = delete;
    UINT nSaved;
};

BOOL ClickScreen(HWND hWnd, POINT ptScreen, UINT nModifiers, bool bDouble)
{
    if (!hWnd)
        return FALSE;
    ModifierScope mods(nModifiers);
    const DWORD nTime = VekGestureTime();
    if (!VekRawButton(hWnd, VK_LBUTTON, true, ptScreen, nModifiers, nTime))
        return FALSE;
    VekRawButton(hWnd, VK_LBUTTON, false, ptScreen, nModifiers, nTime);
    if (bDouble && VekRawButton(hWnd, VK_LBUTTON, true, ptScreen, nModifiers, nTime))
        VekRawButton(hWnd, VK_LBUTTON, false, ptScreen, nModifiers, nTime);
    return TRUE;
}

POINT CentreOnScreen(HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(hWnd, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hWnd, &pt);
    return pt;
}

// The key that types ch on a US keyboard and the modifiers it needs; 0 for a character typed
// without a key of its own (composed), which arrives as the character only.
UINT VirtualKeyOf(WCHAR ch, UINT& nModifiers)
{
    if (ch >= L'a' && ch <= L'z')
        return static_cast<UINT>(ch - L'a' + 'A');
    if (ch >= L'A' && ch <= L'Z')
    {
        nModifiers |= VEK_MOD_SHIFT;
        return static_cast<UINT>(ch);
    }
    if (ch >= L'0' && ch <= L'9')
        return static_cast<UINT>(ch);
    switch (ch)
    {
    case L' ':
        return VK_SPACE;
    case L'.':
        return VK_OEM_PERIOD;
    case L',':
        return VK_OEM_COMMA;
    case L'-':
        return VK_OEM_MINUS;
    case L'+':
        nModifiers |= VEK_MOD_SHIFT;
        return VK_OEM_PLUS;
    case L'\r':
    case L'\n':
        return VK_RETURN;
    case L'\t':
        return VK_TAB;
    case L'\b':
        return VK_BACK;
    default:
        return 0;
    }
}

// A key stroke: press (typing chTyped when it is not 0), release.
BOOL Stroke(UINT vk, WCHAR chTyped, UINT nModifiers)
{
    ModifierScope mods(nModifiers);
    const DWORD nTime = VekGestureTime();
    if (!vk)
    {
        const WCHAR text[2] = {chTyped, 0};
        return VekRawInput::Text(text, nTime);
    }
    VekSetPendingChar(chTyped);
    BOOL bDone = VekRawInput::KeyDown(vk, nModifiers, nTime);
    VekSetPendingChar(0);
    if (bDone)
        VekRawInput::KeyUp(vk, nModifiers, nTime);
    return bDone;
}
} // namespace

CString VekGetClipboardText()
{
    return CString(g_strClipboard.c_str());
}
void VekSetClipboardText(LPCWSTR pszText)
{
    g_strClipboard = pszText ? pszText : L"";
}

namespace VekInput
{
BOOL Click(HWND hWnd, UINT nModifiers)
{
    return ClickScreen(hWnd, CentreOnScreen(hWnd), nModifiers, false);
}

BOOL Click(HWND hWnd, POINT ptClient, UINT nModifiers)
{
    POINT pt = ptClient;
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    return ClickScreen(hWnd, pt, nModifiers, false);
}

BOOL ClickAt(POINT ptScreen, UINT nModifiers)
{
    return ClickScreen(WindowFromPoint(ptScreen), ptScreen, nModifiers, false);
}

BOOL DoubleClick(HWND hWnd)
{
    return ClickScreen(hWnd, CentreOnScreen(hWnd), 0, true);
}

BOOL DoubleClick(HWND hWnd, POINT ptClient)
{
    POINT pt = ptClient;
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    return ClickScreen(hWnd, pt, 0, true);
}

BOOL DoubleClickAt(POINT ptScreen)
{
    return ClickScreen(WindowFromPoint(ptScreen), ptScreen, 0, true);
}

BOOL NcClick(HWND hWnd, UINT nHitTest)
{
    if (!VekCanReceiveInput(hWnd))
        return FALSE;
    VekSetInputTime(VekGestureTime());
    RECT rc;
    GetWindowRect(hWnd, &rc);
    POINT pt = {rc.right - 1 - VEK_CX_DLGFRAME, rc.top + VEK_CX_DLGFRAME};
    VekDeliverInput(hWnd, WM_NCLBUTTONDOWN, nHitTest, MAKELPARAM(pt.x, pt.y), pt);
    if (IsWindow(hWnd))
        VekDeliverInput(hWnd, WM_NCLBUTTONUP, nHitTest, MAKELPARAM(pt.x, pt.y), pt);
    return TRUE;
}

BOOL KeyDown(UINT nVirtKey, UINT nModifiers)
{
    return Stroke(nVirtKey, 0, nModifiers);
}

BOOL Type(LPCWSTR pszText)
{
    if (!pszText)
        return FALSE;
    for (LPCWSTR p = pszText; *p; ++p)
    {
        UINT nModifiers = 0;
        UINT vk = VirtualKeyOf(*p, nModifiers);
        WCHAR ch = *p == L'\n' ? L'\r' : *p;
        if (!Stroke(vk, ch, nModifiers))
            return FALSE;
    }
    return TRUE;
}

BOOL Paste(LPCWSTR pszText)
{
    HWND hTarget = VekKeyboardTarget();
    if (!hTarget || !VekCanReceiveInput(hTarget))
        return FALSE;
    VekSetClipboardText(pszText);
    VekSetInputTime(VekGestureTime());
    VekDeliverInput(hTarget, WM_PASTE, 0, 0,
                    POINT{GET_X_LPARAM(GetMessagePos()), GET_Y_LPARAM(GetMessagePos())});
    return TRUE;
}
} // namespace VekInput
