// Window manager subset: messages, styles, structures and functions with their Windows values.
// Windows are objects inside the process; messages are dispatched synchronously.
#pragma once

#include "windef.h"

typedef int* LPINT;
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct MSG
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

struct CREATESTRUCTW
{
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCTW CREATESTRUCT;
typedef CREATESTRUCTW* LPCREATESTRUCT;

struct WNDCLASSW
{
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HANDLE hIcon;
    HANDLE hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

struct NMHDR
{
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

struct PAINTSTRUCT
{
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

struct LOGFONTW
{
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[32];
};
typedef LOGFONTW LOGFONT;

struct COMBOBOXINFO
{
    DWORD cbSize;
    RECT rcItem;
    RECT rcButton;
    DWORD stateButton;
    HWND hwndCombo;
    HWND hwndItem;
    HWND hwndList;
};

// Window messages
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_CTLCOLOR 0x0019 // MFC's message-map code for every WM_CTLCOLOR* message
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_NEXTDLGCTL 0x0028
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NOTIFY 0x004E
#define WM_HELP 0x0053
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCHITTEST 0x0084
#define WM_GETDLGCODE 0x0087
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSELAST 0x020E
#define WM_CAPTURECHANGED 0x0215
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_USER 0x0400

// Dialog manager
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000
#define DWLP_MSGRESULT 0

// Window styles
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_OVERLAPPEDWINDOW                                                                        \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L
#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_CONTROL 0x400L
#define DS_CENTER 0x800L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Class styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_GLOBALCLASS 0x4000

// Buttons
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008
#define BN_CLICKED 0
#define BN_PAINT 1
#define BN_HILITE 2
#define BN_UNHILITE 3
#define BN_DISABLE 4
#define BN_DOUBLECLICKED 5
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

// Edit controls
#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_GETRECT 0x00B2
#define EM_SCROLL 0x00B5
#define EM_LINESCROLL 0x00B6
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_LINEINDEX 0x00BB
#define EM_LINELENGTH 0x00C1
#define EM_REPLACESEL 0x00C2
#define EM_GETLINE 0x00C4
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_SETREADONLY 0x00CF
#define EM_GETLIMITTEXT 0x00D5
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_ERRSPACE 0x0500
#define EN_MAXTEXT 0x0501
#define EN_HSCROLL 0x0601
#define EN_VSCROLL 0x0602

// Static controls
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_NOTIFY 0x00000100L
#define STN_CLICKED 0

// Combo boxes
#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_GETCOMBOBOXINFO 0x0164
#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// List boxes
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_NOSEL 0x4000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETSEL 0x0185
#define LB_SETCURSEL 0x0186
#define LB_GETSEL 0x0187
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_GETSELCOUNT 0x0190
#define LB_GETSELITEMS 0x0191
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SELITEMRANGE 0x019B
#define LB_SETANCHORINDEX 0x019C
#define LB_GETANCHORINDEX 0x019D
#define LB_SETCARETINDEX 0x019E
#define LB_GETCARETINDEX 0x019F
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_ITEMFROMPOINT 0x01A9
#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)
#define LBN_ERRSPACE (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5

// Scroll bars
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#define SB_BOTH 3
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
#define OBJID_HSCROLL ((LONG)0xFFFFFFFA)
#define OBJID_VSCROLL ((LONG)0xFFFFFFFB)
#define STATE_SYSTEM_INVISIBLE 0x00008000
#define STATE_SYSTEM_UNAVAILABLE 0x00000001
#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(wParam) ((short)HIWORD(wParam))
#define GET_KEYSTATE_WPARAM(wParam) (LOWORD(wParam))
#define SPI_GETWHEELSCROLLLINES 0x0068

struct SCROLLINFO
{
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// rgstate[0] is the bar as a whole; 1 the top arrow, 2 the page-up area, 3 the thumb, 4 the
// page-down area, 5 the bottom arrow.
struct SCROLLBARINFO
{
    DWORD cbSize;
    RECT rcScrollBar; // screen coordinates
    int dxyLineButton;
    int xyThumbTop; // relative to rcScrollBar's top
    int xyThumbBottom;
    int reserved;
    DWORD rgstate[6];
};
typedef SCROLLBARINFO* PSCROLLBARINFO;

// WM_CTLCOLOR kinds (MFC's nCtlColor)
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// Virtual keys
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_EXECUTE 0x2B
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_DECIMAL 0x6E
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F4 0x73
#define VK_F10 0x79
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008

// Hit-test codes
#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTBORDER 18
#define HTCLOSE 20
#define HTHELP 21

// ShowWindow, SetWindowPos, GetWindow, Get/SetWindowLong, RedrawWindow
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_ID (-12)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define HWND_DESKTOP ((HWND) nullptr)

// Dialog box command ids, also the answers of message boxes (vekmsgbox.h).
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9
#define IDTRYAGAIN 10
#define IDCONTINUE 11

// Window functions. Handles are opaque and never reused; a destroyed or unknown handle makes
// every function fail (FALSE, 0 or null).
VEK_PLATFORM_API HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName,
                                      DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                                      HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                      LPVOID lpParam);
// Registers a window class by name (case-insensitive); FALSE when the name is taken.
VEK_PLATFORM_API BOOL RegisterClassW(const WNDCLASSW* lpWndClass);
VEK_PLATFORM_API BOOL DestroyWindow(HWND hWnd);
VEK_PLATFORM_API BOOL IsWindow(HWND hWnd);
VEK_PLATFORM_API LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Queues the message; it is delivered through the input path when the current input event ends.
VEK_PLATFORM_API BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
VEK_PLATFORM_API LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// The dialog manager's default procedure (the procedure of the dialog class "#32770").
VEK_PLATFORM_API LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
VEK_PLATFORM_API LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                                         LPARAM lParam);
VEK_PLATFORM_API LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex);
VEK_PLATFORM_API LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
VEK_PLATFORM_API LONG GetWindowLongW(HWND hWnd, int nIndex);
VEK_PLATFORM_API LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);
// The class name, as registered, into lpClassName; returns its length (0 on failure).
VEK_PLATFORM_API int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
VEK_PLATFORM_API HWND GetParent(HWND hWnd); // the parent of a child, the owner of a popup
VEK_PLATFORM_API HWND GetWindow(HWND hWnd, UINT uCmd);
VEK_PLATFORM_API HWND GetDlgItem(HWND hDlg, int nIDDlgItem); // direct children only
VEK_PLATFORM_API int GetDlgCtrlID(HWND hWnd);
VEK_PLATFORM_API BOOL IsChild(HWND hWndParent, HWND hWnd); // any descendant
VEK_PLATFORM_API int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
VEK_PLATFORM_API int GetWindowTextLengthW(HWND hWnd);
VEK_PLATFORM_API BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
VEK_PLATFORM_API BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
VEK_PLATFORM_API UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
VEK_PLATFORM_API BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
VEK_PLATFORM_API UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Returns whether the window was disabled before the call.
VEK_PLATFORM_API BOOL EnableWindow(HWND hWnd, BOOL bEnable);
VEK_PLATFORM_API BOOL IsWindowEnabled(HWND hWnd);
// Returns whether the window was visible before the call.
VEK_PLATFORM_API BOOL ShowWindow(HWND hWnd, int nCmdShow);
VEK_PLATFORM_API BOOL IsWindowVisible(HWND hWnd); // the window and all its ancestors
VEK_PLATFORM_API BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
VEK_PLATFORM_API BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                                   UINT uFlags);
VEK_PLATFORM_API HWND SetFocus(HWND hWnd); // returns the previous focus window
VEK_PLATFORM_API HWND GetFocus();
VEK_PLATFORM_API HWND GetActiveWindow();
VEK_PLATFORM_API HWND SetCapture(HWND hWnd);
VEK_PLATFORM_API BOOL ReleaseCapture();
VEK_PLATFORM_API HWND GetCapture();
VEK_PLATFORM_API BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
VEK_PLATFORM_API BOOL GetWindowRect(HWND hWnd, LPRECT lpRect); // screen coordinates
VEK_PLATFORM_API BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
VEK_PLATFORM_API BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// Converts from the client coordinates of hWndFrom (null: screen) to those of hWndTo (null:
// screen); returns MAKELONG of the horizontal and vertical offsets.
VEK_PLATFORM_API int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
// The deepest visible, enabled window at a screen point that does not answer HTTRANSPARENT.
VEK_PLATFORM_API HWND WindowFromPoint(POINT Point);
// Screen position of the last input message, signed halves (GET_X_LPARAM, GET_Y_LPARAM).
VEK_PLATFORM_API DWORD GetMessagePos();
VEK_PLATFORM_API LONG GetMessageTime();
VEK_PLATFORM_API BOOL GetCursorPos(LPPOINT lpPoint);
// High bit set while the key (or mouse button) is held down during the current input event.
VEK_PLATFORM_API short GetKeyState(int nVirtKey);
// The same as GetKeyState: input is delivered synchronously, so the current event's state is
// the device's state.
VEK_PLATFORM_API short GetAsyncKeyState(int vKey);
// The longest time in milliseconds between the presses of a double click (500 by default).
VEK_PLATFORM_API UINT GetDoubleClickTime();
// Sets it; 0 restores the default.
VEK_PLATFORM_API BOOL SetDoubleClickTime(UINT uInterval);
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
// SM_CXDOUBLECLK and SM_CYDOUBLECLK (4: a second press less than 2 pixels away in each
// direction can make a double click); 0 for metrics not kept.
VEK_PLATFORM_API int GetSystemMetrics(int nIndex);
VEK_PLATFORM_API BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase);
VEK_PLATFORM_API BOOL UpdateWindow(HWND hWnd);
VEK_PLATFORM_API BOOL RedrawWindow(HWND hWnd, LPCRECT lprcUpdate, void* hrgnUpdate, UINT flags);
VEK_PLATFORM_API BOOL TranslateMessage(const MSG* lpMsg);
VEK_PLATFORM_API LRESULT DispatchMessageW(const MSG* lpMsg);
// The dialog manager's keyboard handling; FALSE only when lpMsg is not for hDlg or a descendant.
VEK_PLATFORM_API BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg);
VEK_PLATFORM_API HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
VEK_PLATFORM_API HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// Sets the dialog's result and ends its modal loop once the current handler returns; the dialog
// is hidden and its owner re-enabled.
VEK_PLATFORM_API BOOL EndDialog(HWND hDlg, INT_PTR nResult);
VEK_PLATFORM_API BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);
VEK_PLATFORM_API LONG GetDialogBaseUnits();
// Grows a client rectangle to the window rectangle of a window with these styles.
VEK_PLATFORM_API BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);
// Standard scroll bars of a window (SB_VERT; SB_HORZ is stored but never shown). Setting a range
// that the page covers hides the bar (clears WS_VSCROLL) unless SIF_DISABLENOSCROLL is given;
// a larger one shows it. Showing or hiding changes the client area and sends WM_SIZE.
VEK_PLATFORM_API int SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw);
VEK_PLATFORM_API BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi);
VEK_PLATFORM_API int GetScrollPos(HWND hWnd, int nBar);
VEK_PLATFORM_API int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw); // the old position
VEK_PLATFORM_API BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
VEK_PLATFORM_API BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
VEK_PLATFORM_API BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
// The vertical bar's rectangle and parts (OBJID_VSCROLL only); FALSE for other objects.
VEK_PLATFORM_API BOOL GetScrollBarInfo(HWND hWnd, LONG idObject, PSCROLLBARINFO psbi);
// SPI_GETWHEELSCROLLLINES only: 3 lines per wheel notch, Windows' default.
VEK_PLATFORM_API BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam,
                                            UINT fWinIni);
VEK_PLATFORM_API BOOL GetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO* pcbi);

// Fonts: GDI objects with a face and a height; nothing is ever drawn.
VEK_PLATFORM_API HFONT CreateFontIndirectW(const LOGFONTW* lplf);
VEK_PLATFORM_API BOOL DeleteObject(HGDIOBJ ho);
VEK_PLATFORM_API int GetObjectW(HGDIOBJ h, int c, LPVOID pv);
VEK_PLATFORM_API HGDIOBJ GetStockObject(int i);
#define DEFAULT_GUI_FONT 17
#define WHITE_BRUSH 0
#define FW_NORMAL 400
#define FW_BOLD 700

#define CreateWindowEx CreateWindowExW
#define SendMessage SendMessageW
#define PostMessage PostMessageW
#define DefWindowProc DefWindowProcW
#define CallWindowProc CallWindowProcW
#define GetWindowLongPtr GetWindowLongPtrW
#define SetWindowLongPtr SetWindowLongPtrW
#define GetWindowLong GetWindowLongW
#define SetWindowLong SetWindowLongW
#define GetWindowText GetWindowTextW
#define GetWindowTextLength GetWindowTextLengthW
#define SetWindowText SetWindowTextW
#define SetDlgItemText SetDlgItemTextW
#define GetDlgItemText GetDlgItemTextW
#define GetClassName GetClassNameW
#define DispatchMessage DispatchMessageW
#define IsDialogMessage IsDialogMessageW
#define RegisterClass RegisterClassW
#define CreateFontIndirect CreateFontIndirectW
#define GetObject GetObjectW
#define WNDCLASS WNDCLASSW
