// The list view, header and tree view parts of the window-tree snapshot: rows, columns and
// states as the controls answer them, following scrolling, clicks, expansion and check boxes.
#include "VekSnapshotJson.h"
#include "VekTestParent.h"

#include <string>
#include <vector>

namespace
{
using nlohmann::json;

const UINT ID_LIST = 40093;
const UINT ID_TREE = 40030;

const json& ControlOf(const json& snap, HWND h)
{
    const json* p = VekFindSnapshotEntry(snap.at("windows"), h);
    EXPECT_NE(nullptr, p);
    static const json s_empty = json::object();
    return p ? p->at("control") : s_empty;
}

std::string Narrow(const CString& str)
{
    return std::string(str.GetString(), str.GetString() + str.GetLength()); // ASCII texts only
}

struct ListSnapshotFixture : ::testing::Test
{
    CVekTestParent parent;
    CListCtrl list;
    void SetUp() override
    {
        // 150 pixels: the header and 8 whole rows.
        HWND h = VekCreateChild(parent, WC_LISTVIEWW, L"", LVS_REPORT | WS_TABSTOP, ID_LIST,
                                {10, 10, 310, 160});
        ASSERT_TRUE(h);
        list.Attach(h);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
        ASSERT_EQ(0, list.InsertColumn(0, L"Material", LVCFMT_LEFT, 150, 0));
        ASSERT_EQ(1, list.InsertColumn(1, L"Thickness", LVCFMT_RIGHT, 80, 1));
        ASSERT_EQ(2, list.InsertColumn(2, L"Note", LVCFMT_CENTER, 60, 2));
        for (int i = 0; i < 40; ++i)
        {
            ASSERT_EQ(i,
                      list.InsertItem(i, CString(L"row ") + CString(std::to_wstring(i).c_str())));
            list.SetItemText(i, 1, CString(std::to_wstring(i * 10).c_str()));
        }
    }
    void TearDown() override { list.Detach(); }
    // Checks that the snapshot's rows and scroll state are the list's.
    void ExpectRowsMatchTheList(const json& control)
    {
        ASSERT_EQ(static_cast<size_t>(list.GetItemCount()), control.at("rows").size());
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            SCOPED_TRACE(i);
            const json& row = control.at("rows")[static_cast<size_t>(i)];
            ASSERT_EQ(3u, row.at("texts").size());
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(Narrow(list.GetItemText(i, k)), row.at("texts")[static_cast<size_t>(k)]);
            EXPECT_EQ(list.GetItemState(i, LVIS_SELECTED) != 0, row.at("selected"));
            EXPECT_EQ(list.GetItemState(i, LVIS_FOCUSED) != 0, row.at("focused"));
            EXPECT_EQ(list.GetItemState(i, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2),
                      row.at("checked"));
        }
        EXPECT_EQ(list.GetTopIndex(), control.at("top"));
    }
};

TEST_F(ListSnapshotFixture, ColumnsAndHeaderAreTheHeadersItems)
{
    const json snap = VekParsedSnapshot();
    const json& control = ControlOf(snap, list.m_hWnd);
    const json expectedColumns = {{{"text", "Material"}, {"width", 150}, {"format", "left"}},
                                  {{"text", "Thickness"}, {"width", 80}, {"format", "right"}},
                                  {{"text", "Note"}, {"width", 60}, {"format", "center"}}};
    EXPECT_EQ(expectedColumns, control.at("columns"));
    EXPECT_EQ(VEK_CY_HEADER, control.at("headerHeight"));
    EXPECT_EQ(VEK_CY_LVROW, control.at("rowHeight"));
    EXPECT_TRUE(control.at("fullRowSelect"));
    EXPECT_TRUE(control.at("checkBoxes"));
    EXPECT_FALSE(control.at("gridLines"));

    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    ASSERT_NE(nullptr, pHeader);
    EXPECT_EQ(VekSnapshotHandle(pHeader->m_hWnd), control.at("header"));
    const json& header = ControlOf(snap, pHeader->m_hWnd);
    ASSERT_EQ(3u, header.at("items").size());
    for (int k = 0; k < 3; ++k)
    {
        CRect rc;
        ASSERT_TRUE(pHeader->GetItemRect(k, &rc));
        const json& item = header.at("items")[static_cast<size_t>(k)];
        EXPECT_EQ(rc.left, item.at("left")) << k;
        EXPECT_EQ(rc.right, item.at("right")) << k;
        EXPECT_EQ(expectedColumns[static_cast<size_t>(k)].at("text"), item.at("text"));
    }
    EXPECT_EQ(-1, header.at("pressed"));
}

// Rows, selection, focus, check boxes and the top row follow clicks, the wheel, keys and the
// scroll bar; the snapshot's vertical bar is the list's.
TEST_F(ListSnapshotFixture, RowsFollowClicksAndScrolling)
{
    struct Step
    {
        const char* pszName;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"click row 2",
         [&] {
             CRect rc;
             list.GetSubItemRect(2, 1, LVIR_LABEL, rc);
             ASSERT_TRUE(VekInput::Click(list.m_hWnd, rc.CenterPoint()));
         }},
        {"wheel down one notch",
         [&] {
             RECT rc;
             list.GetWindowRect(&rc);
             ASSERT_TRUE(VekRawInput::Wheel(-WHEEL_DELTA, POINT{rc.left + 5, rc.top + 30}, 0,
                                            VekRawInput::LastEventTime() + 1));
         }},
        {"page down twice",
         [&] {
             ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
             ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
         }},
        {"check row 5",
         [&] { list.SetItemState(5, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK); }},
        {"scroll bar to the bottom", [&] { list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0); }},
        {"end key", [&] { ASSERT_TRUE(VekInput::KeyDown(VK_END)); }},
    };
    int nLastTop = -1;
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.pszName);
        step.act();
        const json snap = VekParsedSnapshot();
        const json* pEntry = VekFindSnapshotEntry(snap.at("windows"), list.m_hWnd);
        ASSERT_NE(nullptr, pEntry);
        ExpectRowsMatchTheList(pEntry->at("control"));
        const json& bar = pEntry->at("vscroll");
        ASSERT_TRUE(bar.is_object()) << VekSnapshotForFailure(list.m_hWnd);
        SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(::GetScrollInfo(list.m_hWnd, SB_VERT, &si));
        EXPECT_EQ(si.nPos, bar.at("pos"));
        EXPECT_EQ(si.nMax, bar.at("max"));
        EXPECT_EQ(si.nPage, bar.at("page").get<UINT>());
        EXPECT_EQ(list.GetTopIndex(), bar.at("pos"));
        nLastTop = pEntry->at("control").at("top");
    }
    EXPECT_EQ(32, nLastTop); // 40 rows, 8 shown
}

TEST_F(ListSnapshotFixture, MissingSubItemsAreEmptyTexts)
{
    // Row 3 has no text in column 2; a fourth column added later has none in any row.
    ASSERT_EQ(3, list.InsertColumn(3, L"Extra", LVCFMT_LEFT, 40, 3));
    const json rows = ControlOf(VekParsedSnapshot(), list.m_hWnd).at("rows");
    EXPECT_EQ((json{"row 3", "30", "", ""}), rows.at(3).at("texts"));
}

struct TreeSnapshotFixture : ::testing::Test
{
    CVekTestParent parent;
    CTreeCtrl tree;
    void SetUp() override
    {
        // 10 rows high.
        HWND h = VekCreateChild(parent, WC_TREEVIEWW, L"",
                                TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                    WS_TABSTOP,
                                ID_TREE, {10, 10, 310, 10 + 10 * VEK_CY_TVROW});
        ASSERT_TRUE(h);
        tree.Attach(h);
    }
    void TearDown() override { tree.Detach(); }
    // The texts of the snapshot's rows.
    std::vector<std::string> RowTexts(const json& control)
    {
        std::vector<std::string> v;
        for (const json& row : control.at("rows"))
            v.push_back(row.at("text"));
        return v;
    }
    const json* RowOf(const json& control, HTREEITEM h)
    {
        for (const json& row : control.at("rows"))
            if (row.at("item") == reinterpret_cast<uintptr_t>(h))
                return &row;
        return nullptr;
    }
};

// Rows are the items shown, in display order with their depth; expansion by a click on the
// button, a check by a click on the box, and the selection by a click on the label show in
// them, and the rows' layout is where the tree hit-tests.
TEST_F(TreeSnapshotFixture, RowsFollowExpansionChecksAndSelection)
{
    HTREEITEM hMetals = tree.InsertItem(L"Metals");
    HTREEITEM hSteel = tree.InsertItem(L"Steel", hMetals);
    tree.InsertItem(L"Bronze", hMetals);
    HTREEITEM hPlastics = tree.InsertItem(L"Plastics");
    tree.InsertItem(L"Nylon", hPlastics);

    json control = ControlOf(VekParsedSnapshot(), tree.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"Metals", "Plastics"}), RowTexts(control));
    const json* pMetals = RowOf(control, hMetals);
    ASSERT_NE(nullptr, pMetals);
    EXPECT_FALSE(pMetals->at("expanded"));
    EXPECT_TRUE(pMetals->at("hasChildren"));
    EXPECT_EQ(false, pMetals->at("checked"));
    EXPECT_TRUE(control.at("caret").is_null());

    // A click on Metals' button expands it.
    CRect rcLabel;
    ASSERT_TRUE(tree.GetItemRect(hMetals, &rcLabel, TRUE));
    const int xButton = pMetals->at("x").at("button");
    ASSERT_TRUE(
        VekInput::Click(tree.m_hWnd, POINT{xButton + VEK_CX_TVINDENT / 2, rcLabel.top + 4}));
    control = ControlOf(VekParsedSnapshot(), tree.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"Metals", "Steel", "Bronze", "Plastics"}),
              RowTexts(control));
    EXPECT_TRUE(RowOf(control, hMetals)->at("expanded"));
    const json* pSteel = RowOf(control, hSteel);
    ASSERT_NE(nullptr, pSteel);
    EXPECT_EQ(1, pSteel->at("depth"));
    EXPECT_FALSE(pSteel->at("hasChildren"));
    EXPECT_TRUE(pSteel->at("x").at("button").is_null());

    // Steel's box, then its label.
    const int xState = pSteel->at("x").at("state");
    CRect rcSteel;
    ASSERT_TRUE(tree.GetItemRect(hSteel, &rcSteel, TRUE));
    EXPECT_EQ(rcSteel.left, pSteel->at("x").at("label"));
    EXPECT_EQ(rcSteel.right, pSteel->at("x").at("right"));
    ASSERT_TRUE(
        VekInput::Click(tree.m_hWnd, POINT{xState + VEK_CX_TVSTATEICON / 2, rcSteel.top + 4}));
    control = ControlOf(VekParsedSnapshot(), tree.m_hWnd);
    EXPECT_EQ(true, RowOf(control, hSteel)->at("checked"));
    EXPECT_TRUE(tree.GetCheck(hSteel));
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, rcSteel.CenterPoint()));
    control = ControlOf(VekParsedSnapshot(), tree.m_hWnd);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(hSteel), control.at("caret"));
    EXPECT_TRUE(RowOf(control, hSteel)->at("selected"));
    EXPECT_FALSE(RowOf(control, hMetals)->at("selected"));

    // Collapsing hides the children again.
    tree.Expand(hMetals, TVE_COLLAPSE);
    EXPECT_EQ((std::vector<std::string>{"Metals", "Plastics"}),
              RowTexts(ControlOf(VekParsedSnapshot(), tree.m_hWnd)));
}

TEST_F(TreeSnapshotFixture, TopRowFollowsScrolling)
{
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 30; ++i)
        items.push_back(tree.InsertItem(CString(L"item ") + CString(std::to_wstring(i).c_str())));
    tree.SetFocus();
    struct Step
    {
        const char* pszName;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"line down", [&] { tree.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0); }},
        {"wheel",
         [&] {
             RECT rc;
             tree.GetWindowRect(&rc);
             ASSERT_TRUE(VekRawInput::Wheel(-WHEEL_DELTA, POINT{rc.left + 5, rc.top + 5}, 0,
                                            VekRawInput::LastEventTime() + 1));
         }},
        {"ensure visible the last", [&] { tree.EnsureVisible(items.back()); }},
        {"home", [&] { ASSERT_TRUE(VekInput::KeyDown(VK_HOME)); }},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.pszName);
        step.act();
        const json snap = VekParsedSnapshot();
        const json* pEntry = VekFindSnapshotEntry(snap.at("windows"), tree.m_hWnd);
        ASSERT_NE(nullptr, pEntry);
        const json& control = pEntry->at("control");
        HTREEITEM hFirst = tree.GetFirstVisibleItem();
        const int nTop = control.at("top");
        ASSERT_LT(static_cast<size_t>(nTop), control.at("rows").size());
        EXPECT_EQ(reinterpret_cast<uintptr_t>(hFirst), control.at("rows")[nTop].at("item"));
        EXPECT_EQ(nTop, pEntry->at("vscroll").at("pos"));
    }
}
} // namespace
