// The input path of the window system: the one way input reaches windows, for tests and for
// the host's interactive front end alike, and the modal handler that drives modal dialogs.
//
// Two levels: VekRawInput takes the events a pointer and a keyboard produce (moves, button
// presses and releases at screen points, wheel notches, key presses and releases, text), each
// with the modifiers held and its time; VekInput offers whole gestures (a click on a window, a
// double click, a typed text) composed of raw events.
//
// Every input event becomes a message that goes the way a Windows message loop takes it: the
// message position is set, PreTranslateMessage runs from the target window up to its dialog
// (which offers it to the dialog manager: Enter, Escape, Tab), then the message is translated
// and dispatched. Messages posted while an event is handled are delivered the same way before
// the call returns.
#pragma once

#include "afxwin.h"

#include <functional>

// Drives one running modal dialog, through VekInput, until it ends. A handler that returns
// while the dialog still runs ends it with IDCANCEL (and a line on standard error).
using VekModalHandler = std::function<void(CDialog& dlg)>;

// Installs the handler every DoModal uses (nested dialogs included; the handler sees which
// dialog it drives through dlg.GetTemplateID()). An empty handler means a non-interactive
// session: each dialog ends at once with IDCANCEL and says so on standard error. Returns the
// previous handler.
VEK_PLATFORM_API VekModalHandler VekSetModalHandler(VekModalHandler pfn);

// The innermost running modal dialog, or null.
VEK_PLATFORM_API CDialog* VekGetActiveModalDialog();

// Modifier keys held during a keyboard or mouse event (combinable).
#define VEK_MOD_SHIFT 0x1u
#define VEK_MOD_CONTROL 0x2u
#define VEK_MOD_ALT 0x4u

// Raw events, as a pointing device and a keyboard (or a browser showing the windows) produce
// them. Points are screen coordinates. nModifiers are the VEK_MOD_* keys held during the event
// (they stay held until an event says otherwise: GetKeyState, GetAsyncKeyState and the MK_*
// flags of mouse messages report them). nTime is the event's time in milliseconds, the
// message time (GetMessageTime) of what it sends and the clock of double clicks; it comes from
// the event's source, so tests choose it. Each function returns FALSE, delivering nothing,
// when no window may take the event (see VekInput below); while a window holds the capture,
// pointer events go to it wherever they are.
namespace VekRawInput
{
// WM_MOUSEMOVE to the window under the point (WM_NCMOUSEMOVE over its frame), or to the
// capture window; moves the thumb of a scroll bar being dragged.
VEK_PLATFORM_API BOOL MouseMove(POINT ptScreen, UINT nModifiers, DWORD nTime);
// A press or release of VK_LBUTTON or VK_RBUTTON: WM_[LR]BUTTONDOWN / UP to the window under
// the point or to the capture window (WM_NCLBUTTONDOWN ... when the window's hit test answers
// a frame part). A second press of the same button on the same window within
// GetDoubleClickTime() of the first and less than half of SM_CXDOUBLECLK x SM_CYDOUBLECLK away
// arrives as WM_[LR]BUTTONDBLCLK when the window's class has CS_DBLCLKS (over a frame part
// always as WM_NCLBUTTONDBLCLK); a third press starts again. FALSE for other buttons.
VEK_PLATFORM_API BOOL ButtonDown(UINT nVirtButton, POINT ptScreen, UINT nModifiers, DWORD nTime);
VEK_PLATFORM_API BOOL ButtonUp(UINT nVirtButton, POINT ptScreen, UINT nModifiers, DWORD nTime);
// A wheel turn of nDelta (WHEEL_DELTA = 120 per notch, positive away from the user):
// WM_MOUSEWHEEL to the focus window (the running dialog when nothing has the focus), with the
// screen point; a child that leaves it unhandled passes it to its parent.
VEK_PLATFORM_API BOOL Wheel(int nDelta, POINT ptScreen, UINT nModifiers, DWORD nTime);
// A key pressed or released at the focus window (the running dialog when nothing has the
// focus): WM_KEYDOWN / WM_KEYUP, or WM_SYSKEYDOWN / WM_SYSKEYUP while Alt without Ctrl is held
// and for F10. TranslateMessage adds the WM_CHAR (WM_SYSCHAR) the key types. Pressing
// VK_SHIFT, VK_CONTROL or VK_MENU holds that modifier until it is released.
VEK_PLATFORM_API BOOL KeyDown(UINT nVirtKey, UINT nModifiers, DWORD nTime);
VEK_PLATFORM_API BOOL KeyUp(UINT nVirtKey, UINT nModifiers, DWORD nTime);
// One WM_CHAR per Unicode code point of pszText at the focus window, without key messages
// (text from an input method or a paste into the page). A character outside the Basic
// Multilingual Plane is one WM_CHAR carrying the code point (wchar_t holds 32 bits here); a
// UTF-16 surrogate pair in pszText is joined into that code point first. Characters are not
// changed ('\n' stays '\n').
VEK_PLATFORM_API BOOL Text(LPCWSTR pszText, DWORD nTime);
// The time of the latest event (0 before any).
VEK_PLATFORM_API DWORD LastEventTime();
} // namespace VekRawInput

namespace VekInput
{
// Every function returns FALSE, delivering nothing, when the target is missing, destroyed,
// hidden or disabled (itself or an ancestor), or lies outside the innermost modal dialog while
// one runs.
//
// Each gesture is made of raw events at one time, later than the latest event by the
// double-click time, so that two gestures never join into a double click. A gesture that
// names its window aims its pointer events at that window even when another one covers the
// point. Modifiers given to a gesture are held for it only (no key messages for them).

// A left click (button down, then up) at a point in hWnd's client coordinates; without a point,
// at the centre of the client area.
VEK_PLATFORM_API BOOL Click(HWND hWnd, UINT nModifiers = 0);
VEK_PLATFORM_API BOOL Click(HWND hWnd, POINT ptClient, UINT nModifiers = 0);
// A left click at a screen point, received by the window under it (WindowFromPoint).
VEK_PLATFORM_API BOOL ClickAt(POINT ptScreen, UINT nModifiers = 0);
// Down, up, double-click, up: what Windows sends for a double click (down, up, down, up for a
// class without CS_DBLCLKS).
VEK_PLATFORM_API BOOL DoubleClick(HWND hWnd);
VEK_PLATFORM_API BOOL DoubleClick(HWND hWnd, POINT ptClient);
VEK_PLATFORM_API BOOL DoubleClickAt(POINT ptScreen);
// A click on the non-client part of a window (WM_NCLBUTTONDOWN with nHitTest, e.g. HTHELP).
VEK_PLATFORM_API BOOL NcClick(HWND hWnd, UINT nHitTest);
// A key pressed and released at the focus window (key down, the character it types if any,
// key up).
VEK_PLATFORM_API BOOL KeyDown(UINT nVirtKey, UINT nModifiers = 0);
// Each character typed at the focus window as key down, character, key up.
VEK_PLATFORM_API BOOL Type(LPCWSTR pszText);
// Puts pszText on the clipboard and pastes it into the focus window (WM_PASTE).
VEK_PLATFORM_API BOOL Paste(LPCWSTR pszText);
} // namespace VekInput

// The clipboard's text (what WM_COPY, WM_CUT and VekInput::Paste leave there).
VEK_PLATFORM_API CString VekGetClipboardText();
VEK_PLATFORM_API void VekSetClipboardText(LPCWSTR pszText);

// Fixed geometry, in pixels. Everything that reports positions (hit tests, item and sub-item
// rectangles, GetMessagePos, MapWindowPoints) is computed from these.
#define VEK_CX_DLGUNIT_BASE 6    // horizontal dialog base unit: 4 dialog units = 6 pixels
#define VEK_CY_DLGUNIT_BASE 13   // vertical dialog base unit: 8 dialog units = 13 pixels
#define VEK_CX_CHAR 6            // width of every character of every font
#define VEK_CY_CHAR 13           // height of a line of text
#define VEK_CY_CAPTION 20        // caption bar of a window with WS_CAPTION
#define VEK_CX_DLGFRAME 3        // frame of a dialog (WS_DLGFRAME, DS_MODALFRAME)
#define VEK_CX_THICKFRAME 4      // frame of a WS_THICKFRAME window
#define VEK_CX_BORDER 1          // WS_BORDER without a caption
#define VEK_CX_EDGE 2            // WS_EX_CLIENTEDGE
#define VEK_CX_STATICEDGE 1      // WS_EX_STATICEDGE
#define VEK_CX_VSCROLL 16        // a vertical scroll bar (WS_VSCROLL) narrows the client area
#define VEK_CY_HSCROLL 16        // a horizontal scroll bar (WS_HSCROLL) lowers it
#define VEK_X_DESKTOP_ORIGIN 100 // screen position of a dialog without owner, plus its template
#define VEK_Y_DESKTOP_ORIGIN 50  //   position
#define VEK_CY_LISTITEM 16       // list box and combo list rows
#define VEK_CY_COMBO_LIST_MAX 8  // rows a dropped combo list shows
#define VEK_CY_COMBO_FIELD 20    // the closed part of a combo box (its window height)
#define VEK_CY_HEADER 20         // header control of a report list view
#define VEK_CY_LVROW 16          // report list view rows
#define VEK_CX_LVLABELPAD 2      // padding before the column-0 text of a list view row
#define VEK_CY_TVROW 16          // tree view rows
#define VEK_CX_TVINDENT 19       // tree view indent per level
#define VEK_CX_TVSTATEICON 16    // tree view check box (state image)
#define VEK_CX_TVLABELPAD 2      // padding on each side of a tree label
