// The material database dialog: the tree of groups and grades, its check marks, OK and Cancel.
// The add and delete commands are in MaterialGradeEditing.cpp.
#include "CEditMaterialDBDlg.h"

#include <RuleResources.h>
#include <VEKDataHelper.h>
#include <resource.h>

namespace
{
// Groups the database keeps for other purposes; never offered here. Compared exactly.
const wchar_t* const kHiddenGroups[] = {L"Woods", L"Generic Glass Fibers", L"Plastics", L"Default"};

// The help topic of this dialog in the product's help file.
const long kHelpTopic = 7010;

IDatabaseCollector* Database()
{
    return vek_db::VEKDataHelper::getInstance();
}

CString HelpFilePath()
{
    IRuleResources* pResources = GetRuleResources();
    return pResources ? pResources->GetHelpFilePath() : CString();
}

bool IsHidden(const CString& strGroup)
{
    for (const wchar_t* pszHidden : kHiddenGroups)
        if (strGroup == pszHidden)
            return true;
    return false;
}
} // namespace

std::vector<CString> SplitGradeNames(const CString& strGrades)
{
    std::vector<CString> vecNames;
    int nStart = 0;
    while (nStart <= strGrades.GetLength())
    {
        int nEnd = strGrades.Find(L';', nStart);
        if (nEnd < 0)
            nEnd = strGrades.GetLength();
        if (nEnd > nStart)
            vecNames.push_back(strGrades.Mid(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return vecNames;
}

IMPLEMENT_DYNAMIC(CEditMaterialDBDlg, CDialog)

BEGIN_MESSAGE_MAP(CEditMaterialDBDlg, CVEKRuleDlgBase)
ON_BN_CLICKED(IDOK, &CEditMaterialDBDlg::OnBnClickedOk)
ON_BN_CLICKED(IDCANCEL, &CEditMaterialDBDlg::OnCancel)
ON_BN_CLICKED(IDC_ADD_GRADE, &CEditMaterialDBDlg::OnBnClickedAddGrade)
ON_BN_CLICKED(IDC_DELETE_ENTRY, &CEditMaterialDBDlg::OnBnClickedDeleteEntry)
ON_EN_CHANGE(IDC_MATERIAL_GRADE, &CEditMaterialDBDlg::OnEnChangeMaterialText)
ON_EN_CHANGE(IDC_MATERIAL_GROUP, &CEditMaterialDBDlg::OnEnChangeMaterialText)
ON_NOTIFY(TVN_SELCHANGED, IDC_MATERIAL_TREE, &CEditMaterialDBDlg::OnTvnSelchangedMaterialTree)
ON_NOTIFY(NM_CLICK, IDC_MATERIAL_TREE, &CEditMaterialDBDlg::OnNMClickMaterialTree)
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

CEditMaterialDBDlg::CEditMaterialDBDlg(CWnd* pParent, CVekRule* pRule)
    : CVEKRuleDlgBase(IDD_EDIT_MATERIAL_DB, kHelpTopic, HelpFilePath(), pParent), m_pRule(pRule),
      m_hHighlightItem(nullptr)
{
}

CEditMaterialDBDlg::~CEditMaterialDBDlg() = default;

void CEditMaterialDBDlg::DoDataExchange(CDataExchange* pDX)
{
    CVEKRuleDlgBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MATERIAL_TREE, m_treeMaterials);
    DDX_Control(pDX, IDC_MATERIAL_GROUP, m_editMaterialGroup);
    DDX_Control(pDX, IDC_MATERIAL_GRADE, m_editMaterialGrade);
}

BOOL CEditMaterialDBDlg::OnInitDialog()
{
    CVEKRuleDlgBase::OnInitDialog();
    if (m_pRule == nullptr)
        return FALSE;
    m_treeMaterials.ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    FillMaterialTree();
    m_editMaterialGroup.SetWindowText(L"");
    m_editMaterialGrade.SetWindowText(L"");
    if (!m_pRule->m_vecMaterialSelection.empty())
        ApplyCheckedGrades(m_pRule->m_vecMaterialSelection);
    m_hHighlightItem = m_treeMaterials.GetFirstVisibleItem();
    // With no group to show (the root alone, or nothing) there is nothing to delete.
    HTREEITEM hRoot = m_treeMaterials.GetRootItem();
    if (hRoot == nullptr || m_treeMaterials.GetChildItem(hRoot) == nullptr)
        GetDlgItem(IDC_DELETE_ENTRY)->EnableWindow(FALSE);
    return TRUE;
}

std::vector<CString> CEditMaterialDBDlg::VisibleGroups(IDatabaseCollector* pDB)
{
    std::vector<CString> vecGroups;
    pDB->GetMaterialGroups(vecGroups, 0);
    std::vector<CString> vecVisible;
    for (const CString& strGroup : vecGroups)
        if (!IsHidden(strGroup))
            vecVisible.push_back(strGroup);
    return vecVisible;
}

void CEditMaterialDBDlg::FillMaterialTree()
{
    IDatabaseCollector* pDB = Database();
    if (pDB == nullptr)
        return;
    BuildMaterialTree(VisibleGroups(pDB));
}

void CEditMaterialDBDlg::BuildMaterialTree(const std::vector<CString>& vecGroups)
{
    HTREEITEM hRoot = m_treeMaterials.InsertItem(LoadRuleString(IDS_MATERIAL_TREE_ROOT));
    CString strPrevious;
    HTREEITEM hGroup = nullptr;
    for (size_t k = 0; k < vecGroups.size(); ++k)
    {
        const CString& strGroup = vecGroups[k];
        // A name equal to the one before it (ignoring case) adds nothing: it shows once.
        bool bNew = k == 0 || strGroup.CompareNoCase(strPrevious) != 0;
        if (!bNew)
            continue;
        hGroup = m_treeMaterials.InsertItem(strGroup, hRoot, TVI_LAST);
        strPrevious = strGroup;
        IDatabaseCollector* pDB = Database();
        if (pDB == nullptr)
            return;
        CString strGrades;
        pDB->GetGradesOfGroup(strGroup, strGrades, 0);
        // The names as SplitGradeNames gives them, cut apart in the answer's own buffer: a
        // large group costs no string per grade on the way into the tree.
        const int nLength = strGrades.GetLength();
        wchar_t* pszGrades = strGrades.GetBuffer();
        for (int nStart = 0; nStart < nLength;)
        {
            int nEnd = nStart;
            while (nEnd < nLength && pszGrades[nEnd] != L';')
                ++nEnd;
            if (nEnd < nLength)
                pszGrades[nEnd] = L'\0';
            if (nEnd > nStart)
                m_treeMaterials.InsertItem(pszGrades + nStart, hGroup, TVI_SORT);
            nStart = nEnd + 1;
        }
    }
}

void CEditMaterialDBDlg::CollectCheckedGrades()
{
    HTREEITEM hRoot = m_treeMaterials.GetRootItem();
    if (hRoot == nullptr)
        return;
    for (HTREEITEM hGroup = m_treeMaterials.GetChildItem(hRoot); hGroup != nullptr;
         hGroup = m_treeMaterials.GetNextSiblingItem(hGroup))
    {
        if (!m_treeMaterials.GetCheck(hGroup))
            continue;
        CStringList* pGrades = new CStringList;
        for (HTREEITEM hGrade = m_treeMaterials.GetChildItem(hGroup); hGrade != nullptr;
             hGrade = m_treeMaterials.GetNextSiblingItem(hGrade))
            if (m_treeMaterials.GetCheck(hGrade))
                pGrades->AddTail(m_treeMaterials.GetItemText(hGrade));
        m_vecCheckedGrades.emplace_back(m_treeMaterials.GetItemText(hGroup), pGrades);
    }
}

void CEditMaterialDBDlg::ApplyCheckedGrades(const VekMaterialSelection& vecSelection)
{
    HTREEITEM hRoot = m_treeMaterials.GetRootItem();
    if (hRoot == nullptr)
        return;
    bool bAnyGroup = false;
    for (HTREEITEM hGroup = m_treeMaterials.GetChildItem(hRoot); hGroup != nullptr;
         hGroup = m_treeMaterials.GetNextSiblingItem(hGroup))
    {
        CString strGroup = m_treeMaterials.GetItemText(hGroup);
        for (const auto& entry : vecSelection)
        {
            if (entry.first.CompareNoCase(strGroup) != 0)
                continue;
            m_treeMaterials.SetCheck(hGroup, TRUE);
            bAnyGroup = true;
            for (HTREEITEM hGrade = m_treeMaterials.GetChildItem(hGroup); hGrade != nullptr;
                 hGrade = m_treeMaterials.GetNextSiblingItem(hGrade))
            {
                CString strGrade = m_treeMaterials.GetItemText(hGrade);
                for (POSITION pos = entry.second ? entry.second->GetHeadPosition() : nullptr; pos;)
                    if (entry.second->GetNext(pos).CompareNoCase(strGrade) == 0)
                        m_treeMaterials.SetCheck(hGrade, TRUE);
            }
        }
    }
    if (bAnyGroup)
        m_treeMaterials.SetCheck(hRoot, TRUE);
}

void CEditMaterialDBDlg::ClearGradeSelection(VekMaterialSelection& vecSelection)
{
    for (auto& entry : vecSelection)
    {
        if (entry.second)
            entry.second->RemoveAll();
        delete entry.second;
        entry.second = nullptr;
    }
    vecSelection.clear();
}

void CEditMaterialDBDlg::RefreshMaterialTree(IDatabaseCollector* pDB, const CString* pstrAddedGroup,
                                             const CString* pstrAddedGrade)
{
    CollectCheckedGrades();
    m_treeMaterials.DeleteAllItems();
    std::vector<CString> vecGroups = VisibleGroups(pDB);
    BuildMaterialTree(vecGroups);
    if (pstrAddedGroup && pstrAddedGrade)
    {
        // The group as the database stores it, when the tree shows it.
        CString strGroup = *pstrAddedGroup;
        for (const CString& strShown : vecGroups)
            if (strShown.CompareNoCase(strGroup) == 0)
            {
                strGroup = strShown;
                break;
            }
        m_editMaterialGroup.SetWindowText(strGroup);
        m_editMaterialGrade.SetWindowText(*pstrAddedGrade);
        AddCheckedGrade(strGroup, *pstrAddedGrade);
    }
    ApplyCheckedGrades(m_vecCheckedGrades);
    ClearGradeSelection(m_vecCheckedGrades);
}

void CEditMaterialDBDlg::SetCheckBelow(HTREEITEM hItem, BOOL bCheck)
{
    for (HTREEITEM hChild = m_treeMaterials.GetChildItem(hItem); hChild != nullptr;
         hChild = m_treeMaterials.GetNextSiblingItem(hChild))
    {
        m_treeMaterials.SetCheck(hChild, bCheck);
        for (HTREEITEM hGrandChild = m_treeMaterials.GetChildItem(hChild); hGrandChild != nullptr;
             hGrandChild = m_treeMaterials.GetNextSiblingItem(hGrandChild))
            m_treeMaterials.SetCheck(hGrandChild, bCheck);
    }
}

void CEditMaterialDBDlg::FillEditsFrom(HTREEITEM hItem)
{
    if (m_treeMaterials.ItemHasChildren(hItem))
    {
        m_editMaterialGroup.SetWindowText(m_treeMaterials.GetItemText(hItem));
        m_editMaterialGrade.SetWindowText(L"");
    }
    else
    {
        m_editMaterialGrade.SetWindowText(m_treeMaterials.GetItemText(hItem));
        m_editMaterialGroup.SetWindowText(
            m_treeMaterials.GetItemText(m_treeMaterials.GetParentItem(hItem)));
    }
}

void CEditMaterialDBDlg::OnNMClickMaterialTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0; // the tree goes on to toggle the box or change the selection
    CWnd* pTree = GetDlgItem(IDC_MATERIAL_TREE);
    if (pTree == nullptr)
        return;
    DWORD dwPos = GetMessagePos();
    CPoint pt(GET_X_LPARAM(dwPos), GET_Y_LPARAM(dwPos));
    pTree->ScreenToClient(&pt);
    UINT nFlags = 0;
    HTREEITEM hItem = m_treeMaterials.HitTest(pt, &nFlags);

    if (nFlags & TVHT_ONITEMSTATEICON)
    {
        // The tree toggles the box after this handler: the state read here is the old one.
        BOOL bWasChecked = m_treeMaterials.GetCheck(hItem);
        if (m_hHighlightItem != nullptr)
            m_treeMaterials.SetItemState(m_hHighlightItem, 0, TVIS_SELECTED);
        m_treeMaterials.SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
        m_treeMaterials.EnsureVisible(hItem);
        m_hHighlightItem = hItem;
        CString strText = m_treeMaterials.GetItemText(hItem);
        SetCheckBelow(hItem, !bWasChecked);

        // The parent stays checked while any other child is; the clicked one's old state counts.
        HTREEITEM hParent = m_treeMaterials.GetParentItem(hItem);
        bool bClickedWasChecked = false;
        bool bOtherChecked = false;
        for (HTREEITEM hSibling = m_treeMaterials.GetChildItem(hParent); hSibling != nullptr;
             hSibling = m_treeMaterials.GetNextSiblingItem(hSibling))
        {
            if (!m_treeMaterials.GetCheck(hSibling))
                continue;
            if (m_treeMaterials.GetItemText(hSibling).CompareNoCase(strText) == 0)
                bClickedWasChecked = true;
            else
            {
                bOtherChecked = true;
                break;
            }
        }
        BOOL bCheckParent = !(bClickedWasChecked && !bOtherChecked);
        if (hParent != nullptr)
        {
            m_treeMaterials.SetCheck(hParent, bCheckParent);
            HTREEITEM hGrandParent = m_treeMaterials.GetParentItem(hParent);
            if (hGrandParent != nullptr)
                m_treeMaterials.SetCheck(hGrandParent, bCheckParent);
        }
    }
    else if (nFlags & TVHT_ONITEMLABEL)
    {
        if (m_hHighlightItem != nullptr)
            m_treeMaterials.SetItemState(m_hHighlightItem, 0, TVIS_SELECTED);
        m_treeMaterials.SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
        m_hHighlightItem = hItem;
    }

    if (hItem == nullptr || m_treeMaterials.GetParentItem(hItem) == nullptr)
    {
        m_editMaterialGroup.SetWindowText(L"");
        m_editMaterialGrade.SetWindowText(L"");
        m_editMaterialGroup.EnableWindow(FALSE);
        m_editMaterialGrade.EnableWindow(FALSE);
        GetDlgItem(IDC_DELETE_ENTRY)->EnableWindow(FALSE);
        return;
    }
    m_editMaterialGroup.EnableWindow(TRUE);
    m_editMaterialGrade.EnableWindow(TRUE);
    GetDlgItem(IDC_DELETE_ENTRY)->EnableWindow(TRUE);
    FillEditsFrom(hItem);
}

void CEditMaterialDBDlg::OnTvnSelchangedMaterialTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
    if (hItem != nullptr && m_treeMaterials.GetParentItem(hItem) != nullptr)
        FillEditsFrom(hItem);
    else
    {
        m_editMaterialGroup.SetWindowText(L"");
        m_editMaterialGrade.SetWindowText(L"");
    }
    if (m_hHighlightItem != hItem)
    {
        if (m_hHighlightItem != nullptr)
            m_treeMaterials.SetItemState(m_hHighlightItem, 0, TVIS_SELECTED);
        m_hHighlightItem = hItem;
    }
}

void CEditMaterialDBDlg::OnBnClickedOk()
{
    if (m_pRule == nullptr)
        return;
    // The database edits made while the dialog was open stand.
    m_vecAddedGrades.clear();
    m_vecDeletedGrades.clear();
    CollectCheckedGrades();
    ClearGradeSelection(m_pRule->m_vecMaterialSelection);
    for (auto& entry : m_vecCheckedGrades)
        m_pRule->m_vecMaterialSelection.push_back(entry);
    m_vecCheckedGrades.clear(); // the lists are the rule's now
    CDialog::OnOK();
}

void CEditMaterialDBDlg::OnCancel()
{
    // Without a database nothing could be taken back, so the dialog does not close either.
    IDatabaseCollector* pDB = Database();
    if (pDB == nullptr)
        return;
    if (m_vecAddedGrades.empty() && m_vecDeletedGrades.empty())
    {
        CDialog::OnCancel();
        return;
    }
    if (ShowMessage(LoadRuleString(IDS_DISCARD_DB_CHANGES), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!m_vecAddedGrades.empty())
    {
        pDB->RevertAddedGrades(m_vecAddedGrades, 0);
        pDB->RevertAddedGrades(m_vecAddedGrades, 0);
        m_vecAddedGrades.clear();
    }
    if (!m_vecDeletedGrades.empty())
    {
        pDB->RevertDeletedGrades(m_vecDeletedGrades, 0);
        m_vecDeletedGrades.clear();
    }
    CDialog::OnCancel();
}

int CEditMaterialDBDlg::ShowMessage(const CString& strText, UINT nType)
{
    return MessageBox(strText, LoadRuleString(IDS_MATERIAL_DB_CAPTION), nType);
}
