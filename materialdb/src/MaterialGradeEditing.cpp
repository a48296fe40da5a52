// The material database dialog's editing commands: adding a grade, deleting a grade or a whole
// group, and the add button following what is typed. Every edit goes to the database at once,
// is journalled for Cancel, and the tree is rebuilt keeping the user's check marks.
#include "CEditMaterialDBDlg.h"

#include <RuleResources.h>
#include <VEKDataHelper.h>
#include <resource.h>

namespace
{
IDatabaseCollector* Database()
{
    return vek_db::VEKDataHelper::getInstance();
}

CString WindowText(CWnd* pWnd)
{
    CString str;
    pWnd->GetWindowText(str);
    return str;
}
} // namespace

void CEditMaterialDBDlg::OnEnChangeMaterialText()
{
    CWnd* pGroup = GetDlgItem(IDC_MATERIAL_GROUP);
    CWnd* pGrade = GetDlgItem(IDC_MATERIAL_GRADE);
    if (pGroup == nullptr || pGrade == nullptr)
        return;
    CString strGroup = WindowText(pGroup).Trim();
    CString strGrade = WindowText(pGrade).Trim();
    CWnd* pAdd = GetDlgItem(IDC_ADD_GRADE);
    if (pAdd == nullptr)
        return;
    // With both names typed, Enter adds the grade; otherwise it presses OK.
    bool bBoth = !strGroup.IsEmpty() && !strGrade.IsEmpty();
    pAdd->EnableWindow(bBoth);
    SendMessage(DM_SETDEFID, bBoth ? IDC_ADD_GRADE : IDOK);
}

void CEditMaterialDBDlg::OnBnClickedAddGrade()
{
    IDatabaseCollector* pDB = Database();
    if (pDB == nullptr)
        return;
    CWnd* pGroup = GetDlgItem(IDC_MATERIAL_GROUP);
    CWnd* pGrade = GetDlgItem(IDC_MATERIAL_GRADE);
    CWnd* pAdd = GetDlgItem(IDC_ADD_GRADE);
    if (pGroup == nullptr || pGrade == nullptr || pAdd == nullptr)
        return;
    CString strGroup = WindowText(pGroup);
    CString strGrade = WindowText(pGrade);

    std::vector<CString> vecGroups;
    pDB->GetMaterialGroups(vecGroups, 0);
    bool bRefused = false;
    for (const CString& strExisting : vecGroups)
    {
        if (strGrade == strExisting)
        {
            CString strMessage;
            strMessage.Format(LoadRuleString(IDS_GRADE_IS_GROUP), static_cast<LPCWSTR>(strGrade));
            ShowMessage(strMessage, MB_OK | MB_ICONINFORMATION);
            bRefused = true;
            break;
        }
        if (pDB->IsGradeInGroup(strGrade, strExisting, 0))
        {
            CString strMessage;
            strMessage.Format(LoadRuleString(IDS_GRADE_EXISTS), static_cast<LPCWSTR>(strGrade),
                              static_cast<LPCWSTR>(strExisting));
            ShowMessage(strMessage, MB_OK | MB_ICONINFORMATION);
            bRefused = true;
            break;
        }
    }
    if (!bRefused)
    {
        int nResult = pDB->AddGrade(strGroup, strGrade, 0);
        if (nResult == 5)
        {
            CString strMessage;
            strMessage.Format(LoadRuleString(IDS_GRADE_EXISTS), static_cast<LPCWSTR>(strGrade),
                              static_cast<LPCWSTR>(strGroup));
            ShowMessage(strMessage, MB_OK | MB_ICONINFORMATION);
        }
        else if (nResult == -1)
        {
            ShowMessage(LoadRuleString(IDS_GRADE_ADD_FAILED), MB_OK | MB_ICONERROR);
        }
        else
        {
            GetDlgItem(IDC_DELETE_ENTRY)->EnableWindow(TRUE);
            RefreshMaterialTree(pDB, &strGroup, &strGrade);
            // The refresh put the group's stored form into the group edit.
            strGroup = WindowText(pGroup);
            CString strMessage;
            strMessage.Format(LoadRuleString(IDS_GRADE_ADDED), static_cast<LPCWSTR>(strGrade),
                              static_cast<LPCWSTR>(strGroup));
            ShowMessage(strMessage, MB_OK | MB_ICONINFORMATION);
            m_vecAddedGrades.emplace_back(strGroup, strGrade);
        }
    }
    pAdd->EnableWindow(FALSE);
    m_editMaterialGroup.SetWindowText(L"");
    m_editMaterialGrade.SetWindowText(L"");
}

void CEditMaterialDBDlg::AddCheckedGrade(CString strGroup, CString strGrade)
{
    for (auto& entry : m_vecCheckedGrades)
    {
        if (entry.first.CompareNoCase(strGroup) == 0)
        {
            entry.second->AddTail(strGrade);
            return;
        }
    }
    CStringList* pGrades = new CStringList;
    pGrades->AddTail(strGrade);
    m_vecCheckedGrades.emplace_back(strGroup, pGrades);
}

void CEditMaterialDBDlg::OnBnClickedDeleteEntry()
{
    IDatabaseCollector* pDB = Database();
    if (pDB == nullptr)
        return;
    CString strSelected;
    BOOL bSelected = GetSelectedItemText(strSelected);
    CString strGroup = WindowText(&m_editMaterialGroup);
    CString strGrade = WindowText(&m_editMaterialGrade);

    if (strGroup.IsEmpty() && strGrade.IsEmpty() && !bSelected)
    {
        ShowMessage(LoadRuleString(IDS_DELETE_NOTHING_SELECTED), MB_OK | MB_ICONWARNING);
        return;
    }
    if (bSelected && strGroup.IsEmpty())
    {
        CString strMessage;
        strMessage.Format(LoadRuleString(IDS_DELETE_GROUP_MISSING), static_cast<LPCWSTR>(strGrade));
        ShowMessage(strMessage, MB_OK | MB_ICONWARNING);
        return;
    }

    // The names as the database stores them.
    VekGroupGradePairs vecPairs;
    pDB->GetGroupGradePairs(vecPairs, 0);
    bool bGroupFound = false;
    bool bGradeFound = false;
    for (const auto& pair : vecPairs)
    {
        if (!bGroupFound && pair.first.CompareNoCase(strGroup) == 0)
        {
            strGroup = pair.first;
            bGroupFound = true;
        }
        if (!bGradeFound && pair.second.CompareNoCase(strGrade) == 0 &&
            pair.first.CompareNoCase(strGroup) == 0)
        {
            strGrade = pair.second;
            bGradeFound = true;
        }
        if (bGroupFound && bGradeFound)
            break;
    }

    if (pDB->CanDeleteGrade(strGrade, strGroup, 0) == 0)
    {
        UINT nID = IsEntryInTree(strGrade, strGroup) ? IDS_DELETE_REFUSED_SHOWN
                                                     : IDS_DELETE_REFUSED_NOT_SHOWN;
        ShowMessage(LoadRuleString(nID), MB_OK | MB_ICONWARNING);
        m_editMaterialGroup.SetWindowText(L"");
        m_editMaterialGrade.SetWindowText(L"");
        return;
    }

    CString strQuestion;
    if (strGrade.IsEmpty())
    {
        strQuestion.Format(LoadRuleString(IDS_DELETE_CONFIRM),
                           static_cast<LPCWSTR>(LoadRuleString(IDS_KIND_GROUP)),
                           static_cast<LPCWSTR>(strGroup));
        if (ShowMessage(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        {
            m_editMaterialGroup.SetWindowText(L"");
            m_editMaterialGrade.SetWindowText(L"");
            return;
        }
        CString strGrades;
        pDB->GetGradesOfGroup(strGroup, strGrades, 0);
        std::vector<CString> vecGrades = SplitGradeNames(strGrades);
        // One removal per grade; only the last one reports and rebuilds the tree.
        for (size_t i = 0; i < vecGrades.size(); ++i)
        {
            bool bLast = i + 1 == vecGrades.size();
            RemoveGradeEntry(strGroup, vecGrades[i], bLast, bLast);
        }
    }
    else
    {
        strQuestion.Format(LoadRuleString(IDS_DELETE_CONFIRM),
                           static_cast<LPCWSTR>(LoadRuleString(IDS_KIND_GRADE)),
                           static_cast<LPCWSTR>(strGrade));
        if (ShowMessage(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        RemoveGradeEntry(strGroup, strGrade, true, false);
    }

    if (m_treeMaterials.GetCount() == 0)
        GetDlgItem(IDC_DELETE_ENTRY)->EnableWindow(FALSE);
    CWnd* pAdd = GetDlgItem(IDC_ADD_GRADE);
    if (pAdd == nullptr)
        return;
    pAdd->EnableWindow(FALSE);
    m_editMaterialGroup.SetWindowText(L"");
    m_editMaterialGrade.SetWindowText(L"");
}

void CEditMaterialDBDlg::RemoveGradeEntry(CString& strGroup, CString& strGrade, bool bReport,
                                          bool bWholeGroup)
{
    IDatabaseCollector* pDB = Database();
    if (pDB == nullptr)
        return;
    if (strGroup.IsEmpty() || strGrade.IsEmpty())
    {
        ShowMessage(LoadRuleString(IDS_DELETE_NAME_MISSING), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (pDB->DeleteGrade(strGroup, strGrade, 0) == -1)
    {
        ShowMessage(LoadRuleString(IDS_GRADE_DELETE_FAILED), MB_OK | MB_ICONERROR);
        return;
    }
    if (bReport)
    {
        CString strMessage;
        strMessage.Format(
            LoadRuleString(IDS_DELETED),
            static_cast<LPCWSTR>(LoadRuleString(bWholeGroup ? IDS_KIND_GROUP : IDS_KIND_GRADE)),
            static_cast<LPCWSTR>(bWholeGroup ? strGroup : strGrade));
        ShowMessage(strMessage, MB_OK | MB_ICONINFORMATION);
        RefreshMaterialTree(pDB);
    }
    m_vecDeletedGrades.emplace_back(strGroup, strGrade);
}

bool CEditMaterialDBDlg::IsEntryInTree(CString strGrade, CString strGroup)
{
    HTREEITEM hRoot = m_treeMaterials.GetRootItem();
    if (hRoot == nullptr)
        return false;
    for (HTREEITEM hGroup = m_treeMaterials.GetChildItem(hRoot); hGroup != nullptr;
         hGroup = m_treeMaterials.GetNextSiblingItem(hGroup))
    {
        if (m_treeMaterials.GetItemText(hGroup).CompareNoCase(strGroup) != 0)
            continue;
        if (strGrade.IsEmpty())
            return true;
        for (HTREEITEM hGrade = m_treeMaterials.GetChildItem(hGroup); hGrade != nullptr;
             hGrade = m_treeMaterials.GetNextSiblingItem(hGrade))
            if (m_treeMaterials.GetItemText(hGrade).CompareNoCase(strGrade) == 0)
                return true;
    }
    return false;
}

BOOL CEditMaterialDBDlg::GetSelectedItemText(CString& strText)
{
    HTREEITEM hItem = m_treeMaterials.GetSelectedItem();
    if (hItem == nullptr)
        return FALSE;
    wchar_t szText[1024] = {};
    TVITEM item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = 1024;
    if (!m_treeMaterials.GetItem(&item))
        return FALSE;
    strText = szText;
    return TRUE;
}
