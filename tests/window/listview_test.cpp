// Report list view and its header: rows, cells, rectangles, hit tests and the default click.
#include "VekTestParent.h"

#include <cctype>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>

namespace
{
const UINT ID_LIST = 40093;

struct ListFixture : ::testing::Test
{
    CVekTestParent parent;
    CListCtrl list;
    void SetUp() override
    {
        HWND h = VekCreateChild(parent, WC_LISTVIEWW, L"", LVS_REPORT | WS_TABSTOP, ID_LIST,
                                {10, 10, 410, 310});
        ASSERT_TRUE(h);
        list.Attach(h);
        ASSERT_EQ(0, list.InsertColumn(0, L"Material", LVCFMT_LEFT, 200, 0));
        ASSERT_EQ(1, list.InsertColumn(1, L"Thickness", LVCFMT_LEFT, 120, 1));
        parent.Clear();
    }
    void TearDown() override { list.Detach(); }
    void AddRows(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(i, list.InsertItem(i, CString(static_cast<WCHAR>(L'A' + i))));
        parent.Clear();
    }
    int Notifications(UINT nCode) const
    {
        return static_cast<int>(
            std::count_if(parent.m_log.begin(), parent.m_log.end(), [&](const VekParentMsg& m) {
                return m.nMsg == WM_NOTIFY && m.nCode == nCode;
            }));
    }
};

TEST_F(ListFixture, ColumnsLiveInTheHeader)
{
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    ASSERT_NE(nullptr, pHeader);
    EXPECT_EQ(2, pHeader->GetItemCount());
    CRect rc;
    ASSERT_TRUE(pHeader->GetItemRect(1, &rc));
    EXPECT_EQ(CRect(200, 0, 320, VEK_CY_HEADER), rc);
    // A column index past the end appends.
    EXPECT_EQ(2, list.InsertColumn(7, L"Max", LVCFMT_RIGHT, 50));
    WCHAR sz[32] = {};
    HDITEM hdi = {};
    hdi.mask = HDI_TEXT | HDI_WIDTH;
    hdi.pszText = sz;
    hdi.cchTextMax = 32;
    ASSERT_TRUE(pHeader->GetItem(2, &hdi));
    EXPECT_STREQ(L"Max", sz);
    EXPECT_EQ(50, hdi.cxy);
}

TEST_F(ListFixture, InsertShiftsLaterRowsWithTheirStates)
{
    AddRows(3);
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(1, list.InsertItem(1, L"new"));
    EXPECT_EQ(L"A", list.GetItemText(0, 0));
    EXPECT_EQ(L"new", list.GetItemText(1, 0));
    EXPECT_EQ(L"B", list.GetItemText(2, 0));
    EXPECT_EQ(0u, list.GetItemState(1, LVIS_SELECTED));
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED),
              list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(4, list.InsertItem(99, L"end")); // past the end appends
    LVITEM item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(L"x");
    EXPECT_EQ(-1, list.InsertItem(&item));
    EXPECT_EQ(5, list.GetItemCount());
}

TEST_F(ListFixture, CellsExistOnlyForColumns)
{
    AddRows(2);
    EXPECT_TRUE(list.SetItemText(1, 1, L"2.5"));
    EXPECT_EQ(L"2.5", list.GetItemText(1, 1));
    EXPECT_FALSE(list.SetItemText(1, 2, L"lost")); // no third column
    EXPECT_EQ(L"", list.GetItemText(1, 2));
    EXPECT_FALSE(list.SetItemText(5, 0, L"no row"));
    EXPECT_EQ(L"", list.GetItemText(5, 0));
}

TEST_F(ListFixture, DeleteShiftsUpAndPassesTheFocus)
{
    AddRows(4);
    list.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_EQ(L"C", list.GetItemText(1, 0));
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED),
              list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(1, Notifications(LVN_DELETEITEM));
    EXPECT_FALSE(list.DeleteItem(3));
    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(ListFixture, NextSelectedExcludesTheStart)
{
    AddRows(5);
    EXPECT_EQ(-1, list.GetNextItem(-1, LVNI_SELECTED));
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(2u, list.GetSelectedCount());
    EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(3, list.GetNextItem(1, LVNI_SELECTED));
    EXPECT_EQ(-1, list.GetNextItem(3, LVNI_SELECTED));
    POSITION pos = list.GetFirstSelectedItemPosition();
    std::vector<int> seen;
    while (pos)
        seen.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{1, 3}), seen);
}

TEST_F(ListFixture, SubItemRectanglesStartBelowTheHeader)
{
    AddRows(2);
    CRect rc;
    ASSERT_TRUE(list.GetSubItemRect(1, 0, LVIR_LABEL, rc));
    EXPECT_EQ(CRect(VEK_CX_LVLABELPAD, VEK_CY_HEADER + VEK_CY_LVROW, 200,
                    VEK_CY_HEADER + 2 * VEK_CY_LVROW),
              rc);
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_LABEL, rc));
    EXPECT_EQ(CRect(200, VEK_CY_HEADER + VEK_CY_LVROW, 320, VEK_CY_HEADER + 2 * VEK_CY_LVROW), rc);
    // Rows that do not exist still have their place.
    ASSERT_TRUE(list.GetSubItemRect(5, 1, LVIR_LABEL, rc));
    EXPECT_EQ(VEK_CY_HEADER + 5 * VEK_CY_LVROW, rc.top);
    EXPECT_FALSE(list.GetSubItemRect(0, 2, LVIR_LABEL, rc));
}

struct HitCase
{
    int x;
    int y;
    int nItem;
    int nSubItem;
    UINT nFlags;
};

TEST_F(ListFixture, SubItemHitTestByZone)
{
    AddRows(3);
    const int y1 = VEK_CY_HEADER + VEK_CY_LVROW + 3; // inside row 1
    const HitCase cases[] = {
        {5, y1, 1, 0, LVHT_ONITEMLABEL},
        {250, y1, 1, 1, LVHT_ONITEMLABEL},
        {-1, y1, -1, -1, LVHT_NOWHERE},
        {330, y1, -1, -1, LVHT_NOWHERE}, // right of the last column
        {250, VEK_CY_HEADER + 3 * VEK_CY_LVROW + 1, -1, 1, LVHT_NOWHERE}, // below the rows
        {5, 3, -1, 0, LVHT_NOWHERE},                                      // on the header
    };
    for (const HitCase& c : cases)
    {
        LVHITTESTINFO info = {};
        info.pt = POINT{c.x, c.y};
        EXPECT_EQ(c.nItem, list.SubItemHitTest(&info)) << c.x << "," << c.y;
        EXPECT_EQ(c.nItem, info.iItem) << c.x << "," << c.y;
        EXPECT_EQ(c.nSubItem, info.iSubItem) << c.x << "," << c.y;
        EXPECT_EQ(c.nFlags, info.flags) << c.x << "," << c.y;
    }
}

// The centre of every cell rectangle hit-tests back to that cell, also after scrolling, and the
// message position of a click maps onto it.
TEST_F(ListFixture, RectanglesHitTestsAndMessagePositionAgree)
{
    AddRows(30);
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(2, list.GetTopIndex());
    for (int row = 2; row < 8; ++row)
        for (int col = 0; col < 2; ++col)
        {
            CRect rc;
            ASSERT_TRUE(list.GetSubItemRect(row, col, LVIR_LABEL, rc));
            LVHITTESTINFO info = {};
            info.pt = rc.CenterPoint();
            list.SubItemHitTest(&info);
            EXPECT_EQ(row, info.iItem);
            EXPECT_EQ(col, info.iSubItem);
        }
    CRect rc;
    list.GetSubItemRect(4, 1, LVIR_LABEL, rc);
    ASSERT_TRUE(VekInput::Click(list.m_hWnd, rc.CenterPoint()));
    DWORD pos = GetMessagePos();
    POINT pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    MapWindowPoints(HWND_DESKTOP, list.m_hWnd, &pt, 1);
    EXPECT_EQ(rc.CenterPoint(), pt);
}

TEST_F(ListFixture, ClickSelectsOnlyTheRowThenReportsTheClick)
{
    AddRows(3);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    parent.Clear();
    CRect rc;
    list.GetSubItemRect(2, 1, LVIR_LABEL, rc);
    ASSERT_TRUE(VekInput::Click(list.m_hWnd, rc.CenterPoint()));
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_EQ(2, list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(2, list.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_EQ(list.m_hWnd, GetFocus());
    ASSERT_FALSE(parent.m_log.empty());
    EXPECT_EQ((VekParentMsg{WM_NOTIFY, ID_LIST, NM_CLICK}), parent.m_log.back());
    EXPECT_EQ(Notifications(LVN_ITEMCHANGING), Notifications(LVN_ITEMCHANGED));
    EXPECT_GE(Notifications(LVN_ITEMCHANGED), 2); // row 0 deselected, row 2 selected

    // A click below the rows deselects everything.
    parent.Clear();
    ASSERT_TRUE(VekInput::Click(list.m_hWnd, POINT{50, 250}));
    EXPECT_EQ(0u, list.GetSelectedCount());
    EXPECT_EQ((VekParentMsg{WM_NOTIFY, ID_LIST, NM_CLICK}), parent.m_log.back());
}

TEST_F(ListFixture, ItemChangingVetoKeepsTheState)
{
    AddRows(2);
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == LVN_ITEMCHANGING ? TRUE : 0; };
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(0u, list.GetSelectedCount());
    EXPECT_EQ(0, Notifications(LVN_ITEMCHANGED));
}

TEST_F(ListFixture, StateForEveryItemAndDeleteAllNotifications)
{
    AddRows(3);
    ASSERT_TRUE(list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(3u, list.GetSelectedCount());
    parent.Clear();
    // A parent that answers TRUE to LVN_DELETEALLITEMS gets no LVN_DELETEITEM per row.
    parent.m_onNotify = [](NMHDR* p) -> LRESULT {
        return p->code == LVN_DELETEALLITEMS ? TRUE : 0;
    };
    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_TRUE(parent.Matches({{WM_NOTIFY, ID_LIST, LVN_DELETEALLITEMS}}));
    AddRows(2);
    parent.m_onNotify = nullptr;
    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_TRUE(parent.Matches({{WM_NOTIFY, ID_LIST, LVN_DELETEALLITEMS},
                                {WM_NOTIFY, ID_LIST, LVN_DELETEITEM},
                                {WM_NOTIFY, ID_LIST, LVN_DELETEITEM}}));
}

TEST_F(ListFixture, HeaderClickIsAColumnClick)
{
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    CRect rc;
    pHeader->GetItemRect(1, &rc);
    int nColumn = -1;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code == LVN_COLUMNCLICK)
            nColumn = reinterpret_cast<NMLISTVIEW*>(p)->iSubItem;
        return 0;
    };
    ASSERT_TRUE(VekInput::Click(pHeader->m_hWnd, rc.CenterPoint()));
    EXPECT_EQ(1, nColumn);
}

// The list view passes its header's notifications on to its parent after acting on them; they
// keep the header as sender (id 0), so a parent can tell them from the list's own.
TEST_F(ListFixture, HeaderNotificationsReachTheListsParent)
{
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    HWND hHeader = pHeader->m_hWnd;
    std::vector<HWND> senders;
    std::vector<int> items;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        senders.push_back(p->hwndFrom);
        items.push_back(p->code == LVN_COLUMNCLICK ? reinterpret_cast<NMLISTVIEW*>(p)->iSubItem
                                                   : reinterpret_cast<NMHEADER*>(p)->iItem);
        return 0;
    };
    CRect rc;
    pHeader->GetItemRect(1, &rc);
    ASSERT_TRUE(VekInput::Click(hHeader, rc.CenterPoint()));
    EXPECT_TRUE(
        parent.Matches({{WM_NOTIFY, ID_LIST, LVN_COLUMNCLICK}, {WM_NOTIFY, 0, HDN_ITEMCLICK}}));
    EXPECT_EQ((std::vector<HWND>{list.m_hWnd, hHeader}), senders);
    EXPECT_EQ((std::vector<int>{1, 1}), items);

    // A double click: one click, then the double click.
    parent.Clear();
    ASSERT_TRUE(VekInput::DoubleClick(hHeader, rc.CenterPoint()));
    EXPECT_TRUE(parent.Matches({{WM_NOTIFY, ID_LIST, LVN_COLUMNCLICK},
                                {WM_NOTIFY, 0, HDN_ITEMCLICK},
                                {WM_NOTIFY, 0, HDN_ITEMDBLCLICK}}));

    // A change made on the header itself is passed on, and the parent may refuse it.
    parent.Clear();
    HDITEM hdi = {};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = 90;
    ASSERT_TRUE(pHeader->SetItem(1, &hdi));
    EXPECT_TRUE(
        parent.Matches({{WM_NOTIFY, 0, HDN_ITEMCHANGING}, {WM_NOTIFY, 0, HDN_ITEMCHANGED}}));
    EXPECT_EQ(90, list.GetColumnWidth(1));
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == HDN_ITEMCHANGING; };
    hdi.cxy = 40;
    EXPECT_FALSE(pHeader->SetItem(1, &hdi));
    EXPECT_EQ(90, list.GetColumnWidth(1));

    // The list's own column messages change the header without telling the parent.
    parent.m_onNotify = nullptr;
    parent.Clear();
    ASSERT_TRUE(list.SetColumnWidth(1, 70));
    LVCOLUMN col = {};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<LPWSTR>(L"Max");
    ASSERT_TRUE(list.SetColumn(0, &col));
    EXPECT_EQ(70, list.GetColumnWidth(1));
    EXPECT_TRUE(parent.Matches({}));
}

TEST(ListViewHeader, NoSortHeaderMeansNoColumnClicks)
{
    CVekTestParent parent;
    HWND h = VekCreateChild(parent, WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOSORTHEADER, ID_LIST,
                            {10, 10, 410, 310});
    ASSERT_TRUE(h);
    LVCOLUMNW col = {};
    col.mask = LVCF_WIDTH;
    col.cx = 100;
    SendMessageW(h, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
    HWND hHeader = reinterpret_cast<HWND>(SendMessageW(h, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(0, GetWindowLongW(hHeader, GWL_STYLE) & HDS_BUTTONS);
    ASSERT_TRUE(VekInput::Click(hHeader, POINT{50, 5}));
    EXPECT_TRUE(parent.Matches({}));
}

// A right click moves the focus to the row and selects it unless it is part of the selection,
// then reports NM_RCLICK with the row and column.
TEST_F(ListFixture, RightClickFocusesThenReports)
{
    AddRows(4);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    NMITEMACTIVATE last = {};
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code == NM_RCLICK)
            last = *reinterpret_cast<NMITEMACTIVATE*>(p);
        return 0;
    };
    struct Case
    {
        int nRow;
        std::vector<int> selected; // afterwards
    };
    const Case cases[] = {
        {2, {0, 2}}, // on a selected row: the selection stays
        {3, {3}},    // elsewhere: that row alone
    };
    for (const Case& c : cases)
    {
        parent.Clear();
        CRect rc;
        list.GetSubItemRect(c.nRow, 1, LVIR_LABEL, rc);
        CPoint pt = rc.CenterPoint();
        list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
        list.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        std::vector<int> selected;
        for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
            selected.push_back(list.GetNextSelectedItem(pos));
        EXPECT_EQ(c.selected, selected) << "row " << c.nRow;
        EXPECT_EQ(c.nRow, list.GetNextItem(-1, LVNI_FOCUSED));
        ASSERT_FALSE(parent.m_log.empty());
        EXPECT_EQ((VekParentMsg{WM_NOTIFY, ID_LIST, NM_RCLICK}), parent.m_log.back());
        EXPECT_EQ(c.nRow, last.iItem);
        EXPECT_EQ(1, last.iSubItem);
    }
}

// The standard bar appears when the rows no longer fit and goes when they fit again; while it
// shows, the client area and the header are narrower by its width.
TEST_F(ListFixture, ScrollBarComesAndGoesWithTheRows)
{
    const int nPage = list.GetCountPerPage();
    ASSERT_EQ((300 - VEK_CY_HEADER) / VEK_CY_LVROW, nPage);
    AddRows(nPage);
    auto barShown = [&] { return (list.GetStyle() & WS_VSCROLL) != 0; };
    auto clientWidth = [&] {
        CRect rc;
        list.GetClientRect(&rc);
        return rc.Width();
    };
    EXPECT_FALSE(barShown());
    EXPECT_EQ(400, clientWidth());

    ASSERT_EQ(nPage, list.InsertItem(nPage, L"one more"));
    EXPECT_TRUE(barShown());
    EXPECT_EQ(400 - VEK_CX_VSCROLL, clientWidth());
    CRect rcHeader;
    list.GetHeaderCtrl()->GetClientRect(&rcHeader);
    EXPECT_EQ(400 - VEK_CX_VSCROLL, rcHeader.Width());
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(list.m_hWnd, SB_VERT, &si));
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(nPage, si.nMax);
    EXPECT_EQ(static_cast<UINT>(nPage), si.nPage);
    EXPECT_EQ(0, si.nPos);
    EXPECT_EQ(nPage, list.GetCountPerPage()); // the bar takes width, not height

    list.SendMessage(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(1, list.GetTopIndex());
    EXPECT_EQ(1, ::GetScrollPos(list.m_hWnd, SB_VERT));

    ASSERT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(barShown());
    EXPECT_EQ(400, clientWidth());
    EXPECT_EQ(0, list.GetTopIndex());
}

// Report views scroll by whole rows: LVM_SCROLL rounds to the nearest row, LVM_ENSUREVISIBLE
// scrolls as little as it must.
TEST_F(ListFixture, ScrollRoundsToRowsAndEnsureVisibleScrollsLittle)
{
    AddRows(40);
    const int nPage = list.GetCountPerPage();
    struct Step
    {
        int dy;
        int nTop; // afterwards
    };
    const Step steps[] = {
        {VEK_CY_LVROW / 2, 1},  {VEK_CY_LVROW / 2 - 1, 1}, {3 * VEK_CY_LVROW, 4},
        {-VEK_CY_LVROW / 2, 3}, {-100 * VEK_CY_LVROW, 0},  {100 * VEK_CY_LVROW, 40 - nPage},
    };
    for (const Step& step : steps)
    {
        EXPECT_TRUE(list.Scroll(CSize(0, step.dy)));
        EXPECT_EQ(step.nTop, list.GetTopIndex()) << "dy " << step.dy;
        EXPECT_EQ(step.nTop, ::GetScrollPos(list.m_hWnd, SB_VERT)) << "dy " << step.dy;
    }
    struct Ensure
    {
        int nItem;
        int nTopBefore;
        int nTopAfter;
    };
    const Ensure ensures[] = {
        {5, 0, 0},               // already shown
        {nPage, 0, 1},           // just below: one row
        {30, 0, 30 - nPage + 1}, // far below: it becomes the last row shown
        {2, 20, 2},              // above: it becomes the top row
    };
    for (const Ensure& e : ensures)
    {
        list.Scroll(CSize(0, (e.nTopBefore - list.GetTopIndex()) * VEK_CY_LVROW));
        ASSERT_EQ(e.nTopBefore, list.GetTopIndex());
        EXPECT_TRUE(list.EnsureVisible(e.nItem, FALSE));
        EXPECT_EQ(e.nTopAfter, list.GetTopIndex()) << "item " << e.nItem;
    }
}

// The material grid: 260 rows in a box that shows ten. Row 259 must be reachable with the
// wheel, with the bar and with the keyboard.
struct GridFixture : ::testing::Test
{
    static constexpr int kRows = 260;
    static constexpr int kPage = 10;
    CVekTestParent parent;
    CListCtrl list;
    void SetUp() override
    {
        HWND h = VekCreateChild(parent, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP,
                                ID_LIST, {10, 10, 310, 10 + VEK_CY_HEADER + kPage * VEK_CY_LVROW});
        ASSERT_TRUE(h);
        list.Attach(h);
        list.InsertColumn(0, L"Material", LVCFMT_LEFT, 150);
        list.InsertColumn(1, L"Thickness", LVCFMT_LEFT, 100);
        for (int i = 0; i < kRows; ++i)
            ASSERT_EQ(i, list.InsertItem(i, L"row"));
        ASSERT_EQ(kPage, list.GetCountPerPage());
        parent.Clear();
    }
    void TearDown() override { list.Detach(); }
    // The row drawn at the point, by hit test.
    int RowAt(CPoint pt)
    {
        LVHITTESTINFO info = {};
        info.pt = pt;
        list.SubItemHitTest(&info);
        return info.iItem;
    }
    // Row n is wholly inside the client area and found there by a hit test.
    ::testing::AssertionResult Shows(int n)
    {
        CRect rc, rcClient;
        list.GetSubItemRect(n, 1, LVIR_LABEL, rc);
        list.GetClientRect(&rcClient);
        if (rc.top < VEK_CY_HEADER || rc.bottom > rcClient.bottom)
            return ::testing::AssertionFailure() << "row " << n << " at " << rc.top;
        if (RowAt(rc.CenterPoint()) != n)
            return ::testing::AssertionFailure() << "hit test finds " << RowAt(rc.CenterPoint());
        return ::testing::AssertionSuccess();
    }
    void Wheel(int nDelta) { list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta)); }
    int Notifications(UINT nCode) const
    {
        return static_cast<int>(
            std::count_if(parent.m_log.begin(), parent.m_log.end(), [&](const VekParentMsg& m) {
                return m.nMsg == WM_NOTIFY && m.nCode == nCode;
            }));
    }
};

TEST_F(GridFixture, WheelReachesTheLastRow)
{
    int nNotches = 0;
    for (int nTop = -1; nTop != list.GetTopIndex() && nNotches < 1000; ++nNotches)
    {
        nTop = list.GetTopIndex();
        Wheel(-WHEEL_DELTA);
    }
    // Three rows a notch: 84 notches reach the last page (and one more shows nothing new).
    EXPECT_EQ(85, nNotches);
    EXPECT_EQ(kRows - kPage, list.GetTopIndex());
    EXPECT_EQ(kRows - kPage, ::GetScrollPos(list.m_hWnd, SB_VERT));
    EXPECT_TRUE(Shows(kRows - 1));

    // Partial deltas add up: a sixth of a notch is half a row, two of them one row.
    Wheel(WHEEL_DELTA / 6);
    EXPECT_EQ(kRows - kPage, list.GetTopIndex());
    Wheel(WHEEL_DELTA / 6);
    EXPECT_EQ(kRows - kPage - 1, list.GetTopIndex());
    // A turn the other way forgets the half row left over from the previous direction.
    Wheel(WHEEL_DELTA / 6);
    Wheel(-WHEEL_DELTA / 6);
    EXPECT_EQ(kRows - kPage - 1, list.GetTopIndex());
    Wheel(-WHEEL_DELTA / 6);
    EXPECT_EQ(kRows - kPage, list.GetTopIndex());
}

TEST_F(GridFixture, BarRequestsMoveTheRows)
{
    struct Step
    {
        WPARAM wParam;
        int nTop; // afterwards
    };
    const Step steps[] = {
        {SB_LINEDOWN, 1},
        {SB_PAGEDOWN, 1 + kPage},
        {SB_LINEUP, kPage},
        {MAKEWPARAM(SB_THUMBTRACK, 200), 200},
        {MAKEWPARAM(SB_THUMBPOSITION, 255), kRows - kPage}, // beyond the last page
        {SB_ENDSCROLL, kRows - kPage},
        {SB_PAGEUP, kRows - 2 * kPage},
        {SB_TOP, 0},
        {SB_PAGEUP, 0},
        {SB_BOTTOM, kRows - kPage},
    };
    for (const Step& step : steps)
    {
        list.SendMessage(WM_VSCROLL, step.wParam);
        EXPECT_EQ(step.nTop, list.GetTopIndex()) << "request " << LOWORD(step.wParam);
        EXPECT_EQ(step.nTop, ::GetScrollPos(list.m_hWnd, SB_VERT))
            << "request " << LOWORD(step.wParam);
    }
    EXPECT_TRUE(Shows(kRows - 1));
    EXPECT_TRUE(parent.Matches({})); // scrolling changes no item
}

// Keys move the focused, selected row and scroll it into view: Page Down goes to the last row
// shown, then a page further; Page Up likewise upwards; Home and End to the ends.
TEST_F(GridFixture, KeysMoveTheSelectionAndScrollToIt)
{
    list.SetFocus();
    struct Step
    {
        UINT nKey;
        int nFocus; // afterwards
        int nTop;
    };
    const Step steps[] = {
        {VK_DOWN, 0, 0},                     // nothing focused yet: the first row
        {VK_NEXT, kPage - 1, 0},             // to the last row shown
        {VK_NEXT, 2 * kPage - 2, kPage - 1}, // a page further
        {VK_PRIOR, kPage - 1, kPage - 1},    // to the top row shown
        {VK_PRIOR, 0, 0},                    // a page further up
        {VK_END, kRows - 1, kRows - kPage},
        {VK_UP, kRows - 2, kRows - kPage},
        {VK_PRIOR, kRows - kPage, kRows - kPage},
        {VK_HOME, 0, 0},
    };
    for (const Step& step : steps)
    {
        parent.Clear();
        ASSERT_TRUE(VekInput::KeyDown(step.nKey));
        EXPECT_EQ(step.nFocus, list.GetNextItem(-1, LVNI_FOCUSED)) << "key " << step.nKey;
        EXPECT_EQ(step.nFocus, list.GetNextItem(-1, LVNI_SELECTED)) << "key " << step.nKey;
        EXPECT_EQ(1u, list.GetSelectedCount()) << "key " << step.nKey;
        EXPECT_EQ(step.nTop, list.GetTopIndex()) << "key " << step.nKey;
        EXPECT_TRUE(Shows(step.nFocus)) << "key " << step.nKey;
        EXPECT_GE(Notifications(LVN_ITEMCHANGED), 1) << "key " << step.nKey;
    }
    // Page Down again and again walks to the last row.
    int nPresses = 0;
    while (list.GetNextItem(-1, LVNI_FOCUSED) != kRows - 1 && nPresses < 100)
    {
        ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
        ++nPresses;
    }
    EXPECT_EQ(kRows - 1, list.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_TRUE(Shows(kRows - 1));
}

TEST_F(ListFixture, ExtendedStyleReturnsThePrevious)
{
    EXPECT_EQ(0u, list.SetExtendedStyle(0x471));
    EXPECT_EQ(0x471u, list.GetExtendedStyle());
    EXPECT_EQ(0x471u, list.SetExtendedStyle(LVS_EX_GRIDLINES));
}
} // namespace

// A handler may destroy the control that notifies it, or that control's parent, as the grid and
// the database dialog do when they rebuild their controls. Every notification of the list view
// and of its header is answered once by such a handler; the control must then leave its freed
// state alone (the sanitizer build reports any read of it).
namespace
{
enum class Victim
{
    Sender,       // the window that sent the notification
    SenderParent, // its parent (for the list view: the test parent; for the header: the list)
};

struct DestroyCase
{
    const char* pszName;
    UINT nCode; // the notification whose handler destroys
    std::function<void(HWND hList)> prepare;
    std::function<void(HWND hList)> trigger;
};

HWND HeaderOf(HWND hList)
{
    return reinterpret_cast<HWND>(SendMessageW(hList, LVM_GETHEADER, 0, 0));
}

POINT CellCentre(HWND hList, int nRow, int nCol)
{
    RECT rc = {LVIR_LABEL, nCol, 0, 0};
    SendMessageW(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow),
                 reinterpret_cast<LPARAM>(&rc));
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void SetStates(HWND hList, int n, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(&item));
}

void SetHeaderWidth(HWND hList, int k, int cx)
{
    HDITEMW hdi = {};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = cx;
    SendMessageW(HeaderOf(hList), HDM_SETITEMW, static_cast<WPARAM>(k),
                 reinterpret_cast<LPARAM>(&hdi));
}

void Nothing(HWND) {}
void FocusList(HWND hList)
{
    SetFocus(hList);
}
void SelectRow2(HWND hList)
{
    SetStates(hList, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(hList, LVM_SETSELECTIONMARK, 0, 2);
}

const DestroyCase g_destroyCases[] = {
    {"state of every row", LVN_ITEMCHANGING, Nothing,
     [](HWND h) { SetStates(h, -1, LVIS_SELECTED, LVIS_SELECTED); }},
    {"state of every row", LVN_ITEMCHANGED, Nothing,
     [](HWND h) { SetStates(h, -1, LVIS_SELECTED, LVIS_SELECTED); }},
    {"single-selection state", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) { SetStates(h, 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED); }},
    {"click", LVN_ITEMCHANGING, SelectRow2,
     [](HWND h) { VekInput::Click(h, CellCentre(h, 4, 0)); }},
    {"click", LVN_ITEMCHANGED, SelectRow2, [](HWND h) { VekInput::Click(h, CellCentre(h, 4, 0)); }},
    {"control click", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) { VekInput::Click(h, CellCentre(h, 4, 0), VEK_MOD_CONTROL); }},
    {"shift click", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) { VekInput::Click(h, CellCentre(h, 5, 0), VEK_MOD_SHIFT); }},
    {"click on empty space", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) {
         VekInput::Click(h, POINT{300, 250});
     }},
    {"click", NM_CLICK, Nothing, [](HWND h) { VekInput::Click(h, CellCentre(h, 1, 0)); }},
    {"double click", NM_DBLCLK, Nothing,
     [](HWND h) { VekInput::DoubleClick(h, CellCentre(h, 1, 0)); }},
    {"right click", NM_RCLICK, Nothing,
     [](HWND h) {
         POINT pt = CellCentre(h, 1, 0);
         SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
         SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
     }},
    {"right click", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) {
         POINT pt = CellCentre(h, 4, 0);
         SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
         SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
     }},
    {"focus by click", NM_SETFOCUS, Nothing,
     [](HWND h) { VekInput::Click(h, CellCentre(h, 1, 0)); }},
    {"focus leaves", NM_KILLFOCUS, FocusList, [](HWND h) { SetFocus(GetParent(h)); }},
    {"key", LVN_KEYDOWN, FocusList, [](HWND) { VekInput::KeyDown(VK_DOWN); }},
    {"arrow key", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) {
         SetFocus(h);
         VekInput::KeyDown(VK_DOWN);
     }},
    {"page down", LVN_ITEMCHANGED, SelectRow2,
     [](HWND h) {
         SetFocus(h);
         VekInput::KeyDown(VK_NEXT);
     }},
    {"end", LVN_ITEMCHANGING, SelectRow2,
     [](HWND h) {
         SetFocus(h);
         VekInput::KeyDown(VK_END);
     }},
    {"space", LVN_ITEMCHANGED, [](HWND h) { SetStates(h, 3, LVIS_FOCUSED, LVIS_FOCUSED); },
     [](HWND h) {
         SetFocus(h);
         VekInput::KeyDown(VK_SPACE);
     }},
    {"insert", LVN_INSERTITEM, Nothing,
     [](HWND h) {
         LVITEMW item = {};
         item.mask = LVIF_TEXT | LVIF_STATE;
         item.pszText = const_cast<LPWSTR>(L"new");
         item.state = item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
         SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
     }},
    {"insert focused", LVN_ITEMCHANGED, Nothing,
     [](HWND h) {
         LVITEMW item = {};
         item.mask = LVIF_TEXT | LVIF_STATE;
         item.iItem = 3;
         item.pszText = const_cast<LPWSTR>(L"new");
         item.state = item.stateMask = LVIS_FOCUSED;
         SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
     }},
    {"delete", LVN_DELETEITEM, SelectRow2, [](HWND h) { SendMessageW(h, LVM_DELETEITEM, 2, 0); }},
    {"delete all", LVN_DELETEALLITEMS, Nothing,
     [](HWND h) { SendMessageW(h, LVM_DELETEALLITEMS, 0, 0); }},
    {"delete all", LVN_DELETEITEM, Nothing,
     [](HWND h) { SendMessageW(h, LVM_DELETEALLITEMS, 0, 0); }},
    {"header click", LVN_COLUMNCLICK, Nothing,
     [](HWND h) {
         VekInput::Click(HeaderOf(h), POINT{250, 5});
     }},
    {"header click", HDN_ITEMCLICKW, Nothing,
     [](HWND h) {
         VekInput::Click(HeaderOf(h), POINT{250, 5});
     }},
    {"header item set", HDN_ITEMCHANGINGW, Nothing, [](HWND h) { SetHeaderWidth(h, 1, 90); }},
    {"header item set", HDN_ITEMCHANGEDW, Nothing, [](HWND h) { SetHeaderWidth(h, 1, 90); }},
};

// A list of eight rows in two columns, its own parent window.
struct DestroyScene
{
    CVekTestParent parent;
    HWND hList = nullptr;
    DestroyScene()
    {
        hList = VekCreateChild(parent, WC_LISTVIEWW, L"", LVS_REPORT | WS_TABSTOP, ID_LIST,
                               {10, 10, 410, 310});
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<LPWSTR>(L"c");
        col.cx = 200;
        SendMessageW(hList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
        col.cx = 120;
        SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&col));
        for (int i = 0; i < 8; ++i)
        {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<LPWSTR>(L"row");
            SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
};

void RunDestroyCase(const DestroyCase& c, Victim victim, bool bSubclassed)
{
    SCOPED_TRACE(std::string(c.pszName) + ", code " + std::to_string(static_cast<int>(c.nCode)) +
                 (victim == Victim::Sender ? ", sender destroyed" : ", parent destroyed") +
                 (bSubclassed ? ", MFC object attached" : ""));
    DestroyScene scene;
    ASSERT_TRUE(scene.hList);
    CListCtrl object;
    if (bSubclassed)
    {
        ASSERT_TRUE(object.SubclassWindow(scene.hList));
    }
    c.prepare(scene.hList);
    HWND hDestroyed = nullptr;
    scene.parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code != c.nCode || hDestroyed)
            return 0;
        hDestroyed = victim == Victim::Sender ? p->hwndFrom : GetParent(p->hwndFrom);
        DestroyWindow(hDestroyed);
        return 0;
    };
    c.trigger(scene.hList);
    ASSERT_NE(nullptr, hDestroyed) << "the notification never reached the parent";
    EXPECT_FALSE(IsWindow(hDestroyed));
}

// One test per notification, victim and wrapping, so that each shows on its own.
struct ListViewDestroy : ::testing::TestWithParam<std::tuple<size_t, Victim, bool>>
{
};

TEST_P(ListViewDestroy, NotifierStopsTouchingItsState)
{
    const auto& [nCase, victim, bSubclassed] = GetParam();
    RunDestroyCase(g_destroyCases[nCase], victim, bSubclassed);
}

std::string DestroyCaseName(const ::testing::TestParamInfo<ListViewDestroy::ParamType>& info)
{
    const auto& [nCase, victim, bSubclassed] = info.param;
    std::string str = std::to_string(nCase) + "_" + g_destroyCases[nCase].pszName;
    for (char& ch : str)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    str += victim == Victim::Sender ? "_Sender" : "_Parent";
    return bSubclassed ? str + "_Mfc" : str;
}

INSTANTIATE_TEST_SUITE_P(EveryNotification, ListViewDestroy,
                         ::testing::Combine(::testing::Range<size_t>(0, std::size(g_destroyCases)),
                                            ::testing::Values(Victim::Sender, Victim::SenderParent),
                                            ::testing::Bool()),
                         DestroyCaseName);
// The header on its own, as a dialog may hold one: its parent is the test parent.
struct HeaderDestroyCase
{
    const char* pszName;
    UINT nCode;
    std::function<void(HWND hHeader)> trigger;
};

const HeaderDestroyCase g_headerDestroyCases[] = {
    {"click", HDN_ITEMCLICK,
     [](HWND h) {
         VekInput::Click(h, POINT{150, 5});
     }},
    {"double click", HDN_ITEMDBLCLICK,
     [](HWND h) {
         VekInput::DoubleClick(h, POINT{150, 5});
     }},
    {"item set", HDN_ITEMCHANGING,
     [](HWND h) {
         HDITEMW hdi = {};
         hdi.mask = HDI_WIDTH;
         hdi.cxy = 10;
         SendMessageW(h, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&hdi));
     }},
    {"item set", HDN_ITEMCHANGED,
     [](HWND h) {
         HDITEMW hdi = {};
         hdi.mask = HDI_WIDTH;
         hdi.cxy = 10;
         SendMessageW(h, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&hdi));
     }},
};

struct HeaderDestroy : ::testing::TestWithParam<std::tuple<size_t, Victim>>
{
};

TEST_P(HeaderDestroy, NotifierStopsTouchingItsState)
{
    const auto& [nCase, victim] = GetParam();
    const HeaderDestroyCase& c = g_headerDestroyCases[nCase];
    CVekTestParent parent;
    HWND hHeader = VekCreateChild(parent, WC_HEADERW, L"", HDS_BUTTONS, 7, {0, 0, 400, 20});
    ASSERT_TRUE(hHeader);
    for (int k = 0; k < 3; ++k)
    {
        HDITEMW hdi = {};
        hdi.mask = HDI_WIDTH;
        hdi.cxy = 100;
        SendMessageW(hHeader, HDM_INSERTITEMW, static_cast<WPARAM>(k),
                     reinterpret_cast<LPARAM>(&hdi));
    }
    HWND hDestroyed = nullptr;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code != c.nCode || hDestroyed)
            return 0;
        hDestroyed = victim == Victim::Sender ? p->hwndFrom : GetParent(p->hwndFrom);
        DestroyWindow(hDestroyed);
        return 0;
    };
    c.trigger(hHeader);
    ASSERT_NE(nullptr, hDestroyed) << "the notification never reached the parent";
    EXPECT_FALSE(IsWindow(hDestroyed));
}

std::string HeaderCaseName(const ::testing::TestParamInfo<HeaderDestroy::ParamType>& info)
{
    const auto& [nCase, victim] = info.param;
    std::string str = std::to_string(nCase) + "_" + g_headerDestroyCases[nCase].pszName;
    for (char& ch : str)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return str + (victim == Victim::Sender ? "_Sender" : "_Parent");
}

INSTANTIATE_TEST_SUITE_P(
    EveryNotification, HeaderDestroy,
    ::testing::Combine(::testing::Range<size_t>(0, std::size(g_headerDestroyCases)),
                       ::testing::Values(Victim::Sender, Victim::SenderParent)),
    HeaderCaseName);
} // namespace
