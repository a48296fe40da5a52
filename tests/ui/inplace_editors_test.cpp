// The in-place editors, typed and clicked through the input path.
#include "VekTestParent.h"

#include "CCustomComboBox.h"
#include "CDoubleEditEx.h"
#include "CWrapperComboCtrl.h"

namespace
{
const UINT ID_EDIT = 40077;

struct DoubleEditFixture : ::testing::Test
{
    CVekTestParent parent;
    CVekMfcParent mfcParent{parent};
    CDoubleEditEx edit;
    void SetUp() override
    {
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                CRect(10, 10, 110, 30), mfcParent.get(), ID_EDIT));
        edit.SetFocus();
        parent.Clear();
    }
    CString Text()
    {
        CString str;
        edit.GetWindowText(str);
        return str;
    }
    std::pair<int, int> Sel()
    {
        int a = -1, b = -1;
        edit.GetSel(a, b);
        return {a, b};
    }
};

struct TypingCase
{
    const char* name;
    LPCWSTR pszTyped;
    LPCWSTR pszShown;
};

class DoubleEditTyping : public DoubleEditFixture, public ::testing::WithParamInterface<TypingCase>
{
};

TEST_P(DoubleEditTyping, KeepsOnlyDigitsAndPoints)
{
    ASSERT_TRUE(VekInput::Type(GetParam().pszTyped));
    EXPECT_EQ(CString(GetParam().pszShown), Text());
    EXPECT_EQ(std::make_pair(Text().GetLength(), Text().GetLength()), Sel());
}

INSTANTIATE_TEST_SUITE_P(Texts, DoubleEditTyping,
                         ::testing::Values(TypingCase{"decimal", L"12.5", L"12.5"},
                                           TypingCase{"letter_after_digits", L"12a", L"12"},
                                           TypingCase{"letters_inside", L"1x2y.5", L"12.5"},
                                           TypingCase{"two_points", L"1.2.3", L"1.2.3"},
                                           TypingCase{"leading_point", L".5", L".5"},
                                           TypingCase{"minus_first", L"-", L""},
                                           TypingCase{"minus_then_digits", L"-1", L"1"},
                                           TypingCase{"comma", L"1,5", L"15"},
                                           TypingCase{"exponent", L"1e3", L"13"}),
                         [](const ::testing::TestParamInfo<TypingCase>& info) {
                             return info.param.name;
                         });

// The parent hears the update but never the change: the control handles it.
TEST_F(DoubleEditFixture, ChangeIsNotPassedToTheParent)
{
    ASSERT_TRUE(VekInput::Type(L"7"));
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_EDIT, EN_UPDATE}}));
}

TEST_F(DoubleEditFixture, PasteBeginningWithALetterEmptiesAndKeepsTheLastValidText)
{
    ASSERT_TRUE(VekInput::Type(L"7.5"));
    edit.SetSel(0, -1);
    ASSERT_TRUE(VekInput::Paste(L"abc"));
    EXPECT_EQ(L"", Text());
    // A later invalid text brings back 7.5, which the paste left as the last valid text.
    edit.SetWindowText(L"5x");
    EXPECT_EQ(L"7.5", Text());
}

TEST_F(DoubleEditFixture, InvalidTextSetByProgramWithNothingValidBeforeEmpties)
{
    edit.SetWindowText(L"5x");
    EXPECT_EQ(L"", Text());
    edit.SetWindowText(L"3.25");
    EXPECT_EQ(L"3.25", Text());
}

// Bound to a control of a parent by subclassing, as a dialog's data exchange does.
TEST(DoubleEditSubclassed, FiltersAnExistingEdit)
{
    CVekTestParent parent;
    CVekMfcParent mfcParent(parent);
    HWND h = VekCreateChild(parent, L"Edit", L"", ES_AUTOHSCROLL, ID_EDIT);
    CDoubleEditEx edit;
    ASSERT_TRUE(edit.SubclassWindow(h));
    SetFocus(h);
    ASSERT_TRUE(VekInput::Type(L"4q"));
    WCHAR sz[16] = {};
    GetWindowTextW(h, sz, 16);
    EXPECT_STREQ(L"4", sz);
    edit.UnsubclassWindow();
}

struct FillCase
{
    const char* name;
    DWORD dwStyle;
    std::vector<CString> items;
    std::vector<CString> expected;
};

class WrapperFill : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(WrapperFill, FillsInListOrderAndReplaces)
{
    CVekTestParent parent;
    CWrapperComboCtrl combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | GetParam().dwStyle,
                             CRect(10, 10, 110, 200), CWnd::FromHandle(parent.m_hWnd), 40087));
    combo.AddString(L"old");
    CStringList lst;
    for (const CString& s : GetParam().items)
        lst.AddTail(s);
    combo.FillFromList(lst);
    std::vector<CString> got;
    for (int i = 0; i < combo.GetCount(); ++i)
    {
        CString str;
        combo.GetLBText(i, str);
        got.push_back(str);
    }
    EXPECT_EQ(GetParam().expected, got);
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
}

INSTANTIATE_TEST_SUITE_P(Lists, WrapperFill,
                         ::testing::Values(FillCase{"unsorted", 0, {L">", L">="}, {L">", L">="}},
                                           FillCase{"sorted",
                                                    CBS_SORT,
                                                    {L"Warning", L"Info", L"error"},
                                                    {L"error", L"Info", L"Warning"}},
                                           FillCase{"empty", 0, {}, {}}),
                         [](const ::testing::TestParamInfo<FillCase>& info) {
                             return info.param.name;
                         });

struct CustomComboFixture : ::testing::Test
{
    CVekTestParent parent;
    CVekMfcParent mfcParent{parent};
    CCustomComboBox combo;
    HWND hList = nullptr;
    void SetUp() override
    {
        ASSERT_TRUE(combo.Create(0x210003 | WS_VISIBLE | WS_CHILD, CRect(10, 10, 110, 30),
                                 mfcParent.get(), 40015));
        combo.AddString(L"Steel");
        combo.AddString(L"Iron");
        COMBOBOXINFO info = {};
        ASSERT_TRUE(combo.GetComboBoxInfo(&info));
        hList = info.hwndList;
    }
};

TEST_F(CustomComboFixture, AttachesTheListWhenItIsFirstShown)
{
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hList));
    parent.m_bLogCtlColor = true;
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    CWnd* pList = CWnd::FromHandlePermanent(hList);
    ASSERT_NE(nullptr, pList);
    EXPECT_TRUE(pList->IsKindOf(RUNTIME_CLASS(CListBox)));
    // The default colour handling still reaches the parent.
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, 40015, CBN_SETFOCUS},
                                {WM_COMMAND, 40015, CBN_DROPDOWN},
                                {WM_CTLCOLORLISTBOX, 0, 0}}));
    // A choice in the attached list still works.
    CRect rcItem;
    SendMessageW(hList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
    ASSERT_TRUE(VekInput::Click(hList, rcItem.CenterPoint()));
    CString str;
    combo.GetWindowText(str);
    EXPECT_EQ(L"Iron", str);
    // Shown again, it stays attached to the same object.
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    EXPECT_EQ(pList, CWnd::FromHandlePermanent(hList));
    combo.DestroyWindow();
    EXPECT_FALSE(IsWindow(hList));
}

TEST_F(CustomComboFixture, DestroyWithoutShowingDetachesNothing)
{
    ASSERT_TRUE(combo.DestroyWindow());
    EXPECT_FALSE(IsWindow(hList));
    EXPECT_EQ(nullptr, combo.GetSafeHwnd());
}

TEST_F(CustomComboFixture, AttachedListIsLetGoBeforeTheComboGoes)
{
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    ASSERT_NE(nullptr, CWnd::FromHandlePermanent(hList));
    // The list is an owned popup of the parent, so it outlives the combo only if let go.
    ASSERT_TRUE(combo.DestroyWindow());
    EXPECT_FALSE(IsWindow(hList));
}
} // namespace
