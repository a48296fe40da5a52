// Report list view and its header: rows, cells, rectangles, hit tests and the default click.
#include "VekTestParent.h"

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

TEST_F(ListFixture, ExtendedStyleReturnsThePrevious)
{
    EXPECT_EQ(0u, list.SetExtendedStyle(0x471));
    EXPECT_EQ(0x471u, list.GetExtendedStyle());
    EXPECT_EQ(0x471u, list.SetExtendedStyle(LVS_EX_GRIDLINES));
}
} // namespace
