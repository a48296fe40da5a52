// CEditMaterialDBDlg: the material database as a check-box tree of groups and grades. The check
// marks choose the rule's materials (applied on OK); the add and delete commands edit the
// database at once and are journalled, so that a confirmed Cancel takes them back.
#pragma once

#include <CVekRule.h>
#include <IDatabaseCollector.h>
#include <VEKRuleDlgBase.h>

#include <afxcmn.h>

#include <utility>
#include <vector>

class CEditMaterialDBDlg : public CVEKRuleDlgBase
{
    DECLARE_DYNAMIC(CEditMaterialDBDlg)

public:
    // pRule: the rule whose material selection the dialog edits (not owned; may be null, then
    // the tree stays empty and OK does nothing).
    CEditMaterialDBDlg(CWnd* pParent, CVekRule* pRule);
    // Releases neither the rule nor the lists of m_vecCheckedGrades (after OK they are the rule's).
    ~CEditMaterialDBDlg() override;

    // Tree operations, shared by the check-mark handling and the editing commands.
    void FillMaterialTree();
    void BuildMaterialTree(const std::vector<CString>& vecGroups);
    void CollectCheckedGrades();
    // Checks the groups and grades the selection names (case-insensitive); clears nothing.
    void ApplyCheckedGrades(const VekMaterialSelection& vecSelection);
    static void ClearGradeSelection(VekMaterialSelection& vecSelection);
    // Rebuilds the tree from the database, keeping the check marks. pszAddedGroup and
    // pszAddedGrade, when given, name a grade just added: it comes back checked, and the group
    // edit shows the group as the database stores it.
    void RefreshMaterialTree(IDatabaseCollector* pDB, const CString* pstrAddedGroup = nullptr,
                             const CString* pstrAddedGrade = nullptr);

    // Editing commands.
    void RemoveGradeEntry(CString& strGroup, CString& strGrade, bool bReport, bool bWholeGroup);
    bool IsEntryInTree(CString strGrade, CString strGroup);
    BOOL GetSelectedItemText(CString& strText);
    void AddCheckedGrade(CString strGroup, CString strGrade);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    afx_msg void OnBnClickedOk();
    afx_msg void OnBnClickedAddGrade();
    afx_msg void OnBnClickedDeleteEntry();
    afx_msg void OnEnChangeMaterialText();
    afx_msg void OnTvnSelchangedMaterialTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnNMClickMaterialTree(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

private:
    // The group items' filtered names as the database lists them (hidden groups left out).
    static std::vector<CString> VisibleGroups(IDatabaseCollector* pDB);
    void FillEditsFrom(HTREEITEM hItem);
    void SetCheckBelow(HTREEITEM hItem, BOOL bCheck);
    // A message box of this dialog (caption string 40043); the button pressed.
    int ShowMessage(const CString& strText, UINT nType);

public:
    CVekRule* m_pRule;
    CEdit m_editMaterialGroup;
    CEdit m_editMaterialGrade;
    CTreeCtrl m_treeMaterials;
    VekGroupGradePairs m_vecAddedGrades;
    VekGroupGradePairs m_vecDeletedGrades;
    VekMaterialSelection m_vecCheckedGrades;
    HTREEITEM m_hHighlightItem;
};

// Splits a database answer of grade names joined by ";": empty pieces are dropped, the others
// kept as they are (not trimmed).
std::vector<CString> SplitGradeNames(const CString& strGrades);
