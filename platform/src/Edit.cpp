// Edit control: single-line and multi-line text entry with a selection, a text limit and the
// change notifications.
//
// Not implemented: undo (EM_UNDO, EM_CANUNDO answer FALSE), word wrap and line geometry
// (EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE), scrolling (EM_LINESCROLL, EM_SCROLL and
// EM_SCROLLCARET only answer), drawing (WM_PAINT only asks for colours), ES_PASSWORD masking, IME,
// margins, EM_GETRECT beyond the client rectangle, the context menu, Ctrl+A. Text is one string;
// a caret position is a character index.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>

namespace
{
// The state of one edit window, created on WM_NCCREATE and freed on WM_NCDESTROY. The text is
// the window's own text.
struct Edit
{
    HWND hwnd = nullptr;
    UINT nSelStart = 0; // anchor
    UINT nSelEnd = 0;   // caret
    UINT nLimit = 30000;
    bool bModified = false;
    bool bDialogMode = false; // the dialog manager asked for the dialog code with a message
    bool bTracking = false;   // mouse button held after a click
};

Edit* EditOf(HWND h)
{
    return static_cast<Edit*>(VekGetCtlState(h));
}

DWORD Style(const Edit* ed)
{
    return static_cast<DWORD>(GetWindowLongW(ed->hwnd, GWL_STYLE));
}

bool IsMultiLine(const Edit* ed)
{
    return (Style(ed) & ES_MULTILINE) != 0;
}

bool IsReadOnly(const Edit* ed)
{
    return (Style(ed) & ES_READONLY) != 0;
}

std::wstring& Text(const Edit* ed)
{
    return VekGetWindow(ed->hwnd)->strText;
}

UINT Length(const Edit* ed)
{
    return static_cast<UINT>(Text(ed).size());
}

UINT Low(const Edit* ed)
{
    return std::min(ed->nSelStart, ed->nSelEnd);
}

UINT High(const Edit* ed)
{
    return std::max(ed->nSelStart, ed->nSelEnd);
}

bool HasSelection(const Edit* ed)
{
    return ed->nSelStart != ed->nSelEnd;
}

std::wstring SelectedText(const Edit* ed)
{
    return Text(ed).substr(Low(ed), High(ed) - Low(ed));
}

UINT MaxLimit(const Edit* ed)
{
    return IsMultiLine(ed) ? 0xFFFFFFFFu : 0x7FFFFFFEu;
}

// Tells the parent. False when the edit did not survive the handler: its state is freed then,
// and the caller must return at once.
bool Notify(const Edit* ed, UINT nCode)
{
    HWND h = ed->hwnd;
    VekNotifyParentCommand(h, nCode);
    return IsWindow(h) != FALSE;
}

void NotifyChange(const Edit* ed)
{
    if (Notify(ed, EN_UPDATE))
        Notify(ed, EN_CHANGE);
}

std::wstring ApplyCase(const Edit* ed, std::wstring str)
{
    DWORD dwStyle = Style(ed);
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
bool ReplaceSel(Edit* ed, std::wstring str, bool& bTruncated)
{
    std::wstring& text = Text(ed);
    UINT lo = Low(ed);
    UINT hi = High(ed);
    size_t nKept = text.size() - (hi - lo);
    bTruncated = false;
    if (nKept + str.size() > ed->nLimit)
    {
        size_t nRoom = ed->nLimit > nKept ? ed->nLimit - nKept : 0;
        str.resize(nRoom);
        bTruncated = true;
    }
    if (str.empty() && lo == hi)
        return false;
    text.replace(lo, hi - lo, str);
    ed->nSelStart = ed->nSelEnd = lo + static_cast<UINT>(str.size());
    ed->bModified = true;
    return true;
}

// The user's insertion: typing, paste and EM_REPLACESEL.
void Insert(Edit* ed, const std::wstring& str)
{
    bool bTruncated = false;
    bool bChanged = ReplaceSel(ed, ApplyCase(ed, str), bTruncated);
    if (bTruncated && !Notify(ed, EN_MAXTEXT))
        return;
    if (bChanged)
        NotifyChange(ed);
}

void DeleteRange(Edit* ed, UINT lo, UINT hi)
{
    std::wstring& text = Text(ed);
    hi = std::min<UINT>(hi, static_cast<UINT>(text.size()));
    if (lo >= hi)
        return;
    text.erase(lo, hi - lo);
    ed->nSelStart = ed->nSelEnd = lo;
    ed->bModified = true;
    NotifyChange(ed);
}

void DeleteSelection(Edit* ed)
{
    DeleteRange(ed, Low(ed), High(ed));
}

void MoveCaret(Edit* ed, UINT nPos, bool bExtend)
{
    ed->nSelEnd = nPos;
    if (!bExtend)
        ed->nSelStart = nPos;
}

UINT CharFromX(const Edit* ed, int x)
{
    int n = (x + VEK_CX_CHAR / 2) / VEK_CX_CHAR;
    n = std::max(0, std::min(n, static_cast<int>(Length(ed))));
    return static_cast<UINT>(n);
}

bool IsKeyHeld(int vk)
{
    return (GetKeyState(vk) & 0x8000) != 0;
}

// A multi-line edit gets Enter, Escape and Tab from the dialog manager and hands them on.
// Enter asks the edit's own parent for its default button, as Windows does: an editor whose
// parent is another control (a grid's cell editor) presses nothing. Escape and Tab go to the
// dialog that contains the edit, whatever its parent: the grid's editors rely on Tab moving on
// through the dialog (on Windows the parent would get them).
void DialogKey(Edit* ed, UINT vk)
{
    HWND hDlg = VekFindDialogAncestor(GetParent(ed->hwnd));
    if (!hDlg)
        return;
    if (vk == VK_RETURN && !(Style(ed) & ES_WANTRETURN))
    {
        if (IsKeyHeld(VK_CONTROL))
            return;
        HWND hParent = GetParent(ed->hwnd);
        LRESULT dw = SendMessageW(hParent, DM_GETDEFID, 0, 0);
        if (HIWORD(dw) != DC_HASDEFID)
            return;
        if (HWND hDef = GetDlgItem(hParent, LOWORD(dw)))
        {
            SendMessageW(hParent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hDef), TRUE);
            PostMessageW(hDef, WM_KEYDOWN, VK_RETURN, 0);
        }
    }
    else if (vk == VK_ESCAPE)
    {
        PostMessageW(hDlg, WM_CLOSE, 0, 0);
    }
    else if (vk == VK_TAB)
    {
        SendMessageW(hDlg, WM_NEXTDLGCTL, IsKeyHeld(VK_SHIFT) ? 1 : 0, 0);
    }
}

// Message handlers, one per message or family.

LRESULT OnGetDlgCode(Edit* ed, LPARAM lParam)
{
    LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    if (IsMultiLine(ed))
        code |= DLGC_WANTALLKEYS;
    if (lParam)
        ed->bDialogMode = true;
    return code;
}

LRESULT OnSetText(Edit* ed, LPCWSTR psz)
{
    Text(ed) = psz ? psz : L"";
    ed->nSelStart = ed->nSelEnd = 0;
    ed->bModified = false;
    // A single-line edit reports a text set by program; a multi-line one does not.
    if (!IsMultiLine(ed))
        NotifyChange(ed);
    return TRUE;
}

LRESULT OnGetSel(const Edit* ed, DWORD* pStart, DWORD* pEnd)
{
    UINT lo = Low(ed);
    UINT hi = High(ed);
    if (pStart)
        *pStart = lo;
    if (pEnd)
        *pEnd = hi;
    return MAKELONG(std::min<UINT>(lo, 0xFFFF), std::min<UINT>(hi, 0xFFFF));
}

LRESULT OnSetSel(Edit* ed, UINT nStart, UINT nEnd)
{
    if (nStart == static_cast<UINT>(-1))
    {
        ed->nSelStart = ed->nSelEnd; // no selection, the caret stays
        return 0;
    }
    ed->nSelStart = std::min(nStart, Length(ed));
    ed->nSelEnd = std::min(nEnd, Length(ed));
    return 0;
}

LRESULT OnLimitText(Edit* ed, WPARAM wParam)
{
    ed->nLimit =
        wParam == 0 ? MaxLimit(ed) : static_cast<UINT>(std::min<WPARAM>(wParam, MaxLimit(ed)));
    return 0;
}

LRESULT OnSetReadOnly(Edit* ed, BOOL bReadOnly)
{
    DWORD dwStyle = Style(ed);
    SetWindowLongW(
        ed->hwnd, GWL_STYLE,
        static_cast<LONG>(bReadOnly ? (dwStyle | ES_READONLY) : (dwStyle & ~ES_READONLY)));
    return TRUE;
}

LRESULT OnGetLineCount(const Edit* ed)
{
    if (!IsMultiLine(ed))
        return 1;
    const std::wstring& text = Text(ed);
    return 1 + static_cast<LRESULT>(std::count(text.begin(), text.end(), L'\n'));
}

LRESULT OnKeyDown(Edit* ed, UINT vk)
{
    bool bShift = IsKeyHeld(VK_SHIFT);
    switch (vk)
    {
    case VK_DELETE:
        if (IsReadOnly(ed))
            return 0;
        if (!HasSelection(ed))
            DeleteRange(ed, ed->nSelEnd, ed->nSelEnd + 1);
        else if (bShift)
            SendMessageW(ed->hwnd, WM_CUT, 0, 0);
        else
            DeleteSelection(ed);
        return 0;
    case VK_LEFT:
        MoveCaret(ed, ed->nSelEnd > 0 ? ed->nSelEnd - 1 : 0, bShift);
        return 0;
    case VK_RIGHT:
        MoveCaret(ed, std::min(ed->nSelEnd + 1, Length(ed)), bShift);
        return 0;
    case VK_HOME:
        MoveCaret(ed, 0, bShift);
        return 0;
    case VK_END:
        MoveCaret(ed, Length(ed), bShift);
        return 0;
    default:
        break;
    }
    if (IsMultiLine(ed) && ed->bDialogMode)
        DialogKey(ed, vk);
    return 0;
}

LRESULT OnChar(Edit* ed, WCHAR ch)
{
    switch (ch)
    {
    case 0x03: // Ctrl+C
        SendMessageW(ed->hwnd, WM_COPY, 0, 0);
        return 0;
    case 0x16: // Ctrl+V
        SendMessageW(ed->hwnd, WM_PASTE, 0, 0);
        return 0;
    case 0x18: // Ctrl+X
        SendMessageW(ed->hwnd, WM_CUT, 0, 0);
        return 0;
    default:
        break;
    }
    DWORD dwStyle = Style(ed);
    bool bMulti = (dwStyle & ES_MULTILINE) != 0;
    if (dwStyle & ES_READONLY)
        return 0;
    if (ch == L'\b')
    {
        if (HasSelection(ed))
            DeleteSelection(ed);
        else if (ed->nSelEnd > 0)
            DeleteRange(ed, ed->nSelEnd - 1, ed->nSelEnd);
        return 0;
    }
    // In a dialog, Enter and Tab belong to the dialog unless the edit asks for them.
    if (ch == L'\r' || ch == L'\n')
    {
        if (bMulti && ((dwStyle & ES_WANTRETURN) || !ed->bDialogMode))
            Insert(ed, L"\r\n");
        return 0;
    }
    if (ch == L'\t')
    {
        if (bMulti && !ed->bDialogMode)
            Insert(ed, L"\t");
        return 0;
    }
    if (ch < 0x20 || ch == 0x7F)
        return 0;
    if ((dwStyle & ES_NUMBER) && !(ch >= L'0' && ch <= L'9'))
        return 0;
    Insert(ed, std::wstring(1, ch));
    return 0;
}

LRESULT OnPaste(Edit* ed)
{
    if (IsReadOnly(ed))
        return 0;
    std::wstring str = VekGetClipboardText().str();
    if (!IsMultiLine(ed))
    {
        size_t n = str.find_first_of(L"\r\n");
        if (n != std::wstring::npos)
            str.resize(n);
    }
    if (!str.empty() || HasSelection(ed))
        Insert(ed, str);
    return 0;
}

LRESULT OnCopy(const Edit* ed)
{
    if (HasSelection(ed))
        VekSetClipboardText(SelectedText(ed).c_str());
    return 0;
}

LRESULT OnCut(Edit* ed)
{
    if (!HasSelection(ed) || IsReadOnly(ed))
        return 0;
    VekSetClipboardText(SelectedText(ed).c_str());
    DeleteSelection(ed);
    return 0;
}

LRESULT OnClear(Edit* ed)
{
    if (HasSelection(ed) && !IsReadOnly(ed))
        DeleteSelection(ed);
    return 0;
}

// Painting asks the parent for colours (read-only and disabled edits as static text).
LRESULT OnPaint(Edit* ed, WPARAM wParam, LPARAM lParam)
{
    HWND h = ed->hwnd;
    UINT nMsg = (Style(ed) & (ES_READONLY | WS_DISABLED)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    if (HWND hParent = GetParent(h))
        SendMessageW(hParent, nMsg, 0, reinterpret_cast<LPARAM>(h));
    if (!IsWindow(h))
        return 0;
    return DefWindowProcW(h, WM_PAINT, wParam, lParam);
}

LRESULT OnLButtonDown(Edit* ed, WPARAM wParam, LPARAM lParam)
{
    HWND h = ed->hwnd;
    SetFocus(h);
    if (!IsWindow(h))
        return 0;
    MoveCaret(ed, CharFromX(ed, GET_X_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
    ed->bTracking = true;
    SetCapture(h);
    return 0;
}

LRESULT OnLButtonUp(Edit* ed)
{
    if (!ed->bTracking)
        return 0;
    ed->bTracking = false;
    if (GetCapture() == ed->hwnd)
        ReleaseCapture();
    return 0;
}

// A double click selects the word under the point.
LRESULT OnLButtonDblClk(Edit* ed, LPARAM lParam)
{
    const std::wstring& text = Text(ed);
    UINT n = CharFromX(ed, GET_X_LPARAM(lParam));
    UINT lo = n;
    UINT hi = n;
    while (lo > 0 && !std::iswspace(text[lo - 1]))
        --lo;
    while (hi < text.size() && !std::iswspace(text[hi]))
        ++hi;
    ed->nSelStart = lo;
    ed->nSelEnd = hi;
    return 0;
}

LRESULT EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Edit* ed = EditOf(hWnd);
    if (!ed && msg != WM_NCCREATE)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE: {
        auto* pNew = new Edit;
        pNew->hwnd = hWnd;
        VekSetCtlState(hWnd, pNew);
        return TRUE;
    }
    case WM_NCDESTROY:
        delete ed;
        VekSetCtlState(hWnd, nullptr);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(ed, lParam);
    case WM_SETTEXT:
        return OnSetText(ed, reinterpret_cast<LPCWSTR>(lParam));
    case EM_GETSEL:
        return OnGetSel(ed, reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
        return OnSetSel(ed, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
    case EM_REPLACESEL:
        Insert(ed, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"");
        return 0;
    case EM_LIMITTEXT:
        return OnLimitText(ed, wParam);
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(ed->nLimit);
    case EM_GETMODIFY:
        return ed->bModified ? TRUE : FALSE;
    case EM_SETMODIFY:
        ed->bModified = wParam != 0;
        return 0;
    case EM_SETREADONLY:
        return OnSetReadOnly(ed, static_cast<BOOL>(wParam));
    case EM_GETLINECOUNT:
        return OnGetLineCount(ed);
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
        return OnChar(ed, static_cast<WCHAR>(wParam));
    case WM_KEYDOWN:
        return OnKeyDown(ed, static_cast<UINT>(wParam));
    case WM_PASTE:
        return OnPaste(ed);
    case WM_COPY:
        return OnCopy(ed);
    case WM_CUT:
        return OnCut(ed);
    case WM_CLEAR:
        return OnClear(ed);
    case WM_SETFOCUS:
        Notify(ed, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(ed, EN_KILLFOCUS);
        return 0;
    case WM_PAINT:
        return OnPaint(ed, wParam, lParam);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(ed, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(ed);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(ed, lParam);
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}

void Snapshot(HWND hWnd, nlohmann::json& control)
{
    const Edit* ed = EditOf(hWnd);
    if (!ed)
        return;
    const DWORD dwStyle = Style(ed);
    control["selStart"] = Low(ed);
    control["selEnd"] = High(ed);
    control["caret"] = ed->nSelEnd;
    control["multiline"] = (dwStyle & ES_MULTILINE) != 0;
    control["readOnly"] = (dwStyle & ES_READONLY) != 0;
    control["password"] = (dwStyle & ES_PASSWORD) != 0;
    control["number"] = (dwStyle & ES_NUMBER) != 0;
    switch (dwStyle & (ES_CENTER | ES_RIGHT))
    {
    case ES_CENTER:
        control["align"] = "center";
        break;
    case ES_RIGHT:
        control["align"] = "right";
        break;
    default:
        control["align"] = "left";
        break;
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
    VekRegisterSnapshotHook(L"Edit", &Snapshot);
}
