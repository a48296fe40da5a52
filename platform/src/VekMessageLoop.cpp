// The message loop of the input path: the posted-message queue, the message position and time,
// PreTranslateMessage walking, TranslateMessage / DispatchMessage, which windows input may
// reach, and the modal stack with its handler.
#include "VekWindowInternal.h"

#include <algorithm>
#include <cstdio>
#include <deque>

namespace
{
// Built on first use: a deque allocates when constructed, and memory running
// out while the library is being loaded could not be reported.
std::deque<MSG>& PostedMessages()
{
    static std::deque<MSG> s_posted;
    return s_posted;
}
POINT g_ptMessagePos = {0, 0};
DWORD g_nMessageTime = 0;
WCHAR g_chPending = 0; // the character the key being pressed types (VekInput::Type)
std::vector<CDialog*> g_modalStack;
VekModalHandler g_modalHandler;

bool CarriesPosition(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= 0x00A9);
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
    msg.time = g_nMessageTime;
    if (CarriesPosition(msg.message))
        g_ptMessagePos = msg.pt;
    else
        msg.pt = g_ptMessagePos;
    if (!WalkPreTranslate(&msg))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The character a key types with the held modifiers (a US keyboard layout).
WCHAR CharOfKey(UINT vk)
{
    bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
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

HWND ActiveOwner()
{
    return GetActiveWindow();
}
const bool g_bOwnerProviderInstalled = (VekSetMessageBoxOwnerProvider(&ActiveOwner), true);
} // namespace

bool VekCanReceiveInput(HWND hWnd)
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

void VekDeliverInput(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, POINT ptScreen)
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

void VekSetInputTime(DWORD nTime)
{
    g_nMessageTime = nTime;
}

void VekSetPendingChar(WCHAR ch)
{
    g_chPending = ch;
}

HWND VekKeyboardTarget()
{
    HWND h = GetFocus();
    if (h)
        return h;
    return g_modalStack.empty() ? nullptr : g_modalStack.back()->m_hWnd;
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
    PostedMessages().push_back(msg);
    return TRUE;
}

void VekDrainPostedMessages()
{
    std::deque<MSG>& posted = PostedMessages();
    while (!posted.empty())
    {
        MSG msg = posted.front();
        posted.pop_front();
        if (IsWindow(msg.hwnd))
            Process(msg);
    }
}

BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    WCHAR ch = g_chPending ? g_chPending : CharOfKey(static_cast<UINT>(lpMsg->wParam));
    g_chPending = 0;
    if (!ch)
        return FALSE;
    return PostMessageW(lpMsg->hwnd, lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch,
                        lpMsg->lParam);
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
