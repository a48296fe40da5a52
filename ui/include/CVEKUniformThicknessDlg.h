// CVEKUniformThicknessDlg: the configuration dialog of a Uniform Thickness rule. The user
// states the limit either as one thickness for the whole part (operator and value) or as one
// thickness per material in the material grid, whose names come from the material groups
// picked into the selected list. The rule changes only when OK succeeds.
#pragma once

#include "CDoubleEditEx.h"
#include "CVEKUWTRuleListCtrl.h"
#include "CWrapperComboCtrl.h"

#include <VEKRuleDlgBase.h>

#include <vector>

class CVEKUniformThicknessRule;

class CVEKUniformThicknessDlg : public CVEKRuleDlgBase
{
    DECLARE_DYNAMIC(CVEKUniformThicknessDlg)

public:
    // pRule is not owned and may be null (the dialog then shows and changes nothing).
    CVEKUniformThicknessDlg(CWnd* pParent, CVEKUniformThicknessRule* pRule);
    ~CVEKUniformThicknessDlg() override;

    // The text of the rule's unit, shown beside the values; set before DoModal.
    void SetUnitText(const CString& strUnit) { m_strUnit = strUnit; }

    // Every message goes to the grid's keys first; the OK button then follows the grid.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Combo index of a severity (1 to 5 give 0 to 4), -1 for any other.
    static int SeverityToIndex(int nSeverity);
    // Severity 1 to 5 of a severity name (strings 40000 to 40004, exact), 0 for any other text.
    static int SeverityFromText(const CString& strText);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Fills the controls from the rule. A missing control ends the start early (FALSE), as
    // does a database library that is not loaded: the dialog then shows what was filled.
    BOOL OnInitDialog() override;

    afx_msg void OnBnClickedOk();
    afx_msg void OnEditMaterialDB();
    afx_msg void OnUniformCheck();
    afx_msg void OnLimitCheck();
    afx_msg void OnMaterialCheck();
    afx_msg void OnAddGroups();
    afx_msg void OnRemoveGroups();

    // Start steps.
    bool InitDBModuleCombo();
    void FillGroupLists();
    bool SetupMaterialGrid();
    void FillMaterialGrid();

    // The names the grid offers: each selected group and its grades, or the process's groups
    // when the database assigns groups per process.
    void CollectMaterialNames(std::vector<CString>& vecNames);
    void CollectProcessMaterialNames(std::vector<CString>& vecNames);
    // The selected groups' names and grades, whatever the database's group assignment.
    void CollectSelectedGroupNames(std::vector<CString>& vecNames);
    // Keeps only the rows whose material is still offered, at their row index.
    void RebuildMaterialGrid();

    void EnableUniformControls(bool bEnable);
    void EnableMaterialControls(bool bEnable);
    void UpdateOkButton();
    bool GridHasNamedRow();

    // OK steps.
    void CommitGridEdit();
    bool CheckMaterialRows();
    void ApplySeverity();
    void ApplyThicknessParameter();
    void ApplyDBModule();
    void ApplyMaterialConstraints();

    CVEKUniformThicknessRule* m_pRule;
    int m_nUniformCheck;
    int m_nMaterialCheck;
    CDoubleEditEx m_editThickness;
    CWrapperComboCtrl m_cmbOperator;
    CWrapperComboCtrl m_cmbSeverity;
    CWrapperComboCtrl m_cmbDBModule;
    CVEKUWTRuleListCtrl m_lstMaterials;
    CListBox m_lbAvailableGroups;
    CListBox m_lbSelectedGroups;
    HMODULE m_hDBModule;
    CString m_strUnit;
    CFont m_fontHeader; // the grid header's font; lives as long as the grid

    DECLARE_MESSAGE_MAP()
};
