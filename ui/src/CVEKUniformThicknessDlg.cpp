// CVEKUniformThicknessDlg: the configuration dialog of a Uniform Thickness rule.
#include "CVEKUniformThicknessDlg.h"

#include "OperatorText.h"

#include <CEditMaterialDBDlg.h>
#include <IDatabaseCollector.h>
#include <MaterialTables.h>
#include <NumberText.h>
#include <ResourceHandleScope.h>
#include <RuleResources.h>
#include <VEKDataHelper.h>
#include <VEKUniformThicknessRule.h>
#include <resource.h>

#include <algorithm>
#include <list>
#include <map>

namespace
{
const int kGridRows = 260;
const DWORD kGridExtendedStyle = 0x471; // grid lines, header drag, full row, one click, info tips
const int kHeaderFontTenths = 120;
const wchar_t kDatabaseLibrary[] = L"VEKDatabaseu.dll";
const char kModuleNameExport[] = "GetModuleName";
const wchar_t kProcessName[] = L"Investment Casting";
const wchar_t kMessageCaption[] = L"Ortiva";

typedef void (*PFN_GET_MODULE_NAME)(CString&);

// The module's current-language library, or whatever is current when the module has none.
HINSTANCE ModuleResDll()
{
    IRuleResources* pResources = GetRuleResources();
    return pResources && pResources->GetResDll() ? pResources->GetResDll() : AfxGetResourceHandle();
}

CString ModuleString(UINT nID)
{
    CString strText;
    strText.LoadString(ModuleResDll(), nID);
    return strText;
}

CString HelpFilePath()
{
    IRuleResources* pResources = GetRuleResources();
    return pResources ? pResources->GetHelpFilePath() : CString();
}

IDatabaseCollector* Database()
{
    return vek_db::VEKDataHelper::getInstance();
}

bool IsChecked(CWnd* pButton)
{
    return pButton && static_cast<CButton*>(pButton)->GetCheck() == BST_CHECKED;
}

void Enable(CWnd* pWnd, bool bEnable)
{
    if (pWnd)
        pWnd->EnableWindow(bEnable);
}

// Appends the ";"-separated grade names of a group, skipping empty pieces.
void AppendGrades(IDatabaseCollector* pDatabase, const CString& strGroup,
                  std::vector<CString>& vecNames)
{
    CString strGrades;
    pDatabase->GetGradesOfGroup(strGroup, strGrades, 0);
    for (const CString& strGrade : SplitGradeNames(strGrades))
        vecNames.push_back(strGrade);
}

CString ListBoxText(const CListBox& listBox, int nIndex)
{
    CString strText;
    listBox.GetText(nIndex, strText);
    return strText;
}

std::vector<int> SelectedIndices(const CListBox& listBox)
{
    const int nCount = listBox.GetSelCount();
    std::vector<int> vecIndices(nCount > 0 ? static_cast<size_t>(nCount) : 0);
    if (nCount > 0)
        listBox.GetSelItems(nCount, vecIndices.data());
    std::sort(vecIndices.begin(), vecIndices.end());
    return vecIndices;
}

CVekParamData<double>* ValuesOf(CVekParamStorage* pParam)
{
    return pParam ? pParam->GetData<double>() : nullptr;
}
} // namespace

IMPLEMENT_DYNAMIC(CVEKUniformThicknessDlg, CDialog)

BEGIN_MESSAGE_MAP(CVEKUniformThicknessDlg, CVEKRuleDlgBase)
ON_BN_CLICKED(IDOK, &CVEKUniformThicknessDlg::OnBnClickedOk)
ON_BN_CLICKED(IDC_EDIT_MATERIAL_DB, &CVEKUniformThicknessDlg::OnEditMaterialDB)
ON_BN_CLICKED(IDC_UNIFORM_CHECK, &CVEKUniformThicknessDlg::OnUniformCheck)
ON_BN_CLICKED(IDC_LIMIT_CHECK, &CVEKUniformThicknessDlg::OnLimitCheck)
ON_BN_CLICKED(IDC_MATERIAL_CHECK, &CVEKUniformThicknessDlg::OnMaterialCheck)
ON_BN_CLICKED(IDC_ADD_GROUPS, &CVEKUniformThicknessDlg::OnAddGroups)
ON_BN_CLICKED(IDC_REMOVE_GROUPS, &CVEKUniformThicknessDlg::OnRemoveGroups)
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

CVEKUniformThicknessDlg::CVEKUniformThicknessDlg(CWnd* pParent, CVEKUniformThicknessRule* pRule)
    : CVEKRuleDlgBase(IDD_UNIFORM_THICKNESS, pRule ? pRule->m_nRuleId : 0, HelpFilePath(), pParent),
      m_pRule(pRule), m_nUniformCheck(0), m_nMaterialCheck(0), m_hDBModule(nullptr)
{
}

CVEKUniformThicknessDlg::~CVEKUniformThicknessDlg() = default;

void CVEKUniformThicknessDlg::DoDataExchange(CDataExchange* pDX)
{
    CVEKRuleDlgBase::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_UNIFORM_CHECK, m_nUniformCheck);
    DDX_Check(pDX, IDC_MATERIAL_CHECK, m_nMaterialCheck);
    DDX_Control(pDX, IDC_THICKNESS, m_editThickness);
    DDX_Control(pDX, IDC_OPERATOR, m_cmbOperator);
    DDX_Control(pDX, IDC_SEVERITY, m_cmbSeverity);
    DDX_Control(pDX, IDC_DB_MODULE, m_cmbDBModule);
    DDX_Control(pDX, IDC_MATERIAL_GRID, m_lstMaterials);
    DDX_Control(pDX, IDC_AVAILABLE_GROUPS, m_lbAvailableGroups);
    DDX_Control(pDX, IDC_SELECTED_GROUPS, m_lbSelectedGroups);
}

int CVEKUniformThicknessDlg::SeverityToIndex(int nSeverity)
{
    return nSeverity >= 1 && nSeverity <= 5 ? nSeverity - 1 : -1;
}

int CVEKUniformThicknessDlg::SeverityFromText(const CString& strText)
{
    for (int i = 0; i < 5; ++i)
    {
        if (strText == ModuleString(IDS_SEVERITY_1 + i))
            return i + 1;
    }
    return 0;
}

BOOL CVEKUniformThicknessDlg::OnInitDialog()
{
    CVEKRuleDlgBase::OnInitDialog();

    if (m_cmbSeverity.GetSafeHwnd() == nullptr || m_cmbOperator.GetSafeHwnd() == nullptr)
        return FALSE;
    {
        CResourceHandleScope scope(ModuleResDll());
        CStringList lstSeverities;
        for (UINT nID = IDS_SEVERITY_1; nID <= IDS_SEVERITY_5; ++nID)
        {
            CString strName;
            strName.LoadString(nID);
            lstSeverities.AddTail(strName);
        }
        m_cmbSeverity.FillFromList(lstSeverities);
    }
    CStringList lstOperators;
    lstOperators.AddTail(GetOperatorText(VEK_OPERATOR_GREATER));
    lstOperators.AddTail(GetOperatorText(VEK_OPERATOR_GREATER_EQUAL));
    m_cmbOperator.FillFromList(lstOperators);

    if (m_pRule == nullptr)
        return FALSE;
    CVekParamStorage* pParam = m_pRule->FindParameterInArray(THICKNESS_PARAMETER_ID);
    CVekParamData<double>* pValues = ValuesOf(pParam);
    if (pValues == nullptr)
        return FALSE;

    CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK);
    if (pUniformCheck == nullptr)
        return FALSE;
    static_cast<CButton*>(pUniformCheck)
        ->SetCheck(pValues->m_bCriteriaStatus ? BST_CHECKED : BST_UNCHECKED);
    m_cmbOperator.SetCurSel(
        m_cmbOperator.FindStringExact(-1, GetOperatorText(pValues->m_eOperator)));
    if (m_editThickness.GetSafeHwnd() == nullptr)
        return FALSE;
    m_editThickness.SetWindowText(
        FormatDouble(pValues->m_arrValues.GetSize() > 0 ? pValues->m_arrValues[0] : 0.0));
    m_cmbSeverity.SetCurSel(SeverityToIndex(m_pRule->m_nSeverity));
    for (int nID : {IDC_THICKNESS_UNIT, IDC_MATERIAL_UNIT})
    {
        if (CWnd* pStatic = GetDlgItem(nID))
            pStatic->SetWindowText(m_strUnit);
    }

    CWnd* pMaterialCheck = GetDlgItem(IDC_MATERIAL_CHECK);
    if (pMaterialCheck == nullptr)
        return FALSE;
    const bool bPerMaterial = m_pRule->m_arrConstraints.GetSize() > 0 &&
                              m_pRule->m_arrConstraints[0] != nullptr &&
                              m_pRule->m_arrConstraints[0]->GetStatus();
    static_cast<CButton*>(pMaterialCheck)->SetCheck(bPerMaterial ? BST_CHECKED : BST_UNCHECKED);

    if (!InitDBModuleCombo())
        return FALSE;
    FillGroupLists();
    if (!SetupMaterialGrid())
        return FALSE;
    FillMaterialGrid();
    OnUniformCheck();
    OnMaterialCheck();
    return TRUE;
}

bool CVEKUniformThicknessDlg::InitDBModuleCombo()
{
    m_hDBModule = GetModuleHandleW(kDatabaseLibrary);
    if (m_hDBModule == nullptr)
        return false;
    auto pfnGetModuleName =
        reinterpret_cast<PFN_GET_MODULE_NAME>(GetProcAddress(m_hDBModule, kModuleNameExport));
    if (pfnGetModuleName == nullptr || m_cmbDBModule.GetSafeHwnd() == nullptr)
        return false;
    CString strName = L"Module Name";
    pfnGetModuleName(strName);
    m_cmbDBModule.AddString(strName);
    m_cmbDBModule.SetCurSel(0);
    return true;
}

void CVEKUniformThicknessDlg::FillGroupLists()
{
    IDatabaseCollector* pDatabase = Database();
    if (pDatabase == nullptr)
        return;
    std::vector<CString> vecGroups;
    pDatabase->GetMaterialGroups(vecGroups, 0);
    if (vecGroups.empty())
        return;
    for (const CString& strGroup : vecGroups)
        m_lbAvailableGroups.AddString(strGroup);
    if (pDatabase->UsesProcessMaterialGroups() != 0)
        return;
    if (m_pRule == nullptr ||
        m_pRule->GetRuleCategoryEnum() != VEK_RULE_CATEGORY_INVESTMENT_CASTING)
        return;
    // The casting categories the database knows are offered from the start.
    for (LPCWSTR pszCategory : g_CastingMaterialCategories)
    {
        if (std::find(vecGroups.begin(), vecGroups.end(), CString(pszCategory)) != vecGroups.end())
            m_lbSelectedGroups.AddString(pszCategory);
    }
}

void CVEKUniformThicknessDlg::CollectSelectedGroupNames(std::vector<CString>& vecNames)
{
    IDatabaseCollector* pDatabase = Database();
    if (pDatabase == nullptr)
        return;
    for (int i = 0; i < m_lbSelectedGroups.GetCount(); ++i)
    {
        const CString strGroup = ListBoxText(m_lbSelectedGroups, i);
        vecNames.push_back(strGroup);
        AppendGrades(pDatabase, strGroup, vecNames);
    }
}

void CVEKUniformThicknessDlg::CollectMaterialNames(std::vector<CString>& vecNames)
{
    IDatabaseCollector* pDatabase = Database();
    if (pDatabase == nullptr)
        return;
    if (pDatabase->UsesProcessMaterialGroups() == 0)
        CollectSelectedGroupNames(vecNames);
    else
        CollectProcessMaterialNames(vecNames);
}

void CVEKUniformThicknessDlg::CollectProcessMaterialNames(std::vector<CString>& vecNames)
{
    IDatabaseCollector* pDatabase = Database();
    if (pDatabase == nullptr)
        return;
    std::map<CString, std::list<CString>> mapGroups;
    pDatabase->GetProcessMaterialGroups(kProcessName, mapGroups);
    // The process decides the groups: the selected list is refilled, not added to, so that
    // collecting again after the material database dialog does not list a group twice.
    m_lbSelectedGroups.ResetContent();
    for (const auto& group : mapGroups)
    {
        if (!group.first.IsEmpty())
        {
            m_lbSelectedGroups.AddString(group.first);
            vecNames.push_back(group.first);
        }
        for (const CString& strGrade : group.second)
            vecNames.push_back(strGrade);
    }
}

bool CVEKUniformThicknessDlg::SetupMaterialGrid()
{
    if (m_lstMaterials.GetSafeHwnd() == nullptr)
        return false;
    m_lstMaterials.SetExtendedStyle(kGridExtendedStyle);
    if (CFont* pFont = GetFont())
    {
        m_lstMaterials.SetFont(pFont, TRUE);
        if (CHeaderCtrl* pHeader = m_lstMaterials.GetHeaderCtrl())
        {
            m_fontHeader.DeleteObject();
            m_fontHeader.CreatePointFont(kHeaderFontTenths, L"Courier");
            pHeader->SetFont(&m_fontHeader, TRUE);
        }
    }
    CString strThicknessTitle;
    strThicknessTitle.Format(ModuleString(IDS_COLUMN_THICKNESS), m_strUnit.GetString());
    m_lstMaterials.SetColumns({ModuleString(IDS_COLUMN_MATERIAL), strThicknessTitle});
    for (int i = 0; i < kGridRows; ++i)
        m_lstMaterials.InsertItem(i, L"");
    return true;
}

void CVEKUniformThicknessDlg::FillMaterialGrid()
{
    std::vector<CString> vecNames;
    CollectMaterialNames(vecNames);
    m_lstMaterials.SetComboItems(vecNames);
    if (m_pRule == nullptr)
        return;
    for (int i = 0; i < m_pRule->m_arrConstraints.GetSize(); ++i)
    {
        CVEKConstraint* pConstraint = m_pRule->m_arrConstraints[i];
        if (pConstraint == nullptr || pConstraint->GetName().IsEmpty())
            continue;
        CVekParamData<double>* pValues =
            ValuesOf(pConstraint->FindParameterInArray(THICKNESS_PARAMETER_ID));
        if (pValues == nullptr)
            continue;
        // The row goes to the constraint's index; a skipped constraint leaves an empty row.
        m_lstMaterials.InsertItem(i, pConstraint->GetName());
        m_lstMaterials.SetItemText(
            i, 1, pValues->m_arrValues.GetSize() > 0 ? FormatDouble(pValues->m_arrValues[0]) : L"");
    }
}

void CVEKUniformThicknessDlg::OnAddGroups()
{
    for (int nIndex : SelectedIndices(m_lbAvailableGroups))
        m_lbSelectedGroups.AddString(ListBoxText(m_lbAvailableGroups, nIndex));
    RebuildMaterialGrid();
}

void CVEKUniformThicknessDlg::OnRemoveGroups()
{
    // The available list holds every group already, so removed groups are not put back there.
    std::vector<int> vecIndices = SelectedIndices(m_lbSelectedGroups);
    for (auto it = vecIndices.rbegin(); it != vecIndices.rend(); ++it)
        m_lbSelectedGroups.DeleteString(static_cast<UINT>(*it));
    RebuildMaterialGrid();
}

void CVEKUniformThicknessDlg::RebuildMaterialGrid()
{
    if (Database() == nullptr)
        return;
    std::vector<CString> vecNames;
    CollectSelectedGroupNames(vecNames);

    struct SavedRow
    {
        CString strName;
        CString strValue;
    };
    std::vector<SavedRow> vecRows;
    const int nRows = m_lstMaterials.GetItemCount();
    for (int i = 0; i < nRows; ++i)
        vecRows.push_back({m_lstMaterials.GetItemText(i, 0), m_lstMaterials.GetItemText(i, 1)});
    m_lstMaterials.DeleteAllItems();
    for (int i = 0; i < kGridRows; ++i)
        m_lstMaterials.InsertItem(i, L"");
    for (size_t j = 0; j < vecRows.size(); ++j)
    {
        if (std::find(vecNames.begin(), vecNames.end(), vecRows[j].strName) == vecNames.end())
            continue;
        const int nRow = static_cast<int>(j);
        m_lstMaterials.InsertItem(nRow, vecRows[j].strName);
        m_lstMaterials.SetItemText(nRow, 1, vecRows[j].strValue);
    }
    m_lstMaterials.SetComboItems(vecNames);
}

void CVEKUniformThicknessDlg::EnableUniformControls(bool bEnable)
{
    Enable(&m_cmbOperator, bEnable);
    Enable(&m_editThickness, bEnable);
    if (bEnable && m_editThickness.GetSafeHwnd())
        m_editThickness.SetFocus();
}

void CVEKUniformThicknessDlg::EnableMaterialControls(bool bEnable)
{
    Enable(GetDlgItem(IDC_DB_MODULE), bEnable);
    Enable(GetDlgItem(IDC_EDIT_MATERIAL_DB), bEnable);
    Enable(GetDlgItem(IDC_AVAILABLE_GROUPS), bEnable);
    Enable(GetDlgItem(IDC_SELECTED_GROUPS), bEnable);
    Enable(GetDlgItem(IDC_MATERIAL_GRID), bEnable);
}

void CVEKUniformThicknessDlg::OnUniformCheck()
{
    CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK);
    CWnd* pMaterialCheck = GetDlgItem(IDC_MATERIAL_CHECK);
    if (pMaterialCheck == nullptr)
        return;
    const bool bUniform = IsChecked(pUniformCheck);
    if (bUniform)
        static_cast<CButton*>(pMaterialCheck)->SetCheck(BST_UNCHECKED);
    EnableUniformControls(bUniform);
    if (bUniform)
    {
        // The add and remove buttons keep their state: they only act on disabled lists.
        EnableMaterialControls(false);
        // The limit box follows the material box, whichever box cleared it.
        Enable(GetDlgItem(IDC_LIMIT_CHECK), true);
    }
    UpdateOkButton();
}

void CVEKUniformThicknessDlg::OnMaterialCheck()
{
    CWnd* pMaterialCheck = GetDlgItem(IDC_MATERIAL_CHECK);
    if (pMaterialCheck == nullptr)
        return;
    const bool bPerMaterial = IsChecked(pMaterialCheck);
    if (CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK))
    {
        static_cast<CButton*>(pUniformCheck)->SetCheck(bPerMaterial ? BST_UNCHECKED : BST_CHECKED);
        EnableUniformControls(!bPerMaterial);
    }
    Enable(GetDlgItem(IDC_LIMIT_CHECK), !bPerMaterial);
    EnableMaterialControls(bPerMaterial);
    Enable(GetDlgItem(IDC_ADD_GROUPS), bPerMaterial);
    Enable(GetDlgItem(IDC_REMOVE_GROUPS), bPerMaterial);
    UpdateOkButton();
}

void CVEKUniformThicknessDlg::OnLimitCheck()
{
    UpdateOkButton();
}

bool CVEKUniformThicknessDlg::GridHasNamedRow()
{
    if (m_lstMaterials.GetSafeHwnd() == nullptr)
        return false;
    const int nRows = m_lstMaterials.GetItemCount();
    for (int i = 0; i < nRows; ++i)
    {
        if (!m_lstMaterials.GetItemText(i, 0).IsEmpty())
            return true;
    }
    return false;
}

void CVEKUniformThicknessDlg::UpdateOkButton()
{
    CWnd* pOk = GetDlgItem(IDOK);
    CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK);
    CWnd* pMaterialCheck = GetDlgItem(IDC_MATERIAL_CHECK);
    if (pOk == nullptr || pUniformCheck == nullptr || pMaterialCheck == nullptr)
        return;
    const bool bUniform = IsChecked(pUniformCheck);
    const bool bPerMaterial = IsChecked(pMaterialCheck);
    bool bEnable = bUniform || bPerMaterial;
    if (bPerMaterial && !GridHasNamedRow())
        bEnable = false;
    if (pOk->IsWindowEnabled() != (bEnable ? TRUE : FALSE))
        pOk->EnableWindow(bEnable);
}

BOOL CVEKUniformThicknessDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_lstMaterials.GetSafeHwnd() && m_lstMaterials.PreTranslateKey(pMsg))
        return TRUE;
    UpdateOkButton();
    return CVEKRuleDlgBase::PreTranslateMessage(pMsg);
}

void CVEKUniformThicknessDlg::OnBnClickedOk()
{
    CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK);
    if (m_pRule == nullptr || pUniformCheck == nullptr)
        return;
    if (IsChecked(pUniformCheck))
    {
        CString strThickness;
        if (CWnd* pThickness = GetDlgItem(IDC_THICKNESS))
            pThickness->GetWindowText(strThickness);
        if (StringToDouble(strThickness) == 0.0)
        {
            CResourceHandleScope scope(ModuleResDll());
            AfxMessageBox(ModuleString(IDS_ZERO_THICKNESS), MB_OK, 0);
            return;
        }
    }
    CommitGridEdit();
    if (!CheckMaterialRows())
    {
        MessageBox(ModuleString(IDS_MISSING_THICKNESS), kMessageCaption,
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ApplySeverity();
    ApplyThicknessParameter();
    ApplyDBModule();
    ApplyMaterialConstraints();
    CDialog::OnOK();
}

void CVEKUniformThicknessDlg::CommitGridEdit()
{
    if (m_lstMaterials.GetSafeHwnd() == nullptr)
        return;
    CString strText;
    if (m_lstMaterials.CommitEdit(strText) == 0)
        return;
    const int nCol = m_lstMaterials.GetCurCol();
    if ((nCol == 1 || nCol == 2) && !IsNumberText(strText))
        m_lstMaterials.SetItemText(m_lstMaterials.GetCurRow(), nCol, L"");
}

bool CVEKUniformThicknessDlg::CheckMaterialRows()
{
    if (!IsChecked(GetDlgItem(IDC_MATERIAL_CHECK)) || m_lstMaterials.GetSafeHwnd() == nullptr ||
        m_lstMaterials.GetHeaderCtrl() == nullptr)
        return true;
    const int nRows = m_lstMaterials.GetItemCount();
    for (int i = 0; i < nRows; ++i)
    {
        if (!m_lstMaterials.GetItemText(i, 0).IsEmpty() &&
            m_lstMaterials.GetItemText(i, 1).IsEmpty())
            return false;
    }
    return true;
}

void CVEKUniformThicknessDlg::ApplySeverity()
{
    if (m_cmbSeverity.GetSafeHwnd() == nullptr)
        return;
    const int nSel = m_cmbSeverity.GetCurSel();
    if (nSel >= 0)
    {
        CString strText;
        m_cmbSeverity.GetLBText(nSel, strText);
        m_pRule->m_nSeverity = SeverityFromText(strText);
    }
    else
    {
        m_cmbSeverity.SetCurSel(SeverityToIndex(m_pRule->m_nSeverity));
    }
}

void CVEKUniformThicknessDlg::ApplyThicknessParameter()
{
    CVekParamData<double>* pValues =
        ValuesOf(m_pRule->FindParameterInArray(THICKNESS_PARAMETER_ID));
    CWnd* pUniformCheck = GetDlgItem(IDC_UNIFORM_CHECK);
    if (pValues == nullptr || pUniformCheck == nullptr)
        return;
    pValues->m_bCriteriaStatus = IsChecked(pUniformCheck);
    if (GetDlgItem(IDC_OPERATOR) == nullptr)
        return;
    const int nSel = m_cmbOperator.GetCurSel();
    if (nSel >= 0)
    {
        CString strText;
        m_cmbOperator.GetLBText(nSel, strText);
        pValues->m_eOperator = GetOperatorFromText(strText);
    }
    else
    {
        // An operator the combo box does not offer stays as it is.
        m_cmbOperator.SetCurSel(
            m_cmbOperator.FindStringExact(-1, GetOperatorText(pValues->m_eOperator)));
    }
    if (CWnd* pThickness = GetDlgItem(IDC_THICKNESS))
    {
        CString strThickness;
        pThickness->GetWindowText(strThickness);
        const double dThickness = StringToDouble(strThickness);
        if (pValues->m_arrValues.GetSize() > 0)
            pValues->m_arrValues[0] = dThickness;
        else
            pValues->m_arrValues.Append(dThickness);
    }
}

void CVEKUniformThicknessDlg::ApplyDBModule()
{
    if (m_cmbDBModule.GetSafeHwnd() && m_cmbDBModule.GetCurSel() >= 0)
        m_pRule->m_strDBModuleFile = kDatabaseLibrary;
}

void CVEKUniformThicknessDlg::ApplyMaterialConstraints()
{
    CWnd* pMaterialCheck = GetDlgItem(IDC_MATERIAL_CHECK);
    if (pMaterialCheck == nullptr || m_lstMaterials.GetSafeHwnd() == nullptr)
        return;
    // The rows are written in both modes; the flag says which mode the rule is in.
    const bool bPerMaterial = IsChecked(pMaterialCheck);
    m_pRule->ClearConstraints();
    const int nRows = m_lstMaterials.GetItemCount();
    for (int i = 0; i < nRows; ++i)
    {
        const CString strName = m_lstMaterials.GetItemText(i, 0);
        if (strName.IsEmpty())
            continue;
        CVEKConstraint* pConstraint = nullptr;
        CVekParamStorage* pParam = nullptr;
        {
            CResourceHandleScope scope(ModuleResDll());
            pConstraint =
                CVekRule::CreateConstraintObject(VEK_CONSTRAINT_MATERIAL, strName, bPerMaterial);
            pParam = CVekRule::CreateParamStorageObject(VEK_TYPE_DOUBLE, THICKNESS_PARAMETER_ID,
                                                        VEK_OPERATOR_GREATER_EQUAL, VEK_PARAM_VALUE,
                                                        bPerMaterial, false);
        }
        ValuesOf(pParam)->m_arrValues.Append(StringToDouble(m_lstMaterials.GetItemText(i, 1)));
        pConstraint->AddParameter(pParam);
        m_pRule->m_arrConstraints.Append(pConstraint);
    }
}

void CVEKUniformThicknessDlg::OnEditMaterialDB()
{
    CResourceHandleScope scope(ModuleResDll());
    CEditMaterialDBDlg dlg(this, m_pRule);
    dlg.DoModal();
    std::vector<CString> vecNames;
    CollectMaterialNames(vecNames);
    m_lstMaterials.SetComboItems(vecNames);
}
