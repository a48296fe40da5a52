// Edit control: single-line and multi-line text entry with a selection, a text limit and the
// change notifications.
//
// Not implemented: undo (EM_UNDO, EM_CANUNDO answer FALSE), word wrap and line geometry
// (EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE), scrolling (EM_LINESCROLL, EM_SCROLL and
// EM_SCROLLCARET only answer), drawing (WM_PAINT only asks for colours), ES_PASSWORD masking, IME,
// margins, EM_GETRECT beyond the client rectangle, the context menu. Text is one string; a caret
// position is a character index.
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>

namespace
{
struct EditState
{
    UINT nSelStart = 0; // anchor
    UINT nSelEnd = 0;   // caret
    UINT nLimit = 30000;
    bool bModified = false;
    bool bDialogMode = false; // the dialog manager asked for the dialog code with a message
    bool bTracking = false;   // mouse button held after a click
};

bool IsMultiLine(HWND h)
{
    return (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE) != 0;
}

std::wstring& Text(HWND h)
{
    return VekGetWindow(h)->strText;
}

UINT Low(const EditState* s)
{
    return std::min(s->nSelStart, s->nSelEnd);
}
UINT High(const EditState* s)
{
    return std::max(s->nSelStart, s->nSelEnd);
}

void NotifyChange(HWND hWnd)
{
    VekNotifyParentCommand(hWnd, EN_UPDATE);
    if (IsWindow(hWnd))
        VekNotifyParentCommand(hWnd, EN_CHANGE);
}

std::wstring ApplyCase(HWND hWnd, std::wstring str)
{
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
    for (auto& ch : str)
    {
        if (dwStyle & ES_UPPERCASE)
            ch = static_cast<wchar_t>(std::towupper(ch));
        else if (dwStyle & ES_LOWERCASE)
            ch = static_cast<wchar_t>(std::towlower(ch));
    }
    return str;
}

// Replaces the selection with str, cut to what the limit leaves room for. Returns whether the
// text changed; bTruncated tells whether part of str was refused.
bool ReplaceSel(HWND hWnd, EditState* s, std::wstring str, bool& bTruncated)
{
    std::wstring& text = Text(hWnd);
    UINT lo = Low(s);
    UINT hi = High(s);
    size_t nKept = text.size() - (hi - lo);
    bTruncated = false;
    if (nKept + str.size() > s->nLimit)
    {
        size_t nRoom = s->nLimit > nKept ? s->nLimit - nKept : 0;
        str.resize(nRoom);
        bTruncated = true;
    }
    if (str.empty() && lo == hi)
        return false;
    text.replace(lo, hi - lo, str);
    s->nSelStart = s->nSelEnd = lo + static_cast<UINT>(str.size());
    s->bModified = true;
    return true;
}

void Insert(HWND hWnd, EditState* s, const std::wstring& str)
{
    bool bTruncated = false;
    bool bChanged = ReplaceSel(hWnd, s, ApplyCase(hWnd, str), bTruncated);
    if (bTruncated)
        VekNotifyParentCommand(hWnd, EN_MAXTEXT);
    if (bChanged && IsWindow(hWnd))
        NotifyChange(hWnd);
}

void DeleteRange(HWND hWnd, EditState* s, UINT lo, UINT hi)
{
    std::wstring& text = Text(hWnd);
    hi = std::min<UINT>(hi, static_cast<UINT>(text.size()));
    if (lo >= hi)
        return;
    text.erase(lo, hi - lo);
    s->nSelStart = s->nSelEnd = lo;
    s->bModified = true;
    NotifyChange(hWnd);
}

void MoveCaret(EditState* s, UINT nPos, bool bExtend)
{
    s->nSelEnd = nPos;
    if (!bExtend)
        s->nSelStart = nPos;
}

UINT CharFromX(HWND hWnd, int x)
{
    int n = (x + VEK_CX_CHAR / 2) / VEK_CX_CHAR;
    n = std::max(0, std::min(n, static_cast<int>(Text(hWnd).size())));
    return static_cast<UINT>(n);
}

HWND DialogOf(HWND hWnd)
{
    return VekFindDialogAncestor(GetParent(hWnd));
}

void KeyDown(HWND hWnd, EditState* s, UINT vk)
{
    bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    UINT nLen = static_cast<UINT>(Text(hWnd).size());
    switch (vk)
    {
    case VK_DELETE:
        if (GetWindowLongW(hWnd, GWL_STYLE) & ES_READONLY)
            return;
        if (Low(s) != High(s))
        {
            if (bShift)
                SendMessageW(hWnd, WM_CUT, 0, 0);
            else
                DeleteRange(hWnd, s, Low(s), High(s));
        }
        else
        {
            DeleteRange(hWnd, s, s->nSelEnd, s->nSelEnd + 1);
        }
        return;
    case VK_LEFT:
        MoveCaret(s, s->nSelEnd > 0 ? s->nSelEnd - 1 : 0, bShift);
        return;
    case VK_RIGHT:
        MoveCaret(s, std::min(s->nSelEnd + 1, nLen), bShift);
        return;
    case VK_HOME:
        MoveCaret(s, 0, bShift);
        return;
    case VK_END:
        MoveCaret(s, nLen, bShift);
        return;
    default:
        break;
    }
    if (!IsMultiLine(hWnd) || !s->bDialogMode)
        return;
    // A multi-line edit gets Enter, Escape and Tab from the dialog manager and hands them on.
    // Enter asks the edit's own parent for its default button, as Windows does: an editor
    // whose parent is another control (a grid's cell editor) presses nothing. Escape and Tab
    // go to the dialog that contains the edit, whatever its parent: the grid's editors rely
    // on Tab moving on through the dialog (on Windows the parent would get them).
    HWND hDlg = DialogOf(hWnd);
    if (!hDlg)
        return;
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
    if (vk == VK_RETURN && !(dwStyle & ES_WANTRETURN))
    {
        if (GetKeyState(VK_CONTROL) & 0x8000)
            return;
        HWND hParent = GetParent(hWnd);
        LRESULT dw = SendMessageW(hParent, DM_GETDEFID, 0, 0);
        if (HIWORD(dw) == DC_HASDEFID)
        {
            HWND hDef = GetDlgItem(hParent, LOWORD(dw));
            if (hDef)
            {
                SendMessageW(hParent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hDef), TRUE);
                PostMessageW(hDef, WM_KEYDOWN, VK_RETURN, 0);
            }
        }
    }
    else if (vk == VK_ESCAPE)
    {
        PostMessageW(hDlg, WM_CLOSE, 0, 0);
    }
    else if (vk == VK_TAB)
    {
        SendMessageW(hDlg, WM_NEXTDLGCTL, bShift ? 1 : 0, 0);
    }
}

void Char(HWND hWnd, EditState* s, WCHAR ch)
{
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
    bool bMulti = (dwStyle & ES_MULTILINE) != 0;
    switch (ch)
    {
    case 0x03: // Ctrl+C
        SendMessageW(hWnd, WM_COPY, 0, 0);
        return;
    case 0x16: // Ctrl+V
        SendMessageW(hWnd, WM_PASTE, 0, 0);
        return;
    case 0x18: // Ctrl+X
        SendMessageW(hWnd, WM_CUT, 0, 0);
        return;
    default:
        break;
    }
    if (dwStyle & ES_READONLY)
        return;
    if (ch == L'\b')
    {
        if (Low(s) != High(s))
            DeleteRange(hWnd, s, Low(s), High(s));
        else if (s->nSelEnd > 0)
            DeleteRange(hWnd, s, s->nSelEnd - 1, s->nSelEnd);
        return;
    }
    if (ch == L'\r' || ch == L'\n')
    {
        if (bMulti && ((dwStyle & ES_WANTRETURN) || !s->bDialogMode))
            Insert(hWnd, s, L"\r\n");
        return;
    }
    if (ch == L'\t')
    {
        if (bMulti && !s->bDialogMode)
            Insert(hWnd, s, L"\t");
        return;
    }
    if (ch < 0x20 || ch == 0x7F)
        return;
    if ((dwStyle & ES_NUMBER) && !(ch >= L'0' && ch <= L'9'))
        return;
    Insert(hWnd, s, std::wstring(1, ch));
}

LRESULT EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = static_cast<EditState*>(VekGetCtlState(hWnd));
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE: {
        auto* pNew = new EditState;
        VekSetCtlState(hWnd, pNew);
        return TRUE;
    }
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(hWnd, nullptr);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        if (IsMultiLine(hWnd))
            code |= DLGC_WANTALLKEYS;
        if (lParam)
            s->bDialogMode = true;
        return code;
    }
    case WM_SETTEXT:
        Text(hWnd) = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        s->nSelStart = s->nSelEnd = 0;
        s->bModified = false;
        // A single-line edit reports a text set by program; a multi-line one does not.
        if (!IsMultiLine(hWnd))
            NotifyChange(hWnd);
        return TRUE;
    case EM_GETSEL: {
        UINT lo = Low(s);
        UINT hi = High(s);
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = lo;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = hi;
        return MAKELONG(std::min<UINT>(lo, 0xFFFF), std::min<UINT>(hi, 0xFFFF));
    }
    case EM_SETSEL: {
        UINT nLen = static_cast<UINT>(Text(hWnd).size());
        UINT nStart = static_cast<UINT>(wParam);
        UINT nEnd = static_cast<UINT>(lParam);
        if (nStart == static_cast<UINT>(-1))
        {
            s->nSelStart = s->nSelEnd;
            return 0;
        }
        s->nSelStart = std::min(nStart, nLen);
        s->nSelEnd = std::min(nEnd, nLen);
        return 0;
    }
    case EM_REPLACESEL:
        Insert(hWnd, s, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"");
        return 0;
    case EM_LIMITTEXT:
        if (wParam == 0)
            s->nLimit = IsMultiLine(hWnd) ? 0xFFFFFFFFu : 0x7FFFFFFEu;
        else
            s->nLimit = static_cast<UINT>(
                std::min<WPARAM>(wParam, IsMultiLine(hWnd) ? 0xFFFFFFFFu : 0x7FFFFFFEu));
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s->nLimit);
    case EM_GETMODIFY:
        return s->bModified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s->bModified = wParam != 0;
        return 0;
    case EM_SETREADONLY: {
        LONG dwStyle = GetWindowLongW(hWnd, GWL_STYLE);
        SetWindowLongW(hWnd, GWL_STYLE,
                       wParam ? (dwStyle | ES_READONLY) : (dwStyle & ~ES_READONLY));
        return TRUE;
    }
    case EM_GETLINECOUNT: {
        if (!IsMultiLine(hWnd))
            return 1;
        const std::wstring& text = Text(hWnd);
        return 1 + static_cast<LRESULT>(std::count(text.begin(), text.end(), L'\n'));
    }
    case EM_SCROLLCARET:
    case EM_LINESCROLL:
        return TRUE;
    case EM_SCROLL:
        return 0;
    case EM_CANUNDO:
    case EM_UNDO:
        return FALSE;
    case EM_GETRECT:
        if (lParam)
            GetClientRect(hWnd, reinterpret_cast<LPRECT>(lParam));
        return 0;
    case WM_CHAR:
        Char(hWnd, s, static_cast<WCHAR>(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(hWnd, s, static_cast<UINT>(wParam));
        return 0;
    case WM_PASTE: {
        if (GetWindowLongW(hWnd, GWL_STYLE) & ES_READONLY)
            return 0;
        std::wstring str = VekGetClipboardText().str();
        if (!IsMultiLine(hWnd))
        {
            size_t n = str.find_first_of(L"\r\n");
            if (n != std::wstring::npos)
                str.resize(n);
        }
        if (!str.empty() || Low(s) != High(s))
            Insert(hWnd, s, str);
        return 0;
    }
    case WM_COPY:
        if (Low(s) != High(s))
            VekSetClipboardText(Text(hWnd).substr(Low(s), High(s) - Low(s)).c_str());
        return 0;
    case WM_CUT:
        if (Low(s) != High(s) && !(GetWindowLongW(hWnd, GWL_STYLE) & ES_READONLY))
        {
            VekSetClipboardText(Text(hWnd).substr(Low(s), High(s) - Low(s)).c_str());
            DeleteRange(hWnd, s, Low(s), High(s));
        }
        return 0;
    case WM_CLEAR:
        if (Low(s) != High(s) && !(GetWindowLongW(hWnd, GWL_STYLE) & ES_READONLY))
            DeleteRange(hWnd, s, Low(s), High(s));
        return 0;
    case WM_SETFOCUS:
        VekNotifyParentCommand(hWnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        VekNotifyParentCommand(hWnd, EN_KILLFOCUS);
        return 0;
    case WM_PAINT: {
        // Painting asks the parent for colours (read-only and disabled edits as static text).
        DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
        UINT nMsg = (dwStyle & (ES_READONLY | WS_DISABLED)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
        if (HWND hParent = GetParent(hWnd))
            SendMessageW(hParent, nMsg, 0, reinterpret_cast<LPARAM>(hWnd));
        if (!IsWindow(hWnd))
            return 0;
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    case WM_LBUTTONDOWN: {
        SetFocus(hWnd);
        if (!IsWindow(hWnd))
            return 0;
        bool bShift = (wParam & MK_SHIFT) != 0;
        MoveCaret(s, CharFromX(hWnd, GET_X_LPARAM(lParam)), bShift);
        s->bTracking = true;
        SetCapture(hWnd);
        return 0;
    }
    case WM_LBUTTONUP:
        if (s->bTracking)
        {
            s->bTracking = false;
            if (GetCapture() == hWnd)
                ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        // Selects the word under the point.
        const std::wstring& text = Text(hWnd);
        UINT n = CharFromX(hWnd, GET_X_LPARAM(lParam));
        UINT lo = n;
        UINT hi = n;
        while (lo > 0 && !std::iswspace(text[lo - 1]))
            --lo;
        while (hi < text.size() && !std::iswspace(text[hi]))
            ++hi;
        s->nSelStart = lo;
        s->nSelEnd = hi;
        return 0;
    }
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterEditClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &EditProc;
    wc.lpszClassName = L"Edit";
    RegisterClassW(&wc);
}
