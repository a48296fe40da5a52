// The window-tree snapshot on the test dialogs: the common fields agree with what the window
// functions answer, top-level windows come in z-order with their owners, the pending message
// box shows while the responder runs, and the change counter moves only on a change.
#include "TestDialogFixture.h"
#include "VekSnapshotJson.h"

#include <afxwin.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using nlohmann::json;

struct SnapshotFixture : TestDialogFixture
{
    // Runs the dialog of template nID with pfn as its script; the dialog is cancelled after it.
    void Run(UINT nID, const std::function<void(CDialog&)>& pfn)
    {
        oldHandler = VekSetModalHandler([pfn](CDialog& dlg) {
            pfn(dlg);
            if (dlg.IsModalRunning())
                dlg.EndDialog(IDCANCEL);
        });
        CDialog dlg(nID);
        dlg.DoModal();
    }
};

json Rect(const RECT& rc)
{
    return {{"left", rc.left}, {"top", rc.top}, {"right", rc.right}, {"bottom", rc.bottom}};
}

std::string Utf8(const CString& str)
{
    std::string out;
    for (wchar_t ch : str.str())
        out.push_back(static_cast<char>(ch)); // the test dialogs' texts are ASCII
    return out;
}

// Checks one entry and its children against the window functions.
void ExpectEntryMatchesWindow(const json& entry, HWND hFocus)
{
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(entry.at("hwnd").get<std::uint64_t>()));
    ASSERT_TRUE(IsWindow(h));
    SCOPED_TRACE("window " + entry.at("class").get<std::string>() + " " +
                 std::to_string(entry.at("id").get<int>()));
    RECT rc;
    GetWindowRect(h, &rc);
    EXPECT_EQ(Rect(rc), entry.at("rect"));
    RECT rcClient;
    GetClientRect(h, &rcClient);
    MapWindowPoints(h, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    EXPECT_EQ(Rect(rcClient), entry.at("client"));
    WCHAR szClass[64];
    GetClassNameW(h, szClass, 64);
    EXPECT_EQ(Utf8(szClass), entry.at("class"));
    EXPECT_EQ(GetDlgCtrlID(h), entry.at("id").get<int>());
    CString strText;
    CWnd::FromHandle(h)->GetWindowText(strText);
    EXPECT_EQ(Utf8(strText), entry.at("text"));
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    EXPECT_EQ(dwStyle, entry.at("style").get<DWORD>());
    EXPECT_EQ((dwStyle & WS_DISABLED) == 0, entry.at("enabled").get<bool>());
    EXPECT_EQ((dwStyle & WS_VISIBLE) != 0, entry.at("visible").get<bool>());
    EXPECT_EQ(h == hFocus, entry.at("focus").get<bool>());
    std::vector<HWND> children;
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    ASSERT_EQ(children.size(), entry.at("children").size());
    for (size_t i = 0; i < children.size(); ++i)
    {
        EXPECT_EQ(VekSnapshotHandle(children[i]), entry.at("children")[i].at("hwnd"));
        ExpectEntryMatchesWindow(entry.at("children")[i], hFocus);
    }
}

TEST_F(SnapshotFixture, EveryWindowOfADialogMatchesTheWindowFunctions)
{
    Run(100, [](CDialog& dlg) {
        ASSERT_TRUE(VekInput::Click(GetDlgItem(dlg.m_hWnd, 1001)));
        ASSERT_TRUE(VekInput::Type(L"abc"));
        const json snap = VekParsedSnapshot();
        EXPECT_EQ(1, snap.at("version"));
        EXPECT_EQ(6, snap.at("metrics").at("cxChar"));
        EXPECT_EQ(13, snap.at("metrics").at("cyChar"));
        EXPECT_EQ(VekSnapshotHandle(dlg.m_hWnd), snap.at("activeDialog"));
        EXPECT_EQ(VekSnapshotHandle(GetDlgItem(dlg.m_hWnd, 1001)), snap.at("focus"));
        EXPECT_TRUE(snap.at("messageBox").is_null());
        const json* pDlg = VekFindSnapshotEntry(snap.at("windows"), dlg.m_hWnd);
        ASSERT_NE(nullptr, pDlg);
        ExpectEntryMatchesWindow(*pDlg, GetFocus());
        EXPECT_EQ("abc", VekFindSnapshotEntry(snap.at("windows"), GetFocus())->at("text"));
    });
}

TEST_F(SnapshotFixture, DefaultDisabledAndCaptionShowInTheirFields)
{
    Run(100, [](CDialog& dlg) {
        const json snap = VekParsedSnapshot();
        const json& windows = snap.at("windows");
        const json* pDlg = VekFindSnapshotEntry(windows, dlg.m_hWnd);
        ASSERT_NE(nullptr, pDlg);
        EXPECT_EQ("Main", pDlg->at("text"));
        EXPECT_EQ("#32770", pDlg->at("class"));
        const std::vector<std::string> styles = pDlg->at("styles");
        EXPECT_NE(styles.end(), std::find(styles.begin(), styles.end(), "WS_CAPTION"))
            << pDlg->at("styles");
        struct Row
        {
            int nID;
            bool bDefault;
            bool bEnabled;
        };
        for (const Row& row : {Row{1, true, true}, Row{2, false, true}, Row{1007, false, false},
                               Row{1002, false, true}})
        {
            const json* p = VekFindSnapshotEntry(windows, GetDlgItem(dlg.m_hWnd, row.nID));
            ASSERT_NE(nullptr, p) << row.nID;
            EXPECT_EQ(row.bDefault, p->at("default")) << row.nID;
            EXPECT_EQ(row.bEnabled, p->at("enabled")) << row.nID;
        }
    });
}

// The controls' own parts follow what the person did: a typed and selected text, a checked
// box, a chosen combo item with its list open.
TEST_F(SnapshotFixture, ControlPartsFollowInput)
{
    Run(100, [](CDialog& dlg) {
        HWND hEdit = GetDlgItem(dlg.m_hWnd, 1001);
        HWND hCheck = GetDlgItem(dlg.m_hWnd, 1002);
        HWND hCombo = GetDlgItem(dlg.m_hWnd, 1003);
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"One"));
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Two"));
        ASSERT_TRUE(VekInput::Click(hEdit));
        ASSERT_TRUE(VekInput::Type(L"hello"));
        ASSERT_TRUE(VekInput::KeyDown(VK_LEFT, VEK_MOD_SHIFT));
        ASSERT_TRUE(VekInput::KeyDown(VK_LEFT, VEK_MOD_SHIFT));
        ASSERT_TRUE(VekInput::Click(hCheck));
        ASSERT_TRUE(VekInput::Click(hCombo));
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetComboBoxInfo(hCombo, &info));
        RECT rcItem;
        SendMessageW(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
        ASSERT_TRUE(VekInput::Click(info.hwndList, POINT{rcItem.left + 2, rcItem.top + 2}));
        ASSERT_TRUE(VekInput::Click(hCombo)); // open again

        const json snap = VekParsedSnapshot();
        const json& windows = snap.at("windows");
        const json& edit = VekFindSnapshotEntry(windows, hEdit)->at("control");
        EXPECT_EQ(3, edit.at("selStart"));
        EXPECT_EQ(5, edit.at("selEnd"));
        EXPECT_EQ(3, edit.at("caret"));
        EXPECT_FALSE(edit.at("multiline"));
        EXPECT_TRUE(VekFindSnapshotEntry(windows, GetDlgItem(dlg.m_hWnd, 1006))
                        ->at("control")
                        .at("multiline"));

        const json& check = VekFindSnapshotEntry(windows, hCheck)->at("control");
        EXPECT_EQ("checkBox", check.at("kind"));
        EXPECT_TRUE(check.at("auto"));
        EXPECT_EQ(BST_CHECKED, check.at("check"));
        EXPECT_EQ(
            "defPush",
            VekFindSnapshotEntry(windows, GetDlgItem(dlg.m_hWnd, IDOK))->at("control").at("kind"));

        const json* pCombo = VekFindSnapshotEntry(windows, hCombo);
        const json& combo = pCombo->at("control");
        EXPECT_EQ("dropDownList", combo.at("type"));
        EXPECT_EQ((std::vector<std::string>{"One", "Two"}), combo.at("items"));
        EXPECT_EQ(1, combo.at("selection"));
        EXPECT_EQ("Two", pCombo->at("text"));
        EXPECT_TRUE(combo.at("dropped"));
        EXPECT_EQ(VekSnapshotHandle(info.hwndList), combo.at("list"));
        const json& list = VekFindSnapshotEntry(windows, info.hwndList)->at("control");
        EXPECT_EQ(combo.at("items"), list.at("items"));
        EXPECT_EQ(1, list.at("selection"));
        EXPECT_EQ(0, list.at("top"));
        EXPECT_EQ(VekSnapshotHandle(hCombo), list.at("combo"));
        EXPECT_EQ(VekSnapshotHandle(info.hwndList), snap.at("capture"));
    });
}

// A nested dialog comes after its owner (above it), is owned by it and is the active dialog;
// once it ends the snapshot no longer lists it.
TEST_F(SnapshotFixture, NestedDialogIsAboveItsOwner)
{
    HWND hInner = nullptr;
    Run(100, [&](CDialog& outer) {
        oldHandler = VekSetModalHandler([&](CDialog& inner) {
            hInner = inner.m_hWnd;
            const json snap = VekParsedSnapshot();
            const json& windows = snap.at("windows");
            int nOuter = -1;
            int nInner = -1;
            for (size_t i = 0; i < windows.size(); ++i)
            {
                if (windows[i].at("hwnd") == VekSnapshotHandle(outer.m_hWnd))
                    nOuter = static_cast<int>(i);
                if (windows[i].at("hwnd") == VekSnapshotHandle(inner.m_hWnd))
                    nInner = static_cast<int>(i);
            }
            ASSERT_GE(nOuter, 0);
            EXPECT_GT(nInner, nOuter);
            EXPECT_EQ(VekSnapshotHandle(outer.m_hWnd), windows[nInner].at("owner"));
            EXPECT_TRUE(windows[nOuter].at("owner").is_null());
            EXPECT_EQ(VekSnapshotHandle(inner.m_hWnd), snap.at("activeDialog"));
            inner.EndDialog(IDCANCEL);
        });
        CDialog inner(200, &outer);
        inner.DoModal();
        ASSERT_NE(nullptr, hInner);
        const json snap = VekParsedSnapshot();
        EXPECT_EQ(nullptr, VekFindSnapshotEntry(snap.at("windows"), hInner));
        EXPECT_EQ(VekSnapshotHandle(outer.m_hWnd), snap.at("activeDialog"));
    });
}

// The drop-down list of a combo box is a popup owned by the dialog (a popup's owner is the
// top-level window of the window it was created for): hidden while closed, and above the
// dialog while open.
TEST_F(SnapshotFixture, OpenComboListIsAVisiblePopupAboveTheDialog)
{
    Run(100, [](CDialog& dlg) {
        HWND hCombo = GetDlgItem(dlg.m_hWnd, 1003);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetComboBoxInfo(hCombo, &info));
        // The list's entry and whether it comes after the dialog's among the top-level windows.
        auto listEntry = [&](const json& snap, bool& bAbove) -> json {
            const json& windows = snap.at("windows");
            int nDlg = -1;
            for (size_t i = 0; i < windows.size(); ++i)
            {
                if (windows[i].at("hwnd") == VekSnapshotHandle(dlg.m_hWnd))
                    nDlg = static_cast<int>(i);
                if (windows[i].at("hwnd") == VekSnapshotHandle(info.hwndList))
                {
                    bAbove = nDlg >= 0;
                    return windows[i];
                }
            }
            return nullptr;
        };
        bool bAbove = false;
        json closed = listEntry(VekParsedSnapshot(), bAbove);
        ASSERT_FALSE(closed.is_null());
        EXPECT_FALSE(closed.at("visible"));
        ASSERT_TRUE(VekInput::Click(hCombo));
        json open = listEntry(VekParsedSnapshot(), bAbove);
        ASSERT_FALSE(open.is_null());
        EXPECT_TRUE(open.at("visible"));
        EXPECT_TRUE(bAbove);
        EXPECT_EQ(VekSnapshotHandle(dlg.m_hWnd), open.at("owner"));
        RECT rc;
        GetWindowRect(info.hwndList, &rc);
        EXPECT_EQ(Rect(rc), open.at("rect"));
        RECT rcCombo;
        GetWindowRect(hCombo, &rcCombo);
        EXPECT_EQ(rcCombo.bottom, open.at("rect").at("top"));
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
        EXPECT_FALSE(listEntry(VekParsedSnapshot(), bAbove).at("visible"));
    });
}

// While the responder runs, the box it answers is in the snapshot with its buttons; before
// and after there is none.
TEST_F(SnapshotFixture, PendingMessageBoxShowsWhileTheResponderRuns)
{
    struct Row
    {
        UINT nType;
        std::vector<int> buttons;
        std::vector<std::string> texts;
        int nDefault;
        const char* pszIcon;
    };
    const Row rows[] = {
        {MB_OK, {IDOK}, {"OK"}, IDOK, nullptr},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
         {IDYES, IDNO},
         {"Yes", "No"},
         IDNO,
         "question"},
        {MB_YESNOCANCEL | MB_ICONERROR | MB_DEFBUTTON3,
         {IDYES, IDNO, IDCANCEL},
         {"Yes", "No", "Cancel"},
         IDCANCEL,
         "error"},
        {MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON3,
         {IDOK, IDCANCEL},
         {"OK", "Cancel"},
         IDOK,
         "warning"},
        {MB_RETRYCANCEL | MB_ICONINFORMATION,
         {IDRETRY, IDCANCEL},
         {"Retry", "Cancel"},
         IDRETRY,
         "information"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.nType);
        Run(100, [&](CDialog& dlg) {
            EXPECT_TRUE(VekParsedSnapshot().at("messageBox").is_null());
            json box;
            VekSetMessageBoxResponder([&](HWND, const CString&, const CString&, UINT) {
                box = VekParsedSnapshot().at("messageBox");
                return IDCANCEL;
            });
            ::MessageBoxW(dlg.m_hWnd, L"Line one\nline two", L"Title", row.nType);
            VekSetMessageBoxResponder(nullptr);
            ASSERT_TRUE(box.is_object());
            EXPECT_EQ(VekSnapshotHandle(dlg.m_hWnd), box.at("owner"));
            EXPECT_EQ("Title", box.at("caption"));
            EXPECT_EQ("Line one\nline two", box.at("text"));
            EXPECT_EQ(row.nType, box.at("type").get<UINT>());
            std::vector<int> ids;
            std::vector<std::string> texts;
            for (const json& b : box.at("buttons"))
            {
                ids.push_back(b.at("id"));
                texts.push_back(b.at("text"));
            }
            EXPECT_EQ(row.buttons, ids);
            EXPECT_EQ(row.texts, texts);
            EXPECT_EQ(row.nDefault, box.at("defaultButton"));
            if (row.pszIcon)
                EXPECT_EQ(row.pszIcon, box.at("icon"));
            else
                EXPECT_TRUE(box.at("icon").is_null());
            EXPECT_TRUE(VekParsedSnapshot().at("messageBox").is_null());
        });
    }
}

TEST_F(SnapshotFixture, CounterMovesExactlyWhenTheStateChanges)
{
    Run(100, [](CDialog& dlg) {
        VekSnapshot first = VekTakeSnapshot();
        VekSnapshot same = VekTakeSnapshot();
        EXPECT_FALSE(same.bChanged);
        EXPECT_EQ(first.nChange, same.nChange);
        EXPECT_EQ(first.strJson, same.strJson);
        EXPECT_EQ(first.nChange, json::parse(same.strJson).at("change").get<std::uint64_t>());

        ASSERT_TRUE(VekInput::Click(GetDlgItem(dlg.m_hWnd, 1002))); // checks the box
        VekSnapshot checked = VekTakeSnapshot();
        EXPECT_TRUE(checked.bChanged);
        EXPECT_EQ(first.nChange + 1, checked.nChange);
        EXPECT_EQ(checked.nChange, json::parse(checked.strJson).at("change").get<std::uint64_t>());

        // An event that changes nothing visible: the counter stays.
        RECT rcDlg;
        GetClientRect(dlg.m_hWnd, &rcDlg);
        POINT ptInside = {rcDlg.right - 2, rcDlg.bottom - 2};
        ClientToScreen(dlg.m_hWnd, &ptInside);
        ASSERT_TRUE(VekRawInput::MouseMove(ptInside, 0, VekRawInput::LastEventTime() + 1));
        EXPECT_EQ(checked.nChange, VekTakeSnapshot().nChange);

        // Back to an earlier state is still a change from the previous snapshot.
        ShowWindow(GetDlgItem(dlg.m_hWnd, 1005), SW_HIDE);
        EXPECT_EQ(checked.nChange + 1, VekTakeSnapshot().nChange);
        ShowWindow(GetDlgItem(dlg.m_hWnd, 1005), SW_SHOW);
        VekSnapshot back = VekTakeSnapshot();
        EXPECT_EQ(checked.nChange + 2, back.nChange);
        EXPECT_TRUE(back.bChanged);
    });
}

// Texts that are not valid Unicode (a lone surrogate) still give a document that parses.
TEST_F(SnapshotFixture, TextWithoutAUnicodeFormStillParses)
{
    Run(100, [](CDialog& dlg) {
        const wchar_t szBad[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
        SetWindowTextW(GetDlgItem(dlg.m_hWnd, 1005), szBad);
        json snap;
        ASSERT_NO_THROW(snap = VekParsedSnapshot());
        const json* p = VekFindSnapshotEntry(snap.at("windows"), GetDlgItem(dlg.m_hWnd, 1005));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ("a\xEF\xBF\xBD"
                  "b",
                  p->at("text"));
    });
}

TEST(SnapshotOfOneWindow, NotAWindowIsNull)
{
    EXPECT_EQ("null", VekWindowSnapshotJson(reinterpret_cast<HWND>(0x7fff0001)));
}
} // namespace
