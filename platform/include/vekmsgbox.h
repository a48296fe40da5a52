// Message boxes. Every box goes to one installable responder, which plays the
// user; without one the process behaves as a non-interactive session.
#pragma once

#include "afxstr.h"
#include "winuser.h"

#include <functional>

// Buttons (type & MB_TYPEMASK).
#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_ABORTRETRYIGNORE 0x00000002
#define MB_YESNOCANCEL 0x00000003
#define MB_YESNO 0x00000004
#define MB_RETRYCANCEL 0x00000005
#define MB_CANCELTRYCONTINUE 0x00000006
// Icons (type & MB_ICONMASK).
#define MB_ICONHAND 0x00000010
#define MB_ICONQUESTION 0x00000020
#define MB_ICONEXCLAMATION 0x00000030
#define MB_ICONASTERISK 0x00000040
#define MB_USERICON 0x00000080
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
// Default button (type & MB_DEFMASK).
#define MB_DEFBUTTON1 0x00000000
#define MB_DEFBUTTON2 0x00000100
#define MB_DEFBUTTON3 0x00000200
#define MB_DEFBUTTON4 0x00000300
// Modality and options.
#define MB_APPLMODAL 0x00000000
#define MB_SYSTEMMODAL 0x00001000
#define MB_TASKMODAL 0x00002000
#define MB_HELP 0x00004000
#define MB_NOFOCUS 0x00008000
#define MB_SETFOREGROUND 0x00010000
#define MB_TOPMOST 0x00040000
#define MB_RIGHT 0x00080000
#define MB_TYPEMASK 0x0000000F
#define MB_ICONMASK 0x000000F0
#define MB_DEFMASK 0x00000F00
#define MB_MODEMASK 0x00003000
#define MB_MISCMASK 0x0000C000

// Plays the user for one message box: gets the owner, text, caption and type as
// shown and returns the id of the button pressed (IDOK, IDYES, ... from winuser.h).
using VekMessageBoxResponder = std::function<int(HWND hWndOwner, const CString& strText,
                                                 const CString& strCaption, UINT nType)>;

// Installs pfn (an empty function removes the responder) and returns the previous one.
VEK_PLATFORM_API VekMessageBoxResponder VekSetMessageBoxResponder(VekMessageBoxResponder pfn);

// The button a user accepting the default would press for nType: the button
// MB_DEFBUTTONn names, or the first one when the type has fewer buttons.
VEK_PLATFORM_API int VekDefaultMessageBoxButton(UINT nType);

// Shows a message box and returns the button pressed. A null caption shows as
// "Error". Without a responder the default button is answered and one line saying
// what was shown and answered goes to standard error.
extern "C" VEK_PLATFORM_API int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption,
                                            UINT uType);
inline int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    return MessageBoxW(hWnd, lpText, lpCaption, uType);
}

// The application's message box: captioned with AfxGetApp()->m_pszAppName ("Error"
// without an application object). With no icon in nType an icon is added as MFC
// does: exclamation for MB_OK and MB_OKCANCEL, question for MB_YESNO and
// MB_YESNOCANCEL. The owner comes from the owner provider (null by default).
VEK_PLATFORM_API int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with string resource nIDPrompt of the current resource handle as text
// (an empty text when the string is missing).
VEK_PLATFORM_API int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// The window layer installs the function that names the owner of the
// application's message boxes (MFC takes the active top-level window). Returns
// the previous provider; null restores "no owner".
using VekMessageBoxOwnerProvider = HWND (*)();
VEK_PLATFORM_API VekMessageBoxOwnerProvider
VekSetMessageBoxOwnerProvider(VekMessageBoxOwnerProvider pfn);
