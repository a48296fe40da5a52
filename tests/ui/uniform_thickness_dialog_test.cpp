// The uniform thickness dialog as the rule's Configure runs it: driven only through the
// platform's input interface under a scripted modal handler, with message boxes answered by a
// script, against a fresh material database and the built resource libraries.
#include <gtest/gtest.h>

#include <CStringPrinting.h>
#include <NumberText.h>
#include <RuleResources.h>
#include <TempMaterialDatabase.h>
#include <VEKUniformThicknessRule.h>
#include <VekMaterialDatabase.h>
#include <VekSnapshotJson.h>
#include <afxcmn.h>
#include <resource.h>
#include <vekinput.h>
#include <vekmsgbox.h>
#include <winnls.h>

#include <deque>
#include <functional>
#include <map>
#include <tuple>
#include <ostream>
#include <string>
#include <vector>

namespace
{
const wchar_t kBinDir[] = L"" VEK_BIN_DIR;

// The module's resources as the application object would give them, in a language the test
// chooses.
class CTestResources : public IRuleResources
{
public:
    HINSTANCE GetResDll() const override { return m_hCurrent; }
    CString LoadDefaultResString(UINT nID) override
    {
        CString str;
        str.LoadString(Library(L"en-US"), nID);
        return str;
    }
    void UseLanguage(const wchar_t* pszLanguage) { m_hCurrent = Library(pszLanguage); }
    // Loaded once per language and kept for the process.
    static HINSTANCE Library(const wchar_t* pszLanguage)
    {
        static std::map<CString, HINSTANCE> s_mapLibraries;
        HINSTANCE& hLibrary = s_mapLibraries[pszLanguage];
        if (hLibrary == nullptr)
        {
            CString strPath;
            strPath.Format(L"%s/res/%s/VEKInvestmentCastRulesResu.so", kBinDir, pszLanguage);
            hLibrary = LoadLibraryW(strPath);
        }
        return hLibrary;
    }

private:
    HINSTANCE m_hCurrent = Library(L"en-US");
};

CTestResources g_resources;
} // namespace

IRuleResources* GetRuleResources()
{
    return &g_resources;
}

namespace
{
struct Shown
{
    CString strText;
    CString strCaption;
    UINT nType;
};

CString ModuleString(UINT nID)
{
    CString str;
    str.LoadString(g_resources.GetResDll(), nID);
    return str;
}

HINSTANCE DatabaseLibrary()
{
    CString strPath;
    strPath.Format(L"%s/VEKDatabaseu.so", kBinDir);
    return LoadLibraryW(strPath);
}

struct DialogFixture : ::testing::Test
{
    CWinApp app{L"Dialog test"};
    CTempMaterialDatabase database;
    HINSTANCE hDatabaseLibrary = DatabaseLibrary();
    HINSTANCE hCallerRes = reinterpret_cast<HINSTANCE>(0x1234);
    HINSTANCE hOldRes = nullptr;
    VekModalHandler oldHandler;
    VekMessageBoxResponder oldResponder;
    std::vector<Shown> shown;
    std::deque<int> answers;
    std::function<void(CDialog&)> materialDbScript;
    std::vector<UINT> templatesRun;
    CVEKUniformThicknessRule* pRule = nullptr;
    HWND hDlg = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(database.IsReady());
        ASSERT_NE(nullptr, hDatabaseLibrary);
        ASSERT_NE(nullptr, g_resources.GetResDll());
        hOldRes = AfxGetResourceHandle();
        pRule = NewRule();
        oldResponder = VekSetMessageBoxResponder(
            [this](HWND, const CString& strText, const CString& strCaption, UINT nType) {
                shown.push_back({strText, strCaption, nType});
                if (answers.empty())
                    return IDOK;
                const int nAnswer = answers.front();
                answers.pop_front();
                return nAnswer;
            });
    }
    void TearDown() override
    {
        delete pRule;
        VekSetModalHandler(oldHandler);
        VekSetMessageBoxResponder(oldResponder);
        AfxSetResourceHandle(hOldRes);
        FreeLibrary(hDatabaseLibrary);
        g_resources.UseLanguage(L"en-US");
        VekSetUserLocaleOverride(LOCALE_SDECIMAL, nullptr);
    }

    static CVEKUniformThicknessRule* NewRule()
    {
        return new CVEKUniformThicknessRule(L"Description", L"VEKInvestmentCastRulesValidator",
                                            VEK_RULE_CATEGORY_INVESTMENT_CASTING, 20010, nullptr);
    }
    CVekParamData<double>* Thickness() const
    {
        return pRule->FindParameterInArray(THICKNESS_PARAMETER_ID)->GetData<double>();
    }
    // Replaces the rule's constraints by (name, thickness) rows with one status flag.
    void SetConstraints(const std::vector<std::pair<CString, double>>& vecRows, bool bStatus)
    {
        pRule->ClearConstraints();
        for (const auto& row : vecRows)
        {
            CVEKConstraint* pConstraint =
                CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, row.first, bStatus);
            CVekParamStorage* pParam = CVekRule::CreateParamStorageObject(
                VEK_TYPE_DOUBLE, THICKNESS_PARAMETER_ID, VEK_OPERATOR_GREATER_EQUAL,
                VEK_PARAM_VALUE, bStatus, false);
            pParam->GetData<double>()->m_arrValues.Append(row.second);
            pConstraint->AddParameter(pParam);
            pRule->m_arrConstraints.Append(pConstraint);
        }
    }
    std::vector<std::pair<CString, double>> Constraints() const
    {
        std::vector<std::pair<CString, double>> vecRows;
        for (int i = 0; i < pRule->m_arrConstraints.GetSize(); ++i)
        {
            CVEKConstraint* pConstraint = pRule->m_arrConstraints[i];
            const auto* pValues =
                pConstraint->FindParameterInArray(THICKNESS_PARAMETER_ID)->GetData<double>();
            vecRows.emplace_back(pConstraint->GetName(), pValues->m_arrValues[0]);
        }
        return vecRows;
    }

    // Runs Configure with the script driving the dialog; a script that leaves it running
    // cancels it. Nested dialogs go to materialDbScript.
    void Configure(std::function<void(CDialog&)> script)
    {
        AfxSetResourceHandle(hCallerRes);
        oldHandler = VekSetModalHandler([&](CDialog& dlg) {
            templatesRun.push_back(dlg.GetTemplateID());
            if (dlg.GetTemplateID() != IDD_UNIFORM_THICKNESS)
            {
                if (materialDbScript)
                    materialDbScript(dlg);
                return;
            }
            hDlg = dlg.m_hWnd;
            script(dlg);
        });
        pRule->Configure();
        EXPECT_EQ(hCallerRes, AfxGetResourceHandle());
    }

    // Input through the platform, addressed as a user sees the dialog.
    HWND Item(int nID) const { return ::GetDlgItem(hDlg, nID); }
    CWnd* Wnd(int nID) const { return CWnd::FromHandle(Item(nID)); }
    bool Checked(int nID) const { return ::IsDlgButtonChecked(hDlg, nID) == BST_CHECKED; }
    bool Enabled(int nID) const { return ::IsWindowEnabled(Item(nID)) != FALSE; }
    bool Running() const { return ::IsWindow(hDlg) && ::IsWindowVisible(hDlg); }
    CString Text(int nID) const
    {
        CString str;
        Wnd(nID)->GetWindowText(str);
        return str;
    }
    CListCtrl& Grid() const { return *static_cast<CListCtrl*>(Wnd(IDC_MATERIAL_GRID)); }
    CListBox& List(int nID) const { return *static_cast<CListBox*>(Wnd(nID)); }
    CComboBox& Combo(int nID) const { return *static_cast<CComboBox*>(Wnd(nID)); }
    BOOL Click(int nID) const { return VekInput::Click(Item(nID)); }
    void ReplaceText(int nID, const wchar_t* pszText) const
    {
        ASSERT_TRUE(Click(nID));
        ASSERT_TRUE(VekInput::KeyDown(VK_END));
        for (int i = Text(nID).GetLength(); i > 0; --i)
            ASSERT_TRUE(VekInput::KeyDown(VK_BACK));
        ASSERT_TRUE(VekInput::Type(pszText));
    }
    // Drops the combo box's list and picks entry nIndex with the keyboard, as a user may.
    void ChooseComboEntry(HWND hCombo, int nIndex) const
    {
        ASSERT_TRUE(VekInput::Click(hCombo));
        ASSERT_TRUE(::SendMessageW(hCombo, CB_GETDROPPEDSTATE, 0, 0));
        ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
        for (int i = 0; i < nIndex; ++i)
            ASSERT_TRUE(VekInput::KeyDown(VK_DOWN));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
        ASSERT_FALSE(::SendMessageW(hCombo, CB_GETDROPPEDSTATE, 0, 0));
        ASSERT_EQ(nIndex, ::SendMessageW(hCombo, CB_GETCURSEL, 0, 0));
        ASSERT_TRUE(Running()) << VekSnapshotForFailure(hDlg);
    }
    void ClickListEntry(int nID, int nIndex) const
    {
        CRect rc;
        ASSERT_NE(LB_ERR, List(nID).GetItemRect(nIndex, &rc));
        ASSERT_TRUE(VekInput::Click(Item(nID), rc.CenterPoint()));
    }
    BOOL ClickCell(int nRow, int nCol, bool bDouble = false) const
    {
        CRect rc;
        Grid().GetSubItemRect(nRow, nCol, LVIR_LABEL, rc);
        return bDouble ? VekInput::DoubleClick(Item(IDC_MATERIAL_GRID), rc.CenterPoint())
                       : VekInput::Click(Item(IDC_MATERIAL_GRID), rc.CenterPoint());
    }
    // Double-clicks a name cell and picks the offered name nIndex.
    void ChooseMaterial(int nRow, int nIndex) const
    {
        ASSERT_TRUE(ClickCell(nRow, 0, true));
        HWND hEditor = ::GetDlgItem(Item(IDC_MATERIAL_GRID), IDC_CELL_COMBO);
        ASSERT_TRUE(hEditor && ::IsWindowVisible(hEditor)) << VekSnapshotForFailure(hDlg);
        // The grid takes the arrow keys, so the entry is clicked in the dropped list.
        ASSERT_TRUE(VekInput::Click(hEditor));
        COMBOBOXINFO info = {};
        ASSERT_TRUE(::GetComboBoxInfo(hEditor, &info));
        CRect rc;
        ::SendMessageW(info.hwndList, LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc));
        POINT pt = rc.CenterPoint();
        ::ClientToScreen(info.hwndList, &pt);
        ASSERT_EQ(info.hwndList, ::WindowFromPoint(pt));
        ASSERT_TRUE(VekInput::ClickAt(pt));
        ASSERT_EQ(nIndex, ::SendMessageW(hEditor, CB_GETCURSEL, 0, 0));
    }
    std::vector<CString> ListTexts(int nID) const
    {
        std::vector<CString> vecTexts;
        for (int i = 0; i < List(nID).GetCount(); ++i)
        {
            CString str;
            List(nID).GetText(i, str);
            vecTexts.push_back(str);
        }
        return vecTexts;
    }
    CString ComboSelection(int nID) const
    {
        CString str;
        const int nSel = Combo(nID).GetCurSel();
        if (nSel >= 0)
            Combo(nID).GetLBText(nSel, str);
        return str;
    }
    // The grid's named rows as (row, name, value).
    std::vector<std::tuple<int, CString, CString>> NamedRows() const
    {
        std::vector<std::tuple<int, CString, CString>> vecRows;
        for (int i = 0; i < Grid().GetItemCount(); ++i)
        {
            if (!Grid().GetItemText(i, 0).IsEmpty())
                vecRows.emplace_back(i, Grid().GetItemText(i, 0), Grid().GetItemText(i, 1));
        }
        return vecRows;
    }
};

using Row = std::tuple<int, CString, CString>;

// ---------------------------------------------------------------------------------------------
// The start

TEST_F(DialogFixture, ANewRuleStartsInUniformModeWithItsSettingsShown)
{
    Configure([&](CDialog&) {
        EXPECT_TRUE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_TRUE(Enabled(IDC_OPERATOR));
        EXPECT_TRUE(Enabled(IDC_THICKNESS));
        EXPECT_TRUE(Enabled(IDC_LIMIT_CHECK));
        for (int nID : {IDC_DB_MODULE, IDC_EDIT_MATERIAL_DB, IDC_AVAILABLE_GROUPS,
                        IDC_SELECTED_GROUPS, IDC_MATERIAL_GRID})
            EXPECT_FALSE(Enabled(nID)) << nID;
        EXPECT_TRUE(Enabled(IDOK));

        EXPECT_EQ(2, Combo(IDC_OPERATOR).GetCount());
        EXPECT_EQ(L">=", ComboSelection(IDC_OPERATOR));
        EXPECT_EQ(L"1.0", Text(IDC_THICKNESS));
        EXPECT_EQ(5, Combo(IDC_SEVERITY).GetCount());
        EXPECT_EQ(ModuleString(IDS_SEVERITY_2), ComboSelection(IDC_SEVERITY));
        EXPECT_EQ(L"mm", Text(IDC_THICKNESS_UNIT));
        EXPECT_EQ(L"mm", Text(IDC_MATERIAL_UNIT));
        EXPECT_EQ(L"Investment Casting Materials", ComboSelection(IDC_DB_MODULE));

        // The catalogue holds all eight casting categories; they are offered from the start.
        EXPECT_EQ((std::vector<CString>{L"Steel", L"Iron", L"Aluminium Alloys", L"Other Metals",
                                        L"Copper and its Alloys", L"Zinc and its Alloys",
                                        L"Magnesium and its Alloys", L"Titanium Alloys"}),
                  ListTexts(IDC_SELECTED_GROUPS));
        EXPECT_LT(8, List(IDC_AVAILABLE_GROUPS).GetCount());

        // The grid: the rule's six materials above 260 empty rows.
        CListCtrl& grid = Grid();
        EXPECT_EQ(266, grid.GetItemCount());
        EXPECT_EQ(0x471u, grid.GetExtendedStyle());
        EXPECT_EQ(120, VekGetFontPointSize(
                           static_cast<HFONT>(grid.GetHeaderCtrl()->GetFont()->m_hObject)));
        LOGFONT lf = {};
        grid.GetHeaderCtrl()->GetFont()->GetLogFont(&lf);
        EXPECT_STREQ(L"Courier", lf.lfFaceName);
        wchar_t szTitle[64] = {};
        LVCOLUMN col = {};
        col.mask = LVCF_TEXT;
        col.pszText = szTitle;
        col.cchTextMax = 64;
        ASSERT_TRUE(grid.GetColumn(1, &col));
        EXPECT_STREQ(L"Thickness (mm)", szTitle);
        EXPECT_EQ((Row{0, L"Aluminium", L"1.0"}), NamedRows().front());
        EXPECT_EQ(6u, NamedRows().size());
    });
    EXPECT_EQ(std::vector<UINT>{IDD_UNIFORM_THICKNESS}, templatesRun);
}

TEST_F(DialogFixture, ARuleWithoutConstraintsStartsUniformEvenWithTheFlagClear)
{
    pRule->ClearConstraints();
    Thickness()->m_bCriteriaStatus = false;
    Configure([&](CDialog&) {
        EXPECT_TRUE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_EQ(260, Grid().GetItemCount());
    });
}

TEST_F(DialogFixture, ARuleWithPerMaterialConstraintsStartsInPerMaterialMode)
{
    Thickness()->m_bCriteriaStatus = false;
    SetConstraints({{L"Steel", 2.5}, {L"A356.0", 1.25}}, true);
    Configure([&](CDialog&) {
        EXPECT_FALSE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_TRUE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_FALSE(Enabled(IDC_OPERATOR));
        EXPECT_FALSE(Enabled(IDC_THICKNESS));
        EXPECT_FALSE(Enabled(IDC_LIMIT_CHECK));
        for (int nID : {IDC_DB_MODULE, IDC_EDIT_MATERIAL_DB, IDC_AVAILABLE_GROUPS,
                        IDC_SELECTED_GROUPS, IDC_MATERIAL_GRID, IDC_ADD_GROUPS, IDC_REMOVE_GROUPS})
            EXPECT_TRUE(Enabled(nID)) << nID;
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.5"}, {1, L"A356.0", L"1.25"}}), NamedRows());
    });
}

// With the criteria flag and the first constraint's status both set, the start runs the uniform
// box's logic and then the material box's: the uniform box, checked first, clears the material
// box, whose logic then checks the uniform box again.
TEST_F(DialogFixture, WithBothFlagsSetTheDialogStartsInUniformMode)
{
    Thickness()->m_bCriteriaStatus = true;
    SetConstraints({{L"Steel", 2.5}}, true);
    Configure([&](CDialog&) {
        EXPECT_TRUE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_TRUE(Enabled(IDC_THICKNESS));
        EXPECT_FALSE(Enabled(IDC_MATERIAL_GRID));
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.5"}}), NamedRows());
    });
}

// The limit box is enabled exactly while the material box is clear, whichever box cleared it;
// clearing the uniform box leaves both clear and OK disabled.
TEST_F(DialogFixture, TheCheckBoxesSwitchModesAndTheLimitBoxFollowsTheMaterialBox)
{
    Configure([&](CDialog&) {
        ASSERT_TRUE(Click(IDC_MATERIAL_CHECK));
        EXPECT_FALSE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Enabled(IDC_LIMIT_CHECK));
        EXPECT_TRUE(Enabled(IDC_MATERIAL_GRID));

        ASSERT_TRUE(Click(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_TRUE(Enabled(IDC_LIMIT_CHECK));
        EXPECT_FALSE(Enabled(IDC_MATERIAL_GRID));
        EXPECT_TRUE(Enabled(IDC_THICKNESS));

        ASSERT_TRUE(Click(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_FALSE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_FALSE(Enabled(IDC_THICKNESS));
        EXPECT_FALSE(Enabled(IDOK));
        EXPECT_TRUE(Enabled(IDC_LIMIT_CHECK));

        ASSERT_TRUE(Click(IDC_LIMIT_CHECK));
        EXPECT_FALSE(Enabled(IDOK));
        ASSERT_TRUE(Click(IDC_MATERIAL_CHECK));
        ASSERT_TRUE(Click(IDC_MATERIAL_CHECK));
        // Clearing the material box checks the uniform box again.
        EXPECT_TRUE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_TRUE(Enabled(IDC_LIMIT_CHECK));
        EXPECT_TRUE(Enabled(IDOK));
    });
}

TEST_F(DialogFixture, ForACastingRuleTheCategoriesTheDatabaseKnowsAreSelected)
{
    // A database of its own: only Steel, Iron and a group that is no casting category.
    std::string strError;
    auto pDb =
        vek_db::OpenMaterialDatabase(database.GetPath(), vek_db::OpenMode::CreateEmpty, strError);
    ASSERT_TRUE(pDb) << strError;
    for (const wchar_t* pszGroup : {L"Woods", L"Iron", L"Steel"})
        ASSERT_EQ(0, pDb->AddGrade(pszGroup, L"Grade A", 0));
    pDb.reset();
    Configure([&](CDialog&) {
        EXPECT_EQ((std::vector<CString>{L"Woods", L"Iron", L"Steel"}),
                  ListTexts(IDC_AVAILABLE_GROUPS));
        EXPECT_EQ((std::vector<CString>{L"Steel", L"Iron"}), ListTexts(IDC_SELECTED_GROUPS));
    });
}

// Without the database library the start stops before the lists and the grid; OK then does what
// the dialog says literally and writes an empty constraint list.
TEST_F(DialogFixture, WithoutTheDatabaseLibraryTheStartStopsEarly)
{
    FreeLibrary(hDatabaseLibrary);
    hDatabaseLibrary = nullptr;
    ASSERT_EQ(nullptr, GetModuleHandleW(L"VEKDatabaseu.dll"));
    Thickness()->m_bCriteriaStatus = true;
    Configure([&](CDialog&) {
        EXPECT_TRUE(Checked(IDC_UNIFORM_CHECK));
        EXPECT_EQ(0, Combo(IDC_DB_MODULE).GetCount());
        EXPECT_EQ(0, List(IDC_AVAILABLE_GROUPS).GetCount());
        EXPECT_EQ(0, Grid().GetItemCount());
        EXPECT_EQ(L"1.0", Text(IDC_THICKNESS));
        ASSERT_TRUE(Click(IDOK));
        EXPECT_FALSE(Running());
    });
    hDatabaseLibrary = DatabaseLibrary();
    EXPECT_EQ(0, pRule->m_arrConstraints.GetSize());
    EXPECT_TRUE(pRule->m_strDBModuleFile.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// OK and its checks

TEST_F(DialogFixture, OkIsRefusedWithAZeroUniformThickness)
{
    const auto vecBefore = Constraints();
    for (const wchar_t* pszText : {L"", L"0", L"0.000"})
    {
        shown.clear();
        Configure([&](CDialog&) {
            ReplaceText(IDC_THICKNESS, pszText);
            ASSERT_TRUE(Click(IDOK));
            EXPECT_TRUE(Running());
        });
        ASSERT_EQ(1u, shown.size()) << "text " << CString(pszText).GetLength();
        EXPECT_EQ(ModuleString(IDS_ZERO_THICKNESS), shown[0].strText);
        EXPECT_EQ(MB_OK, shown[0].nType & MB_TYPEMASK);
        EXPECT_EQ(1.0, Thickness()->m_arrValues[0]);
        EXPECT_EQ(vecBefore, Constraints());
    }
}

// The grid's open editor is committed before the rows are checked: emptied, or holding text that
// is no number, its cell counts as empty.
TEST_F(DialogFixture, OkIsRefusedForANamedRowWithoutThickness)
{
    SetConstraints({{L"Steel", 2.5}, {L"Iron", 3.0}}, true);
    for (const wchar_t* pszTyped : {L"", L"abc"})
    {
        shown.clear();
        Configure([&](CDialog&) {
            ASSERT_TRUE(ClickCell(1, 1));
            ASSERT_TRUE(VekInput::KeyDown(VK_BACK));
            ASSERT_TRUE(VekInput::Type(pszTyped));
            ASSERT_TRUE(Click(IDOK));
            EXPECT_TRUE(Running());
            EXPECT_EQ(L"", Grid().GetItemText(1, 1));
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(Item(IDC_MATERIAL_GRID), IDC_CELL_EDIT)));
        });
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(ModuleString(IDS_MISSING_THICKNESS), shown[0].strText);
        EXPECT_EQ(L"Ortiva", shown[0].strCaption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), shown[0].nType);
        EXPECT_EQ((std::vector<std::pair<CString, double>>{{L"Steel", 2.5}, {L"Iron", 3.0}}),
                  Constraints());
    }
}

TEST_F(DialogFixture, OkIsDisabledWhileEveryRowIsEmptyAndEnabledOnceAMaterialIsChosen)
{
    // A first constraint without a name sets the mode but shows no row.
    SetConstraints({{L"", 1.0}}, true);
    Configure([&](CDialog&) {
        ASSERT_TRUE(Checked(IDC_MATERIAL_CHECK));
        EXPECT_TRUE(NamedRows().empty());
        EXPECT_FALSE(Enabled(IDOK));
        ChooseMaterial(3, 0);
        ASSERT_TRUE(ClickCell(3, 1)); // commits the name, opens the thickness
        EXPECT_EQ(L"Steel", Grid().GetItemText(3, 0));
        EXPECT_TRUE(Enabled(IDOK));
        ASSERT_TRUE(VekInput::Type(L"4.5"));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN)); // commits the cell; the dialog stays
        ASSERT_TRUE(Running());
        EXPECT_EQ(L"4.5", Grid().GetItemText(3, 1));
        ASSERT_TRUE(Click(IDOK));
        EXPECT_FALSE(Running());
    });
    ASSERT_EQ(0u, shown.size()) << ::testing::PrintToString(shown[0].strText);
    EXPECT_EQ((std::vector<std::pair<CString, double>>{{L"Steel", 4.5}}), Constraints());
    EXPECT_TRUE(pRule->m_arrConstraints[0]->GetStatus());
    EXPECT_EQ(ModuleString(IDS_SUMMARY_MATERIAL), pRule->m_strSummary);
    EXPECT_EQ(L"VEKDatabaseu.dll", pRule->m_strDBModuleFile);
}

// OK in the uniform mode writes the thickness, operator and severity, and writes the grid's rows
// back as constraints with the status flag clear.
TEST_F(DialogFixture, UniformModeOkRewritesTheSettingsAndTheConstraintsWithTheFlagClear)
{
    SetConstraints({{L"Steel", 2.5}, {L"Iron", 3.0}}, true);
    Thickness()->m_bCriteriaStatus = false;
    Configure([&](CDialog&) {
        ASSERT_TRUE(Click(IDC_UNIFORM_CHECK));
        ASSERT_TRUE(Checked(IDC_UNIFORM_CHECK));
        ReplaceText(IDC_THICKNESS, L"2.75");
        ChooseComboEntry(Item(IDC_OPERATOR), 0);
        EXPECT_EQ(L">", ComboSelection(IDC_OPERATOR));
        ChooseComboEntry(Item(IDC_SEVERITY), 3);
        EXPECT_EQ(L">", ComboSelection(IDC_OPERATOR));
        ASSERT_TRUE(Click(IDOK));
        EXPECT_FALSE(Running());
    });
    EXPECT_TRUE(Thickness()->m_bCriteriaStatus);
    EXPECT_EQ(VEK_OPERATOR_GREATER, Thickness()->m_eOperator);
    EXPECT_EQ(1, Thickness()->m_arrValues.GetSize());
    EXPECT_EQ(2.75, Thickness()->m_arrValues[0]);
    EXPECT_EQ(4, pRule->m_nSeverity);
    EXPECT_EQ((std::vector<std::pair<CString, double>>{{L"Steel", 2.5}, {L"Iron", 3.0}}),
              Constraints());
    for (int i = 0; i < pRule->m_arrConstraints.GetSize(); ++i)
        EXPECT_FALSE(pRule->m_arrConstraints[i]->GetStatus());
    // The summary names no operator wording for ">".
    CString strSummary;
    strSummary.Format(ModuleString(IDS_SUMMARY_FORMAT), L"", L"2.75", L"mm");
    EXPECT_EQ(strSummary, pRule->m_strSummary);
}

TEST_F(DialogFixture, AnOperatorTheComboDoesNotOfferIsKept)
{
    Thickness()->m_eOperator = VEK_OPERATOR_LESS_EQUAL;
    Configure([&](CDialog&) {
        EXPECT_EQ(-1, Combo(IDC_OPERATOR).GetCurSel());
        ASSERT_TRUE(Click(IDOK));
    });
    EXPECT_EQ(VEK_OPERATOR_LESS_EQUAL, Thickness()->m_eOperator);
}

TEST_F(DialogFixture, CancelLeavesTheRuleAsItWasAndStillRebuildsTheSummary)
{
    const auto vecBefore = Constraints();
    pRule->m_strSummary = L"stale";
    Configure([&](CDialog&) {
        ReplaceText(IDC_THICKNESS, L"7");
        ChooseComboEntry(Item(IDC_SEVERITY), 0);
        ASSERT_TRUE(Click(IDC_MATERIAL_CHECK));
        ChooseMaterial(0, 1);
        ASSERT_TRUE(Click(IDCANCEL));
        EXPECT_FALSE(Running());
    });
    EXPECT_EQ(1.0, Thickness()->m_arrValues[0]);
    EXPECT_EQ(2, pRule->m_nSeverity);
    EXPECT_EQ(vecBefore, Constraints());
    EXPECT_FALSE(pRule->m_arrConstraints[0]->GetStatus());
    EXPECT_TRUE(pRule->m_strDBModuleFile.IsEmpty());
    EXPECT_NE(L"stale", pRule->m_strSummary);
}

// ---------------------------------------------------------------------------------------------
// Material groups

// Rows whose material only the removed group offered go; the others keep their row index. A group
// added twice offers its names until both copies are removed.
TEST_F(DialogFixture, RemovingAGroupDropsExactlyTheRowsOnlyItOffered)
{
    SetConstraints({{L"Steel", 2.0},
                    {L"ASTM A48 Class 30", 3.0},
                    {L"A356.0", 1.5},
                    {L"Iron", 4.0},
                    {L"Unknown alloy", 5.0}},
                   true);
    Configure([&](CDialog&) {
        const int nIron = 1; // second entry of the selected list
        ClickListEntry(IDC_AVAILABLE_GROUPS, 1);
        ASSERT_TRUE(Click(IDC_ADD_GROUPS));
        ASSERT_EQ(9, List(IDC_SELECTED_GROUPS).GetCount());
        EXPECT_EQ(L"Iron", ListTexts(IDC_SELECTED_GROUPS).back());
        // The rebuild keeps offered rows and drops the one no group offers.
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.0"},
                                    {1, L"ASTM A48 Class 30", L"3.0"},
                                    {2, L"A356.0", L"1.5"},
                                    {3, L"Iron", L"4.0"}}),
                  NamedRows());

        ClickListEntry(IDC_SELECTED_GROUPS, nIron);
        ASSERT_TRUE(Click(IDC_REMOVE_GROUPS));
        EXPECT_EQ(4u, NamedRows().size()); // the second copy still offers Iron

        ClickListEntry(IDC_SELECTED_GROUPS, 7); // the copy added last
        ASSERT_TRUE(Click(IDC_REMOVE_GROUPS));
        EXPECT_EQ((std::vector<CString>{L"Steel", L"Aluminium Alloys", L"Other Metals",
                                        L"Copper and its Alloys", L"Zinc and its Alloys",
                                        L"Magnesium and its Alloys", L"Titanium Alloys"}),
                  ListTexts(IDC_SELECTED_GROUPS));
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.0"}, {2, L"A356.0", L"1.5"}}), NamedRows());
        EXPECT_EQ(262, Grid().GetItemCount());

        // Nothing selected: nothing moves, the grid is rebuilt all the same.
        ASSERT_TRUE(Click(IDC_REMOVE_GROUPS));
        EXPECT_EQ(7, List(IDC_SELECTED_GROUPS).GetCount());
        ASSERT_TRUE(Click(IDOK));
    });
    EXPECT_EQ((std::vector<std::pair<CString, double>>{{L"Steel", 2.0}, {L"A356.0", 1.5}}),
              Constraints());
}

// The material database dialog opens from this one; a grade added there is offered in the grid
// afterwards, while the group lists and the rows stay as they were.
TEST_F(DialogFixture, AGradeAddedInTheMaterialDatabaseDialogIsOfferedAfterwards)
{
    SetConstraints({{L"Steel", 2.0}}, true);
    materialDbScript = [&](CDialog& dlg) {
        auto typeInto = [&](int nID, const wchar_t* pszText) {
            ASSERT_TRUE(VekInput::Click(::GetDlgItem(dlg.m_hWnd, nID)));
            ASSERT_TRUE(VekInput::Type(pszText));
        };
        typeInto(IDC_MATERIAL_GROUP, L"Steel");
        typeInto(IDC_MATERIAL_GRADE, L"Test Grade 7");
        ASSERT_TRUE(VekInput::Click(::GetDlgItem(dlg.m_hWnd, IDC_ADD_GRADE)));
        ASSERT_TRUE(VekInput::Click(::GetDlgItem(dlg.m_hWnd, IDOK)));
    };
    auto offersGrade = [&](int nRow) {
        if (!ClickCell(nRow, 0, true))
            return false;
        CComboBox* pEditor = static_cast<CComboBox*>(
            CWnd::FromHandle(::GetDlgItem(Item(IDC_MATERIAL_GRID), IDC_CELL_COMBO)));
        const bool bOffered = pEditor->FindStringExact(-1, L"Test Grade 7") >= 0;
        VekInput::KeyDown(VK_ESCAPE); // closes the editor only
        return bOffered;
    };
    Configure([&](CDialog&) {
        EXPECT_FALSE(offersGrade(5));
        ASSERT_TRUE(Running());
        const auto vecGroupsBefore = ListTexts(IDC_SELECTED_GROUPS);
        ASSERT_TRUE(Click(IDC_EDIT_MATERIAL_DB));
        EXPECT_TRUE(Running());
        EXPECT_TRUE(offersGrade(5));
        EXPECT_EQ(vecGroupsBefore, ListTexts(IDC_SELECTED_GROUPS));
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.0"}}), NamedRows());
    });
    EXPECT_EQ((std::vector<UINT>{IDD_UNIFORM_THICKNESS, IDD_EDIT_MATERIAL_DB}), templatesRun);
    CString strGrades;
    static_cast<IDatabaseCollector*>(vek_db::VEKDataHelper::getInstance())
        ->GetGradesOfGroup(L"Steel", strGrades, 0);
    EXPECT_NE(-1, strGrades.Find(L"Test Grade 7"));
    CString strAdded;
    strAdded.Format(ModuleString(IDS_GRADE_ADDED), L"Test Grade 7", L"Steel");
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(strAdded, shown[0].strText);
}

// ---------------------------------------------------------------------------------------------
// Languages

TEST_F(DialogFixture, GermanTextsWithACommaAsDecimalSeparator)
{
    g_resources.UseLanguage(L"de-DE");
    VekSetUserLocaleOverride(LOCALE_SDECIMAL, L",");
    delete pRule;
    pRule = NewRule();
    SetConstraints({{L"Steel", 2.5}, {L"Iron", 10.0}}, true);
    Configure([&](CDialog&) {
        EXPECT_EQ(L"Kritisch", [&] {
            CString str;
            Combo(IDC_SEVERITY).GetLBText(0, str);
            return str;
        }());
        wchar_t szTitle[64] = {};
        LVCOLUMN col = {};
        col.mask = LVCF_TEXT;
        col.pszText = szTitle;
        col.cchTextMax = 64;
        ASSERT_TRUE(Grid().GetColumn(1, &col));
        EXPECT_STREQ(L"Wandst\u00e4rke (mm)", szTitle);
        // The runtime formats with a full stop; the user's comma is not appended to.
        EXPECT_EQ((std::vector<Row>{{0, L"Steel", L"2.5"}, {1, L"Iron", L"10."}}), NamedRows());
        EXPECT_EQ(L"1.", Text(IDC_THICKNESS));
        ASSERT_TRUE(Click(IDC_UNIFORM_CHECK));
        ReplaceText(IDC_THICKNESS, L"0");
        ASSERT_TRUE(Click(IDOK));
        ASSERT_TRUE(Running());
        ReplaceText(IDC_THICKNESS, L"2.5");
        ASSERT_TRUE(Click(IDOK));
    });
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Die Wandst\u00e4rke muss gr\u00f6\u00dfer als null sein.", shown[0].strText);
    EXPECT_EQ(2.5, Thickness()->m_arrValues[0]);
    EXPECT_EQ((std::vector<std::pair<CString, double>>{{L"Steel", 2.5}, {L"Iron", 10.0}}),
              Constraints());
}
// ---------------------------------------------------------------------------------------------
// The snapshot a front end draws

// Every entry's rectangles are the window's, all the way down.
void ExpectRectanglesOfTheWindows(const nlohmann::json& entry)
{
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(entry.at("hwnd").get<std::uint64_t>()));
    CRect rc;
    ::GetWindowRect(h, &rc);
    const nlohmann::json expected = {
        {"left", rc.left}, {"top", rc.top}, {"right", rc.right}, {"bottom", rc.bottom}};
    EXPECT_EQ(expected, entry.at("rect")) << entry.at("class") << " " << entry.at("id");
    for (const nlohmann::json& child : entry.at("children"))
        ExpectRectanglesOfTheWindows(child);
}

// The grid's 266 rows with their texts, scrolled as the grid is scrolled; the name cell's
// editor and its open list as the person sees them.
TEST_F(DialogFixture, TheSnapshotShowsTheGridAndItsEditorAsLaidOut)
{
    Configure([&](CDialog&) {
        ASSERT_TRUE(Click(IDC_MATERIAL_CHECK));
        ASSERT_TRUE(ClickCell(2, 1)) << VekSnapshotForFailure(hDlg);
        RECT rcGrid;
        ::GetWindowRect(Item(IDC_MATERIAL_GRID), &rcGrid);
        ASSERT_TRUE(VekRawInput::Wheel(-2 * WHEEL_DELTA, POINT{rcGrid.left + 5, rcGrid.top + 40}, 0,
                                       VekRawInput::LastEventTime() + 1));

        nlohmann::json snap = VekParsedSnapshot();
        const nlohmann::json* pDlg = VekFindSnapshotEntry(snap.at("windows"), hDlg);
        ASSERT_NE(nullptr, pDlg);
        ExpectRectanglesOfTheWindows(*pDlg);
        const nlohmann::json* pGrid =
            VekFindSnapshotEntry(snap.at("windows"), Item(IDC_MATERIAL_GRID));
        ASSERT_NE(nullptr, pGrid);
        const nlohmann::json& grid = pGrid->at("control");
        ASSERT_EQ(266u, grid.at("rows").size());
        EXPECT_EQ("Thickness (mm)", grid.at("columns").at(1).at("text"));
        for (int i = 0; i < Grid().GetItemCount(); ++i)
        {
            const nlohmann::json& row = grid.at("rows")[static_cast<size_t>(i)];
            EXPECT_EQ(VekSnapshotText(Grid().GetItemText(i, 0)), row.at("texts").at(0)) << i;
            EXPECT_EQ(VekSnapshotText(Grid().GetItemText(i, 1)), row.at("texts").at(1)) << i;
            EXPECT_EQ(Grid().GetItemState(i, LVIS_SELECTED) != 0, row.at("selected")) << i;
        }
        EXPECT_LT(0, Grid().GetTopIndex());
        EXPECT_EQ(Grid().GetTopIndex(), grid.at("top"));
        EXPECT_EQ(Grid().GetTopIndex(), pGrid->at("vscroll").at("pos"));

        // The name cell's editor is a child of the grid; its list opens above the dialog.
        ASSERT_TRUE(ClickCell(Grid().GetTopIndex() + 1, 0, true));
        HWND hEditor = ::GetDlgItem(Item(IDC_MATERIAL_GRID), IDC_CELL_COMBO);
        ASSERT_TRUE(hEditor && ::IsWindowVisible(hEditor)) << VekSnapshotForFailure(hDlg);
        ASSERT_TRUE(VekInput::Click(hEditor));
        COMBOBOXINFO info = {};
        ASSERT_TRUE(::GetComboBoxInfo(hEditor, &info));
        snap = VekParsedSnapshot();
        const nlohmann::json& windows = snap.at("windows");
        const nlohmann::json* pEditor = VekFindSnapshotEntry(windows, hEditor);
        ASSERT_NE(nullptr, pEditor);
        EXPECT_EQ("ComboBox", pEditor->at("class"));
        EXPECT_TRUE(pEditor->at("control").at("dropped"));
        EXPECT_EQ(static_cast<size_t>(::SendMessageW(hEditor, CB_GETCOUNT, 0, 0)),
                  pEditor->at("control").at("items").size());
        ASSERT_FALSE(windows.empty());
        EXPECT_EQ(VekSnapshotHandle(info.hwndList), windows.back().at("hwnd"))
            << "the open list is the topmost window";
        EXPECT_TRUE(windows.back().at("visible"));
        EXPECT_EQ(pEditor->at("control").at("items"), windows.back().at("control").at("items"));
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
        snap = VekParsedSnapshot();
        EXPECT_FALSE(VekFindSnapshotEntry(snap.at("windows"), info.hwndList)->at("visible"));
        EXPECT_TRUE(Running()) << VekSnapshotForFailure(hDlg);
    });
}

// The refusal of OK waits in the snapshot, owned by the dialog, while the person reads it.
TEST_F(DialogFixture, TheRefusalOfOkIsInTheSnapshotWhileItIsShown)
{
    nlohmann::json box;
    VekSetMessageBoxResponder([&](HWND, const CString&, const CString&, UINT) {
        box = VekParsedSnapshot().at("messageBox");
        return IDOK;
    });
    Configure([&](CDialog&) {
        ReplaceText(IDC_THICKNESS, L"0");
        ASSERT_TRUE(Click(IDOK));
        ASSERT_TRUE(Running()) << VekSnapshotForFailure(hDlg);
        EXPECT_TRUE(VekParsedSnapshot().at("messageBox").is_null());
    });
    ASSERT_TRUE(box.is_object());
    EXPECT_EQ(VekSnapshotHandle(hDlg), box.at("owner"));
    EXPECT_EQ(VekSnapshotText(ModuleString(IDS_ZERO_THICKNESS)), box.at("text"));
    EXPECT_EQ("warning", box.at("icon"));
    EXPECT_EQ((nlohmann::json{{{"id", IDOK}, {"text", "OK"}}}), box.at("buttons"));
    EXPECT_EQ(IDOK, box.at("defaultButton"));
}
} // namespace
