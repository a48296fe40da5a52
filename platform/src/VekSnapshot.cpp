// The window-tree snapshot: the common part of every window's entry, the document around the
// windows, and the change counter. Controls add their own state through hooks registered with
// their classes (VekSnapshotInternal.h); the pending message box comes from MessageBox.cpp.
#include "veksnapshot.h"

#include "VekModules.h"
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace
{
// Bumped when a field changes meaning or disappears; new fields do not bump it.
const int kSchemaVersion = 1;

std::map<std::wstring, VekSnapshotHook>& Hooks()
{
    static std::map<std::wstring, VekSnapshotHook> s_hooks;
    return s_hooks;
}

std::wstring Lower(const std::wstring& str)
{
    std::wstring s = str;
    for (auto& ch : s)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return s;
}

// The state of the previous snapshot, to tell whether anything changed.
struct ChangeTracker
{
    std::string strLastState;
    std::uint64_t nChange = 0;
};
ChangeTracker& Tracker()
{
    static ChangeTracker s_tracker;
    return s_tracker;
}

// Names of the window-wide style bits that change how a window is drawn. Bits a control
// interprets for itself are described by its "control" object instead.
nlohmann::json StyleNames(DWORD dwStyle, DWORD dwExStyle, bool bDialog)
{
    nlohmann::json names = nlohmann::json::array();
    if (dwStyle & WS_POPUP)
        names.push_back("WS_POPUP");
    if (dwStyle & WS_CHILD)
        names.push_back("WS_CHILD");
    if ((dwStyle & WS_CAPTION) == WS_CAPTION)
        names.push_back("WS_CAPTION");
    else if (dwStyle & WS_BORDER)
        names.push_back("WS_BORDER");
    else if (dwStyle & WS_DLGFRAME)
        names.push_back("WS_DLGFRAME");
    if (dwStyle & WS_VSCROLL)
        names.push_back("WS_VSCROLL");
    if (dwStyle & WS_HSCROLL)
        names.push_back("WS_HSCROLL");
    // WS_SYSMENU and WS_THICKFRAME share their bits with nothing; WS_MINIMIZEBOX and
    // WS_MAXIMIZEBOX share theirs with WS_GROUP and WS_TABSTOP and mean something only for a
    // window with a caption.
    if (dwStyle & WS_SYSMENU)
        names.push_back("WS_SYSMENU");
    if (dwStyle & WS_THICKFRAME)
        names.push_back("WS_THICKFRAME");
    if (bDialog && (dwStyle & DS_MODALFRAME))
        names.push_back("DS_MODALFRAME");
    if (dwExStyle & WS_EX_DLGMODALFRAME)
        names.push_back("WS_EX_DLGMODALFRAME");
    if (dwExStyle & WS_EX_CLIENTEDGE)
        names.push_back("WS_EX_CLIENTEDGE");
    if (dwExStyle & WS_EX_STATICEDGE)
        names.push_back("WS_EX_STATICEDGE");
    if (dwExStyle & WS_EX_CONTEXTHELP)
        names.push_back("WS_EX_CONTEXTHELP");
    return names;
}

// The standard vertical bar as drawn (null without WS_VSCROLL).
nlohmann::json VerticalBar(HWND h, const VekWindow* w)
{
    if (!(w->dwStyle & WS_VSCROLL))
        return nullptr;
    SCROLLBARINFO sbi = {};
    sbi.cbSize = sizeof(sbi);
    GetScrollBarInfo(h, OBJID_VSCROLL, &sbi);
    const SCROLLINFO& si = w->siVert;
    return {{"min", si.nMin},
            {"max", si.nMax},
            {"page", si.nPage},
            {"pos", si.nPos},
            {"trackPos", si.nTrackPos},
            {"rect", VekJsonRect(sbi.rcScrollBar)},
            {"arrowHeight", sbi.dxyLineButton},
            {"thumbTop", sbi.xyThumbTop},
            {"thumbBottom", sbi.xyThumbBottom},
            {"enabled", (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0}};
}

// The text as the window answers WM_GETTEXT (a drop-down list combo box answers its selected
// item), which may differ from the text stored with the window.
std::wstring WindowText(HWND h)
{
    const int nLen = GetWindowTextLengthW(h);
    if (nLen <= 0)
        return std::wstring();
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    str.resize(static_cast<size_t>(std::max(0, GetWindowTextW(h, &str[0], nLen + 1))));
    return str;
}

bool IsDialogClass(const VekWindow* w)
{
    return VekIsClass(w->hwnd, L"#32770");
}

nlohmann::json WindowEntry(HWND h, HWND hFocus)
{
    const VekWindow* w = VekGetWindow(h);
    if (!w)
        return nullptr;
    const std::wstring strText = WindowText(h);
    w = VekGetWindow(h); // answering WM_GETTEXT could in principle destroy the window
    if (!w)
        return nullptr;
    RECT rcWindow;
    GetWindowRect(h, &rcWindow);
    RECT rcClient;
    GetClientRect(h, &rcClient);
    MapWindowPoints(h, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);

    nlohmann::json entry = {
        {"hwnd", VekJsonHandle(h)},
        {"class", VekJsonText(w->strClass)},
        {"id", w->nID},
        {"style", w->dwStyle},
        {"exStyle", w->dwExStyle},
        {"styles", StyleNames(w->dwStyle, w->dwExStyle, IsDialogClass(w))},
        {"rect", VekJsonRect(rcWindow)},
        {"client", VekJsonRect(rcClient)},
        {"text", VekJsonText(strText)},
        {"enabled", (w->dwStyle & WS_DISABLED) == 0},
        {"visible", (w->dwStyle & WS_VISIBLE) != 0},
        {"focus", h == hFocus},
        {"default", VekIsClass(h, L"Button") && (w->dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON},
        {"owner", VekJsonHandle(VekIsChildWindow(w) ? nullptr : w->hwndOwner)},
        {"vscroll", VerticalBar(h, w)},
    };
    nlohmann::json control = nlohmann::json::object();
    auto it = Hooks().find(Lower(w->strClass));
    if (it != Hooks().end())
        it->second(h, control);
    entry["control"] = std::move(control);

    nlohmann::json children = nlohmann::json::array();
    // A copy: nothing here should change the tree, but the walk must not depend on that.
    const std::vector<HWND> kids = w->children;
    for (HWND c : kids)
    {
        nlohmann::json child = WindowEntry(c, hFocus);
        if (!child.is_null())
            children.push_back(std::move(child));
    }
    entry["children"] = std::move(children);
    return entry;
}

nlohmann::json Metrics()
{
    return {{"cxChar", VEK_CX_CHAR},
            {"cyChar", VEK_CY_CHAR},
            {"cxDlgUnitBase", VEK_CX_DLGUNIT_BASE},
            {"cyDlgUnitBase", VEK_CY_DLGUNIT_BASE},
            {"cyCaption", VEK_CY_CAPTION},
            {"cxDlgFrame", VEK_CX_DLGFRAME},
            {"cxThickFrame", VEK_CX_THICKFRAME},
            {"cxBorder", VEK_CX_BORDER},
            {"cxEdge", VEK_CX_EDGE},
            {"cxStaticEdge", VEK_CX_STATICEDGE},
            {"cxVScroll", VEK_CX_VSCROLL},
            {"cyHScroll", VEK_CY_HSCROLL},
            {"cyListItem", VEK_CY_LISTITEM},
            {"cyComboListMax", VEK_CY_COMBO_LIST_MAX},
            {"cyComboField", VEK_CY_COMBO_FIELD},
            {"cyHeader", VEK_CY_HEADER},
            {"cyListViewRow", VEK_CY_LVROW},
            {"cxListViewLabelPad", VEK_CX_LVLABELPAD},
            {"cyTreeRow", VEK_CY_TVROW},
            {"cxTreeIndent", VEK_CX_TVINDENT},
            {"cxTreeStateIcon", VEK_CX_TVSTATEICON},
            {"cxTreeLabelPad", VEK_CX_TVLABELPAD}};
}

// Everything but the counter, serialized.
std::string StateJson()
{
    const HWND hFocus = GetFocus();
    CDialog* pActive = VekGetActiveModalDialog();
    nlohmann::json windows = nlohmann::json::array();
    const std::vector<HWND> topLevel = VekTopLevelWindows();
    for (HWND h : topLevel)
    {
        nlohmann::json entry = WindowEntry(h, hFocus);
        if (!entry.is_null())
            windows.push_back(std::move(entry));
    }
    nlohmann::json state = {
        {"version", kSchemaVersion},
        {"metrics", Metrics()},
        {"focus", VekJsonHandle(hFocus)},
        {"capture", VekJsonHandle(GetCapture())},
        {"activeDialog", VekJsonHandle(pActive ? pActive->m_hWnd : nullptr)},
        {"windows", std::move(windows)},
        {"messageBox", VekSnapshotPendingMessageBox()},
    };
    return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
} // namespace

void VekRegisterSnapshotHook(LPCWSTR pszClass, VekSnapshotHook pfn)
{
    Hooks()[Lower(pszClass ? pszClass : L"")] = pfn;
}

nlohmann::json VekJsonText(const std::wstring& str)
{
    return vek::WideToUtf8(str.c_str());
}

nlohmann::json VekJsonRect(const RECT& rc)
{
    return {{"left", rc.left}, {"top", rc.top}, {"right", rc.right}, {"bottom", rc.bottom}};
}

const char* VekJsonFormat(int fmt)
{
    switch (fmt & HDF_JUSTIFYMASK)
    {
    case HDF_RIGHT:
        return "right";
    case HDF_CENTER:
        return "center";
    default:
        return "left";
    }
}

nlohmann::json VekJsonHandle(HWND h)
{
    if (!h)
        return nullptr;
    return static_cast<std::uint64_t>(reinterpret_cast<uintptr_t>(h));
}

VekSnapshot VekTakeSnapshot()
{
    std::string strState = StateJson();
    ChangeTracker& tracker = Tracker();
    VekSnapshot snap;
    snap.bChanged = tracker.nChange == 0 || strState != tracker.strLastState;
    if (snap.bChanged)
        ++tracker.nChange;
    snap.nChange = tracker.nChange;
    // The state is an object: the counter goes in front of its first member.
    snap.strJson.reserve(strState.size() + 32);
    snap.strJson = "{\"change\":" + std::to_string(snap.nChange) + ",";
    snap.strJson.append(strState, 1, std::string::npos);
    if (snap.bChanged)
        tracker.strLastState = std::move(strState);
    return snap;
}

std::string VekWindowSnapshotJson(HWND hWnd)
{
    return WindowEntry(hWnd, GetFocus())
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
