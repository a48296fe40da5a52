// Internal interface of the window system shared by the window core, the dialog manager,
// the input path, the MFC classes and the controls. Not installed; not for module code.
#pragma once

#include "afxcmn.h"
#include "vekinput.h"

#include <string>
#include <vector>

class CWnd;

// One window. Child rectangles are in the parent's client coordinates; top-level (and popup)
// rectangles in screen coordinates.
struct VekWindow
{
    HWND hwnd = nullptr;
    std::wstring strClass; // as registered
    UINT nClassStyle = 0;
    WNDPROC pfnClassProc = nullptr;
    WNDPROC pfnProc = nullptr;
    UINT nID = 0;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    std::wstring strText;
    RECT rc = {0, 0, 0, 0};
    HWND hwndParent = nullptr;  // children only
    HWND hwndOwner = nullptr;   // popups only
    std::vector<HWND> children; // z-order = creation order
    HFONT hFont = nullptr;
    HINSTANCE hInstance = nullptr;
    LONG_PTR lUserData = 0;
    LONG_PTR lMsgResult = 0;
    void* pCtlState = nullptr; // the control's own state, owned by its window procedure
    CWnd* pPermanent = nullptr;
    CWnd* pTemporary = nullptr; // owned; deleted when the window goes
    bool bDestroying = false;
    bool bRedraw = true;
    int nPaintCount = 0; // times painted (UpdateWindow / RedrawWindow with an update)
    bool bInvalid = false;
    SCROLLINFO siVert = {sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0}; // the standard vertical bar
    SCROLLINFO siHorz = {sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0}; // stored, never shown
};

// The record of a live window, or null.
VekWindow* VekGetWindow(HWND hWnd);
// True for a child window (WS_CHILD with a parent): its rectangle is in the parent's client
// coordinates and it moves, hides and dies with the parent.
inline bool VekIsChildWindow(const VekWindow* w)
{
    return (w->dwStyle & WS_CHILD) && w->hwndParent;
}
// The top-level and popup windows, bottom of the z-order first.
std::vector<HWND>& VekTopLevelWindows();
// Forgets hWnd as focus or capture window without any message (its record is going away).
void VekForgetWindowState(HWND hWnd);
// Releases the capture without WM_CAPTURECHANGED when hWnd or one of its descendants holds it
// (hWnd is being destroyed).
void VekDropCaptureWithin(HWND hWnd);
// The control's own state (see VekWindow::pCtlState).
void* VekGetCtlState(HWND hWnd);
void VekSetCtlState(HWND hWnd, void* pState);
// Class name test, case-insensitive.
bool VekIsClass(HWND hWnd, LPCWSTR pszClass);
// Called with the new handle before WM_NCCREATE of the next window created (MFC's creation
// hook); cleared after use.
void VekSetCreateHook(void (*pfn)(HWND hWnd, void* pContext), void* pContext);
// Sends WM_COMMAND(MAKEWPARAM(id, nCode), hWnd) to the parent of hWnd.
void VekNotifyParentCommand(HWND hWnd, UINT nCode);
// Sends WM_NOTIFY to the parent of hWnd with pHdr's hwndFrom, idFrom and code filled in.
LRESULT VekNotifyParent(HWND hWnd, UINT nCode, NMHDR* pHdr);
// True when input may reach hWnd: it and its ancestors are visible and enabled, and it lies in
// the innermost running modal dialog (or in a popup of one of its controls).
bool VekCanReceiveInput(HWND hWnd);
// Sends an input message the way a message loop carries it (message position from ptScreen for
// pointer messages, PreTranslateMessage, TranslateMessage, DispatchMessage), then delivers what
// was posted meanwhile.
void VekDeliverInput(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, POINT ptScreen);
// The message time (GetMessageTime) of the messages of the current event.
void VekSetInputTime(DWORD nTime);
// The character the next translated key press types instead of its own (VekInput::Type);
// cleared by TranslateMessage.
void VekSetPendingChar(WCHAR ch);
// The focus window, or the running dialog when nothing has the focus; null when neither.
HWND VekKeyboardTarget();
// Held modifier keys (VEK_MOD_*), and holding a set of them without any key message.
UINT VekHeldModifiers();
void VekHoldModifiers(UINT nModifiers);
// A button event aimed at hAim, or at the window under the point when hAim is null (see
// VekRawInput::ButtonDown). FALSE when nothing may take it.
BOOL VekRawButton(HWND hAim, UINT vkButton, bool bDown, POINT ptScreen, UINT nModifiers,
                  DWORD nTime);
// The time of the next gesture: the double-click time after the latest event.
DWORD VekGestureTime();
// Dragging in a window's scroll bar, kept by the input path between a press on the bar and the
// release of the button (no nested loop: input arrives one event at a time). Begin is called by
// DefWindowProc for WM_NCLBUTTONDOWN on HTVSCROLL and sends the first WM_VSCROLL; while tracking,
// moves go to Track and the left button's release to End.
void VekBeginScrollBarTracking(HWND hWnd, POINT ptScreen);
bool VekIsTrackingScrollBar();
void VekTrackScrollBar(POINT ptScreen);
void VekEndScrollBarTracking(POINT ptScreen);
// The nearest ancestor (or hWnd itself) that is a dialog, or null.
HWND VekFindDialogAncestor(HWND hWnd);
// The top-level window of hWnd (climbing WS_CHILD parents).
HWND VekGetTopLevel(HWND hWnd);
// Delivers messages posted with PostMessageW through the input path, in order.
void VekDrainPostedMessages();
// Modal-loop bookkeeping used by CDialog::DoModal.
void VekPushModal(CDialog* pDlg);
void VekPopModal(CDialog* pDlg);
// Runs the installed modal handler for pDlg (or the non-interactive answer).
void VekRunModalHandler(CDialog& dlg);
// Creates a dialog window from a template, attaching pDlg before its first message, creating
// its controls and sending WM_INITDIALOG. Null on failure.
HWND VekCreateDialogFromTemplate(const VEK_RES_DIALOG* pTemplate, HWND hwndOwner, CDialog* pDlg);
// Creates the temporary object of the class matching hWnd's window class.
CWnd* VekCreateTemporaryWnd(HWND hWnd);
// The first row a scrolling list shows after a WM_VSCROLL request (wParam), for a
// list of nCount rows showing nPage at once; kept within the rows so that the
// last page stays full.
int VekScrollTopRow(WPARAM wParam, int nTop, int nPage, int nCount);
// The rows to scroll for a WM_MOUSEWHEEL of nDelta (positive: towards the top), at the system's
// lines per notch but at most nPage; nRemainder carries the part of a notch not yet scrolled
// from one call to the next (start it at 0).
int VekWheelScrollRows(int& nRemainder, int nDelta, int nPage);

// Moves the thumb of a standard scroll bar while it is dragged (what GetScrollInfo reports as
// nTrackPos and GetScrollBarInfo draws); clamped to the positions the bar can take.
void VekSetScrollTrackPos(HWND hWnd, int nBar, int nTrackPos);

// Registration of the built-in classes, one per control file.
void VekRegisterButtonClass();
void VekRegisterEditClass();
void VekRegisterStaticClass();
void VekRegisterComboBoxClass();
void VekRegisterListBoxClass();
void VekRegisterListViewClass();
void VekRegisterHeaderClass();
void VekRegisterTreeViewClass();
void VekRegisterDialogClass();
// Text width in pixels of a string (VEK_CX_CHAR per character).
inline int VekTextWidth(const std::wstring& str)
{
    return static_cast<int>(str.size()) * VEK_CX_CHAR;
}
// Case-insensitive comparison as the controls sort and search (locale-aware, not ordinal).
int VekCompareNoCase(LPCWSTR a, LPCWSTR b);
// Copies text into a caller's buffer of cchMax characters (terminated); returns the count.
int VekCopyText(const std::wstring& str, LPWSTR pszBuf, int cchMax);
// What a combo box's list tells its combo box when the mouse button is released over it.
const UINT VEK_LBN_PICKED = 0x7F01;

// Thrown by CDataExchange::Fail and caught by UpdateData; never leaves the platform.
struct VekDataExchangeFailure
{
};
