// CVEKUWTRuleListCtrl: the material grid of the uniform thickness dialog. Column 0 holds a
// material name chosen from the offered names (double click), the columns right of it numbers
// typed into the text editor (click); column 2, when there is one, is an upper bound for
// column 1. The dialog hands every message it pre-translates to PreTranslateKey.
#pragma once

#include "CVEKListCtrl.h"

#include <map>
#include <vector>

class CVEKUWTRuleListCtrl : public CVEKListCtrl
{
    DECLARE_DYNAMIC(CVEKUWTRuleListCtrl)

public:
    CVEKUWTRuleListCtrl();
    ~CVEKUWTRuleListCtrl() override;

    // Inserts one left-aligned column per title (200 pixels for the first, 120 for the
    // others) unless the grid has columns already, in which case nothing changes.
    void SetColumns(const std::vector<CString>& vecTitles);
    // The names the list editor offers from its next opening on.
    void SetComboItems(const std::vector<CString>& vecNames);

    // The grid's keys (Tab, Enter, Escape, arrows, Delete), whatever window a key-down is
    // for. Non-zero when the message was handled and must go no further.
    BOOL PreTranslateKey(MSG* pMsg);

    // Commits the open text editor into (nRow, nCol); a text that is not a number, or a
    // column-1 value above the column-2 value (reported), leaves the cell empty.
    void CommitValueEdit(int nRow, int nCol);
    // For columns 1 and 2: 0, after a message, when both cells of the row hold numbers and
    // the first exceeds the second by more than the tolerance; 1 otherwise.
    int CheckValueRange(int nRow, int nCol);

protected:
    // Fills the two cells right of a committed name with the name's default texts (empty
    // when the name has none).
    void ApplyValueDefaults(int nRow, int nCol, const CString& strName);
    // Commits whatever editor is open on the current cell, with the checks of Enter and click.
    void CommitCurrentCell();

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    std::map<CString, CString> m_mapFirstValueDefaults;
    std::map<CString, CString> m_mapSecondValueDefaults;

    DECLARE_MESSAGE_MAP()
};
