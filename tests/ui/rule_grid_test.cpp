// The material grid in a dialog set up as the uniform thickness dialog sets it up (260 empty
// rows below a few named ones), driven only through the input interface: clicks on cells found
// with the grid's own geometry, double clicks, keys, and message boxes answered by a script.
#include <gtest/gtest.h>

#include "CVEKUWTRuleListCtrl.h"

#include <CStringPrinting.h>
#include <RuleResources.h>
#include <afxcmn.h>
#include <resource.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace
{
const std::string kResLib = std::string(VEK_TEST_RES_DIR) + "/vektestgridres.so";
const int kEmptyRows = 260;
const int kThicknessBox = 40077;

CString ModuleString(UINT nID)
{
    CString str;
    str.LoadString(GetRuleResources()->GetResDll(), nID);
    return str;
}

struct NamedRow
{
    const wchar_t* pszName;
    const wchar_t* pszValue;
};

// The grid as the dialog holds it, counting the times it is painted.
class CPaintCountingGrid : public CVEKUWTRuleListCtrl
{
public:
    int m_nPaints = 0;

protected:
    afx_msg void OnPaint()
    {
        ++m_nPaints;
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintCountingGrid, CVEKUWTRuleListCtrl)
ON_WM_PAINT()
END_MESSAGE_MAP()

class CGridTestDlg : public CDialog
{
public:
    CGridTestDlg() : CDialog(600) {}

    CPaintCountingGrid m_grid;
    std::vector<CString> m_vecTitles = {L"Material", L"Thickness (mm)"};
    std::vector<CString> m_vecOffered = {L"Steel", L"Aluminium", L"Bronze", L"Titanium"};
    std::vector<NamedRow> m_vecNamed = {{L"Steel", L"2.5"}, {L"Aluminium", L"1.5"}};
    int m_nOkRuns = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_grid.GetSafeHwnd() && m_grid.PreTranslateKey(pMsg))
            return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 40093, m_grid); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_grid.SetExtendedStyle(0x471);
        m_grid.SetFont(GetFont());
        m_grid.SetColumns(m_vecTitles);
        for (int i = 0; i < kEmptyRows; ++i)
            m_grid.InsertItem(i, L"");
        for (size_t i = 0; i < m_vecNamed.size(); ++i)
        {
            const int nRow = static_cast<int>(i);
            m_grid.InsertItem(nRow, m_vecNamed[i].pszName);
            m_grid.SetItemText(nRow, 1, m_vecNamed[i].pszValue);
        }
        m_grid.SetComboItems(m_vecOffered);
        return TRUE;
    }
    void OnOK() override
    {
        ++m_nOkRuns;
        CDialog::OnOK();
    }
};

struct Shown
{
    HWND hOwner;
    CString strText;
    CString strCaption;
    UINT nType;
};

struct GridFixture : ::testing::Test
{
    CWinApp app{L"Grid test"};
    HMODULE hRes = nullptr;
    HINSTANCE hOldRes = nullptr;
    VekModalHandler oldHandler;
    VekMessageBoxResponder oldResponder;
    std::vector<Shown> shown;
    CGridTestDlg dlg;

    void SetUp() override
    {
        ASSERT_NE(nullptr, GetRuleResources()->GetResDll());
        hRes = LoadLibraryW(CString(kResLib.c_str()));
        ASSERT_TRUE(hRes) << kResLib;
        hOldRes = AfxGetResourceHandle();
        AfxSetResourceHandle(hRes);
        oldResponder = VekSetMessageBoxResponder(
            [this](HWND hOwner, const CString& strText, const CString& strCaption, UINT nType) {
                shown.push_back({hOwner, strText, strCaption, nType});
                return IDOK;
            });
    }
    void TearDown() override
    {
        VekSetModalHandler(oldHandler);
        VekSetMessageBoxResponder(oldResponder);
        AfxSetResourceHandle(hOldRes);
        FreeLibrary(hRes);
    }

    // Runs the dialog under the script; a script that leaves it running cancels it.
    INT_PTR Run(std::function<void(CVEKUWTRuleListCtrl& grid)> script)
    {
        oldHandler = VekSetModalHandler([&](CDialog& d) {
            script(static_cast<CGridTestDlg&>(d).m_grid);
            if (d.IsModalRunning())
                d.EndDialog(IDCANCEL);
        });
        return dlg.DoModal();
    }

    static CRect CellRect(CVEKUWTRuleListCtrl& grid, int nRow, int nCol)
    {
        CRect rc;
        grid.GetSubItemRect(nRow, nCol, LVIR_LABEL, rc);
        return rc;
    }
    static BOOL ClickCell(CVEKUWTRuleListCtrl& grid, int nRow, int nCol, UINT nModifiers = 0)
    {
        return VekInput::Click(grid.m_hWnd, CellRect(grid, nRow, nCol).CenterPoint(), nModifiers);
    }
    static BOOL DoubleClickCell(CVEKUWTRuleListCtrl& grid, int nRow, int nCol)
    {
        return VekInput::DoubleClick(grid.m_hWnd, CellRect(grid, nRow, nCol).CenterPoint());
    }
    static CWnd* TextEditor(CVEKUWTRuleListCtrl& grid) { return grid.GetDlgItem(IDC_CELL_EDIT); }
    static CComboBox* ListEditor(CVEKUWTRuleListCtrl& grid)
    {
        return static_cast<CComboBox*>(grid.GetDlgItem(IDC_CELL_COMBO));
    }
    static bool Visible(CWnd* pWnd) { return pWnd && pWnd->IsWindowVisible(); }
    static CString TextOf(CWnd* pWnd)
    {
        CString str;
        if (pWnd)
            pWnd->GetWindowText(str);
        return str;
    }
    // Drops the open list editor's list and clicks the entry nIndex.
    static void ChooseEntry(CVEKUWTRuleListCtrl& grid, int nIndex)
    {
        CComboBox* pCombo = ListEditor(grid);
        ASSERT_TRUE(Visible(pCombo));
        ASSERT_TRUE(VekInput::Click(pCombo->m_hWnd));
        COMBOBOXINFO info = {};
        ASSERT_TRUE(pCombo->GetComboBoxInfo(&info));
        CRect rcItem;
        ::SendMessageW(info.hwndList, LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rcItem));
        POINT pt = rcItem.CenterPoint();
        ClientToScreen(info.hwndList, &pt);
        ASSERT_TRUE(VekInput::ClickAt(pt));
        ASSERT_FALSE(pCombo->GetDroppedState());
    }
};

// ---------------------------------------------------------------------------------------------
// Editor windows

TEST_F(GridFixture, EditorsAreCreatedOnFirstUseAndGoWithTheGrid)
{
    HWND hEdit = nullptr;
    HWND hCombo = nullptr;
    Run([&](CVEKUWTRuleListCtrl& grid) {
        EXPECT_TRUE(grid.IsKindOf(RUNTIME_CLASS(CVEKListCtrl)));
        EXPECT_STREQ("CVEKUWTRuleListCtrl", grid.GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(nullptr, TextEditor(grid));
        EXPECT_EQ(nullptr, ListEditor(grid));
        EXPECT_EQ(-1, grid.GetCurRow());

        ASSERT_TRUE(ClickCell(grid, 1, 1));
        CWnd* pEdit = TextEditor(grid);
        ASSERT_TRUE(Visible(pEdit));
        hEdit = pEdit->m_hWnd;
        EXPECT_EQ(0x50810084u, pEdit->GetStyle());
        EXPECT_EQ(260u, static_cast<UINT>(pEdit->SendMessage(EM_GETLIMITTEXT)));
        EXPECT_EQ(grid.GetFont()->m_hObject, pEdit->GetFont()->m_hObject);
        CRect rcCell = CellRect(grid, 1, 1);
        rcCell.InflateRect(0, 2);
        CRect rcEdit;
        pEdit->GetWindowRect(&rcEdit);
        grid.ScreenToClient(&rcEdit);
        EXPECT_EQ(rcCell, rcEdit);
        // The cell's text is selected whole, and the editor has the focus.
        EXPECT_EQ(L"1.5", TextOf(pEdit));
        EXPECT_EQ(MAKELONG(0, 3), static_cast<LONG>(pEdit->SendMessage(EM_GETSEL)));
        EXPECT_EQ(pEdit->m_hWnd, ::GetFocus());

        ASSERT_TRUE(DoubleClickCell(grid, 4, 0));
        CComboBox* pCombo = ListEditor(grid);
        ASSERT_TRUE(Visible(pCombo));
        hCombo = pCombo->m_hWnd;
        EXPECT_EQ(static_cast<DWORD>(0x210003 | WS_VISIBLE | WS_CHILD), pCombo->GetStyle());
        EXPECT_EQ(grid.GetFont()->m_hObject, pCombo->GetFont()->m_hObject);
        EXPECT_EQ(pCombo->m_hWnd, ::GetFocus());
        EXPECT_EQ(4, pCombo->GetCount());
        // The double click's first press committed the text editor.
        EXPECT_FALSE(Visible(pEdit));
        EXPECT_EQ(4, grid.GetCurRow());
        EXPECT_EQ(0, grid.GetCurCol());
    });
    EXPECT_TRUE(hEdit && !IsWindow(hEdit));
    EXPECT_TRUE(hCombo && !IsWindow(hCombo));
}

// A grid object that goes while its window lives takes its editors' windows with it, the list
// editor's attached drop-down list included.
TEST_F(GridFixture, DeletingTheGridObjectDestroysItsEditors)
{
    HWND hGrid = nullptr;
    HWND hEdit = nullptr;
    HWND hCombo = nullptr;
    Run([&](CVEKUWTRuleListCtrl& dialogGrid) {
        auto* pGrid = new CVEKUWTRuleListCtrl;
        CRect rc(0, 0, 300, 200);
        ASSERT_TRUE(pGrid->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT, rc, &dlg, 4242));
        hGrid = pGrid->m_hWnd;
        pGrid->SetColumns({L"Material", L"Thickness"});
        pGrid->InsertItem(0, L"Steel");
        pGrid->SetComboItems({L"Steel", L"Bronze"});
        ASSERT_TRUE(ClickCell(*pGrid, 0, 1));
        ASSERT_TRUE(DoubleClickCell(*pGrid, 0, 0));
        ChooseEntry(*pGrid, 1);
        hEdit = TextEditor(*pGrid)->m_hWnd;
        hCombo = ListEditor(*pGrid)->m_hWnd;
        delete pGrid;
        EXPECT_FALSE(IsWindow(hGrid));
        EXPECT_FALSE(IsWindow(hEdit));
        EXPECT_FALSE(IsWindow(hCombo));
        EXPECT_TRUE(IsWindow(dialogGrid.m_hWnd));
    });
    EXPECT_TRUE(hEdit && hCombo);
}

TEST_F(GridFixture, SetColumnsASecondTimeLeavesTheColumns)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        grid.SetColumns({L"A", L"B", L"C"});
        ASSERT_EQ(2, grid.GetHeaderCtrl()->GetItemCount());
        LVCOLUMN col = {};
        wchar_t szTitle[32] = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = szTitle;
        col.cchTextMax = 32;
        ASSERT_TRUE(grid.GetColumn(1, &col));
        EXPECT_STREQ(L"Thickness (mm)", szTitle);
        EXPECT_EQ(120, col.cx);
        EXPECT_EQ(200, grid.GetColumnWidth(0));
        // Still a two-column grid: Right in the number column only commits.
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::Type(L"4"));
        ASSERT_TRUE(VekInput::KeyDown(VK_RIGHT));
        EXPECT_FALSE(Visible(TextEditor(grid)));
        EXPECT_EQ(L"4", grid.GetItemText(0, 1));
        EXPECT_EQ(1, grid.GetCurCol());
    });
}

// ---------------------------------------------------------------------------------------------
// Names: the list editor on column 0

TEST_F(GridFixture, ListEditorOffersTheNamesAndShowsTheCellsName)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(DoubleClickCell(grid, 1, 0));
        CComboBox* pCombo = ListEditor(grid);
        ASSERT_TRUE(Visible(pCombo));
        std::vector<CString> entries;
        for (int i = 0; i < pCombo->GetCount(); ++i)
        {
            CString str;
            pCombo->GetLBText(i, str);
            entries.push_back(str);
        }
        EXPECT_EQ(dlg.m_vecOffered, entries);
        EXPECT_EQ(1, pCombo->GetCurSel()); // Aluminium
        // New names reach the list editor when it opens next.
        grid.SetComboItems({L"Zinc"});
        EXPECT_EQ(4, pCombo->GetCount());
        // Over an empty row the first name is shown.
        ASSERT_TRUE(DoubleClickCell(grid, 7, 0));
        EXPECT_EQ(1, pCombo->GetCount());
        EXPECT_EQ(0, pCombo->GetCurSel());
        // A double click on a number cell opens no list editor.
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
        ASSERT_TRUE(DoubleClickCell(grid, 1, 1));
        EXPECT_FALSE(Visible(pCombo));
    });
}

// Enter commits the name in the grid and then reaches the dialog: a closed drop-down list does
// not want Enter, so the default button runs OK.
TEST_F(GridFixture, EnterInTheListEditorCommitsTheNameAndPressesOk)
{
    CString strName;
    CString strValue = L"unchanged";
    dlg.m_vecNamed = {{L"Steel", L"2.5"}};
    EXPECT_EQ(IDOK, Run([&](CVEKUWTRuleListCtrl& grid) {
                  ASSERT_TRUE(DoubleClickCell(grid, 3, 0));
                  ChooseEntry(grid, 2);
                  grid.SetItemText(3, 1, L"9"); // as if typed before
                  ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
                  strName = grid.GetItemText(3, 0);
                  strValue = grid.GetItemText(3, 1);
              }));
    EXPECT_EQ(L"Bronze", strName);
    EXPECT_EQ(L"", strValue);
    EXPECT_EQ(1, dlg.m_nOkRuns);
    EXPECT_TRUE(shown.empty());
}

struct DuplicateCase
{
    const char* name;
    const wchar_t* pszOffered; // a name row 0 ("Steel") holds in some letter case
};

void PrintTo(const DuplicateCase& c, std::ostream* pOut)
{
    *pOut << c.name;
}

class DuplicateNames : public GridFixture, public ::testing::WithParamInterface<DuplicateCase>
{
};

// A name another row holds, in any letter case, is refused with a message; the row keeps its
// name and its number, and the list editor is gone.
TEST_P(DuplicateNames, AreRefusedWithTheRowUnchanged)
{
    dlg.m_vecOffered = {L"Bronze", GetParam().pszOffered};
    dlg.m_vecNamed = {{L"Steel", L"2.5"}, {L"Tin", L"0.5"}};
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(DoubleClickCell(grid, 1, 0));
        ChooseEntry(grid, 1);
        ASSERT_TRUE(ClickCell(grid, 5, 0)); // a click into the grid commits
        EXPECT_EQ(L"Tin", grid.GetItemText(1, 0));
        EXPECT_EQ(L"0.5", grid.GetItemText(1, 1));
        EXPECT_FALSE(Visible(ListEditor(grid)));
        EXPECT_EQ(dlg.m_hWnd, ::GetParent(grid.m_hWnd));
    });
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(CString(GetParam().pszOffered) + L" " + ModuleString(IDS_DUPLICATE_SUFFIX),
              shown[0].strText);
    EXPECT_EQ(L"Grid test", shown[0].strCaption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), shown[0].nType & MB_TYPEMASK);
}

INSTANTIATE_TEST_SUITE_P(LetterCase, DuplicateNames,
                         ::testing::Values(DuplicateCase{"same_case", L"Steel"},
                                           DuplicateCase{"upper_case", L"STEEL"},
                                           DuplicateCase{"lower_case", L"steel"}),
                         [](const ::testing::TestParamInfo<DuplicateCase>& info) {
                             return info.param.name;
                         });

// Choosing the name the row holds already is no duplicate; committing it empties the row's
// number cell like any committed name.
TEST_F(GridFixture, ChoosingTheSameNameAgainEmptiesTheNumber)
{
    dlg.m_vecOffered = {L"Bronze", L"STEEL"};
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(DoubleClickCell(grid, 0, 0));
        EXPECT_EQ(1, ListEditor(grid)->GetCurSel()); // found ignoring case
        ASSERT_TRUE(ClickCell(grid, 6, 0));
        EXPECT_EQ(L"STEEL", grid.GetItemText(0, 0));
        EXPECT_EQ(L"", grid.GetItemText(0, 1));
    });
    EXPECT_TRUE(shown.empty());
}

// With no names offered the list editor opens empty: over a named row it commits the empty
// name, which the empty rows hold, so it is refused; over an empty row it commits.
TEST_F(GridFixture, NoOfferedNames)
{
    dlg.m_vecOffered.clear();
    int nEntries = -1;
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(DoubleClickCell(grid, 0, 0));
        nEntries = ListEditor(grid)->GetCount();
        EXPECT_EQ(L"", TextOf(ListEditor(grid)));
        ASSERT_TRUE(ClickCell(grid, 9, 0));
        EXPECT_EQ(L"Steel", grid.GetItemText(0, 0));
        EXPECT_EQ(L"2.5", grid.GetItemText(0, 1));

        ASSERT_TRUE(DoubleClickCell(grid, 9, 0));
        grid.SetItemText(9, 1, L"3");
        ASSERT_TRUE(ClickCell(grid, 10, 0));
        EXPECT_EQ(L"", grid.GetItemText(9, 0));
        EXPECT_EQ(L"", grid.GetItemText(9, 1));
    });
    EXPECT_EQ(0, nEntries);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L" " + ModuleString(IDS_DUPLICATE_SUFFIX), shown[0].strText);
}

// ---------------------------------------------------------------------------------------------
// Numbers: the text editor on the number columns

TEST_F(GridFixture, ANumberCellOfAnEmptyRowOpensNothingAndSelectsNothing)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        ASSERT_EQ(0, grid.GetNextItem(-1, LVNI_SELECTED));
        ASSERT_TRUE(ClickCell(grid, 5, 1));
        EXPECT_EQ(nullptr, TextEditor(grid));
        EXPECT_EQ(0, grid.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_EQ(1u, grid.GetSelectedCount());
        EXPECT_EQ(-1, grid.GetCurRow());
        // A click on a named row's number cell opens the editor, still without selecting.
        ASSERT_TRUE(ClickCell(grid, 1, 1));
        EXPECT_TRUE(Visible(TextEditor(grid)));
        EXPECT_EQ(0, grid.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_EQ(0, grid.GetNextItem(-1, LVNI_FOCUSED));
    });
}

// Enter commits the cell through the grid and presses nothing: the editor's Enter request goes
// to its parent, the grid, which has no default button.
TEST_F(GridFixture, EnterInTheTextEditorCommitsAndTheDialogStaysOpen)
{
    bool bRunning = false;
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::Type(L"3.75"));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
        EXPECT_EQ(L"3.75", grid.GetItemText(0, 1));
        EXPECT_FALSE(Visible(TextEditor(grid)));
        bRunning = dlg.IsModalRunning();
    });
    EXPECT_TRUE(bRunning);
    EXPECT_EQ(0, dlg.m_nOkRuns);
}

enum class Commit
{
    Enter,
    Click,
    Up,
    Down,
    Left,
    Right,
};

struct NumberCheckCase
{
    const char* name;
    Commit commit;
    const wchar_t* pszTyped;
    const wchar_t* pszStored;
};

void PrintTo(const NumberCheckCase& c, std::ostream* pOut)
{
    *pOut << c.name;
}

class NumberChecks : public GridFixture, public ::testing::WithParamInterface<NumberCheckCase>
{
};

// Enter and a click check the typed text; Tab and the arrows store it as it is.
TEST_P(NumberChecks, OnlyEnterAndAClickCheck)
{
    const NumberCheckCase& c = GetParam();
    dlg.m_vecNamed = {{L"Steel", L"2.5"}, {L"Aluminium", L"1.5"}, {L"Bronze", L"3"}};
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 1, 1));
        ASSERT_TRUE(VekInput::Type(c.pszTyped));
        switch (c.commit)
        {
        case Commit::Enter:
            ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
            break;
        case Commit::Click:
            ASSERT_TRUE(ClickCell(grid, 2, 0));
            break;
        case Commit::Up:
            ASSERT_TRUE(VekInput::KeyDown(VK_UP));
            break;
        case Commit::Down:
            ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
            break;
        case Commit::Left:
            ASSERT_TRUE(VekInput::KeyDown(VK_LEFT));
            break;
        case Commit::Right:
            ASSERT_TRUE(VekInput::KeyDown(VK_RIGHT));
            break;
        }
        EXPECT_EQ(c.pszStored, grid.GetItemText(1, 1));
    });
    EXPECT_TRUE(shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commits, NumberChecks,
    ::testing::Values(NumberCheckCase{"enter_number", Commit::Enter, L"12.5", L"12.5"},
                      NumberCheckCase{"enter_sign", Commit::Enter, L"-1", L""},
                      NumberCheckCase{"enter_comma", Commit::Enter, L"1,5", L""},
                      NumberCheckCase{"click_exponent", Commit::Click, L"1e3", L""},
                      NumberCheckCase{"click_points", Commit::Click, L"1.2.3", L"1.2.3"},
                      NumberCheckCase{"up_sign", Commit::Up, L"-1", L"-1"},
                      NumberCheckCase{"down_letters", Commit::Down, L"abc", L"abc"},
                      NumberCheckCase{"left_exponent", Commit::Left, L"1e3", L"1e3"},
                      NumberCheckCase{"right_comma", Commit::Right, L"1,5", L"1,5"}),
    [](const ::testing::TestParamInfo<NumberCheckCase>& info) { return info.param.name; });

// The arrows move the editor between rows; on the first and the last row they commit and open
// nothing, and the key goes no further.
TEST_F(GridFixture, ArrowsAtTheEdgesCommitAndOpenNothing)
{
    dlg.m_vecNamed = {{L"Steel", L"2.5"}};
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        ASSERT_EQ(kEmptyRows, nLast);
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::Type(L"7"));
        ASSERT_TRUE(VekInput::KeyDown(VK_UP));
        EXPECT_EQ(L"7", grid.GetItemText(0, 1));
        EXPECT_FALSE(Visible(TextEditor(grid)));
        EXPECT_EQ(0, grid.GetCurRow());

        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
        EXPECT_TRUE(Visible(TextEditor(grid)));
        EXPECT_EQ(1, grid.GetCurRow());

        // The last row, named and scrolled into view.
        grid.SetItemText(nLast, 0, L"Tin");
        grid.EnsureVisible(nLast, FALSE);
        ASSERT_TRUE(ClickCell(grid, nLast, 1));
        ASSERT_EQ(nLast, grid.GetCurRow());
        ASSERT_TRUE(VekInput::Type(L"8"));
        ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
        EXPECT_EQ(L"8", grid.GetItemText(nLast, 1));
        EXPECT_FALSE(Visible(TextEditor(grid)));
        EXPECT_EQ(nLast, grid.GetCurRow());
        // The key was the grid's: the list's own selection did not move either.
        EXPECT_EQ(0u, grid.GetSelectedCount());
    });
}

// In the last number column Tab is not the grid's: the editor stays open with its text, the
// cell keeps its old text, and the dialog moves the focus on.
TEST_F(GridFixture, TabInTheLastColumnLeavesTheEditorAndMovesTheFocusOn)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::Type(L"6"));
        ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        EXPECT_TRUE(Visible(TextEditor(grid)));
        EXPECT_EQ(L"6", TextOf(TextEditor(grid)));
        EXPECT_EQ(L"2.5", grid.GetItemText(0, 1));
        EXPECT_EQ(kThicknessBox, GetDlgCtrlID(::GetFocus()));
    });
}

// Tab from the list editor opens the text editor in the next column; the list editor stays
// shown, uncommitted.
TEST_F(GridFixture, TabFromTheListEditorOpensTheNumberColumn)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(DoubleClickCell(grid, 5, 0));
        ChooseEntry(grid, 3);
        ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        EXPECT_TRUE(Visible(TextEditor(grid)));
        EXPECT_TRUE(Visible(ListEditor(grid)));
        EXPECT_EQ(5, grid.GetCurRow());
        EXPECT_EQ(1, grid.GetCurCol());
        EXPECT_EQ(L"", grid.GetItemText(5, 0));
    });
}

// A grid with an upper-bound column: the range check runs with the number check.
TEST_F(GridFixture, ALowerValueAboveTheUpperOneIsRefused)
{
    dlg.m_vecTitles = {L"Material", L"Minimum", L"Maximum"};
    dlg.m_vecNamed = {{L"Steel", L""}};
    struct Row
    {
        const wchar_t* pszTyped;
        const wchar_t* pszStored;
        bool bMessage;
    } rows[] = {{L"5", L"", true}, {L"3.0000005", L"3.0000005", false}, {L"2", L"2", false}};
    std::vector<CString> stored;
    Run([&](CVEKUWTRuleListCtrl& grid) {
        grid.SetItemText(0, 2, L"3");
        for (const Row& row : rows)
        {
            ASSERT_TRUE(ClickCell(grid, 0, 1));
            ASSERT_TRUE(VekInput::Type(row.pszTyped));
            ASSERT_TRUE(ClickCell(grid, 4, 0));
            stored.push_back(grid.GetItemText(0, 1));
        }
        // Tab between the two number columns commits without checks.
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::Type(L"9"));
        ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        stored.push_back(grid.GetItemText(0, 1));
        EXPECT_EQ(2, grid.GetCurCol());
        EXPECT_EQ(::GetFocus(), TextEditor(grid)->m_hWnd);
    });
    EXPECT_EQ((std::vector<CString>{L"", L"3.0000005", L"2", L"9"}), stored);
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(ModuleString(IDS_VALUE_RANGE), shown[0].strText);
    EXPECT_EQ(L"Ortiva", shown[0].strCaption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), shown[0].nType);
}

// ---------------------------------------------------------------------------------------------
// Escape and Delete

TEST_F(GridFixture, EscapeHidesAnOpenEditorAndOtherwiseCancelsTheDialog)
{
    bool bRunningAfterFirst = false;
    EXPECT_EQ(IDCANCEL, Run([&](CVEKUWTRuleListCtrl& grid) {
                  ASSERT_TRUE(ClickCell(grid, 0, 1));
                  ASSERT_TRUE(VekInput::Type(L"4"));
                  ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
                  EXPECT_FALSE(Visible(TextEditor(grid)));
                  EXPECT_EQ(L"2.5", grid.GetItemText(0, 1));
                  bRunningAfterFirst = dlg.IsModalRunning();
                  ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
                  if (dlg.IsModalRunning())
                      dlg.EndDialog(IDOK); // Escape did not reach the dialog
              }));
    EXPECT_TRUE(bRunningAfterFirst);
}

// Delete replaces the selected rows by empty ones whatever has the focus, and the focused
// control never sees the key.
TEST_F(GridFixture, DeleteWithTheFocusElsewhereEmptiesTheSelectedRows)
{
    dlg.m_vecNamed = {{L"Steel", L"2.5"}, {L"Aluminium", L"1.5"}, {L"Bronze", L"3"}};
    std::vector<CString> names;
    CString strBox;
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        ASSERT_TRUE(ClickCell(grid, 2, 0, VEK_MOD_CONTROL));
        ASSERT_EQ(2u, grid.GetSelectedCount());
        ASSERT_TRUE(VekInput::Click(dlg.GetDlgItem(kThicknessBox)->m_hWnd));
        ASSERT_TRUE(VekInput::Type(L"12"));
        ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
        ASSERT_TRUE(VekInput::KeyDown(VK_DELETE));
        dlg.GetDlgItem(kThicknessBox)->GetWindowText(strBox);
        for (int i = 0; i < 4; ++i)
            names.push_back(grid.GetItemText(i, 0) + L"|" + grid.GetItemText(i, 1));
        EXPECT_EQ(kEmptyRows + 3, grid.GetItemCount());
        EXPECT_EQ(0u, grid.GetSelectedCount());
        // Nothing selected: Delete is the box's again.
        ASSERT_TRUE(VekInput::KeyDown(VK_DELETE));
        dlg.GetDlgItem(kThicknessBox)->GetWindowText(strBox);
    });
    EXPECT_EQ((std::vector<CString>{L"|", L"Aluminium|1.5", L"|", L"|"}), names);
    EXPECT_EQ(L"2", strBox);
}

TEST_F(GridFixture, DeleteIsTheEditorsWhileItIsOpen)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
        ASSERT_TRUE(VekInput::KeyDown(VK_DELETE));
        EXPECT_EQ(L".5", TextOf(TextEditor(grid)));
        EXPECT_EQ(L"Steel", grid.GetItemText(0, 0));
        EXPECT_EQ(1u, grid.GetSelectedCount());
    });
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Scrolling

TEST_F(GridFixture, TheKeyboardReachesTheLastRow)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        ASSERT_EQ(grid.m_hWnd, ::GetFocus());
        ASSERT_TRUE(VekInput::KeyDown(VK_END));
        EXPECT_EQ(nLast, grid.GetNextItem(-1, LVNI_FOCUSED));
        EXPECT_GT(grid.GetTopIndex() + grid.GetCountPerPage(), nLast);
        ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
        EXPECT_EQ(0, grid.GetTopIndex());
        for (int i = 0; i < nLast; ++i)
            ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
        EXPECT_EQ(nLast, grid.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_GT(grid.GetTopIndex() + grid.GetCountPerPage(), nLast);
        // The grid's own keys did not open an editor on the way.
        EXPECT_EQ(nullptr, TextEditor(grid));
    });
}

TEST_F(GridFixture, PageDownReachesTheLastRow)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        for (int i = 0; i <= nLast && grid.GetNextItem(-1, LVNI_FOCUSED) < nLast; ++i)
            ASSERT_TRUE(VekInput::KeyDown(VK_NEXT));
        EXPECT_EQ(nLast, grid.GetNextItem(-1, LVNI_FOCUSED));
        EXPECT_GT(grid.GetTopIndex() + grid.GetCountPerPage(), nLast);
    });
}

// After scrolling, a click or a double click opens its editor over the cell under the pointer,
// not over the row that was there before.
TEST_F(GridFixture, AClickAfterScrollingOpensTheCellUnderThePointer)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        const int nTarget = nLast - 3;
        grid.SetItemText(nTarget, 0, L"Titanium");
        grid.SetItemText(nTarget, 1, L"0.8");
        const CPoint ptBefore = CellRect(grid, 1, 1).CenterPoint();
        ASSERT_TRUE(ClickCell(grid, 0, 0));
        ASSERT_TRUE(VekInput::KeyDown(VK_END));
        ASSERT_GT(grid.GetTopIndex(), 0);

        CRect rcCell = CellRect(grid, nTarget, 1);
        ASSERT_TRUE(VekInput::Click(grid.m_hWnd, rcCell.CenterPoint()));
        EXPECT_EQ(nTarget, grid.GetCurRow());
        EXPECT_EQ(L"0.8", TextOf(TextEditor(grid)));
        CRect rcEdit;
        TextEditor(grid)->GetWindowRect(&rcEdit);
        grid.ScreenToClient(&rcEdit);
        rcCell.InflateRect(0, 2);
        EXPECT_EQ(rcCell, rcEdit);

        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
        ASSERT_TRUE(VekInput::DoubleClick(grid.m_hWnd, CellRect(grid, nTarget, 0).CenterPoint()));
        EXPECT_EQ(nTarget, grid.GetCurRow());
        EXPECT_EQ(L"Titanium", TextOf(ListEditor(grid)));

        // The point where row 1 was shows an empty row now: nothing opens there.
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
        ASSERT_TRUE(VekInput::Click(grid.m_hWnd, ptBefore));
        EXPECT_FALSE(Visible(TextEditor(grid)));
        EXPECT_EQ(nTarget, grid.GetCurRow());
    });
}

// A click on the scroll bar scrolls through OnVScroll: the grid is repainted at once and an
// open editor stays where it was, over whatever cell is now beneath it; page clicks reach the
// last row.
TEST_F(GridFixture, TheScrollBarScrollsAndLeavesTheEditorInPlace)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        ASSERT_TRUE(grid.GetStyle() & WS_VSCROLL);
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        CRect rcBefore;
        TextEditor(grid)->GetWindowRect(&rcBefore);
        const int nPaintsBefore = dlg.m_grid.m_nPaints;

        SCROLLBARINFO sbi = {};
        sbi.cbSize = sizeof(sbi);
        ASSERT_TRUE(GetScrollBarInfo(grid.m_hWnd, OBJID_VSCROLL, &sbi));
        const CRect rcBar(sbi.rcScrollBar);
        const CPoint ptDownArrow(rcBar.CenterPoint().x, rcBar.bottom - sbi.dxyLineButton / 2);
        ASSERT_TRUE(VekInput::ClickAt(ptDownArrow));
        EXPECT_EQ(1, grid.GetTopIndex());
        EXPECT_GT(dlg.m_grid.m_nPaints, nPaintsBefore);
        CRect rcAfter;
        TextEditor(grid)->GetWindowRect(&rcAfter);
        EXPECT_EQ(rcBefore, rcAfter);
        EXPECT_TRUE(Visible(TextEditor(grid)));
        EXPECT_EQ(0, grid.GetCurRow());

        // Page clicks just above the down arrow, below the thumb, until the end.
        const CPoint ptPage(ptDownArrow.x, rcBar.bottom - sbi.dxyLineButton - 1);
        for (int i = 0; i <= nLast && grid.GetTopIndex() + grid.GetCountPerPage() <= nLast; ++i)
            ASSERT_TRUE(VekInput::ClickAt(ptPage));
        EXPECT_GT(grid.GetTopIndex() + grid.GetCountPerPage(), nLast);
    });
}

// The wheel turns the list under an open editor: the editor stays where it was, and the last
// row comes into view.
TEST_F(GridFixture, TheWheelReachesTheLastRowAndLeavesTheEditorInPlace)
{
    Run([&](CVEKUWTRuleListCtrl& grid) {
        const int nLast = grid.GetItemCount() - 1;
        ASSERT_TRUE(ClickCell(grid, 0, 1));
        CRect rcBefore;
        TextEditor(grid)->GetWindowRect(&rcBefore);
        CRect rcGrid;
        grid.GetWindowRect(&rcGrid);
        const CPoint ptWheel = rcGrid.CenterPoint();
        ASSERT_TRUE(
            VekRawInput::Wheel(-WHEEL_DELTA, ptWheel, 0, VekRawInput::LastEventTime() + 1000));
        EXPECT_EQ(3, grid.GetTopIndex());
        CRect rcAfter;
        TextEditor(grid)->GetWindowRect(&rcAfter);
        EXPECT_EQ(rcBefore, rcAfter);
        EXPECT_TRUE(Visible(TextEditor(grid)));
        for (int i = 0; i <= nLast && grid.GetTopIndex() + grid.GetCountPerPage() <= nLast; ++i)
            ASSERT_TRUE(
                VekRawInput::Wheel(-WHEEL_DELTA, ptWheel, 0, VekRawInput::LastEventTime() + 1000));
        EXPECT_GT(grid.GetTopIndex() + grid.GetCountPerPage(), nLast);
    });
}
