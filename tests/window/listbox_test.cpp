// List box with multiple selection: selection messages, deletion and the click.
#include "VekTestParent.h"

namespace
{
struct ListBoxFixture : ::testing::Test
{
    CVekTestParent parent;
    CListBox lb;
    void Create(DWORD dwStyle)
    {
        HWND h = VekCreateChild(parent, L"ListBox", L"", dwStyle, 40097, {10, 10, 210, 210});
        ASSERT_TRUE(h);
        lb.Attach(h);
        for (LPCWSTR s : {L"Steel", L"Iron", L"Aluminium", L"Copper"})
            lb.AddString(s);
        parent.Clear();
    }
    void TearDown() override { lb.Detach(); }
    std::vector<int> Selected()
    {
        std::vector<int> v(static_cast<size_t>(std::max(lb.GetSelCount(), 0)));
        int n = lb.GetSelItems(static_cast<int>(v.size()), v.data());
        v.resize(static_cast<size_t>(std::max(n, 0)));
        return v;
    }
};

TEST_F(ListBoxFixture, MultipleSelectionByMessage)
{
    Create(LBS_MULTIPLESEL | LBS_NOTIFY);
    EXPECT_EQ(0, lb.GetSelCount());
    lb.SetSel(3);
    lb.SetSel(1);
    EXPECT_EQ((std::vector<int>{1, 3}), Selected()); // ascending
    int one = -1;
    EXPECT_EQ(1, lb.GetSelItems(1, &one));
    EXPECT_EQ(1, one);
    lb.SetSel(-1, TRUE);
    EXPECT_EQ(4, lb.GetSelCount());
    lb.SetSel(-1, FALSE);
    EXPECT_EQ(0, lb.GetSelCount());
    EXPECT_EQ(LB_ERR, lb.SetSel(9));
    EXPECT_TRUE(parent.Matches({})); // selection by message is silent
}

TEST_F(ListBoxFixture, DeleteMovesLaterItemsUpWithTheirSelection)
{
    Create(LBS_MULTIPLESEL);
    lb.SetSel(2);
    lb.SetSel(3);
    EXPECT_EQ(3, lb.DeleteString(1));
    EXPECT_EQ((std::vector<int>{1, 2}), Selected());
    CString str;
    lb.GetText(1, str);
    EXPECT_EQ(L"Aluminium", str);
    EXPECT_EQ(LB_ERR, lb.DeleteString(7));
    EXPECT_EQ(3, lb.GetCount());
}

TEST_F(ListBoxFixture, SingleSelectionRefusesMultipleSelectionMessages)
{
    Create(LBS_NOTIFY);
    EXPECT_EQ(LB_ERR, lb.GetSelCount());
    EXPECT_EQ(LB_ERR, lb.SetSel(1));
    int n = 0;
    EXPECT_EQ(LB_ERR, lb.GetSelItems(1, &n));
    EXPECT_EQ(2, lb.SetCurSel(2));
    EXPECT_EQ(2, lb.GetCurSel());
}

TEST_F(ListBoxFixture, SortedInsertIgnoresCase)
{
    HWND h = VekCreateChild(parent, L"ListBox", L"", LBS_SORT, 1, {300, 10, 400, 200});
    CListBox sorted;
    sorted.Attach(h);
    for (LPCWSTR s : {L"beta", L"Alpha", L"alpha", L"Gamma"})
        sorted.AddString(s);
    std::vector<CString> v;
    for (int i = 0; i < sorted.GetCount(); ++i)
    {
        CString str;
        sorted.GetText(i, str);
        v.push_back(str);
    }
    EXPECT_EQ((std::vector<CString>{L"Alpha", L"alpha", L"beta", L"Gamma"}), v);
    EXPECT_EQ(2, sorted.FindStringExact(-1, L"BETA"));
    sorted.Detach();
}

TEST_F(ListBoxFixture, ClickTogglesAndNotifies)
{
    Create(LBS_MULTIPLESEL | LBS_NOTIFY);
    CRect rc;
    ASSERT_NE(LB_ERR, lb.GetItemRect(2, &rc));
    EXPECT_EQ(CRect(0, 2 * VEK_CY_LISTITEM, 200, 3 * VEK_CY_LISTITEM), rc);
    ASSERT_TRUE(VekInput::Click(lb.m_hWnd, rc.CenterPoint()));
    ASSERT_TRUE(VekInput::Click(lb.m_hWnd, CPoint(5, 5)));
    EXPECT_EQ((std::vector<int>{0, 2}), Selected());
    ASSERT_TRUE(VekInput::Click(lb.m_hWnd, rc.CenterPoint()));
    EXPECT_EQ((std::vector<int>{0}), Selected());
    EXPECT_TRUE(parent.Matches({{WM_COMMAND, 40097, LBN_SETFOCUS},
                                {WM_COMMAND, 40097, LBN_SELCHANGE},
                                {WM_COMMAND, 40097, LBN_SELCHANGE},
                                {WM_COMMAND, 40097, LBN_SELCHANGE}}));
    // Below the last item nothing changes.
    ASSERT_TRUE(VekInput::Click(lb.m_hWnd, CPoint(5, 150)));
    EXPECT_EQ((std::vector<int>{0}), Selected());
}
} // namespace

// A handler may destroy the list box, or its parent, inside any notification; the list box must
// stop touching its state at once. Meant for the sanitizer build, where a read of the freed state
// fails the run.
namespace
{
const UINT ID_LIST = 40097;

struct ListScene
{
    HWND hList = nullptr;
    HWND hOther = nullptr; // a sibling that can take the focus
};

CPoint RowCentre(HWND hList, int nIndex)
{
    RECT rc = {};
    SendMessageW(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
    return CRect(rc).CenterPoint();
}

struct ListDestroyCase
{
    const char* name;
    DWORD dwStyle;
    UINT nCode;
    void (*trigger)(ListScene& t);
};

const ListDestroyCase g_listDestroyCases[] = {
    {"click: LBN_SELCHANGE", LBS_NOTIFY, LBN_SELCHANGE,
     [](ListScene& t) { VekInput::Click(t.hList, RowCentre(t.hList, 2)); }},
    {"click: LBN_SETFOCUS", LBS_NOTIFY, LBN_SETFOCUS,
     [](ListScene& t) { VekInput::Click(t.hList, RowCentre(t.hList, 2)); }},
    {"extended shift click: LBN_SELCHANGE", LBS_NOTIFY | LBS_EXTENDEDSEL, LBN_SELCHANGE,
     [](ListScene& t) { VekInput::Click(t.hList, RowCentre(t.hList, 2), VEK_MOD_SHIFT); }},
    {"double click: LBN_DBLCLK", LBS_NOTIFY, LBN_DBLCLK,
     [](ListScene& t) { VekInput::DoubleClick(t.hList, RowCentre(t.hList, 1)); }},
    {"key Down: LBN_SELCHANGE", LBS_NOTIFY, LBN_SELCHANGE,
     [](ListScene& t) {
         SetFocus(t.hList);
         VekInput::KeyDown(VK_DOWN);
     }},
    {"key End: LBN_SELCHANGE", LBS_NOTIFY, LBN_SELCHANGE,
     [](ListScene& t) {
         SetFocus(t.hList);
         VekInput::KeyDown(VK_END);
     }},
    {"key Page Down: LBN_SELCHANGE", LBS_NOTIFY, LBN_SELCHANGE,
     [](ListScene& t) {
         SetFocus(t.hList);
         VekInput::KeyDown(VK_NEXT);
     }},
    {"space in a multiple-selection box: LBN_SELCHANGE", LBS_NOTIFY | LBS_MULTIPLESEL,
     LBN_SELCHANGE,
     [](ListScene& t) {
         SetFocus(t.hList);
         VekInput::KeyDown(VK_SPACE);
     }},
    {"typed letter: LBN_SELCHANGE", LBS_NOTIFY, LBN_SELCHANGE,
     [](ListScene& t) {
         SetFocus(t.hList);
         VekInput::Type(L"c");
     }},
    {"focus: LBN_SETFOCUS", LBS_NOTIFY, LBN_SETFOCUS, [](ListScene& t) { SetFocus(t.hList); }},
    {"focus lost: LBN_KILLFOCUS", LBS_NOTIFY, LBN_KILLFOCUS,
     [](ListScene& t) {
         SetFocus(t.hList);
         SetFocus(t.hOther);
     }},
};

TEST(ListBoxDestroyedInNotification, StopsTouchingItsState)
{
    for (bool bParent : {false, true})
        for (const ListDestroyCase& c : g_listDestroyCases)
        {
            SCOPED_TRACE(std::string(c.name) + (bParent ? ", parent destroyed" : ""));
            CVekTestParent parent;
            ListScene t;
            // Short enough to scroll: the keys and clicks move the top row too.
            t.hList = VekCreateChild(parent, L"ListBox", L"", c.dwStyle | WS_TABSTOP, ID_LIST,
                                     {10, 10, 210, 10 + 3 * VEK_CY_LISTITEM});
            t.hOther =
                VekCreateChild(parent, L"Button", L"other", WS_TABSTOP, 1, {300, 10, 400, 30});
            ASSERT_TRUE(t.hList && t.hOther);
            for (LPCWSTR s : {L"Steel", L"Iron", L"Aluminium", L"Copper", L"Zinc", L"Nickel"})
                SendMessageW(t.hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));

            bool bDestroyed = false;
            HWND hVictim = bParent ? parent.m_hWnd : t.hList;
            parent.m_onCommand = [&](UINT nID, UINT nCode) {
                if (nID == ID_LIST && nCode == c.nCode && !bDestroyed)
                {
                    bDestroyed = true;
                    DestroyWindow(hVictim);
                }
            };
            c.trigger(t);
            EXPECT_TRUE(bDestroyed) << "the notification never came";
            EXPECT_FALSE(IsWindow(t.hList));
        }
}
} // namespace
