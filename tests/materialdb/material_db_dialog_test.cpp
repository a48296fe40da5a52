// The material database dialog as a user meets it: the tree it shows for a database, the check
// marks a click sets and the rule selection OK makes of them, the add and delete commands with
// their messages, and Cancel taking the database edits back. Driven only through the modal
// handler, the input interface and a scripted message-box responder.
#include "CEditMaterialDBDlg.h"

#include <CStringPrinting.h>
#include <RuleResources.h>
#include <TempMaterialDatabase.h>
#include <VEKDataHelper.h>
#include <VekMaterialDatabase.h>
#include <resource.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace
{
using Strings = std::vector<CString>;

CString ModuleString(UINT nID)
{
    CString str;
    str.LoadString(GetRuleResources()->GetResDll(), nID);
    return str;
}

CString Formatted(UINT nID, LPCWSTR a, LPCWSTR b = nullptr)
{
    CString str;
    if (b)
        str.Format(ModuleString(nID), a, b);
    else
        str.Format(ModuleString(nID), a);
    return str;
}

IDatabaseCollector* Db()
{
    return vek_db::VEKDataHelper::getInstance();
}

Strings GroupsInDb()
{
    Strings vec;
    Db()->GetMaterialGroups(vec, 0);
    return vec;
}

CString GradesInDb(LPCWSTR pszGroup)
{
    CString str;
    Db()->GetGradesOfGroup(pszGroup, str, 0);
    return str;
}

struct Shown
{
    CString strText;
    CString strCaption;
    UINT nType;
};

struct MaterialDbDialogFixture : ::testing::Test
{
    CWinApp app{L"Material database test"};
    CTempMaterialDatabase tempDb;
    HINSTANCE hOldRes = nullptr;
    VekModalHandler oldHandler;
    VekMessageBoxResponder oldResponder;
    std::vector<Shown> shown;
    std::vector<int> answers; // given to the next message boxes in order; IDOK/IDYES after
    CVekRule rule;

    void SetUp() override
    {
        ASSERT_TRUE(tempDb.IsReady());
        ASSERT_NE(nullptr, GetRuleResources()->GetResDll());
        hOldRes = AfxGetResourceHandle();
        AfxSetResourceHandle(GetRuleResources()->GetResDll());
        oldResponder = VekSetMessageBoxResponder(
            [this](HWND, const CString& strText, const CString& strCaption, UINT nType) {
                shown.push_back({strText, strCaption, nType});
                if (!answers.empty())
                {
                    int n = answers.front();
                    answers.erase(answers.begin());
                    return n;
                }
                return (nType & 0xF) == MB_YESNO ? IDYES : IDOK;
            });
    }
    void TearDown() override
    {
        VekSetModalHandler(oldHandler);
        VekSetMessageBoxResponder(oldResponder);
        AfxSetResourceHandle(hOldRes);
        CEditMaterialDBDlg::ClearGradeSelection(rule.m_vecMaterialSelection);
    }

    // A database holding exactly these (group, grade) pairs, added in order.
    void UseDatabase(const std::vector<std::pair<LPCWSTR, LPCWSTR>>& pairs)
    {
        std::string strError;
        ASSERT_TRUE(
            vek_db::OpenMaterialDatabase(tempDb.GetPath(), vek_db::OpenMode::CreateEmpty, strError))
            << strError;
        ASSERT_NE(nullptr, Db());
        for (const auto& pair : pairs)
            ASSERT_EQ(0, Db()->AddGrade(pair.first, pair.second, 0));
    }

    // Runs the dialog under the script; a script that leaves it running presses Escape (the
    // dialog's Cancel, confirmed when it asks).
    INT_PTR Run(std::function<void(CDialog& dlg, CTreeCtrl& tree)> script,
                CVekRule* pRule = nullptr)
    {
        CEditMaterialDBDlg dlg(nullptr, pRule ? pRule : &rule);
        oldHandler = VekSetModalHandler([&](CDialog& d) {
            CTreeCtrl* pTree = static_cast<CTreeCtrl*>(d.GetDlgItem(IDC_MATERIAL_TREE));
            script(d, *pTree);
            if (d.IsModalRunning())
                VekInput::KeyDown(VK_ESCAPE);
            if (d.IsModalRunning())
                d.EndDialog(IDCANCEL);
        });
        return dlg.DoModal();
    }

    // The tree as text: one line per item, indented two blanks per level, "[x]" when checked.
    static Strings Lines(CTreeCtrl& tree)
    {
        Strings vec;
        std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM h, int nDepth) {
            for (; h; h = tree.GetNextSiblingItem(h))
            {
                CString str(L' ', nDepth * 2);
                str += (tree.GetCheck(h) ? L"[x] " : L"[ ] ") + tree.GetItemText(h);
                vec.push_back(str);
                walk(tree.GetChildItem(h), nDepth + 1);
            }
        };
        walk(tree.GetRootItem(), 0);
        return vec;
    }

    static HTREEITEM Find(CTreeCtrl& tree, LPCWSTR pszGroup, LPCWSTR pszGrade = nullptr)
    {
        for (HTREEITEM g = tree.GetChildItem(tree.GetRootItem()); g; g = tree.GetNextSiblingItem(g))
        {
            if (tree.GetItemText(g) != pszGroup)
                continue;
            if (!pszGrade)
                return g;
            for (HTREEITEM h = tree.GetChildItem(g); h; h = tree.GetNextSiblingItem(h))
                if (tree.GetItemText(h) == pszGrade)
                    return h;
        }
        return nullptr;
    }

    // Clicks the first point of the item's row that the tree's own hit test puts in the zone.
    static ::testing::AssertionResult ClickZone(CTreeCtrl& tree, HTREEITEM h, UINT nZone)
    {
        CRect rc;
        if (!h || !tree.GetItemRect(h, &rc, FALSE))
            return ::testing::AssertionFailure() << "item not shown";
        for (int x = rc.left; x < rc.right; ++x)
        {
            UINT nFlags = 0;
            CPoint pt(x, rc.CenterPoint().y);
            if (tree.HitTest(pt, &nFlags) == h && (nFlags & nZone))
            {
                if (!VekInput::Click(tree.m_hWnd, pt))
                    return ::testing::AssertionFailure() << "click refused";
                return ::testing::AssertionSuccess();
            }
        }
        return ::testing::AssertionFailure() << "no such zone in the row";
    }
    static ::testing::AssertionResult ClickBox(CTreeCtrl& tree, HTREEITEM h)
    {
        return ClickZone(tree, h, TVHT_ONITEMSTATEICON);
    }
    static ::testing::AssertionResult ClickLabel(CTreeCtrl& tree, HTREEITEM h)
    {
        return ClickZone(tree, h, TVHT_ONITEMLABEL);
    }
    // Expands every group through the expand buttons, as a user opens them.
    static void ExpandAll(CTreeCtrl& tree)
    {
        ASSERT_TRUE(ClickZone(tree, tree.GetRootItem(), TVHT_ONITEMBUTTON));
        for (HTREEITEM g = tree.GetChildItem(tree.GetRootItem()); g; g = tree.GetNextSiblingItem(g))
        {
            if (tree.GetChildItem(g))
            {
                ASSERT_TRUE(ClickZone(tree, g, TVHT_ONITEMBUTTON));
            }
        }
    }
    static void Type(CDialog& dlg, UINT nID, LPCWSTR pszText)
    {
        ASSERT_TRUE(VekInput::Click(dlg.GetDlgItem(nID)->m_hWnd));
        ASSERT_TRUE(VekInput::KeyDown(VK_END));
        ASSERT_TRUE(VekInput::Type(pszText));
    }
    static void Press(CDialog& dlg, UINT nID)
    {
        ASSERT_TRUE(VekInput::Click(dlg.GetDlgItem(nID)->m_hWnd));
    }
    static CString Text(CDialog& dlg, UINT nID)
    {
        CString str;
        dlg.GetDlgItem(nID)->GetWindowText(str);
        return str;
    }
};

// --- The tree the database gives ------------------------------------------------------------

TEST_F(MaterialDbDialogFixture, TreeShowsGroupsInDatabaseOrderWithoutHiddenOrRepeatedOnes)
{
    UseDatabase({{L"Steel", L"WCB"},
                 {L"steel", L"x"},
                 {L"Iron", L"GG25"},
                 {L"Plastics", L"PA6"},
                 {L"plastics", L"PEEK"},
                 {L"Woods", L"Oak"},
                 {L"Default", L"Any"},
                 {L"Iron", L" lead"},
                 {L"Iron", L"a-grade"},
                 {L"Generic Glass Fibers", L"E"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        // "steel" follows "Steel" and shows once, without its grades; a name differing from a
        // hidden group only in case is shown.
        EXPECT_EQ((Strings{L"[ ] All materials", L"  [ ] Steel", L"    [ ] WCB", L"  [ ] Iron",
                           L"    [ ]  lead", L"    [ ] a-grade", L"    [ ] GG25", L"  [ ] plastics",
                           L"    [ ] PEEK"}),
                  Lines(tree));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_DELETE_ENTRY)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_ADD_GRADE)->IsWindowEnabled());
    });
}

TEST_F(MaterialDbDialogFixture, OnlyHiddenGroupsLeaveTheRootAloneAndDeleteDisabled)
{
    UseDatabase({{L"Woods", L"Oak"}, {L"Default", L"Any"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        EXPECT_EQ((Strings{L"[ ] All materials"}), Lines(tree));
        EXPECT_FALSE(dlg.GetDlgItem(IDC_DELETE_ENTRY)->IsWindowEnabled());
    });
}

TEST_F(MaterialDbDialogFixture, WithoutARuleTheTreeStaysEmptyAndOkDoesNothing)
{
    UseDatabase({{L"Steel", L"WCB"}});
    CEditMaterialDBDlg dlg(nullptr, nullptr);
    bool bStillRunningAfterOk = false;
    oldHandler = VekSetModalHandler([&](CDialog& d) {
        CTreeCtrl* pTree = static_cast<CTreeCtrl*>(d.GetDlgItem(IDC_MATERIAL_TREE));
        EXPECT_EQ(0u, pTree->GetCount());
        ASSERT_TRUE(VekInput::Click(d.GetDlgItem(IDOK)->m_hWnd));
        bStillRunningAfterOk = d.IsModalRunning();
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(bStillRunningAfterOk);
}

// --- Check marks -----------------------------------------------------------------------------

TEST_F(MaterialDbDialogFixture, RootBoxChecksEverythingAndClearsEverything)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Steel", L"CF8M"}, {L"Iron", L"GG25"}});
    Run([&](CDialog&, CTreeCtrl& tree) {
        ExpandAll(tree);
        ASSERT_TRUE(ClickBox(tree, tree.GetRootItem()));
        EXPECT_EQ((Strings{L"[x] All materials", L"  [x] Steel", L"    [x] CF8M", L"    [x] WCB",
                           L"  [x] Iron", L"    [x] GG25"}),
                  Lines(tree));
        ASSERT_TRUE(ClickBox(tree, tree.GetRootItem()));
        for (const CString& str : Lines(tree))
            EXPECT_EQ(-1, str.Find(L"[x]")) << str;
    });
}

TEST_F(MaterialDbDialogFixture, AGradeChecksItsGroupAndRootAndTheLastOneClearsBoth)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Steel", L"CF8M"}, {L"Iron", L"GG25"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        ExpandAll(tree);
        ASSERT_TRUE(ClickBox(tree, Find(tree, L"Iron", L"GG25")));
        ASSERT_TRUE(ClickBox(tree, Find(tree, L"Steel", L"WCB")));
        EXPECT_EQ((Strings{L"[x] All materials", L"  [x] Steel", L"    [ ] CF8M", L"    [x] WCB",
                           L"  [x] Iron", L"    [x] GG25"}),
                  Lines(tree));
        // The clicked grade's names fill the edits.
        EXPECT_EQ(CString(L"Steel"), Text(dlg, IDC_MATERIAL_GROUP));
        EXPECT_EQ(CString(L"WCB"), Text(dlg, IDC_MATERIAL_GRADE));
        // Clearing Steel's last grade clears Steel and the root, though Iron stays checked.
        ASSERT_TRUE(ClickBox(tree, Find(tree, L"Steel", L"WCB")));
        EXPECT_EQ((Strings{L"[ ] All materials", L"  [ ] Steel", L"    [ ] CF8M", L"    [ ] WCB",
                           L"  [x] Iron", L"    [x] GG25"}),
                  Lines(tree));
    });
}

TEST_F(MaterialDbDialogFixture, OkMakesTheCheckedEntriesTheRulesSelection)
{
    UseDatabase(
        {{L"Steel", L"WCB"}, {L"Steel", L"CF8M"}, {L"Iron", L"GG25"}, {L"Bronze", L"C954"}});
    // A selection differing in case from the tree is applied; a group not shown is ignored.
    CStringList* pSteel = new CStringList;
    pSteel->AddTail(L"wcb");
    rule.m_vecMaterialSelection.emplace_back(L"STEEL", pSteel);
    rule.m_vecMaterialSelection.emplace_back(L"Woods", new CStringList);
    EXPECT_EQ(IDOK, Run([&](CDialog& dlg, CTreeCtrl& tree) {
                  EXPECT_EQ((Strings{L"[x] All materials", L"  [x] Steel", L"    [ ] CF8M",
                                     L"    [x] WCB", L"  [ ] Iron", L"    [ ] GG25",
                                     L"  [ ] Bronze", L"    [ ] C954"}),
                            Lines(tree));
                  ExpandAll(tree);
                  ASSERT_TRUE(ClickBox(tree, Find(tree, L"Bronze")));
                  Press(dlg, IDOK);
              }));
    ASSERT_EQ(2u, rule.m_vecMaterialSelection.size());
    EXPECT_EQ(CString(L"Steel"), rule.m_vecMaterialSelection[0].first);
    ASSERT_EQ(1, rule.m_vecMaterialSelection[0].second->GetCount());
    EXPECT_EQ(CString(L"WCB"), rule.m_vecMaterialSelection[0].second->GetHead());
    EXPECT_EQ(CString(L"Bronze"), rule.m_vecMaterialSelection[1].first);
    EXPECT_EQ(1, rule.m_vecMaterialSelection[1].second->GetCount());
}

TEST_F(MaterialDbDialogFixture, OkWithNothingCheckedEmptiesTheSelection)
{
    UseDatabase({{L"Steel", L"WCB"}});
    rule.m_vecMaterialSelection.emplace_back(L"Iron", new CStringList);
    EXPECT_EQ(IDOK, Run([&](CDialog& dlg, CTreeCtrl&) { Press(dlg, IDOK); }));
    EXPECT_TRUE(rule.m_vecMaterialSelection.empty());
}

TEST_F(MaterialDbDialogFixture, CancelNeverTouchesTheSelection)
{
    UseDatabase({{L"Steel", L"WCB"}});
    EXPECT_EQ(IDCANCEL, Run([&](CDialog&, CTreeCtrl& tree) {
                  ASSERT_TRUE(ClickBox(tree, tree.GetRootItem()));
                  ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
              }));
    EXPECT_TRUE(rule.m_vecMaterialSelection.empty());
    EXPECT_TRUE(shown.empty()); // no edits: no question
}

// --- Adding ----------------------------------------------------------------------------------

TEST_F(MaterialDbDialogFixture, EnterAddsWhenBothNamesAreTypedAndTheGradeComesBackChecked)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Iron", L"GG25"}});
    EXPECT_EQ(IDOK, Run([&](CDialog& dlg, CTreeCtrl& tree) {
                  Type(dlg, IDC_MATERIAL_GROUP, L"Steel");
                  EXPECT_FALSE(dlg.GetDlgItem(IDC_ADD_GRADE)->IsWindowEnabled());
                  Type(dlg, IDC_MATERIAL_GRADE, L"CF3M ");
                  EXPECT_TRUE(dlg.GetDlgItem(IDC_ADD_GRADE)->IsWindowEnabled());
                  ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
                  EXPECT_TRUE(dlg.IsModalRunning());
                  // Stored under the group's stored name, with the trailing blank.
                  EXPECT_EQ(CString(L"WCB;CF3M "), GradesInDb(L"Steel"));
                  ASSERT_EQ(1u, shown.size());
                  EXPECT_EQ(Formatted(IDS_GRADE_ADDED, L"CF3M ", L"Steel"), shown[0].strText);
                  EXPECT_EQ(ModuleString(IDS_MATERIAL_DB_CAPTION), shown[0].strCaption);
                  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), shown[0].nType);
                  EXPECT_EQ((Strings{L"[x] All materials", L"  [x] Steel", L"    [x] CF3M ",
                                     L"    [ ] WCB", L"  [ ] Iron", L"    [ ] GG25"}),
                            Lines(tree));
                  EXPECT_EQ(CString(), Text(dlg, IDC_MATERIAL_GROUP));
                  EXPECT_FALSE(dlg.GetDlgItem(IDC_ADD_GRADE)->IsWindowEnabled());
                  // Enter with a blank name presses OK instead of adding.
                  Type(dlg, IDC_MATERIAL_GROUP, L"Iron");
                  Type(dlg, IDC_MATERIAL_GRADE, L"  ");
                  answers = {IDNO};
                  ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE)); // Cancel asks, No keeps it open
                  EXPECT_TRUE(dlg.IsModalRunning());
                  EXPECT_EQ(ModuleString(IDS_DISCARD_DB_CHANGES), shown.back().strText);
                  ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
                  EXPECT_FALSE(dlg.IsModalRunning());
              }));
    EXPECT_EQ(CString(L"WCB;CF3M "), GradesInDb(L"Steel")); // OK: the addition stands
}

TEST_F(MaterialDbDialogFixture, AdditionsThatWouldRepeatANameAreRefused)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Default", L"Any"}, {L"Iron", L"GG25"}});
    struct Row
    {
        LPCWSTR pszGroup, pszGrade;
        CString strMessage;
    } rows[] = {
        {L"Iron", L"Steel", Formatted(IDS_GRADE_IS_GROUP, L"Steel")},
        {L"Iron", L"WCB", Formatted(IDS_GRADE_EXISTS, L"WCB", L"Steel")},
        {L"Steel", L"Any", Formatted(IDS_GRADE_EXISTS, L"Any", L"Default")}, // hidden group too
    };
    Run([&](CDialog& dlg, CTreeCtrl&) {
        for (const Row& r : rows)
        {
            shown.clear();
            Type(dlg, IDC_MATERIAL_GROUP, r.pszGroup);
            Type(dlg, IDC_MATERIAL_GRADE, r.pszGrade);
            Press(dlg, IDC_ADD_GRADE);
            ASSERT_EQ(1u, shown.size()) << r.pszGrade;
            EXPECT_EQ(r.strMessage, shown[0].strText);
            EXPECT_EQ(CString(), Text(dlg, IDC_MATERIAL_GRADE));
            EXPECT_FALSE(dlg.GetDlgItem(IDC_ADD_GRADE)->IsWindowEnabled());
        }
        // A name differing from a group's only in case is no group's name.
        shown.clear();
        Type(dlg, IDC_MATERIAL_GROUP, L"Iron");
        Type(dlg, IDC_MATERIAL_GRADE, L"steel");
        Press(dlg, IDC_ADD_GRADE);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(Formatted(IDS_GRADE_ADDED, L"steel", L"Iron"), shown[0].strText);
    });
    EXPECT_EQ((Strings{L"Steel", L"Default", L"Iron"}), GroupsInDb());
}

TEST_F(MaterialDbDialogFixture, AddingToAHiddenGroupSucceedsWithoutShowingAnything)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Woods", L"Oak"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        Strings before = Lines(tree);
        Type(dlg, IDC_MATERIAL_GROUP, L"Woods");
        Type(dlg, IDC_MATERIAL_GRADE, L"Pine");
        Press(dlg, IDC_ADD_GRADE);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(Formatted(IDS_GRADE_ADDED, L"Pine", L"Woods"), shown[0].strText);
        EXPECT_EQ(before, Lines(tree));
        EXPECT_EQ(CString(L"Oak;Pine"), GradesInDb(L"Woods"));
    });
    // Cancel confirmed: the journal takes the addition back.
    EXPECT_EQ(CString(L"Oak"), GradesInDb(L"Woods"));
    EXPECT_EQ(ModuleString(IDS_DISCARD_DB_CHANGES), shown.back().strText);
}

// --- Deleting --------------------------------------------------------------------------------

TEST_F(MaterialDbDialogFixture, DeletingAGroupRemovesEveryGradeWithOneMessageAndCancelRestoresIt)
{
    UseDatabase({{L"Steel", L"X"}, {L"Steel", L"Y"}, {L"Steel", L"Z"}, {L"Iron", L"GG25"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        ExpandAll(tree);
        ASSERT_TRUE(ClickLabel(tree, Find(tree, L"Steel")));
        EXPECT_EQ(CString(L"Steel"), Text(dlg, IDC_MATERIAL_GROUP));
        EXPECT_EQ(CString(), Text(dlg, IDC_MATERIAL_GRADE));
        Press(dlg, IDC_DELETE_ENTRY);
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ(Formatted(IDS_DELETE_CONFIRM, ModuleString(IDS_KIND_GROUP), L"Steel"),
                  shown[0].strText);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), shown[0].nType);
        EXPECT_EQ(Formatted(IDS_DELETED, ModuleString(IDS_KIND_GROUP), L"Steel"), shown[1].strText);
        EXPECT_EQ((Strings{L"Iron"}), GroupsInDb());
        EXPECT_EQ((Strings{L"[ ] All materials", L"  [ ] Iron", L"    [ ] GG25"}), Lines(tree));
    });
    // Confirmed Cancel: the three grades are back, in their order.
    EXPECT_EQ(CString(L"X;Y;Z"), GradesInDb(L"Steel"));
}

TEST_F(MaterialDbDialogFixture, AnsweringNoKeepsTheGradeAndForAGradeKeepsTheEdits)
{
    UseDatabase({{L"Steel", L"WCB"}, {L"Iron", L"GG25"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        ExpandAll(tree);
        ASSERT_TRUE(ClickLabel(tree, Find(tree, L"Steel", L"WCB")));
        answers = {IDNO};
        Press(dlg, IDC_DELETE_ENTRY);
        EXPECT_EQ(CString(L"WCB"), Text(dlg, IDC_MATERIAL_GRADE));
        ASSERT_TRUE(ClickLabel(tree, Find(tree, L"Iron")));
        answers = {IDNO};
        Press(dlg, IDC_DELETE_ENTRY);
        EXPECT_EQ(CString(), Text(dlg, IDC_MATERIAL_GROUP));
    });
    EXPECT_EQ((Strings{L"Steel", L"Iron"}), GroupsInDb());
    EXPECT_EQ(2u, shown.size()); // the two questions; Cancel without edits asks nothing
}

TEST_F(MaterialDbDialogFixture, DeleteWithNothingToDeleteSaysWhatIsMissing)
{
    UseDatabase({{L"Steel", L"WCB"}});
    Run([&](CDialog& dlg, CTreeCtrl& tree) {
        Press(dlg, IDC_DELETE_ENTRY);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(ModuleString(IDS_DELETE_NOTHING_SELECTED), shown[0].strText);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), shown[0].nType);
        // A selected item with the group edit emptied: the group is asked for.
        ExpandAll(tree);
        ASSERT_TRUE(ClickLabel(tree, Find(tree, L"Steel", L"WCB")));
        ASSERT_TRUE(VekInput::Click(dlg.GetDlgItem(IDC_MATERIAL_GROUP)->m_hWnd));
        ASSERT_TRUE(VekInput::KeyDown(VK_END));
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(VekInput::KeyDown(VK_BACK));
        Press(dlg, IDC_DELETE_ENTRY);
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ(Formatted(IDS_DELETE_GROUP_MISSING, L"WCB"), shown[1].strText);
    });
    EXPECT_EQ(CString(L"WCB"), GradesInDb(L"Steel"));
}

TEST_F(MaterialDbDialogFixture, CatalogueGradesAreProtected)
{
    // The seeded catalogue: its grades may not be deleted.
    ASSERT_NE(nullptr, Db());
    Strings groups = GroupsInDb();
    ASSERT_FALSE(groups.empty());
    CString strGroup = groups[0];
    CString strGrades = GradesInDb(strGroup);
    Run([&](CDialog& dlg, CTreeCtrl&) {
        Type(dlg, IDC_MATERIAL_GROUP, strGroup);
        Press(dlg, IDC_DELETE_ENTRY);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(ModuleString(IDS_DELETE_REFUSED_SHOWN), shown[0].strText);
    });
    EXPECT_EQ(strGrades, GradesInDb(strGroup));
}
} // namespace
