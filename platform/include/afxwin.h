// The window half of the MFC subset: command targets, message maps, windows, dialogs, data
// exchange, fonts and the standard controls. Windows are objects inside the process; see
// docs/window-system.md for the input path and the modal handler.
#pragma once

#include "afx.h"
#include "atltypes.h"
#include "winuser.h"

#define afx_msg
#define PASCAL
#define AFXAPI

class CCmdTarget;
class CWnd;
class CDC;
class CFont;
class CScrollBar;

// Message-map entries. pfn unpacks the message for its handler; it returns FALSE when the
// handler declined the message (the _EX variants), so that routing goes on.
typedef BOOL (*VekMsgThunk)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // WM_*, WM_COMMAND / WM_NOTIFY, or WM_REFLECT_BASE + one of them
    UINT nCode;    // notification code (16 bits), 0 for plain messages
    UINT nID;      // first control id
    UINT nLastID;  // last control id
    UINT_PTR nSig;
    VekMsgThunk pfn;
};
struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};
// What a WM_NOTIFY handler found by OnCmdMsg receives.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};
// What an ON_WM_CTLCOLOR handler receives (one entry for every WM_CTLCOLOR* message).
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// The window procedure of every window attached to an MFC object.
VEK_PLATFORM_API LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

#define WM_REFLECT_BASE 0xBC00
#define CN_COMMAND 0

class VEK_PLATFORM_API CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    // Routes a command (nCode low word: notification code; high word: 0 or WM_COMMAND for
    // commands, WM_NOTIFY for notifications, WM_REFLECT_BASE + either for reflected ones)
    // through this object's message map and its bases. TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The first entry of this object's maps (most derived first) that matches, or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        (void)static_cast<ThisClass*>(nullptr);                                                    \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, 0, nullptr                                                                     \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define VEK_THIS(p) static_cast<ThisClass*>(p)

// Commands and control notifications (WM_COMMAND)
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND,                                                                                   \
     CN_COMMAND,                                                                                   \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(id),                                                                             \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM, LRESULT*) -> BOOL {                                         \
         (VEK_THIS(p)->*(memberFxn))();                                                            \
         return TRUE;                                                                              \
     }},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,                                                                                   \
     CN_COMMAND,                                                                                   \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(idLast),                                                                         \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM w, LPARAM, LRESULT*) -> BOOL {                                       \
         (VEK_THIS(p)->*(memberFxn))((UINT)w);                                                     \
         return TRUE;                                                                              \
     }},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND,                                                                                   \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(id),                                                                             \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM, LRESULT*) -> BOOL {                                         \
         (VEK_THIS(p)->*(memberFxn))();                                                            \
         return TRUE;                                                                              \
     }},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                       \
    {WM_COMMAND,                                                                                   \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(idLast),                                                                         \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM w, LPARAM, LRESULT*) -> BOOL {                                       \
         (VEK_THIS(p)->*(memberFxn))((UINT)w);                                                     \
         return TRUE;                                                                              \
     }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// Notifications (WM_NOTIFY): handler void (NMHDR*, LRESULT*)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY,                                                                                    \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(id),                                                                             \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) -> BOOL {                                     \
         (VEK_THIS(p)->*(memberFxn))(reinterpret_cast<NMHDR*>(l), r);                              \
         return TRUE;                                                                              \
     }},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                        \
    {WM_NOTIFY,                                                                                    \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     (UINT)(WORD)(id),                                                                             \
     (UINT)(WORD)(idLast),                                                                         \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) -> BOOL {                                   \
         (VEK_THIS(p)->*(memberFxn))((UINT)w, reinterpret_cast<NMHDR*>(l), r);                     \
         return TRUE;                                                                              \
     }},

// Reflected notifications, handled by the control's own class before its parent sees them.
// With the plain forms the parent never sees the notification; with the _EX forms the handler
// returns TRUE to keep it from the parent.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                 \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                 \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM, LRESULT*) -> BOOL {                                         \
         (VEK_THIS(p)->*(memberFxn))();                                                            \
         return TRUE;                                                                              \
     }},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                              \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                 \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM, LRESULT*) -> BOOL {                                         \
         return (VEK_THIS(p)->*(memberFxn))();                                                     \
     }},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                  \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) -> BOOL {                                     \
         (VEK_THIS(p)->*(memberFxn))(reinterpret_cast<NMHDR*>(l), r);                              \
         return TRUE;                                                                              \
     }},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                               \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                  \
     (UINT)(WORD)(wNotifyCode),                                                                    \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) -> BOOL {                                     \
         return (VEK_THIS(p)->*(memberFxn))(reinterpret_cast<NMHDR*>(l), r);                       \
     }},
#define ON_EN_CHANGE_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_CHANGE, memberFxn)

// User-defined and registered messages: LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                             \
    {(UINT)(message), 0, 0, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) -> BOOL {      \
         *r = (VEK_THIS(p)->*(memberFxn))(w, l);                                                   \
         return TRUE;                                                                              \
     }},

#define VEK_ON_WM(msg, body)                                                                       \
    {msg, 0, 0, 0, 0, [](CCmdTarget* p, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL {  \
         (void)wParam;                                                                             \
         (void)lParam;                                                                             \
         (void)pResult;                                                                            \
         body;                                                                                     \
         return TRUE;                                                                              \
     }},
#define VEK_PT(l) CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l))

#define ON_WM_CREATE()                                                                             \
    VEK_ON_WM(WM_CREATE, *pResult = VEK_THIS(p)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_DESTROY() VEK_ON_WM(WM_DESTROY, VEK_THIS(p)->OnDestroy())
#define ON_WM_CLOSE() VEK_ON_WM(WM_CLOSE, VEK_THIS(p)->OnClose())
#define ON_WM_PAINT() VEK_ON_WM(WM_PAINT, VEK_THIS(p)->OnPaint())
#define ON_WM_SIZE()                                                                               \
    VEK_ON_WM(WM_SIZE, VEK_THIS(p)->OnSize((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_SETFOCUS()                                                                           \
    VEK_ON_WM(WM_SETFOCUS,                                                                         \
              VEK_THIS(p)->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_KILLFOCUS()                                                                          \
    VEK_ON_WM(WM_KILLFOCUS,                                                                        \
              VEK_THIS(p)->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_LBUTTONDOWN()                                                                        \
    VEK_ON_WM(WM_LBUTTONDOWN, VEK_THIS(p)->OnLButtonDown((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_LBUTTONUP()                                                                          \
    VEK_ON_WM(WM_LBUTTONUP, VEK_THIS(p)->OnLButtonUp((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    VEK_ON_WM(WM_LBUTTONDBLCLK, VEK_THIS(p)->OnLButtonDblClk((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_RBUTTONDOWN()                                                                        \
    VEK_ON_WM(WM_RBUTTONDOWN, VEK_THIS(p)->OnRButtonDown((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_MOUSEMOVE()                                                                          \
    VEK_ON_WM(WM_MOUSEMOVE, VEK_THIS(p)->OnMouseMove((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_NCLBUTTONDOWN()                                                                      \
    VEK_ON_WM(WM_NCLBUTTONDOWN, VEK_THIS(p)->OnNcLButtonDown((UINT)wParam, VEK_PT(lParam)))
#define ON_WM_KEYDOWN()                                                                            \
    VEK_ON_WM(WM_KEYDOWN, VEK_THIS(p)->OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYUP()                                                                              \
    VEK_ON_WM(WM_KEYUP, VEK_THIS(p)->OnKeyUp((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR()                                                                               \
    VEK_ON_WM(WM_CHAR, VEK_THIS(p)->OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_GETDLGCODE() VEK_ON_WM(WM_GETDLGCODE, *pResult = VEK_THIS(p)->OnGetDlgCode())
#define ON_WM_VSCROLL()                                                                            \
    VEK_ON_WM(WM_VSCROLL, VEK_THIS(p)->OnVScroll(LOWORD(wParam), HIWORD(wParam),                   \
                                                 reinterpret_cast<CScrollBar*>(CWnd::FromHandle(   \
                                                     reinterpret_cast<HWND>(lParam)))))
#define ON_WM_HSCROLL()                                                                            \
    VEK_ON_WM(WM_HSCROLL, VEK_THIS(p)->OnHScroll(LOWORD(wParam), HIWORD(wParam),                   \
                                                 reinterpret_cast<CScrollBar*>(CWnd::FromHandle(   \
                                                     reinterpret_cast<HWND>(lParam)))))
// The thunk receives an AFX_CTLCOLOR; the handler gets a device context for the request.
#define ON_WM_CTLCOLOR()                                                                           \
    VEK_ON_WM(WM_CTLCOLOR, {                                                                       \
        const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);                  \
        CDC dc(pCtl->hDC);                                                                         \
        *pResult = reinterpret_cast<LRESULT>(                                                      \
            VEK_THIS(p)->OnCtlColor(&dc, CWnd::FromHandle(pCtl->hWnd), pCtl->nCtlType));           \
    })
#define ON_WM_SHOWWINDOW()                                                                         \
    VEK_ON_WM(WM_SHOWWINDOW, VEK_THIS(p)->OnShowWindow((BOOL)wParam, (UINT)lParam))
#define ON_WM_ENABLE() VEK_ON_WM(WM_ENABLE, VEK_THIS(p)->OnEnable((BOOL)wParam))

// A device context: only what colour requests need; nothing is drawn.
class VEK_PLATFORM_API CDC
{
public:
    explicit CDC(HDC hDC = nullptr) : m_hDC(hDC) {}
    HDC GetSafeHdc() const { return m_hDC; }
    COLORREF SetTextColor(COLORREF cr)
    {
        COLORREF old = m_crText;
        m_crText = cr;
        return old;
    }
    COLORREF SetBkColor(COLORREF cr)
    {
        COLORREF old = m_crBk;
        m_crBk = cr;
        return old;
    }
    int SetBkMode(int nMode)
    {
        int old = m_nBkMode;
        m_nBkMode = nMode;
        return old;
    }

    HDC m_hDC;

private:
    COLORREF m_crText = 0;
    COLORREF m_crBk = 0xFFFFFF;
    int m_nBkMode = 2;
};
#define TRANSPARENT 1
#define OPAQUE 2
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

class VEK_PLATFORM_API CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)

public:
    CGdiObject() = default;
    ~CGdiObject() override; // deletes the object it still holds
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject(); // FALSE when nothing is held
};

class VEK_PLATFORM_API CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)

public:
    CFont() = default;
    // A font of nPointSize tenths of a point in the face lpszFaceName. FALSE when one is held.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    int GetLogFont(LOGFONT* pLogFont);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    // The CFont that holds hFont, or one the platform keeps for that handle until the font is
    // deleted; null for a null handle.
    static CFont* FromHandle(HFONT hFont);
};

// The font's height in tenths of a point, as CreatePointFont was given it (0 when unknown).
VEK_PLATFORM_API int VekGetFontPointSize(HFONT hFont);

class VEK_PLATFORM_API CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    // Destroys a window still attached, as MFC does.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to hWnd; for a window without one, an object of the matching control
    // class that the platform keeps until the window is destroyed. Null for a null or dead handle.
    static CWnd* FromHandle(HWND hWnd);
    // The object attached to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The message being processed (with its position), or null outside message processing.
    static const MSG* GetCurrentMessage();

    BOOL Attach(HWND hWndNew);
    HWND Detach(); // also undoes a subclassing done by SubclassWindow
    // Attaches and routes the window's messages through this object's message map, with the
    // window's previous procedure as the default processing. FALSE when hWnd is null, dead or
    // already attached to an object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Window state
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes, then adds style bits; nFlags non-zero also repositions as SetWindowPos does.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const;
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);
    CWnd* SetCapture();

    // Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT Default();

    // Dialog-item helpers
    CWnd* GetDlgItem(int nID) const; // a direct child with that id, or null
    void GetDlgItem(int nID, HWND* phWnd) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    BOOL IsDialogMessage(LPMSG lpMsg);
    // The application's message box owned by this window.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Data exchange: runs DoDataExchange; FALSE when a control it names is missing.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Routing
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Hands the message being processed to the control hWndChild's object, if it has one,
    // for reflection. TRUE when the control handled it.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

protected:
    virtual void DoDataExchange(class CDataExchange* pDX);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL PreTranslateInput(LPMSG lpMsg);

    // Default handlers of the ON_WM_* entries: the window's default processing.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // Offers the request to the asking control (reflection), then the default processing.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);

    WNDPROC m_pfnSuper = nullptr; // the default processing of a subclassed window
    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;

    DECLARE_MESSAGE_MAP()
};

class VEK_PLATFORM_API CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
};

// Data exchange between a dialog's controls and its members.
class VEK_PLATFORM_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;
    // The control nIDC of the dialog; a missing control fails the whole exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Abandons the exchange (UpdateData then returns FALSE).
    [[noreturn]] void Fail();
};

// Binds rControl to control nIDC by subclassing it, once.
VEK_PLATFORM_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// A check box's state (BST_*) to or from value.
VEK_PLATFORM_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
VEK_PLATFORM_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
VEK_PLATFORM_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
VEK_PLATFORM_API void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);

class VEK_PLATFORM_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog from template m_nIDTemplate of AfxGetResourceHandle(), runs
    // OnInitDialog and hands the running dialog to the modal handler (vekinput.h) until
    // EndDialog. Returns the EndDialog result, or -1 when the template is missing or the
    // dialog cannot be created.
    virtual INT_PTR DoModal();
    // Called by the dialog manager once the controls exist; runs the data exchange towards the
    // controls. TRUE lets the dialog put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);
    // True between the start of DoModal's loop and EndDialog.
    BOOL IsModalRunning() const { return m_bContinueModal; }
    UINT GetTemplateID() const { return m_nIDTemplate; }

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    // Offers key and mouse messages for this dialog to the dialog manager.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The data exchange back into the members, then EndDialog(IDOK); stays open when the
    // exchange fails.
    virtual void OnOK();
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate = 0;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    BOOL m_bContinueModal = FALSE;

    DECLARE_MESSAGE_MAP()
};

class VEK_PLATFORM_API CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)

public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xffff);
};

class VEK_PLATFORM_API CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)

public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, (WPARAM)bHighlight); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE)
    {
        SendMessage(BM_SETSTYLE, nStyle, (LPARAM)bRedraw);
    }
    void Click() { SendMessage(BM_CLICK); }
};

class VEK_PLATFORM_API CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)nChars); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT); }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, (WPARAM)bCanUndo, (LPARAM)lpszNewText);
    }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, (WPARAM)bModified); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE)
    {
        return (BOOL)SendMessage(EM_SETREADONLY, (WPARAM)bReadOnly);
    }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};

class VEK_PLATFORM_API CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int nSelect) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect); }
    int GetSel(int nIndex) const { return (int)SendMessage(LB_GETSEL, (WPARAM)nIndex); }
    int SetSel(int nIndex, BOOL bSelect = TRUE)
    {
        return (int)SendMessage(LB_SETSEL, (WPARAM)bSelect, (LPARAM)nIndex);
    }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const
    {
        return (int)SendMessage(LB_GETSELITEMS, (WPARAM)nMaxItems, (LPARAM)rgIndex);
    }
    int GetText(int nIndex, LPTSTR lpszBuffer) const
    {
        return (int)SendMessage(LB_GETTEXT, (WPARAM)nIndex, (LPARAM)lpszBuffer);
    }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex); }
    int AddString(LPCTSTR lpszItem) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int InsertString(int nIndex, LPCTSTR lpszItem)
    {
        return (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem);
    }
    int DeleteString(UINT nIndex) { return (int)SendMessage(LB_DELETESTRING, nIndex); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int FindString(int nStartAfter, LPCTSTR lpszItem) const
    {
        return (int)SendMessage(LB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem)
    {
        return (int)SendMessage(LB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)nIndex);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)SendMessage(LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    int GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (int)SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
    }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    // Scrolls so that nIndex is the top row, or as near as the last page allows; LB_ERR for an
    // index outside the items.
    int SetTopIndex(int nIndex) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)nIndex); }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX); }
    // The item nearest to a client point; bOutside says whether the point lies outside the
    // client area or below the last item.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const
    {
        DWORD dw = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
        bOutside = HIWORD(dw) != 0;
        return LOWORD(dw);
    }
};

class VEK_PLATFORM_API CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int nSelect) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect); }
    int AddString(LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString);
    }
    int InsertString(int nIndex, LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszString);
    }
    int DeleteString(UINT nIndex) { return (int)SendMessage(CB_DELETESTRING, nIndex); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindString(int nStartAfter, LPCTSTR lpszString) const
    {
        return (int)SendMessage(CB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    int GetLBText(int nIndex, LPTSTR lpszText) const
    {
        return (int)SendMessage(CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)lpszText);
    }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)nIndex); }
    BOOL LimitText(int nMaxChars) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)nMaxChars); }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, (WPARAM)bShowIt); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)nIndex);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)SendMessage(CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    BOOL GetComboBoxInfo(COMBOBOXINFO* pcbi) const { return ::GetComboBoxInfo(m_hWnd, pcbi); }
};
