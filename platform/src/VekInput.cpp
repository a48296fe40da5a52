// The input path: injected mouse and keyboard events, the posted-message queue, the message
// position and key state, PreTranslateMessage walking, TranslateMessage / DispatchMessage,
// the modal handler and the clipboard.
#include "VekWindowInternal.h"

#include <algorithm>
#include <cstdio>
#include <deque>

namespace
{
std::deque<MSG> g_posted;
POINT g_ptMessagePos = {0, 0};
DWORD g_nMessageTime = 0;
UINT g_nModifiers = 0;
bool g_bLButtonDown = false;
WCHAR g_chPending = 0; // the character the key being pressed types (Type)
std::vector<CDialog*> g_modalStack;
VekModalHandler g_modalHandler;
std::wstring g_strClipboard;

bool IsMouseMessage(UINT m)
{
    return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
}

// True when input may reach hWnd: it and its ancestors are visible and enabled, and it lies in
// the innermost running modal dialog (or a popup of one of its controls).
bool CanReceive(HWND hWnd)
{
    if (!IsWindow(hWnd) || !IsWindowVisible(hWnd))
        return false;
    for (HWND h = hWnd; h; h = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        if (!IsWindowEnabled(h))
            return false;
    if (g_modalStack.empty())
        return true;
    HWND hModal = g_modalStack.back()->m_hWnd;
    for (HWND h = hWnd; h; h = GetParent(h))
        if (h == hModal)
            return true;
    return false;
}

// PreTranslateMessage from the target up to its dialog (or top-level window).
bool WalkPreTranslate(MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h && IsWindow(h);)
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return true;
        if (!IsWindow(h))
            return true;
        DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
        if (!(dwStyle & WS_CHILD) && VekIsClass(h, L"#32770"))
            break;
        h = GetParent(h);
    }
    return false;
}

void Process(MSG msg)
{
    msg.time = ++g_nMessageTime;
    if (IsMouseMessage(msg.message) || msg.message == WM_NCLBUTTONDOWN ||
        msg.message == WM_NCLBUTTONUP)
        g_ptMessagePos = msg.pt;
    else
        msg.pt = g_ptMessagePos;
    if (!WalkPreTranslate(&msg))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Deliver(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, POINT ptScreen)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt = ptScreen;
    Process(msg);
    VekDrainPostedMessages();
}

WPARAM MouseKeys(bool bButton)
{
    WPARAM w = bButton ? MK_LBUTTON : 0;
    if (g_nModifiers & VEK_MOD_SHIFT)
        w |= MK_SHIFT;
    if (g_nModifiers & VEK_MOD_CONTROL)
        w |= MK_CONTROL;
    return w;
}

// Sends a mouse message for a screen point to the capture window if there is one, else to
// hWnd; coordinates are the receiver's client coordinates.
void Mouse(HWND hWnd, UINT message, POINT ptScreen)
{
    HWND hTarget = GetCapture() ? GetCapture() : hWnd;
    if (!IsWindow(hTarget))
        return;
    POINT pt = ptScreen;
    ScreenToClient(hTarget, &pt);
    g_bLButtonDown = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    Deliver(hTarget, message, MouseKeys(g_bLButtonDown), MAKELPARAM(pt.x, pt.y), ptScreen);
}

struct ModifierScope
{
    explicit ModifierScope(UINT n) : nSaved(g_nModifiers) { g_nModifiers = n; }
    ~ModifierScope() { g_nModifiers = nSaved; }
    ModifierScope(const ModifierScope&) = delete;
    ModifierScope& operator=(const ModifierScope&) = delete;
    UINT nSaved;
};

BOOL ClickScreen(HWND hWnd, POINT ptScreen, UINT nModifiers, bool bDouble)
{
    if (!CanReceive(hWnd))
        return FALSE;
    ModifierScope mods(nModifiers);
    LRESULT hit = SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
    if (hit != HTCLIENT && hit != HTTRANSPARENT && !GetCapture())
    {
        Deliver(hWnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit),
                MAKELPARAM(ptScreen.x, ptScreen.y), ptScreen);
        if (IsWindow(hWnd))
            Deliver(hWnd, WM_NCLBUTTONUP, static_cast<WPARAM>(hit),
                    MAKELPARAM(ptScreen.x, ptScreen.y), ptScreen);
        return TRUE;
    }
    Mouse(hWnd, WM_LBUTTONDOWN, ptScreen);
    Mouse(hWnd, WM_LBUTTONUP, ptScreen);
    if (bDouble)
    {
        VekWindow* w = VekGetWindow(GetCapture() ? GetCapture() : hWnd);
        bool bDblClks = w && (w->nClassStyle & CS_DBLCLKS);
        Mouse(hWnd, bDblClks ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, ptScreen);
        Mouse(hWnd, WM_LBUTTONUP, ptScreen);
    }
    g_bLButtonDown = false;
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

HWND KeyTarget()
{
    HWND h = GetFocus();
    if (h)
        return h;
    return g_modalStack.empty() ? nullptr : g_modalStack.back()->m_hWnd;
}

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
        return 0; // typed without a key of its own (composed); only the character arrives
    }
}

WCHAR CharOfKey(UINT vk)
{
    bool bShift = (g_nModifiers & VEK_MOD_SHIFT) != 0;
    bool bControl = (g_nModifiers & VEK_MOD_CONTROL) != 0;
    if (vk >= 'A' && vk <= 'Z')
    {
        if (bControl)
            return static_cast<WCHAR>(vk - 'A' + 1);
        return static_cast<WCHAR>(bShift ? vk : vk - 'A' + 'a');
    }
    if (bControl)
        return 0;
    if (vk >= '0' && vk <= '9')
        return static_cast<WCHAR>(vk);
    switch (vk)
    {
    case VK_RETURN:
        return L'\r';
    case VK_ESCAPE:
        return 0x1B;
    case VK_TAB:
        return L'\t';
    case VK_BACK:
        return L'\b';
    case VK_SPACE:
        return L' ';
    case VK_OEM_PERIOD:
    case VK_DECIMAL:
        return L'.';
    case VK_OEM_COMMA:
        return L',';
    case VK_OEM_MINUS:
        return L'-';
    case VK_OEM_PLUS:
        return bShift ? L'+' : L'=';
    default:
        return 0;
    }
}

BOOL PressKey(UINT vk, WCHAR chTyped, UINT nModifiers)
{
    HWND hTarget = KeyTarget();
    if (!hTarget || !CanReceive(hTarget))
        return FALSE;
    ModifierScope mods(nModifiers);
    g_chPending = chTyped;
    if (vk)
    {
        Deliver(hTarget, WM_KEYDOWN, vk, 1, g_ptMessagePos);
    }
    else if (chTyped)
    {
        Deliver(hTarget, WM_CHAR, chTyped, 1, g_ptMessagePos);
    }
    g_chPending = 0;
    HWND hUp = KeyTarget();
    if (vk && hUp && IsWindow(hUp))
        Deliver(hUp, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u), g_ptMessagePos);
    return TRUE;
}

HWND ActiveOwner()
{
    return GetActiveWindow();
}
const bool g_bOwnerProviderInstalled = (VekSetMessageBoxOwnerProvider(&ActiveOwner), true);
} // namespace

void VekSetMessagePos(POINT ptScreen)
{
    g_ptMessagePos = ptScreen;
}
UINT VekGetModifiers()
{
    return g_nModifiers;
}
void VekSetModifiers(UINT nModifiers)
{
    g_nModifiers = nModifiers;
}

DWORD GetMessagePos()
{
    return static_cast<DWORD>(
        MAKELONG(static_cast<short>(g_ptMessagePos.x), static_cast<short>(g_ptMessagePos.y)));
}

LONG GetMessageTime()
{
    return static_cast<LONG>(g_nMessageTime);
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint)
        return FALSE;
    *lpPoint = g_ptMessagePos;
    return TRUE;
}

short GetKeyState(int nVirtKey)
{
    bool bDown = false;
    if (nVirtKey == VK_SHIFT)
        bDown = (g_nModifiers & VEK_MOD_SHIFT) != 0;
    else if (nVirtKey == VK_CONTROL)
        bDown = (g_nModifiers & VEK_MOD_CONTROL) != 0;
    else if (nVirtKey == VK_LBUTTON)
        bDown = g_bLButtonDown;
    return bDown ? static_cast<short>(0x8000) : 0;
}

HWND GetActiveWindow()
{
    if (!g_modalStack.empty())
        return g_modalStack.back()->m_hWnd;
    return nullptr;
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hWnd))
        return FALSE;
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = Msg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt = g_ptMessagePos;
    g_posted.push_back(msg);
    return TRUE;
}

void VekDrainPostedMessages()
{
    while (!g_posted.empty())
    {
        MSG msg = g_posted.front();
        g_posted.pop_front();
        if (IsWindow(msg.hwnd))
            Process(msg);
    }
}

BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg || lpMsg->message != WM_KEYDOWN)
        return FALSE;
    WCHAR ch = g_chPending ? g_chPending : CharOfKey(static_cast<UINT>(lpMsg->wParam));
    g_chPending = 0;
    if (!ch)
        return FALSE;
    return PostMessageW(lpMsg->hwnd, WM_CHAR, ch, lpMsg->lParam);
}

LRESULT DispatchMessageW(const MSG* lpMsg)
{
    if (!lpMsg)
        return 0;
    return SendMessageW(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

VekModalHandler VekSetModalHandler(VekModalHandler pfn)
{
    VekModalHandler old = std::move(g_modalHandler);
    g_modalHandler = std::move(pfn);
    return old;
}

CDialog* VekGetActiveModalDialog()
{
    return g_modalStack.empty() ? nullptr : g_modalStack.back();
}

void VekPushModal(CDialog* pDlg)
{
    g_modalStack.push_back(pDlg);
}

void VekPopModal(CDialog* pDlg)
{
    auto it = std::find(g_modalStack.begin(), g_modalStack.end(), pDlg);
    if (it != g_modalStack.end())
        g_modalStack.erase(it);
}

void VekRunModalHandler(CDialog& dlg)
{
    VekModalHandler handler = g_modalHandler;
    if (!handler)
    {
        fprintf(
            stderr,
            "vek: dialog %u answered with IDCANCEL: no modal handler (non-interactive session)\n",
            dlg.GetTemplateID());
        dlg.EndDialog(IDCANCEL);
        return;
    }
    handler(dlg);
    VekDrainPostedMessages();
    if (dlg.IsModalRunning())
    {
        fprintf(
            stderr,
            "vek: dialog %u still running when its modal handler returned; ended with IDCANCEL\n",
            dlg.GetTemplateID());
        dlg.EndDialog(IDCANCEL);
    }
}

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
    HWND h = WindowFromPoint(ptScreen);
    return h ? ClickScreen(h, ptScreen, nModifiers, false) : FALSE;
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
    HWND h = WindowFromPoint(ptScreen);
    return h ? ClickScreen(h, ptScreen, 0, true) : FALSE;
}

BOOL NcClick(HWND hWnd, UINT nHitTest)
{
    if (!CanReceive(hWnd))
        return FALSE;
    RECT rc;
    GetWindowRect(hWnd, &rc);
    POINT pt = {rc.right - 1 - VEK_CX_DLGFRAME, rc.top + VEK_CX_DLGFRAME};
    Deliver(hWnd, WM_NCLBUTTONDOWN, nHitTest, MAKELPARAM(pt.x, pt.y), pt);
    if (IsWindow(hWnd))
        Deliver(hWnd, WM_NCLBUTTONUP, nHitTest, MAKELPARAM(pt.x, pt.y), pt);
    return TRUE;
}

BOOL KeyDown(UINT nVirtKey, UINT nModifiers)
{
    return PressKey(nVirtKey, 0, nModifiers);
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
        if (!PressKey(vk, ch, nModifiers))
            return FALSE;
    }
    return TRUE;
}

BOOL Paste(LPCWSTR pszText)
{
    HWND hTarget = KeyTarget();
    if (!hTarget || !CanReceive(hTarget))
        return FALSE;
    VekSetClipboardText(pszText);
    Deliver(hTarget, WM_PASTE, 0, 0, g_ptMessagePos);
    return TRUE;
}
} // namespace VekInput
