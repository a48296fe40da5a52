// Buttons and edits: what their parent hears and when, through messages and the input path.
#include "DestroyInHandler.h"
#include "VekTestParent.h"

namespace
{
const UINT ID_CTL = 1001;

struct ButtonCase
{
    const char* name;
    DWORD dwStyle;
    int nClicks;
    int nCheckAfter;
};

class ButtonTest : public ::testing::TestWithParam<ButtonCase>
{
};

// Automatic buttons change state before BN_CLICKED, so a handler sees the new state.
TEST_P(ButtonTest, ClickChangesStateBeforeNotifying)
{
    const ButtonCase& c = GetParam();
    CVekTestParent parent;
    HWND hBtn = VekCreateChild(parent, L"Button", L"b", c.dwStyle, ID_CTL);
    std::vector<int> seen;
    parent.m_onCommand = [&](UINT, UINT) {
        seen.push_back(static_cast<int>(SendMessageW(hBtn, BM_GETCHECK, 0, 0)));
    };
    for (int i = 0; i < c.nClicks; ++i)
        ASSERT_TRUE(VekInput::Click(hBtn));
    std::vector<VekParentMsg> expected(static_cast<size_t>(c.nClicks),
                                       VekParentMsg{WM_COMMAND, ID_CTL, BN_CLICKED});
    EXPECT_TRUE(parent.Matches(expected));
    EXPECT_EQ(c.nCheckAfter, SendMessageW(hBtn, BM_GETCHECK, 0, 0));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(c.nCheckAfter, seen.back());
    EXPECT_EQ(hBtn, GetFocus());
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ButtonTest,
    ::testing::Values(ButtonCase{"push", BS_PUSHBUTTON, 1, BST_UNCHECKED},
                      ButtonCase{"auto_check_once", BS_AUTOCHECKBOX, 1, BST_CHECKED},
                      ButtonCase{"auto_check_twice", BS_AUTOCHECKBOX, 2, BST_UNCHECKED},
                      ButtonCase{"plain_check", BS_CHECKBOX, 1, BST_UNCHECKED},
                      ButtonCase{"auto3_twice", BS_AUTO3STATE, 2, BST_INDETERMINATE},
                      ButtonCase{"auto_radio", BS_AUTORADIOBUTTON, 1, BST_CHECKED}),
    [](const ::testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST(Button, SetCheckSendsNothingAndClickOutsideIsNoClick)
{
    CVekTestParent parent;
    HWND hBtn = VekCreateChild(parent, L"Button", L"b", BS_AUTOCHECKBOX, ID_CTL);
    SendMessageW(hBtn, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(parent.Matches({}));
    EXPECT_EQ(BST_CHECKED, SendMessageW(hBtn, BM_GETCHECK, 0, 0));

    // Button up outside the button (the mouse moved away while pressed) is no click.
    SendMessageW(hBtn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(hBtn, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_TRUE(parent.Matches({}));
    // Up without down is no click either.
    SendMessageW(hBtn, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(parent.Matches({}));
    EXPECT_EQ(BST_CHECKED, SendMessageW(hBtn, BM_GETCHECK, 0, 0));
}

TEST(Button, DisabledButtonGetsNoInput)
{
    CVekTestParent parent;
    HWND hBtn = VekCreateChild(parent, L"Button", L"b", BS_AUTOCHECKBOX, ID_CTL);
    EnableWindow(hBtn, FALSE);
    EXPECT_FALSE(VekInput::Click(hBtn));
    SendMessageW(hBtn, BM_CLICK, 0, 0);
    EXPECT_TRUE(parent.Matches({}));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(hBtn, BM_GETCHECK, 0, 0));
    // A click at its position reaches the parent beneath it, not the button.
    RECT rc;
    GetWindowRect(hBtn, &rc);
    EXPECT_EQ(parent.m_hWnd, WindowFromPoint(POINT{rc.left + 2, rc.top + 2}));
}

TEST(Button, SpaceKeyClicksTheFocusedButton)
{
    CVekTestParent parent;
    HWND hBtn = VekCreateChild(parent, L"Button", L"b", BS_AUTOCHECKBOX, ID_CTL);
    SetFocus(hBtn);
    ASSERT_TRUE(VekInput::KeyDown(VK_SPACE));
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_CTL, BN_CLICKED}}));
    EXPECT_EQ(BST_CHECKED, SendMessageW(hBtn, BM_GETCHECK, 0, 0));
}

TEST(Button, AutoRadioClearsItsGroup)
{
    CVekTestParent parent;
    HWND a = VekCreateChild(parent, L"Button", L"a", BS_AUTORADIOBUTTON | WS_GROUP, 1,
                            {10, 10, 100, 30});
    HWND b = VekCreateChild(parent, L"Button", L"b", BS_AUTORADIOBUTTON, 2, {10, 40, 100, 60});
    HWND c = VekCreateChild(parent, L"Button", L"c", BS_AUTORADIOBUTTON | WS_GROUP, 3,
                            {10, 70, 100, 90});
    SendMessageW(a, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(c, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(VekInput::Click(b));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(a, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(b, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(c, BM_GETCHECK, 0, 0)); // another group
}

// EN_UPDATE then EN_CHANGE for a text set on a single-line edit; nothing for a multi-line one.
TEST(Edit, SetTextNotifiesSingleLineOnly)
{
    CVekTestParent parent;
    HWND hSingle = VekCreateChild(parent, L"Edit", L"", ES_AUTOHSCROLL, 1);
    HWND hMulti = VekCreateChild(parent, L"Edit", L"", ES_MULTILINE, 2, {10, 50, 210, 90});
    SetWindowTextW(hSingle, L"abc");
    SetWindowTextW(hSingle, L"abc"); // same text again still notifies
    SetWindowTextW(hMulti, L"abc");
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, 1, EN_UPDATE},
                                {WM_COMMAND, 1, EN_CHANGE},
                                {WM_COMMAND, 1, EN_UPDATE},
                                {WM_COMMAND, 1, EN_CHANGE}}));
    DWORD dwStart = 1, dwEnd = 1;
    SendMessageW(hSingle, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                 reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(0u, dwEnd);
}

TEST(Edit, TypingNotifiesPerCharacterAndRespectsTheLimit)
{
    CVekTestParent parent;
    HWND hEdit = VekCreateChild(parent, L"Edit", L"", ES_AUTOHSCROLL, 1);
    SendMessageW(hEdit, EM_LIMITTEXT, 3, 0);
    SetFocus(hEdit);
    parent.Clear();
    ASSERT_TRUE(VekInput::Type(L"abcd"));
    WCHAR buf[16] = {};
    GetWindowTextW(hEdit, buf, 16);
    EXPECT_STREQ(L"abc", buf);
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, 1, EN_UPDATE},
                                {WM_COMMAND, 1, EN_CHANGE},
                                {WM_COMMAND, 1, EN_UPDATE},
                                {WM_COMMAND, 1, EN_CHANGE},
                                {WM_COMMAND, 1, EN_UPDATE},
                                {WM_COMMAND, 1, EN_CHANGE},
                                {WM_COMMAND, 1, EN_MAXTEXT}}));
    // The limit binds typing only: a text set by program is not cut.
    SetWindowTextW(hEdit, L"abcdef");
    GetWindowTextW(hEdit, buf, 16);
    EXPECT_STREQ(L"abcdef", buf);
}

struct SelCase
{
    int nStart;
    int nEnd;
    DWORD dwLo;
    DWORD dwHi;
};

TEST(Edit, SetSelClampsAndOrders)
{
    CVekTestParent parent;
    HWND hEdit = VekCreateChild(parent, L"Edit", L"hello", ES_AUTOHSCROLL, 1);
    const SelCase cases[] = {
        {0, -1, 0, 5}, {1, 3, 1, 3}, {4, 2, 2, 4}, {2, 100, 2, 5}, {65535, 65535, 5, 5}};
    for (const SelCase& c : cases)
    {
        SendMessageW(hEdit, EM_SETSEL, static_cast<WPARAM>(c.nStart), c.nEnd);
        DWORD lo = 0, hi = 0;
        SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&lo),
                     reinterpret_cast<LPARAM>(&hi));
        EXPECT_EQ(c.dwLo, lo) << c.nStart << "," << c.nEnd;
        EXPECT_EQ(c.dwHi, hi) << c.nStart << "," << c.nEnd;
    }
    // Start -1 drops the selection and keeps the caret.
    SendMessageW(hEdit, EM_SETSEL, 1, 3);
    SendMessageW(hEdit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    DWORD lo = 0, hi = 0;
    SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(3u, lo);
    EXPECT_EQ(3u, hi);
    EXPECT_TRUE(parent.Matches({}));
}

TEST(Edit, TypingReplacesTheSelectionAndBackspaceDeletes)
{
    CVekTestParent parent;
    HWND hEdit = VekCreateChild(parent, L"Edit", L"hello", ES_AUTOHSCROLL, 1);
    SetFocus(hEdit);
    SendMessageW(hEdit, EM_SETSEL, 1, 4);
    ASSERT_TRUE(VekInput::Type(L"X"));
    ASSERT_TRUE(VekInput::KeyDown(VK_BACK));
    ASSERT_TRUE(VekInput::Type(L"Y"));
    ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
    ASSERT_TRUE(VekInput::KeyDown(VK_DELETE));
    WCHAR buf[16] = {};
    GetWindowTextW(hEdit, buf, 16);
    EXPECT_STREQ(L"Yo", buf);
}

TEST(Edit, PasteTakesTheFirstLineIntoASingleLineEdit)
{
    CVekTestParent parent;
    HWND hEdit = VekCreateChild(parent, L"Edit", L"", ES_AUTOHSCROLL, 1);
    SetFocus(hEdit);
    parent.Clear();
    ASSERT_TRUE(VekInput::Paste(L"ab\r\ncd"));
    WCHAR buf[16] = {};
    GetWindowTextW(hEdit, buf, 16);
    EXPECT_STREQ(L"ab", buf);
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, 1, EN_UPDATE}, {WM_COMMAND, 1, EN_CHANGE}}));
}

struct DlgCodeCase
{
    const char* name;
    LPCWSTR pszClass;
    DWORD dwStyle;
    LRESULT code;
};

class DialogCodes : public ::testing::TestWithParam<DlgCodeCase>
{
};

// What each control asks of the dialog manager decides which keys it gets.
TEST_P(DialogCodes, Answer)
{
    CVekTestParent parent;
    HWND h = VekCreateChild(parent, GetParam().pszClass, L"", GetParam().dwStyle, 1);
    EXPECT_EQ(GetParam().code, SendMessageW(h, WM_GETDLGCODE, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, DialogCodes,
    ::testing::Values(
        DlgCodeCase{"edit", L"Edit", ES_AUTOHSCROLL,
                    DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
        DlgCodeCase{"edit_wantreturn", L"Edit", ES_WANTRETURN,
                    DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
        DlgCodeCase{"multiline_edit", L"Edit", ES_MULTILINE,
                    DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS},
        DlgCodeCase{"push", L"Button", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        DlgCodeCase{"default_push", L"Button", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        DlgCodeCase{"check", L"Button", BS_AUTOCHECKBOX, DLGC_BUTTON},
        DlgCodeCase{"radio", L"Button", BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        DlgCodeCase{"group", L"Button", BS_GROUPBOX, DLGC_STATIC}),
    [](const ::testing::TestParamInfo<DlgCodeCase>& info) { return info.param.name; });

// Enter in a multi-line edit outside a dialog, or with ES_WANTRETURN, starts a new line.
TEST(Edit, MultiLineEnterAddsALine)
{
    CVekTestParent parent;
    HWND h =
        VekCreateChild(parent, L"Edit", L"", ES_MULTILINE | ES_WANTRETURN, 1, {10, 10, 210, 90});
    SetFocus(h);
    ASSERT_TRUE(VekInput::Type(L"a"));
    ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    ASSERT_TRUE(VekInput::Type(L"b"));
    WCHAR buf[16] = {};
    GetWindowTextW(h, buf, 16);
    EXPECT_STREQ(L"a\r\nb", buf);
    EXPECT_EQ(2, SendMessageW(h, EM_GETLINECOUNT, 0, 0));
}

// A control class that handles its change notification itself keeps it from the parent.
class CReflectingEdit : public CEdit
{
public:
    int m_nChanges = 0;

protected:
    void OnChange() { ++m_nChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingEdit, CEdit)
ON_CONTROL_REFLECT(EN_CHANGE, &CReflectingEdit::OnChange)
END_MESSAGE_MAP()

class CEditParent : public CWnd
{
public:
    int m_nParentChanges = 0;
    int m_nParentUpdates = 0;

protected:
    void OnChange() { ++m_nParentChanges; }
    void OnUpdate() { ++m_nParentUpdates; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEditParent, CWnd)
ON_EN_CHANGE(7, &CEditParent::OnChange)
ON_EN_UPDATE(7, &CEditParent::OnUpdate)
END_MESSAGE_MAP()

TEST(Reflection, ReflectedChangeDoesNotReachTheParent)
{
    CVekTestParent host;
    CEditParent parent;
    ASSERT_TRUE(parent.Create(L"Static", L"", WS_VISIBLE, CRect(0, 0, 300, 200),
                              CWnd::FromHandle(host.m_hWnd), 5));
    CReflectingEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 5, 100, 25), &parent, 7));
    edit.SetWindowText(L"x");
    EXPECT_EQ(1, edit.m_nChanges);
    EXPECT_EQ(0, parent.m_nParentChanges);
    EXPECT_EQ(1, parent.m_nParentUpdates); // not reflected, so the parent's handler runs

    // A plain edit's change reaches the parent's map.
    CEdit plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, CRect(5, 30, 100, 50), &parent, 7));
    plain.SetWindowText(L"y");
    EXPECT_EQ(1, parent.m_nParentChanges);
}
// A handler may destroy the control, or its parent, while the control tells the parent
// something; the control must stop at once (checked by the sanitizer build). The other window
// is a push button, so a click there also moves the focus through a button press.
struct DestroyCase
{
    const char* name;
    LPCWSTR pszClass;
    DWORD dwStyle;
    LPCWSTR pszText;
    UINT nCode; // the notification whose handler destroys
    void (*pfnAct)(HWND hCtl, HWND hOther);
};

void FocusAndType(HWND h, LPCWSTR psz)
{
    SetFocus(h);
    SendMessageW(h, EM_SETSEL, 65535, 65535);
    VekInput::Type(psz);
}

void FocusAndPress(HWND h, UINT vk, UINT nModifiers = 0)
{
    SetFocus(h);
    VekInput::KeyDown(vk, nModifiers);
}

void FocusThenClick(HWND h, HWND hOther)
{
    SetFocus(h);
    VekInput::Click(hOther);
}

void PrintTo(const DestroyCase& c, std::ostream* os)
{
    *os << c.name;
}

const DestroyCase kDestroyCases[] = {
    {"edit_setfocus", L"Edit", ES_AUTOHSCROLL, L"", EN_SETFOCUS,
     [](HWND h, HWND) { VekInput::Click(h); }},
    {"edit_killfocus", L"Edit", ES_AUTOHSCROLL, L"", EN_KILLFOCUS, &FocusThenClick},
    {"edit_update_typing", L"Edit", ES_AUTOHSCROLL, L"", EN_UPDATE,
     [](HWND h, HWND) { FocusAndType(h, L"ab"); }},
    {"edit_change_typing", L"Edit", ES_AUTOHSCROLL, L"", EN_CHANGE,
     [](HWND h, HWND) { FocusAndType(h, L"ab"); }},
    {"edit_maxtext", L"Edit", ES_AUTOHSCROLL, L"", EN_MAXTEXT,
     [](HWND h, HWND) {
         SendMessageW(h, EM_LIMITTEXT, 1, 0);
         FocusAndType(h, L"abc");
     }},
    {"edit_change_settext", L"Edit", ES_AUTOHSCROLL, L"", EN_CHANGE,
     [](HWND h, HWND) { SetWindowTextW(h, L"x"); }},
    {"edit_change_backspace", L"Edit", ES_AUTOHSCROLL, L"ab", EN_CHANGE,
     [](HWND h, HWND) {
         SendMessageW(h, EM_SETSEL, 2, 2);
         FocusAndPress(h, VK_BACK);
     }},
    {"edit_change_delete", L"Edit", ES_AUTOHSCROLL, L"ab", EN_CHANGE,
     [](HWND h, HWND) { FocusAndPress(h, VK_DELETE); }},
    {"edit_change_cut", L"Edit", ES_AUTOHSCROLL, L"ab", EN_CHANGE,
     [](HWND h, HWND) {
         SetFocus(h);
         SendMessageW(h, EM_SETSEL, 0, -1);
         VekInput::KeyDown('X', VEK_MOD_CONTROL);
     }},
    {"edit_change_paste", L"Edit", ES_AUTOHSCROLL, L"", EN_CHANGE,
     [](HWND h, HWND) {
         SetFocus(h);
         VekInput::Paste(L"12");
     }},
    {"multiline_change_enter", L"Edit", ES_MULTILINE, L"", EN_CHANGE,
     [](HWND h, HWND) { FocusAndPress(h, VK_RETURN); }},
    {"button_clicked", L"Button", BS_PUSHBUTTON, L"b", BN_CLICKED,
     [](HWND h, HWND) { VekInput::Click(h); }},
    {"button_clicked_space", L"Button", BS_PUSHBUTTON, L"b", BN_CLICKED,
     [](HWND h, HWND) { FocusAndPress(h, VK_SPACE); }},
    {"button_clicked_bm_click", L"Button", BS_PUSHBUTTON, L"b", BN_CLICKED,
     [](HWND h, HWND) { SendMessageW(h, BM_CLICK, 0, 0); }},
    {"checkbox_clicked", L"Button", BS_AUTOCHECKBOX, L"b", BN_CLICKED,
     [](HWND h, HWND) { VekInput::Click(h); }},
    {"radio_clicked", L"Button", BS_AUTORADIOBUTTON | WS_GROUP, L"b", BN_CLICKED,
     [](HWND h, HWND) { VekInput::Click(h); }},
    {"button_setfocus", L"Button", BS_PUSHBUTTON | BS_NOTIFY, L"b", BN_SETFOCUS,
     [](HWND h, HWND) { VekInput::Click(h); }},
    {"button_killfocus", L"Button", BS_PUSHBUTTON | BS_NOTIFY, L"b", BN_KILLFOCUS, &FocusThenClick},
    {"button_doubleclicked", L"Button", BS_PUSHBUTTON | BS_NOTIFY, L"b", BN_DOUBLECLICKED,
     [](HWND h, HWND) { VekInput::DoubleClick(h); }},
};

class DestroyInHandler : public ::testing::TestWithParam<std::tuple<DestroyCase, Victim>>
{
};

TEST_P(DestroyInHandler, ControlStops)
{
    const DestroyCase& c = std::get<0>(GetParam());
    CVekTestParent parent;
    HWND hCtl = VekCreateChild(parent, c.pszClass, c.pszText, c.dwStyle | WS_TABSTOP, ID_CTL,
                               {10, 10, 210, 70});
    ASSERT_TRUE(hCtl);
    HWND hOther =
        VekCreateChild(parent, L"Button", L"other", BS_PUSHBUTTON, 77, {300, 10, 400, 34});
    bool bRan = false;
    DestroyOnCommand(parent, ID_CTL, c.nCode,
                     VictimWindow(std::get<1>(GetParam()), hCtl, parent.m_hWnd), bRan);
    c.pfnAct(hCtl, hOther);
    EXPECT_TRUE(bRan) << "the notification was not sent";
    EXPECT_FALSE(IsWindow(hCtl));
}

INSTANTIATE_TEST_SUITE_P(Notifications, DestroyInHandler,
                         ::testing::Combine(::testing::ValuesIn(kDestroyCases),
                                            ::testing::Values(Victim::Sender, Victim::Parent)),
                         DestroyTestName<DestroyCase>);
} // namespace
