// CVEKListCtrl: a report list whose cells are edited in place, by a text box laid over a cell
// or by a drop-down list of offered names. It owns both editors and remembers the cell on which
// one was last opened; it draws nothing of its own and keeps no data per row beyond the texts.
#pragma once

#include "CCustomComboBox.h"

#include <afxcmn.h>

#include <vector>

class CVEKListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CVEKListCtrl)

public:
    CVEKListCtrl();
    // Destroys the editor windows that still exist.
    ~CVEKListCtrl() override;

    // Inserts a row with the given column-0 text at nRow (the rows below move down); returns
    // its index, or -1.
    int InsertItem(int nRow, LPCTSTR lpszText);
    // Sets one cell's text; FALSE, and nothing changes, for a cell that does not exist.
    BOOL SetItemText(int nRow, int nCol, LPCTSTR lpszText);

    // Opens the text editor over the cell, with the cell's text selected and the focus; the
    // editor is created on first use with nLimit as its text limit. Nothing for a negative row.
    void ShowEditor(int nRow, int nCol, int nLimit);
    // Opens the list editor over the cell, filled with the offered names and showing the one
    // equal to the cell's text (ignoring case), else the first. Nothing for a negative row.
    void ShowComboEditor(int nRow, int nCol, int nLimit);

    // Writes the open text editor's text into its cell and hides the editor. Returns 1 and the
    // text in strText, or 0 (strText unchanged) when the editor was not open.
    int CommitEdit(CString& strText);
    // Writes the open list editor's name into its cell and hides the editor. A name that
    // another row holds already (ignoring case) is refused with the message "<name>
    // <strSuffix>"; the cell keeps its text. Returns 1 and the name in strText, else 0.
    int CommitComboEdit(CString& strText, const CString& strSuffix);
    // Hide an editor without committing it; 1 when it was visible, else 0.
    int HideEdit();
    int HideCombo();
    // 1 when the text editor exists and is visible.
    int IsEditVisible() const;
    // 1 when some row's column 0 equals strName, ignoring case.
    int IsNameInFirstColumn(const CString& strName) const;
    // Replaces every selected row by an empty, unselected row at the same index. Returns 0
    // when nothing was selected or a row could not be deleted, else 1.
    int DeleteSelectedRows();

    // The cell on which an editor was last opened; -1 before any.
    int GetCurRow() const { return m_nCurRow; }
    int GetCurCol() const { return m_nCurCol; }

protected:
    // Default scrolling, then the whole grid is repainted at once. Open editors stay put.
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    // The cell's label rectangle, 2 pixels taller on each side: where an editor goes.
    CRect EditorRect(int nRow, int nCol) const;

    int m_nFirstEditCol;                  // lowest column Left moves the text editor to
    int m_nLastCol;                       // index of the last column
    std::vector<CString> m_vecComboItems; // names the list editor offers, in order
    CEdit m_editCell;                     // in-place text editor, created on first use
    CCustomComboBox m_cmbCell;            // in-place list editor, created on first use
    int m_nCurRow;
    int m_nCurCol;

    DECLARE_MESSAGE_MAP()
};
