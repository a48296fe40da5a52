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

// Scrolling: a list box created with WS_VSCROLL shows its bar while its items do not all fit;
// the bar, the wheel, the keys and LB_SETTOPINDEX move the top row, and item rectangles and
// clicks follow it.
namespace
{
struct ListScrollFixture : ::testing::Test
{
    // 200 x 80: five rows.
    static constexpr int kRows = 5;
    CVekTestParent parent;
    CListBox lb;
    void Create(DWORD dwStyle, int nItems)
    {
        HWND h = VekCreateChild(parent, L"ListBox", L"", dwStyle, ID_LIST,
                                {10, 10, 210, 10 + kRows * VEK_CY_LISTITEM});
        ASSERT_TRUE(h);
        lb.Attach(h);
        for (int i = 0; i < nItems; ++i)
        {
            CString str;
            str.Format(L"item %02d", i);
            lb.AddString(str);
        }
        parent.Clear();
    }
    void TearDown() override { lb.Detach(); }
    bool HasBar() { return (lb.GetStyle() & WS_VSCROLL) != 0; }
    int ClientWidth()
    {
        CRect rc;
        lb.GetClientRect(&rc);
        return rc.Width();
    }
};

TEST_F(ListScrollFixture, BarComesAndGoesWithTheItems)
{
    Create(WS_VSCROLL | LBS_NOTIFY, kRows);
    EXPECT_FALSE(HasBar()); // five rows fit
    EXPECT_EQ(200, ClientWidth());
    lb.AddString(L"one more");
    ASSERT_TRUE(HasBar());
    EXPECT_EQ(200 - VEK_CX_VSCROLL, ClientWidth());
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lb.m_hWnd, SB_VERT, &si));
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(kRows, si.nMax);
    EXPECT_EQ(static_cast<UINT>(kRows), si.nPage);
    CRect rc;
    ASSERT_NE(LB_ERR, lb.GetItemRect(0, &rc));
    EXPECT_EQ(200 - VEK_CX_VSCROLL, rc.right);
    lb.DeleteString(0);
    EXPECT_FALSE(HasBar());
    lb.AddString(L"again");
    lb.ResetContent();
    EXPECT_FALSE(HasBar());

    // Without WS_VSCROLL there is never a bar, but the rows still scroll.
    CListBox plain;
    plain.Attach(VekCreateChild(parent, L"ListBox", L"", 0, 2, {300, 10, 400, 90}));
    for (int i = 0; i < 20; ++i)
        plain.AddString(L"x");
    EXPECT_EQ(0u, plain.GetStyle() & WS_VSCROLL);
    plain.SetCurSel(19);
    EXPECT_EQ(20 - kRows, plain.GetTopIndex());
    plain.Detach();
}

TEST_F(ListScrollFixture, TopIndexMovesRectanglesAndClicks)
{
    Create(WS_VSCROLL | LBS_NOTIFY, 20);
    EXPECT_EQ(0, lb.SetTopIndex(7));
    EXPECT_EQ(7, lb.GetTopIndex());
    EXPECT_EQ(7, GetScrollPos(lb.m_hWnd, SB_VERT));
    CRect rc;
    ASSERT_NE(LB_ERR, lb.GetItemRect(9, &rc));
    EXPECT_EQ(2 * VEK_CY_LISTITEM, rc.top);
    BOOL bOutside = TRUE;
    EXPECT_EQ(9u, lb.ItemFromPoint(rc.CenterPoint(), bOutside));
    EXPECT_FALSE(bOutside);
    ASSERT_TRUE(VekInput::Click(lb.m_hWnd, rc.CenterPoint()));
    EXPECT_EQ(9, lb.GetCurSel());
    // The last page stays full; an index past the items fails.
    EXPECT_EQ(0, lb.SetTopIndex(18));
    EXPECT_EQ(20 - kRows, lb.GetTopIndex());
    EXPECT_EQ(LB_ERR, lb.SetTopIndex(20));
    EXPECT_EQ(20 - kRows, lb.GetTopIndex());
    // Deleting rows at the end pulls the top row back.
    for (int i = 0; i < 10; ++i)
        lb.DeleteString(static_cast<UINT>(lb.GetCount() - 1));
    EXPECT_EQ(10 - kRows, lb.GetTopIndex());
}

struct ListScrollRequest
{
    const char* name;
    WORD nCode;
    WORD nThumb;
    int nTop; // expected, starting from 5 of 20 rows
};

TEST_F(ListScrollFixture, ScrollRequestsAndTheWheelMoveTheTopRow)
{
    Create(WS_VSCROLL | LBS_NOTIFY, 20);
    const ListScrollRequest requests[] = {
        {"line down", SB_LINEDOWN, 0, 6},
        {"line up", SB_LINEUP, 0, 4},
        {"page down", SB_PAGEDOWN, 0, 10},
        {"page up", SB_PAGEUP, 0, 0},
        {"bottom", SB_BOTTOM, 0, 15},
        {"top", SB_TOP, 0, 0},
        {"thumb track", SB_THUMBTRACK, 12, 12},
        {"thumb position past the end", SB_THUMBPOSITION, 19, 15},
    };
    for (const ListScrollRequest& r : requests)
    {
        SCOPED_TRACE(r.name);
        lb.SetTopIndex(5);
        lb.SendMessage(WM_VSCROLL, MAKEWPARAM(r.nCode, r.nThumb), 0);
        EXPECT_EQ(r.nTop, lb.GetTopIndex());
        EXPECT_EQ(r.nTop, GetScrollPos(lb.m_hWnd, SB_VERT));
    }
    // Three rows a notch; parts of notches add up.
    lb.SetTopIndex(0);
    lb.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(3, lb.GetTopIndex());
    for (int i = 0; i < 4; ++i)
        lb.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 4)), 0);
    EXPECT_EQ(6, lb.GetTopIndex());
    lb.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA * 3)), 0);
    EXPECT_EQ(0, lb.GetTopIndex());
    EXPECT_TRUE(parent.Matches({})); // scrolling alone tells the parent nothing
}

struct ListKeyCase
{
    UINT nKey;
    int nSel; // expected, from item 2 with rows 0 to 4 shown
    int nTop;
};

// Page Down and Page Up go to the other end of the rows shown (a page less one row); End and
// Home to the last and the first item; the new selection is scrolled into view.
TEST_F(ListScrollFixture, KeysMoveTheSelectionAndScroll)
{
    Create(WS_VSCROLL | LBS_NOTIFY, 20);
    const ListKeyCase cases[] = {
        {VK_NEXT, 2 + kRows - 1, 2},
        {VK_PRIOR, 0, 0},
        {VK_END, 19, 15},
        {VK_HOME, 0, 0},
        {VK_DOWN, 3, 0},
    };
    SetFocus(lb.m_hWnd);
    for (const ListKeyCase& c : cases)
    {
        SCOPED_TRACE(c.nKey);
        lb.SetTopIndex(0);
        lb.SetCurSel(2);
        parent.Clear();
        ASSERT_TRUE(VekInput::KeyDown(c.nKey));
        EXPECT_EQ(c.nSel, lb.GetCurSel());
        EXPECT_EQ(c.nTop, lb.GetTopIndex());
        EXPECT_TRUE(parent.Matches({{WM_COMMAND, ID_LIST, LBN_SELCHANGE}}));
    }
}

// A combo box's open list shows at most VEK_CY_COMBO_LIST_MAX rows and scrolls to the choice.
TEST_F(ListScrollFixture, ComboListScrolls)
{
    CComboBox combo;
    combo.Attach(VekCreateChild(parent, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 7,
                                {300, 10, 450, 300}));
    for (int i = 0; i < 20; ++i)
    {
        CString str;
        str.Format(L"grade %02d", i);
        combo.AddString(str);
    }
    combo.SetCurSel(15);
    ASSERT_TRUE(VekInput::Click(combo.m_hWnd));
    COMBOBOXINFO info = {};
    ASSERT_TRUE(combo.GetComboBoxInfo(&info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    CRect rc;
    GetClientRect(info.hwndList, &rc);
    EXPECT_EQ(VEK_CY_COMBO_LIST_MAX * VEK_CY_LISTITEM, rc.Height());
    EXPECT_TRUE(GetWindowLongW(info.hwndList, GWL_STYLE) & WS_VSCROLL);
    int nTop = static_cast<int>(SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(nTop, 15);
    EXPECT_GT(nTop + VEK_CY_COMBO_LIST_MAX, 15);
    // The wheel scrolls the open list; a click picks the item under it.
    SendMessageW(info.hwndList, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA * 9)),
                 0);
    EXPECT_EQ(0, SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0));
    SendMessageW(info.hwndList, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
    EXPECT_EQ(4, SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0));
    RECT rcItem = {};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&rcItem));
    EXPECT_EQ(2 * VEK_CY_LISTITEM, rcItem.top);
    ASSERT_TRUE(VekInput::Click(info.hwndList, CRect(rcItem).CenterPoint()));
    EXPECT_EQ(6, combo.GetCurSel());
    combo.Detach();
}
} // namespace
