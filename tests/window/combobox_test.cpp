// Drop-down list combo box: sorting, searching, selection without notifications, the list
// that appears on a click and asks for colours, and the user's choices.
#include "DestroyInHandler.h"
#include "VekTestParent.h"

#include <string>

namespace
{
const UINT ID_COMBO = 40075;

struct ComboFixture : ::testing::Test
{
    CVekTestParent parent;
    CComboBox combo;
    void Create(DWORD dwStyle)
    {
        HWND h = VekCreateChild(parent, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | dwStyle,
                                ID_COMBO, {10, 10, 160, 200});
        ASSERT_TRUE(h);
        combo.Attach(h);
    }
    void TearDown() override { combo.Detach(); }
    std::vector<CString> Items()
    {
        std::vector<CString> v;
        for (int i = 0; i < combo.GetCount(); ++i)
        {
            CString str;
            combo.GetLBText(i, str);
            v.push_back(str);
        }
        return v;
    }
    CString Text()
    {
        CString str;
        combo.GetWindowText(str);
        return str;
    }
};

struct SortCase
{
    const char* name;
    DWORD dwStyle;
    std::vector<CString> expected;
};

class ComboSortTest : public ComboFixture, public ::testing::WithParamInterface<SortCase>
{
};

TEST_P(ComboSortTest, AddStringOrder)
{
    Create(GetParam().dwStyle);
    for (LPCWSTR s : {L"b", L"C", L"a", L"B"})
        combo.AddString(s);
    EXPECT_EQ(GetParam().expected, Items());
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboSortTest,
                         ::testing::Values(SortCase{"unsorted", 0, {L"b", L"C", L"a", L"B"}},
                                           SortCase{"sorted", CBS_SORT, {L"a", L"b", L"B", L"C"}}),
                         [](const ::testing::TestParamInfo<SortCase>& info) {
                             return info.param.name;
                         });

TEST_F(ComboFixture, SearchesIgnoreCaseAndWrap)
{
    Create(0);
    for (LPCWSTR s : {L"Steel", L"stainless", L"Iron", L"steel"})
        combo.AddString(s);
    EXPECT_EQ(0, combo.FindStringExact(-1, L"STEEL"));
    EXPECT_EQ(3, combo.FindStringExact(0, L"steel")); // starts after item 0
    EXPECT_EQ(0, combo.FindStringExact(3, L"steel")); // wraps
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, L"Ste"));
    EXPECT_EQ(1, combo.SelectString(0, L"STA")); // a prefix
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(CB_ERR, combo.SelectString(-1, L"copper"));
    EXPECT_EQ(1, combo.GetCurSel()); // unchanged by a failed search
    EXPECT_TRUE(parent.Matches({})); // no CBN_SELCHANGE for selection by program
}

TEST_F(ComboFixture, TextIsTheSelectedItem)
{
    Create(0);
    combo.AddString(L">");
    combo.AddString(L">=");
    EXPECT_EQ(L"", Text());
    combo.SetCurSel(1);
    EXPECT_EQ(L">=", Text());
    EXPECT_EQ(CB_ERR, combo.SetCurSel(-1));
    EXPECT_EQ(L"", Text());
    combo.SetCurSel(0);
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
    EXPECT_EQ(L"", Text());
    EXPECT_TRUE(parent.Matches({}));
}

// The list appears on a click and asks for its colours through the combo box; a click on an
// item chooses it.
TEST_F(ComboFixture, ChoosingWithTheMouse)
{
    Create(0);
    for (LPCWSTR s : {L"Steel", L"Iron", L"Copper"})
        combo.AddString(s);
    parent.m_bLogCtlColor = true;
    parent.Clear();
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    EXPECT_TRUE(combo.GetDroppedState());
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_COMBO, CBN_SETFOCUS},
                                {WM_COMMAND, ID_COMBO, CBN_DROPDOWN},
                                {WM_CTLCOLORLISTBOX, 0, 0}}));
    // The list lies under the combo box.
    CRect rcCombo;
    CRect rcList;
    combo.GetWindowRect(&rcCombo);
    GetWindowRect(info.hwndList, &rcList);
    EXPECT_EQ(rcCombo.bottom, rcList.top);

    parent.Clear();
    CRect rcItem;
    SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
    ASSERT_TRUE(VekInput::Click(info.hwndList, rcItem.CenterPoint()));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ(L"Copper", Text());
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_COMBO, CBN_SELCHANGE},
                                {WM_COMMAND, ID_COMBO, CBN_SELENDOK},
                                {WM_COMMAND, ID_COMBO, CBN_CLOSEUP}}));
}

TEST_F(ComboFixture, KeyboardChoices)
{
    Create(0);
    for (LPCWSTR s : {L"Steel", L"Iron", L"Copper"})
        combo.AddString(s);
    combo.SetCurSel(0);
    SetFocus(combo.m_hWnd);
    parent.Clear();
    ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
    EXPECT_EQ(1, combo.GetCurSel());
    ASSERT_TRUE(VekInput::Type(L"c"));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_COMBO, CBN_SELCHANGE},
                                {WM_COMMAND, ID_COMBO, CBN_SELENDOK},
                                {WM_COMMAND, ID_COMBO, CBN_SELCHANGE},
                                {WM_COMMAND, ID_COMBO, CBN_SELENDOK}}));
    // Escape in the open list takes the choice back.
    ASSERT_TRUE(VekInput::KeyDown(VK_F4));
    ASSERT_TRUE(combo.GetDroppedState());
    ASSERT_TRUE(VekInput::KeyDown(VK_UP));
    EXPECT_EQ(1, combo.GetCurSel());
    ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ(2, combo.GetCurSel());
}

// Hiding the combo box or moving the focus away closes its list without a choice.
TEST_F(ComboFixture, HidingOrLeavingClosesTheList)
{
    Create(0);
    combo.AddString(L"Steel");
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    parent.Clear();
    combo.ShowWindow(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ((VekParentMsg{WM_COMMAND, ID_COMBO, CBN_SELENDCANCEL}), parent.m_log.front());

    combo.ShowWindow(SW_SHOW);
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    HWND hOther = VekCreateChild(parent, L"Edit", L"", 0, 77, {200, 10, 300, 30});
    ASSERT_TRUE(VekInput::Click(hOther));
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
}

struct OutsideCase
{
    const char* name;
    HWND (*pfnTarget)(ComboFixture& f, HWND hButton); // the window clicked outside the list
};

void PrintTo(const OutsideCase& c, std::ostream* os)
{
    *os << c.name;
}

class ComboClickOutside : public ComboFixture, public ::testing::WithParamInterface<OutsideCase>
{
};

// The open list holds the mouse capture: the first click outside it only closes it, takes the
// choice back and reaches nothing else; the next click goes where it is aimed.
TEST_P(ComboClickOutside, OnlyClosesTheList)
{
    Create(0);
    for (LPCWSTR s : {L"Steel", L"Iron", L"Copper"})
        combo.AddString(s);
    combo.SetCurSel(1);
    HWND hButton = VekCreateChild(parent, L"Button", L"b", BS_PUSHBUTTON, 77, {200, 10, 300, 34});
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    EXPECT_EQ(info.hwndList, GetCapture());
    ASSERT_TRUE(VekInput::KeyDown(VK_DOWN)); // a choice in the open list, not yet made
    EXPECT_EQ(2, combo.GetCurSel());
    parent.Clear();
    HWND hTarget = GetParam().pfnTarget(*this, hButton);
    ASSERT_TRUE(VekInput::Click(hTarget));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(combo.m_hWnd, GetFocus());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(parent.Matches(
        {{WM_COMMAND, ID_COMBO, CBN_SELENDCANCEL}, {WM_COMMAND, ID_COMBO, CBN_CLOSEUP}}));
    parent.Clear();
    ASSERT_TRUE(VekInput::Click(hButton));
    EXPECT_TRUE(
        parent.Matches({{WM_COMMAND, ID_COMBO, CBN_KILLFOCUS}, {WM_COMMAND, 77, BN_CLICKED}}));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ComboClickOutside,
    ::testing::Values(OutsideCase{"button", [](ComboFixture&, HWND hButton) { return hButton; }},
                      OutsideCase{"combo_field",
                                  [](ComboFixture& f, HWND) { return f.combo.m_hWnd; }},
                      OutsideCase{"parent", [](ComboFixture& f, HWND) { return f.parent.m_hWnd; }}),
    [](const ::testing::TestParamInfo<OutsideCase>& info) { return info.param.name; });

// A press on the open list's scroll bar belongs to the list: it stays open and keeps the
// capture.
TEST_F(ComboFixture, ClickOnTheListsScrollBarKeepsItOpen)
{
    Create(0);
    for (int i = 0; i < 20; ++i)
        combo.AddString(CString(L"item ") + CString(std::to_wstring(i).c_str()));
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    CRect rcWindow;
    GetWindowRect(info.hwndList, &rcWindow);
    CRect rcClient;
    GetClientRect(info.hwndList, &rcClient);
    ASSERT_GT(rcWindow.Width(), rcClient.Width() + 2 * VEK_CX_BORDER) << "no scroll bar shown";
    parent.Clear();
    ASSERT_TRUE(VekInput::ClickAt(
        CPoint(rcWindow.right - VEK_CX_BORDER - VEK_CX_VSCROLL / 2, rcWindow.CenterPoint().y)));
    EXPECT_TRUE(combo.GetDroppedState());
    EXPECT_EQ(info.hwndList, GetCapture());
    EXPECT_TRUE(parent.Matches({}));
}

TEST_F(ComboFixture, DestroyingTheComboTakesItsListAlong)
{
    Create(0);
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    ASSERT_TRUE(IsWindow(info.hwndList));
    combo.DestroyWindow();
    EXPECT_FALSE(IsWindow(info.hwndList));
}

// A handler may destroy the combo box, or its parent, while the combo box tells the parent
// something; the combo box must stop at once (checked by the sanitizer build).
struct DestroyCase
{
    const char* name;
    DWORD dwStyle; // the combo box type
    UINT nCode;    // the notification whose handler destroys
    void (*pfnAct)(HWND hCombo, HWND hOther);
};

void ChooseItem(HWND hCombo, int nIndex)
{
    COMBOBOXINFO info = {};
    ASSERT_TRUE(GetComboBoxInfo(hCombo, &info));
    CRect rcItem;
    SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                 reinterpret_cast<LPARAM>(&rcItem));
    VekInput::Click(info.hwndList, rcItem.CenterPoint());
}

void KeyDownIn(HWND hCombo)
{
    SetFocus(hCombo);
    VekInput::KeyDown(VK_DOWN);
}

void LetterIn(HWND hCombo)
{
    SetFocus(hCombo);
    VekInput::Type(L"c");
}

void ClickAndChoose(HWND hCombo)
{
    VekInput::Click(hCombo);
    ChooseItem(hCombo, 2);
}

void DropAndEscape(HWND hCombo)
{
    SetFocus(hCombo);
    VekInput::KeyDown(VK_F4);
    VekInput::KeyDown(VK_ESCAPE);
}

void TypeInEdit(HWND hCombo)
{
    SetFocus(hCombo);
    VekInput::Type(L"x");
}

void PrintTo(const DestroyCase& c, std::ostream* os)
{
    *os << c.name;
}

const DestroyCase kDestroyCases[] = {
    {"selchange_key", CBS_DROPDOWNLIST, CBN_SELCHANGE, [](HWND h, HWND) { KeyDownIn(h); }},
    {"selendok_key", CBS_DROPDOWNLIST, CBN_SELENDOK, [](HWND h, HWND) { KeyDownIn(h); }},
    {"selchange_letter", CBS_DROPDOWNLIST, CBN_SELCHANGE, [](HWND h, HWND) { LetterIn(h); }},
    {"selchange_mouse", CBS_DROPDOWNLIST, CBN_SELCHANGE, [](HWND h, HWND) { ClickAndChoose(h); }},
    {"selendok_mouse", CBS_DROPDOWNLIST, CBN_SELENDOK, [](HWND h, HWND) { ClickAndChoose(h); }},
    {"closeup_mouse", CBS_DROPDOWNLIST, CBN_CLOSEUP, [](HWND h, HWND) { ClickAndChoose(h); }},
    {"dropdown_click", CBS_DROPDOWNLIST, CBN_DROPDOWN, [](HWND h, HWND) { VekInput::Click(h); }},
    {"setfocus_click", CBS_DROPDOWNLIST, CBN_SETFOCUS, [](HWND h, HWND) { VekInput::Click(h); }},
    {"selendcancel_escape", CBS_DROPDOWNLIST, CBN_SELENDCANCEL,
     [](HWND h, HWND) { DropAndEscape(h); }},
    {"closeup_escape", CBS_DROPDOWNLIST, CBN_CLOSEUP, [](HWND h, HWND) { DropAndEscape(h); }},
    {"killfocus_click_elsewhere", CBS_DROPDOWNLIST, CBN_KILLFOCUS,
     [](HWND h, HWND hOther) {
         SetFocus(h);
         VekInput::Click(hOther);
     }},
    {"selendcancel_click_outside", CBS_DROPDOWNLIST, CBN_SELENDCANCEL,
     [](HWND h, HWND hOther) {
         VekInput::Click(h);
         VekInput::Click(hOther);
     }},
    {"closeup_click_outside", CBS_DROPDOWNLIST, CBN_CLOSEUP,
     [](HWND h, HWND hOther) {
         VekInput::Click(h);
         VekInput::Click(hOther);
     }},
    {"editupdate", CBS_DROPDOWN, CBN_EDITUPDATE, [](HWND h, HWND) { TypeInEdit(h); }},
    {"editchange", CBS_DROPDOWN, CBN_EDITCHANGE, [](HWND h, HWND) { TypeInEdit(h); }},
    {"setfocus_dropdown", CBS_DROPDOWN, CBN_SETFOCUS, [](HWND h, HWND) { SetFocus(h); }},
    {"selchange_mouse_dropdown", CBS_DROPDOWN, CBN_SELCHANGE,
     [](HWND h, HWND) { ClickAndChoose(h); }},
};

class ComboDestroyTest : public ::testing::TestWithParam<std::tuple<DestroyCase, Victim>>
{
};

TEST_P(ComboDestroyTest, HandlerDestroysTheCombo)
{
    const DestroyCase& c = std::get<0>(GetParam());
    CVekTestParent parent;
    HWND hCombo = VekCreateChild(parent, L"ComboBox", L"", c.dwStyle | WS_VSCROLL | WS_TABSTOP,
                                 ID_COMBO, {10, 10, 160, 200});
    ASSERT_TRUE(hCombo);
    for (LPCWSTR s : {L"Steel", L"Iron", L"Copper"})
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    HWND hOther =
        VekCreateChild(parent, L"Button", L"other", BS_PUSHBUTTON, 77, {200, 10, 300, 34});
    bool bRan = false;
    DestroyOnCommand(parent, ID_COMBO, c.nCode,
                     VictimWindow(std::get<1>(GetParam()), hCombo, parent.m_hWnd), bRan);
    c.pfnAct(hCombo, hOther);
    EXPECT_TRUE(bRan) << "the notification was not sent";
    EXPECT_FALSE(IsWindow(hCombo));
}

INSTANTIATE_TEST_SUITE_P(Notifications, ComboDestroyTest,
                         ::testing::Combine(::testing::ValuesIn(kDestroyCases),
                                            ::testing::Values(Victim::Sender, Victim::Parent)),
                         DestroyTestName<DestroyCase>);
// A control class that destroys its own window from a reflected notification.
class CSelfDestroyingCombo : public CComboBox
{
protected:
    void OnSelChange() { DestroyWindow(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDestroyingCombo, CComboBox)
ON_CONTROL_REFLECT(CBN_SELCHANGE, &CSelfDestroyingCombo::OnSelChange)
END_MESSAGE_MAP()

TEST(ComboReflection, ReflectedHandlerDestroysTheCombo)
{
    CVekTestParent parent;
    CVekMfcParent mfcParent{parent};
    CSelfDestroyingCombo combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | WS_VISIBLE | WS_CHILD, CRect(10, 10, 160, 200),
                             mfcParent.get(), ID_COMBO));
    HWND hCombo = combo.m_hWnd;
    combo.AddString(L"Steel");
    combo.AddString(L"Iron");
    SetFocus(hCombo);
    ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
    EXPECT_FALSE(IsWindow(hCombo));
    EXPECT_EQ(nullptr, combo.m_hWnd);
}
} // namespace
