// Tree view with check boxes: insertion order, navigation, states, hit-test zones against item
// rectangles, and what the parent hears on clicks and selection.
#include "VekTestParent.h"

#include <algorithm>
#include <cstring>

namespace
{
const UINT ID_TREE = 40030;

struct TreeFixture : ::testing::Test
{
    CVekTestParent parent;
    CTreeCtrl tree;
    void SetUp() override
    {
        HWND h = VekCreateChild(parent, WC_TREEVIEWW, L"", TVS_CHECKBOXES | WS_TABSTOP, ID_TREE,
                                {10, 10, 310, 410});
        ASSERT_TRUE(h);
        tree.Attach(h);
        tree.ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    }
    void TearDown() override { tree.Detach(); }
    std::vector<CString> Children(HTREEITEM hParent)
    {
        std::vector<CString> v;
        for (HTREEITEM h = hParent == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(hParent); h;
             h = tree.GetNextSiblingItem(h))
            v.push_back(tree.GetItemText(h));
        return v;
    }
    CRect Label(HTREEITEM h)
    {
        CRect rc;
        EXPECT_TRUE(tree.GetItemRect(h, &rc, TRUE));
        return rc;
    }
};

TEST_F(TreeFixture, InsertionPlaces)
{
    HTREEITEM hRoot = tree.InsertItem(L"root");
    HTREEITEM b = tree.InsertItem(L"b", hRoot);
    tree.InsertItem(L"a", hRoot, TVI_FIRST);
    tree.InsertItem(L"c", hRoot, TVI_LAST);
    tree.InsertItem(L"b2", hRoot, b);
    EXPECT_EQ((std::vector<CString>{L"a", L"b", L"b2", L"c"}), Children(hRoot));

    HTREEITEM hGroup = tree.InsertItem(L"group", hRoot);
    const LPCWSTR names[] = {L"Banana", L"apple", L"cherry", L"Apple", L"banana"};
    for (LPCWSTR n : names)
        ASSERT_TRUE(tree.InsertItem(n, hGroup, TVI_SORT));
    // Alphabetical ignoring case; an equal text goes after the one already there.
    EXPECT_EQ((std::vector<CString>{L"apple", L"Apple", L"Banana", L"banana", L"cherry"}),
              Children(hGroup));
    EXPECT_EQ(11u, tree.GetCount());
}

// Sorted insertion places an item before the first sibling whose text is greater, ignoring
// case, even among siblings the program put out of order, after text changes, deletions and
// TVM_SORTCHILDREN. Checked against that rule over many random edits of one parent's children.
TEST_F(TreeFixture, SortedInsertionFollowsTheSiblingsAsTheyStand)
{
    const LPCWSTR names[] = {L"a", L"A", L"b", L"B", L"ab", L"Ab", L"", L"c", L"ä", L"Ä"};
    auto greater = [](const CString& x, const CString& y) { return x.CompareNoCase(y) > 0; };
    HTREEITEM hParent = tree.InsertItem(L"parent");
    std::vector<HTREEITEM> model; // the children in the order the rule gives
    unsigned nSeed = 12345;
    auto next = [&nSeed](unsigned n) {
        nSeed = nSeed * 1103515245u + 12345u;
        return (nSeed >> 16) % n;
    };
    for (int nStep = 0; nStep < 3000; ++nStep)
    {
        const LPCWSTR pszName = names[next(10)];
        const unsigned nOp = model.empty() ? 0 : next(10);
        if (nOp < 5) // sorted
        {
            size_t nPos = 0;
            while (nPos < model.size() && !greater(tree.GetItemText(model[nPos]), pszName))
                ++nPos;
            HTREEITEM h = tree.InsertItem(pszName, hParent, TVI_SORT);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(nPos), h);
        }
        else if (nOp == 5) // first, last or after a sibling: perhaps out of order
        {
            size_t nPos = next(static_cast<unsigned>(model.size()) + 1);
            HTREEITEM hAfter = nPos == 0 ? TVI_FIRST : model[nPos - 1];
            if (nPos == model.size())
                hAfter = TVI_LAST;
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(nPos),
                         tree.InsertItem(pszName, hParent, hAfter));
        }
        else if (nOp == 6) // a new text
        {
            ASSERT_TRUE(
                tree.SetItemText(model[next(static_cast<unsigned>(model.size()))], pszName));
        }
        else if (nOp < 9 && model.size() > 3) // deleting
        {
            size_t nPos = next(static_cast<unsigned>(model.size()));
            ASSERT_TRUE(tree.DeleteItem(model[nPos]));
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(nPos));
        }
        else if (next(20) == 0) // sorting, stable
        {
            tree.SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(hParent));
            std::stable_sort(model.begin(), model.end(), [&](HTREEITEM x, HTREEITEM y) {
                return greater(tree.GetItemText(y), tree.GetItemText(x));
            });
        }
        std::vector<HTREEITEM> shown;
        for (HTREEITEM h = tree.GetChildItem(hParent); h; h = tree.GetNextSiblingItem(h))
        {
            ASSERT_EQ(shown.empty() ? nullptr : shown.back(), tree.GetPrevSiblingItem(h));
            shown.push_back(h);
        }
        ASSERT_EQ(model, shown) << "step " << nStep;
    }
}

// Sorted insertions that follow each other with nothing else in between may be placed together;
// each must still land where it would have gone alone. Runs of them go to two collapsed parents
// in turn, among children in order and children the program put out of order, mixed with
// insertions at given places (also after an item inserted sorted a moment before). The tree is
// only looked at between runs.
TEST_F(TreeFixture, RunsOfSortedInsertionsLandWhereEachWouldAlone)
{
    const LPCWSTR names[] = {L"a", L"A", L"b", L"B", L"ab", L"Ab", L"", L"c", L"ä", L"Ä"};
    auto greater = [](const CString& x, const CString& y) { return x.CompareNoCase(y) > 0; };
    struct Child
    {
        HTREEITEM h;
        CString strText;
    };
    HTREEITEM hParents[2] = {tree.InsertItem(L"first"), tree.InsertItem(L"second")};
    std::vector<Child> models[2];
    unsigned nSeed = 777;
    auto next = [&nSeed](unsigned n) {
        nSeed = nSeed * 1103515245u + 12345u;
        return (nSeed >> 16) % n;
    };
    for (int nRun = 0; nRun < 300; ++nRun)
    {
        const unsigned nLength = 1 + next(12);
        for (unsigned k = 0; k < nLength; ++k)
        {
            const unsigned nWhich = next(2);
            std::vector<Child>& model = models[nWhich];
            const LPCWSTR pszName = names[next(10)];
            const unsigned nOp = next(8);
            if (nOp < 6)
            {
                size_t nPos = 0;
                while (nPos < model.size() && !greater(model[nPos].strText, pszName))
                    ++nPos;
                HTREEITEM h = tree.InsertItem(pszName, hParents[nWhich], TVI_SORT);
                ASSERT_NE(nullptr, h);
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(nPos), {h, pszName});
            }
            else
            {
                const size_t nPos = next(static_cast<unsigned>(model.size()) + 1);
                HTREEITEM hAfter = nPos == 0 ? TVI_FIRST : model[nPos - 1].h;
                HTREEITEM h = tree.InsertItem(pszName, hParents[nWhich], hAfter);
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(nPos), {h, pszName});
            }
        }
        for (int i = 0; i < 2; ++i)
        {
            std::vector<HTREEITEM> expected, shown;
            for (const Child& child : models[i])
                expected.push_back(child.h);
            for (HTREEITEM h = tree.GetChildItem(hParents[i]); h; h = tree.GetNextSiblingItem(h))
            {
                ASSERT_EQ(shown.empty() ? nullptr : shown.back(), tree.GetPrevSiblingItem(h));
                ASSERT_EQ(hParents[i], tree.GetParentItem(h));
                shown.push_back(h);
            }
            ASSERT_EQ(expected, shown) << "run " << nRun << ", parent " << i;
        }
        // Now and then a parent starts again, empty, or is put in order.
        if (next(10) == 0)
        {
            const unsigned nWhich = next(2);
            for (const Child& child : models[nWhich])
                ASSERT_TRUE(tree.DeleteItem(child.h));
            models[nWhich].clear();
        }
    }
    EXPECT_EQ(2 + models[0].size() + models[1].size(), tree.GetCount());
}

TEST_F(TreeFixture, Navigation)
{
    HTREEITEM hRoot = tree.InsertItem(L"root");
    HTREEITEM a = tree.InsertItem(L"a", hRoot);
    HTREEITEM b = tree.InsertItem(L"b", hRoot);
    HTREEITEM a1 = tree.InsertItem(L"a1", a);
    EXPECT_EQ(hRoot, tree.GetRootItem());
    EXPECT_EQ(a, tree.GetChildItem(hRoot));
    EXPECT_EQ(b, tree.GetNextSiblingItem(a));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(b));
    EXPECT_EQ(a, tree.GetPrevSiblingItem(b));
    EXPECT_EQ(a, tree.GetParentItem(a1));
    EXPECT_EQ(nullptr, tree.GetParentItem(hRoot));
    EXPECT_EQ(nullptr, tree.GetParentItem(nullptr));
    EXPECT_TRUE(tree.ItemHasChildren(a));
    EXPECT_FALSE(tree.ItemHasChildren(b));
    EXPECT_EQ(hRoot, tree.GetFirstVisibleItem());
}

TEST_F(TreeFixture, CheckStatesAndHandlesOfDeletedItems)
{
    HTREEITEM h = tree.InsertItem(L"x");
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), tree.GetItemState(h, TVIS_STATEIMAGEMASK));
    EXPECT_FALSE(tree.GetCheck(h));
    tree.SetCheck(h, TRUE);
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), tree.GetItemState(h, TVIS_STATEIMAGEMASK));
    EXPECT_TRUE(tree.GetCheck(h));
    ASSERT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
    HTREEITEM hNew = tree.InsertItem(L"y");
    EXPECT_NE(h, hNew); // handles are not reused
    EXPECT_FALSE(tree.SetItemState(h, TVIS_SELECTED, TVIS_SELECTED));
    EXPECT_EQ(0u, tree.GetItemState(hNew, TVIS_SELECTED));
}

TEST_F(TreeFixture, DeleteAllSendsChildrenBeforeParents)
{
    HTREEITEM hRoot = tree.InsertItem(L"root");
    HTREEITEM a = tree.InsertItem(L"a", hRoot);
    tree.InsertItem(L"a1", a);
    std::vector<CString> order;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code == TVN_DELETEITEMW)
            order.push_back(tree.GetItemText(reinterpret_cast<NMTREEVIEW*>(p)->itemOld.hItem));
        return 0;
    };
    tree.DeleteAllItems();
    EXPECT_EQ((std::vector<CString>{L"a1", L"a", L"root"}), order);
}

// A TVN_DELETEITEM handler that inserts sorted items under a parent the deletion has not
// reached yet, and sends nothing else: they are that parent's children by then, and go with it,
// each notified. Items are told apart by their data, which comes with the notification.
TEST_F(TreeFixture, ItemsInsertedWhileDeletingGoWithTheirParent)
{
    const LPCWSTR names[] = {L"", L"first", L"a1", L"second", L"b1", L"b3", L"b0", L"b2"};
    auto insert = [&](LPARAM nName, HTREEITEM hParent, HTREEITEM hAfter) {
        TVINSERTSTRUCTW ins = {};
        ins.hParent = hParent;
        ins.hInsertAfter = hAfter;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<LPWSTR>(names[nName]);
        ins.item.lParam = nName;
        return tree.InsertItem(&ins);
    };
    HTREEITEM hFirst = insert(1, TVI_ROOT, TVI_LAST);
    insert(2, hFirst, TVI_LAST);
    HTREEITEM hSecond = insert(3, TVI_ROOT, TVI_LAST);
    insert(4, hSecond, TVI_LAST);
    std::vector<CString> order;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code != TVN_DELETEITEMW)
            return 0;
        const LPARAM nName = reinterpret_cast<NMTREEVIEW*>(p)->itemOld.lParam;
        order.push_back(names[nName]);
        if (nName == 2)
            for (LPARAM nNew : {5, 6, 7})
                insert(nNew, hSecond, TVI_SORT);
        return 0;
    };
    tree.DeleteAllItems();
    EXPECT_EQ((std::vector<CString>{L"a1", L"first", L"b0", L"b1", L"b2", L"b3", L"second"}),
              order);
    EXPECT_EQ(0u, tree.GetCount());
}

// Under an item whose deletion has begun (while its children, or it itself, are being
// notified) nothing can be inserted: such a child would outlive its parent.
TEST_F(TreeFixture, NothingIsInsertedUnderAnItemBeingDeleted)
{
    HTREEITEM hTop = tree.InsertItem(L"top");
    HTREEITEM hMiddle = tree.InsertItem(L"middle", hTop);
    tree.InsertItem(L"leaf", hMiddle);
    HTREEITEM hOther = tree.InsertItem(L"other");
    std::vector<HTREEITEM> inserted;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code != TVN_DELETEITEMW)
            return 0;
        for (HTREEITEM hUnder : {hTop, hMiddle, hOther})
            for (HTREEITEM hAfter : {TVI_LAST, TVI_SORT})
                inserted.push_back(tree.InsertItem(L"late", hUnder, hAfter));
        return 0;
    };
    ASSERT_TRUE(tree.DeleteItem(hTop));
    parent.m_onNotify = nullptr;
    // Three notifications, each refusing the four insertions under the deleted branch and
    // taking the two under the other item.
    ASSERT_EQ(18u, inserted.size());
    for (size_t i = 0; i < inserted.size(); ++i)
        EXPECT_EQ(i % 6 >= 4, inserted[i] != nullptr) << "insertion " << i;
    EXPECT_EQ(7u, tree.GetCount()); // other and its six late children
    EXPECT_EQ(nullptr, tree.GetNextItem(hTop, TVGN_CHILD));
}

TEST_F(TreeFixture, SelectItemNotifiesOnlyOnChange)
{
    HTREEITEM a = tree.InsertItem(L"a");
    HTREEITEM b = tree.InsertItem(L"b");
    parent.Clear();
    ASSERT_TRUE(tree.SelectItem(a));
    ASSERT_TRUE(tree.SelectItem(a));
    EXPECT_TRUE(parent.Matches(
        {{WM_NOTIFY, ID_TREE, TVN_SELCHANGINGW}, {WM_NOTIFY, ID_TREE, TVN_SELCHANGEDW}}));
    EXPECT_EQ(a, tree.GetSelectedItem());
    EXPECT_EQ(static_cast<UINT>(TVIS_SELECTED), tree.GetItemState(a, TVIS_SELECTED));

    // Setting the selected bit by hand changes only that bit.
    parent.Clear();
    tree.SetItemState(b, TVIS_SELECTED, TVIS_SELECTED);
    EXPECT_TRUE(parent.Matches({}));
    EXPECT_EQ(a, tree.GetSelectedItem());

    // A vetoed change keeps the selection; selecting nothing clears it, with notifications.
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == TVN_SELCHANGINGW ? TRUE : 0; };
    EXPECT_FALSE(tree.SelectItem(b));
    EXPECT_EQ(a, tree.GetSelectedItem());
    parent.m_onNotify = nullptr;
    parent.Clear();
    ASSERT_TRUE(tree.SelectItem(nullptr));
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    EXPECT_EQ(0u, tree.GetItemState(a, TVIS_SELECTED));
    EXPECT_TRUE(parent.Matches(
        {{WM_NOTIFY, ID_TREE, TVN_SELCHANGINGW}, {WM_NOTIFY, ID_TREE, TVN_SELCHANGEDW}}));
}

struct ZoneCase
{
    const char* name;
    int dx; // from the left of the row's label (negative: before it)
    UINT nFlags;
};

// Zones of a top-level group with children (button column) and of its child, left to right.
TEST_F(TreeFixture, HitTestZonesFollowTheLabelRectangle)
{
    HTREEITEM hGroup = tree.InsertItem(L"Steel");
    HTREEITEM hGrade = tree.InsertItem(L"A36", hGroup);
    tree.Expand(hGroup, TVE_EXPAND);
    CRect rcGroup = Label(hGroup);
    CRect rcGrade = Label(hGrade);
    // Lines at root: one indent column for the group, which holds its button; then the check box.
    EXPECT_EQ(VEK_CX_TVINDENT + VEK_CX_TVSTATEICON, rcGroup.left);
    EXPECT_EQ(2 * VEK_CX_TVINDENT + VEK_CX_TVSTATEICON, rcGrade.left);
    EXPECT_EQ(rcGroup.bottom, rcGrade.top);
    const ZoneCase group[] = {{"button", -VEK_CX_TVSTATEICON - 2, TVHT_ONITEMBUTTON},
                              {"state", -2, TVHT_ONITEMSTATEICON},
                              {"label", 1, TVHT_ONITEMLABEL},
                              {"right", rcGroup.Width() + 1, TVHT_ONITEMRIGHT}};
    for (const ZoneCase& c : group)
    {
        UINT nFlags = 0;
        EXPECT_EQ(hGroup, tree.HitTest(CPoint(rcGroup.left + c.dx, rcGroup.top + 2), &nFlags))
            << c.name;
        EXPECT_EQ(c.nFlags, nFlags) << c.name;
    }
    const ZoneCase grade[] = {{"indent", -VEK_CX_TVSTATEICON - 2, TVHT_ONITEMINDENT},
                              {"state", -1, TVHT_ONITEMSTATEICON},
                              {"label", rcGrade.Width() - 1, TVHT_ONITEMLABEL}};
    for (const ZoneCase& c : grade)
    {
        UINT nFlags = 0;
        EXPECT_EQ(hGrade, tree.HitTest(CPoint(rcGrade.left + c.dx, rcGrade.top + 2), &nFlags))
            << c.name;
        EXPECT_EQ(c.nFlags, nFlags) << c.name;
    }
    // Without a state image there is no check-box zone: the label starts at the indent.
    tree.SetItemState(hGrade, 0, TVIS_STATEIMAGEMASK);
    EXPECT_EQ(2 * VEK_CX_TVINDENT, Label(hGrade).left);
    UINT nFlags = 0;
    EXPECT_EQ(nullptr, tree.HitTest(CPoint(5, rcGrade.bottom + 3), &nFlags));
    EXPECT_EQ(static_cast<UINT>(TVHT_NOWHERE), nFlags);
}

// NM_CLICK comes first and sees the state before the toggle, at the click's message position;
// a click on the box toggles it without selecting.
TEST_F(TreeFixture, CheckBoxClickNotifiesBeforeToggling)
{
    HTREEITEM hRoot = tree.InsertItem(L"root");
    HTREEITEM hGroup = tree.InsertItem(L"Steel", hRoot);
    tree.EnsureVisible(hGroup);
    parent.Clear();
    BOOL bCheckSeen = TRUE;
    UINT nFlagsSeen = 0;
    HTREEITEM hSeen = nullptr;
    parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
        if (p->code == NM_CLICK)
        {
            DWORD pos = GetMessagePos();
            POINT pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
            MapWindowPoints(HWND_DESKTOP, tree.m_hWnd, &pt, 1);
            hSeen = tree.HitTest(CPoint(pt), &nFlagsSeen);
            bCheckSeen = tree.GetCheck(hSeen);
        }
        return 0;
    };
    CRect rc = Label(hGroup);
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, POINT{rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4}));
    EXPECT_EQ(hGroup, hSeen);
    EXPECT_TRUE(nFlagsSeen & TVHT_ONITEMSTATEICON);
    EXPECT_FALSE(bCheckSeen);
    EXPECT_TRUE(tree.GetCheck(hGroup));
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    EXPECT_TRUE(
        parent.Matches({{WM_NOTIFY, ID_TREE, NM_CLICK}, {WM_NOTIFY, ID_TREE, NM_SETFOCUS}}));

    // A non-zero answer to NM_CLICK keeps the box as it is.
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == NM_CLICK ? 1 : 0; };
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, POINT{rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4}));
    EXPECT_TRUE(tree.GetCheck(hGroup));
}

TEST_F(TreeFixture, LabelClickSelectsAfterNotifyingTheClick)
{
    HTREEITEM a = tree.InsertItem(L"alpha");
    SetFocus(tree.m_hWnd);
    parent.Clear();
    CRect rc = Label(a);
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, rc.CenterPoint()));
    EXPECT_TRUE(parent.Matches({{WM_NOTIFY, ID_TREE, NM_CLICK},
                                {WM_NOTIFY, ID_TREE, TVN_SELCHANGINGW},
                                {WM_NOTIFY, ID_TREE, TVN_SELCHANGEDW}}));
    EXPECT_EQ(a, tree.GetSelectedItem());
    EXPECT_FALSE(tree.GetCheck(a));
    parent.Clear();
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, rc.CenterPoint()));
    EXPECT_TRUE(parent.Matches({{WM_NOTIFY, ID_TREE, NM_CLICK}}));
}

TEST_F(TreeFixture, ButtonClickExpandsAndEnsureVisibleRevealsChildren)
{
    HTREEITEM hGroup = tree.InsertItem(L"Steel");
    HTREEITEM hGrade = tree.InsertItem(L"A36", hGroup);
    CRect rc;
    EXPECT_FALSE(tree.GetItemRect(hGrade, &rc, TRUE)); // collapsed: not shown
    CRect rcGroup = Label(hGroup);
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, POINT{VEK_CX_TVINDENT / 2, rcGroup.top + 4}));
    EXPECT_EQ(static_cast<UINT>(TVIS_EXPANDED), tree.GetItemState(hGroup, TVIS_EXPANDED));
    EXPECT_TRUE(tree.GetItemRect(hGrade, &rc, TRUE));
    tree.Expand(hGroup, TVE_COLLAPSE);
    EXPECT_FALSE(tree.GetItemRect(hGrade, &rc, TRUE));
    tree.EnsureVisible(hGrade);
    EXPECT_TRUE(tree.GetItemRect(hGrade, &rc, TRUE));
}

enum class Zone
{
    Button,
    CheckBox,
    Label,
    Right,
    BelowItems
};

struct MouseCase
{
    const char* name;
    bool bDouble;
    Zone zone;
    std::vector<VekParentMsg> expected; // after the tree has the focus
    BOOL bChecked;                      // the group's check box afterwards (it starts clear)
    bool bExpanded;                     // the group afterwards (it starts collapsed)
};

// What a click and a double click do in each zone of a collapsed group with one child. A
// double click is a click followed by WM_LBUTTONDBLCLK: on the check box the second toggle
// undoes the first; on the label and the button the expansion toggles (the button's twice).
TEST_F(TreeFixture, ClicksAndDoubleClicksByZone)
{
    const VekParentMsg click = {WM_NOTIFY, ID_TREE, NM_CLICK};
    const VekParentMsg dblclk = {WM_NOTIFY, ID_TREE, NM_DBLCLK};
    const VekParentMsg expanding = {WM_NOTIFY, ID_TREE, TVN_ITEMEXPANDINGW};
    const VekParentMsg expanded = {WM_NOTIFY, ID_TREE, TVN_ITEMEXPANDEDW};
    const VekParentMsg selchanging = {WM_NOTIFY, ID_TREE, TVN_SELCHANGINGW};
    const VekParentMsg selchanged = {WM_NOTIFY, ID_TREE, TVN_SELCHANGEDW};
    const MouseCase cases[] = {
        {"button click", false, Zone::Button, {click, expanding, expanded}, FALSE, true},
        {"check box click", false, Zone::CheckBox, {click}, TRUE, false},
        {"label click", false, Zone::Label, {click, selchanging, selchanged}, FALSE, false},
        {"click right of the label", false, Zone::Right, {click}, FALSE, false},
        {"click below the items", false, Zone::BelowItems, {click}, FALSE, false},
        {"button double click",
         true,
         Zone::Button,
         {click, expanding, expanded, dblclk, expanding, expanded},
         FALSE,
         false},
        {"check box double click", true, Zone::CheckBox, {click, dblclk}, FALSE, false},
        {"label double click",
         true,
         Zone::Label,
         {click, selchanging, selchanged, dblclk, expanding, expanded},
         FALSE,
         true},
        {"double click right of the label", true, Zone::Right, {click, dblclk}, FALSE, false},
        {"double click below the items", true, Zone::BelowItems, {click}, FALSE, false},
    };
    for (const MouseCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        tree.DeleteAllItems();
        HTREEITEM hGroup = tree.InsertItem(L"Steel");
        tree.InsertItem(L"A36", hGroup);
        SetFocus(tree.m_hWnd);
        CRect rc = Label(hGroup);
        CPoint pt = rc.CenterPoint();
        switch (c.zone)
        {
        case Zone::Button:
            pt = CPoint(VEK_CX_TVINDENT / 2, rc.top + 4);
            break;
        case Zone::CheckBox:
            pt = CPoint(rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4);
            break;
        case Zone::Right:
            pt = CPoint(rc.right + 10, rc.top + 4);
            break;
        case Zone::BelowItems:
            pt = CPoint(rc.left, rc.bottom + 40);
            break;
        case Zone::Label:
            break;
        }
        parent.Clear();
        ASSERT_TRUE(c.bDouble ? VekInput::DoubleClick(tree.m_hWnd, pt)
                              : VekInput::Click(tree.m_hWnd, pt));
        EXPECT_TRUE(parent.Matches(c.expected));
        EXPECT_EQ(c.bChecked, tree.GetCheck(hGroup));
        EXPECT_EQ(c.bExpanded, tree.GetItemState(hGroup, TVIS_EXPANDED) != 0);
    }
}

// A non-zero answer to NM_CLICK keeps the button's item as it is; one to NM_DBLCLK keeps the
// check box as the first click left it.
TEST_F(TreeFixture, AnsweredClicksStopTheDefaultHandling)
{
    HTREEITEM hGroup = tree.InsertItem(L"Steel");
    tree.InsertItem(L"A36", hGroup);
    CRect rc = Label(hGroup);
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == NM_CLICK ? 1 : 0; };
    ASSERT_TRUE(VekInput::Click(tree.m_hWnd, CPoint(VEK_CX_TVINDENT / 2, rc.top + 4)));
    EXPECT_EQ(0u, tree.GetItemState(hGroup, TVIS_EXPANDED));
    parent.m_onNotify = [](NMHDR* p) -> LRESULT { return p->code == NM_DBLCLK ? 1 : 0; };
    ASSERT_TRUE(
        VekInput::DoubleClick(tree.m_hWnd, CPoint(rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4)));
    EXPECT_TRUE(tree.GetCheck(hGroup));
}

// The right button takes the focus, then tells the parent.
TEST_F(TreeFixture, RightButtonNotifiesAfterTakingTheFocus)
{
    HTREEITEM a = tree.InsertItem(L"alpha");
    CPoint pt = Label(a).CenterPoint();
    parent.Clear();
    tree.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(
        parent.Matches({{WM_NOTIFY, ID_TREE, NM_SETFOCUS}, {WM_NOTIFY, ID_TREE, NM_RCLICK}}));
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
}

// A program's expansion notifies until the item has been expanded once; the user's always.
TEST_F(TreeFixture, ExpansionNotifications)
{
    HTREEITEM hGroup = tree.InsertItem(L"Steel");
    HTREEITEM hGrade = tree.InsertItem(L"A36", hGroup);
    parent.Clear();
    ASSERT_TRUE(tree.Expand(hGroup, TVE_EXPAND));
    ASSERT_TRUE(tree.Expand(hGroup, TVE_COLLAPSE));
    ASSERT_TRUE(tree.Expand(hGroup, TVE_EXPAND));
    EXPECT_TRUE(parent.Matches(
        {{WM_NOTIFY, ID_TREE, TVN_ITEMEXPANDINGW}, {WM_NOTIFY, ID_TREE, TVN_ITEMEXPANDEDW}}));
    EXPECT_FALSE(tree.Expand(hGrade, TVE_EXPAND)); // nothing to expand

    // Keyboard: Down selects the grade, Left goes back to the group, Left again collapses it.
    tree.SelectItem(hGroup);
    SetFocus(tree.m_hWnd);
    parent.Clear();
    ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
    EXPECT_EQ(hGrade, tree.GetSelectedItem());
    ASSERT_TRUE(VekInput::KeyDown(VK_LEFT));
    EXPECT_EQ(hGroup, tree.GetSelectedItem());
    ASSERT_TRUE(VekInput::KeyDown(VK_LEFT));
    EXPECT_EQ(0u, tree.GetItemState(hGroup, TVIS_EXPANDED));
    // Space toggles the selected item's check box.
    ASSERT_TRUE(VekInput::KeyDown(VK_SPACE));
    EXPECT_TRUE(tree.GetCheck(hGroup));
}

TEST_F(TreeFixture, EnsureVisibleScrollsTheFirstVisibleItem)
{
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 60; ++i)
        items.push_back(tree.InsertItem(CString(L"item")));
    EXPECT_EQ(items[0], tree.GetFirstVisibleItem());
    tree.EnsureVisible(items[50]);
    HTREEITEM hFirst = tree.GetFirstVisibleItem();
    EXPECT_NE(items[0], hFirst);
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(items[50], &rc, FALSE));
    CRect client;
    tree.GetClientRect(&client);
    EXPECT_LE(rc.bottom, client.bottom);
    EXPECT_GE(rc.top, 0);
    UINT nFlags = 0;
    EXPECT_EQ(items[50], tree.HitTest(CPoint(rc.left + 40, rc.top + 1), &nFlags));
}
} // namespace

// A handler may destroy the tree, or the tree's parent, inside any notification; the tree must
// stop touching its state at once. These rows are meant for the sanitizer build, where a read of
// the freed state fails the run.
namespace
{
struct TreeScene
{
    HWND hTree = nullptr;
    HWND hOther = nullptr; // a sibling that can take the focus
    HTREEITEM hSteel = nullptr;
    HTREEITEM hA36 = nullptr;
    HTREEITEM hIron = nullptr;
};

CRect LabelOf(const TreeScene& t, HTREEITEM h)
{
    CRect rc;
    std::memcpy(static_cast<RECT*>(&rc), &h,
                sizeof(h)); // the item goes in where the rect comes out
    SendMessageW(t.hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

struct DestroyCase
{
    const char* name;
    UINT nCode;
    void (*trigger)(TreeScene& t);
};

const DestroyCase g_treeDestroyCases[] = {
    {"click on a label: NM_CLICK", NM_CLICK,
     [](TreeScene& t) { VekInput::Click(t.hTree, LabelOf(t, t.hIron).CenterPoint()); }},
    {"click on a label: TVN_SELCHANGING", TVN_SELCHANGINGW,
     [](TreeScene& t) { VekInput::Click(t.hTree, LabelOf(t, t.hIron).CenterPoint()); }},
    {"click on a label: TVN_SELCHANGED", TVN_SELCHANGEDW,
     [](TreeScene& t) { VekInput::Click(t.hTree, LabelOf(t, t.hIron).CenterPoint()); }},
    {"click on a check box: NM_CLICK", NM_CLICK,
     [](TreeScene& t) {
         CRect rc = LabelOf(t, t.hIron);
         VekInput::Click(t.hTree, CPoint(rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4));
     }},
    {"click on a button: TVN_ITEMEXPANDING", TVN_ITEMEXPANDINGW,
     [](TreeScene& t) {
         VekInput::Click(t.hTree, CPoint(VEK_CX_TVINDENT / 2, LabelOf(t, t.hSteel).top + 4));
     }},
    {"click on a button: TVN_ITEMEXPANDED", TVN_ITEMEXPANDEDW,
     [](TreeScene& t) {
         VekInput::Click(t.hTree, CPoint(VEK_CX_TVINDENT / 2, LabelOf(t, t.hSteel).top + 4));
     }},
    {"double click on a label: NM_DBLCLK", NM_DBLCLK,
     [](TreeScene& t) { VekInput::DoubleClick(t.hTree, LabelOf(t, t.hSteel).CenterPoint()); }},
    {"double click on a label: TVN_ITEMEXPANDED", TVN_ITEMEXPANDEDW,
     [](TreeScene& t) { VekInput::DoubleClick(t.hTree, LabelOf(t, t.hSteel).CenterPoint()); }},
    {"right button: NM_RCLICK", NM_RCLICK,
     [](TreeScene& t) {
         CPoint pt = LabelOf(t, t.hIron).CenterPoint();
         SendMessageW(t.hTree, WM_RBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
     }},
    {"key: TVN_KEYDOWN", TVN_KEYDOWN,
     [](TreeScene& t) {
         SetFocus(t.hTree);
         VekInput::KeyDown(VK_DOWN);
     }},
    {"key Down: TVN_SELCHANGED", TVN_SELCHANGEDW,
     [](TreeScene& t) {
         SetFocus(t.hTree);
         VekInput::KeyDown(VK_DOWN);
     }},
    {"key Right: TVN_ITEMEXPANDING", TVN_ITEMEXPANDINGW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.hSteel));
         SetFocus(t.hTree);
         VekInput::KeyDown(VK_RIGHT);
     }},
    {"TVM_SELECTITEM: TVN_SELCHANGED", TVN_SELCHANGEDW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.hIron));
     }},
    {"TVM_ENSUREVISIBLE of a hidden child: TVN_ITEMEXPANDING", TVN_ITEMEXPANDINGW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(t.hA36));
     }},
    {"TVM_ENSUREVISIBLE of a hidden child: TVN_ITEMEXPANDED", TVN_ITEMEXPANDEDW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(t.hA36));
     }},
    {"collapse hiding the selection: TVN_SELCHANGED", TVN_SELCHANGEDW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(t.hSteel));
         SendMessageW(t.hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.hA36));
         SendMessageW(t.hTree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(t.hSteel));
     }},
    {"delete all: TVN_DELETEITEM", TVN_DELETEITEMW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
     }},
    {"delete the selected item: TVN_DELETEITEM", TVN_DELETEITEMW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.hSteel));
         SendMessageW(t.hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(t.hSteel));
     }},
    {"delete the selected item: TVN_SELCHANGED", TVN_SELCHANGEDW,
     [](TreeScene& t) {
         SendMessageW(t.hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.hSteel));
         SendMessageW(t.hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(t.hSteel));
     }},
    {"focus: NM_SETFOCUS", NM_SETFOCUS, [](TreeScene& t) { SetFocus(t.hTree); }},
    {"click into an unfocused tree: NM_SETFOCUS", NM_SETFOCUS,
     [](TreeScene& t) { VekInput::Click(t.hTree, LabelOf(t, t.hIron).CenterPoint()); }},
    {"focus lost: NM_KILLFOCUS", NM_KILLFOCUS,
     [](TreeScene& t) {
         SetFocus(t.hTree);
         SetFocus(t.hOther);
     }},
};

TEST(TreeDestroyedInNotification, StopsTouchingItsState)
{
    for (bool bParent : {false, true})
        for (const DestroyCase& c : g_treeDestroyCases)
        {
            SCOPED_TRACE(std::string(c.name) + (bParent ? ", parent destroyed" : ""));
            CVekTestParent parent;
            TreeScene t;
            t.hTree = VekCreateChild(parent, WC_TREEVIEWW, L"",
                                     TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_HASLINES |
                                         TVS_LINESATROOT | WS_TABSTOP,
                                     ID_TREE, {10, 10, 310, 410});
            t.hOther = VekCreateChild(parent, L"Button", L"other", WS_TABSTOP, 1);
            ASSERT_TRUE(t.hTree && t.hOther);
            TVINSERTSTRUCTW ins = {};
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT;
            ins.item.pszText = const_cast<LPWSTR>(L"Steel");
            t.hSteel = reinterpret_cast<HTREEITEM>(
                SendMessageW(t.hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
            ins.item.pszText = const_cast<LPWSTR>(L"Iron");
            t.hIron = reinterpret_cast<HTREEITEM>(
                SendMessageW(t.hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
            ins.hParent = t.hSteel;
            ins.item.pszText = const_cast<LPWSTR>(L"A36");
            t.hA36 = reinterpret_cast<HTREEITEM>(
                SendMessageW(t.hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
            ins.item.pszText = const_cast<LPWSTR>(L"1020");
            ASSERT_TRUE(SendMessageW(t.hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));

            bool bDestroyed = false;
            HWND hVictim = bParent ? parent.m_hWnd : t.hTree;
            parent.m_onNotify = [&](NMHDR* p) -> LRESULT {
                if (p->code == c.nCode && !bDestroyed)
                {
                    bDestroyed = true;
                    DestroyWindow(hVictim);
                }
                return 0;
            };
            c.trigger(t);
            EXPECT_TRUE(bDestroyed) << "the notification never came";
            EXPECT_FALSE(IsWindow(t.hTree));
        }
}
} // namespace

// Scrolling: the tree's rows are the visible items; when they do not all fit a vertical scroll
// bar shows them, and the bar, the wheel and the keys move the first visible row.
namespace
{
struct TreeScrollFixture : TreeFixture
{
    // A 300 x 400 tree shows 25 rows.
    static constexpr int kRows = 400 / VEK_CY_TVROW;
    HTREEITEM hGroup = nullptr;
    std::vector<HTREEITEM> grades;

    void Fill(int nGrades)
    {
        hGroup = tree.InsertItem(L"Steel");
        for (int i = 0; i < nGrades; ++i)
        {
            CString str;
            str.Format(L"grade %d", i);
            grades.push_back(tree.InsertItem(str, hGroup));
        }
    }
    // The index among the visible rows of the first row shown.
    int FirstRow()
    {
        int n = 0;
        for (HTREEITEM h = tree.GetRootItem(); h && h != tree.GetFirstVisibleItem();
             h = tree.GetNextVisibleItem(h))
            ++n;
        return n;
    }
    SCROLLINFO Bar()
    {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(tree.m_hWnd, SB_VERT, &si));
        return si;
    }
    bool HasBar() { return (tree.GetStyle() & WS_VSCROLL) != 0; }
    int ClientWidth()
    {
        CRect rc;
        tree.GetClientRect(&rc);
        return rc.Width();
    }
    void Wheel(int nDelta)
    {
        tree.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(nDelta)), 0);
    }
};

TEST_F(TreeScrollFixture, BarComesAndGoesWithTheVisibleRows)
{
    Fill(40);
    EXPECT_FALSE(HasBar()); // collapsed: one row
    EXPECT_EQ(300, ClientWidth());
    tree.Expand(hGroup, TVE_EXPAND);
    ASSERT_TRUE(HasBar());
    EXPECT_EQ(300 - VEK_CX_VSCROLL, ClientWidth());
    SCROLLINFO si = Bar();
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(40, si.nMax); // 41 rows
    EXPECT_EQ(static_cast<UINT>(kRows), si.nPage);
    EXPECT_EQ(0, si.nPos);
    // A label rectangle ends before the bar; a point on the bar's side is right of the client.
    UINT nFlags = 0;
    EXPECT_EQ(nullptr, tree.HitTest(CPoint(300 - VEK_CX_VSCROLL + 2, 5), &nFlags));
    EXPECT_EQ(static_cast<UINT>(TVHT_TORIGHT), nFlags);

    tree.Expand(hGroup, TVE_COLLAPSE);
    EXPECT_FALSE(HasBar());
    EXPECT_EQ(300, ClientWidth());
    // Deleting rows until they fit takes the bar away as well.
    tree.Expand(hGroup, TVE_EXPAND);
    ASSERT_TRUE(HasBar());
    for (size_t i = kRows - 1; i < grades.size(); ++i)
        tree.DeleteItem(grades[i]);
    EXPECT_FALSE(HasBar());
}

// Rows inserted sorted under an expanded parent reach the scroll bar at once; under a
// collapsed one they add no row until it expands.
TEST_F(TreeScrollFixture, SortedInsertionsCountAsRowsOnlyWhereShown)
{
    hGroup = tree.InsertItem(L"Steel");
    HTREEITEM hShown = tree.InsertItem(L"Iron");
    tree.InsertItem(L"placeholder", hShown);
    tree.Expand(hShown, TVE_EXPAND);
    for (int i = 0; i < kRows + 5; ++i)
    {
        CString str;
        str.Format(L"grade %d", (i * 7) % (kRows + 5));
        tree.InsertItem(str, hGroup, TVI_SORT);
        tree.InsertItem(str, hShown, TVI_SORT);
        const int nRows = 3 + i + 1; // Steel, Iron, the placeholder and the grades shown
        ASSERT_EQ(nRows > kRows, HasBar()) << i;
        if (nRows > kRows)
        {
            ASSERT_EQ(nRows - 1, Bar().nMax) << i;
        }
    }
    tree.Expand(hGroup, TVE_EXPAND);
    EXPECT_EQ(3 + 2 * (kRows + 5) - 1, Bar().nMax);
    std::vector<CString> vecGrades = Children(hGroup);
    EXPECT_TRUE(
        std::is_sorted(vecGrades.begin(), vecGrades.end(),
                       [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; }));
    EXPECT_EQ(static_cast<size_t>(kRows + 5), vecGrades.size());
}

struct ScrollRequest
{
    const char* name;
    WORD nCode;
    WORD nThumb;
    int nFirstRow; // expected, starting from row 5 of 41
};

// Every scroll-bar request moves the first row, and item rectangles and hit tests follow.
TEST_F(TreeScrollFixture, ScrollRequestsMoveTheRows)
{
    Fill(40);
    tree.Expand(hGroup, TVE_EXPAND);
    const int nLast = 41 - kRows;
    const ScrollRequest requests[] = {
        {"line down", SB_LINEDOWN, 0, 6},
        {"line up", SB_LINEUP, 0, 4},
        {"page down", SB_PAGEDOWN, 0, std::min(5 + kRows, nLast)},
        {"page up", SB_PAGEUP, 0, 0},
        {"top", SB_TOP, 0, 0},
        {"bottom", SB_BOTTOM, 0, nLast},
        {"thumb track", SB_THUMBTRACK, 9, 9},
        {"thumb position", SB_THUMBPOSITION, 11, 11},
        {"thumb past the end", SB_THUMBPOSITION, 40, nLast},
        {"end of scroll", SB_ENDSCROLL, 0, 5},
    };
    for (const ScrollRequest& r : requests)
    {
        SCOPED_TRACE(r.name);
        tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
        ASSERT_EQ(5, FirstRow());
        tree.SendMessage(WM_VSCROLL, MAKEWPARAM(r.nCode, r.nThumb), 0);
        EXPECT_EQ(r.nFirstRow, FirstRow());
        EXPECT_EQ(r.nFirstRow, GetScrollPos(tree.m_hWnd, SB_VERT));
        // Row k of the tree (grade k - 1) sits (k - first) rows down.
        HTREEITEM hItem = grades[static_cast<size_t>(r.nFirstRow + 2 - 1)];
        CRect rc = Label(hItem);
        EXPECT_EQ(2 * VEK_CY_TVROW, rc.top);
        UINT nFlags = 0;
        EXPECT_EQ(hItem, tree.HitTest(CPoint(rc.left + 1, rc.top + 1), &nFlags));
    }
    // Items scrolled off the top have no rectangle inside the client area.
    tree.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(hGroup, &rc, FALSE));
    EXPECT_LT(rc.bottom, 1);
}

// A notch is the system's lines (3); parts of a notch add up, and turning back drops the rest.
TEST_F(TreeScrollFixture, WheelScrollsThreeRowsPerNotchAndAddsUpParts)
{
    Fill(40);
    tree.Expand(hGroup, TVE_EXPAND);
    UINT nLines = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0));
    ASSERT_EQ(3u, nLines);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(3, FirstRow());
    for (int i = 0; i < 4; ++i)
        Wheel(-WHEEL_DELTA / 4);
    EXPECT_EQ(6, FirstRow());
    // A quarter down, then two quarters up: turning back drops the quarter down, so the two
    // quarters up make half a notch, a row and a half.
    Wheel(-WHEEL_DELTA / 4);
    EXPECT_EQ(6, FirstRow());
    Wheel(WHEEL_DELTA / 4);
    Wheel(WHEEL_DELTA / 4);
    EXPECT_EQ(5, FirstRow());
    Wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(0, FirstRow());
    EXPECT_EQ(0, GetScrollPos(tree.m_hWnd, SB_VERT));
}

// Page Down and Page Up select a page (of whole rows) further on; End and Home the last and
// the first row; the selection is scrolled into view.
TEST_F(TreeScrollFixture, KeysScrollTheSelectionIntoView)
{
    Fill(60);
    tree.Expand(hGroup, TVE_EXPAND);
    tree.SelectItem(hGroup);
    SetFocus(tree.m_hWnd);
    ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
    EXPECT_EQ(grades[kRows - 1], tree.GetSelectedItem());
    EXPECT_EQ(1, FirstRow());
    ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
    EXPECT_EQ(grades[2 * kRows - 1], tree.GetSelectedItem());
    EXPECT_EQ(kRows + 1, FirstRow());
    ASSERT_TRUE(VekInput::KeyDown(VK_END));
    EXPECT_EQ(grades.back(), tree.GetSelectedItem());
    EXPECT_EQ(61 - kRows, FirstRow());
    EXPECT_EQ(61 - kRows, GetScrollPos(tree.m_hWnd, SB_VERT));
    ASSERT_TRUE(VekInput::KeyDown(VK_PRIOR));
    EXPECT_EQ(grades[59 - kRows], tree.GetSelectedItem());
    EXPECT_EQ(60 - kRows, FirstRow());
    ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
    EXPECT_EQ(hGroup, tree.GetSelectedItem());
    EXPECT_EQ(0, FirstRow());
    // Collapsing near the end keeps the last page full.
    tree.EnsureVisible(grades.back());
    tree.Expand(hGroup, TVE_COLLAPSE);
    EXPECT_EQ(0, FirstRow());
    EXPECT_FALSE(HasBar());
}
} // namespace
