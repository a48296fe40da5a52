// CVEKListCtrl: the two in-place editors over the cells of a report list.
#include "CVEKListCtrl.h"

#include <resource.h>

namespace
{
// Child, visible, border, tab stop, multi-line, automatic horizontal scrolling.
const DWORD kEditStyle = 0x50810084;
// Vertical scroll bar, tab stop, drop-down list; visible and child added.
const DWORD kComboStyle = 0x210003 | WS_VISIBLE | WS_CHILD;
} // namespace

IMPLEMENT_DYNAMIC(CVEKListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CVEKListCtrl, CListCtrl)
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CVEKListCtrl::CVEKListCtrl() : m_nFirstEditCol(0), m_nLastCol(0), m_nCurRow(-1), m_nCurCol(-1) {}

CVEKListCtrl::~CVEKListCtrl()
{
    // The editors' objects go after this body; their windows must not outlive them.
    if (m_editCell.GetSafeHwnd())
        m_editCell.DestroyWindow();
    if (m_cmbCell.GetSafeHwnd())
        m_cmbCell.DestroyWindow();
}

int CVEKListCtrl::InsertItem(int nRow, LPCTSTR lpszText)
{
    return CListCtrl::InsertItem(nRow, lpszText);
}

BOOL CVEKListCtrl::SetItemText(int nRow, int nCol, LPCTSTR lpszText)
{
    return CListCtrl::SetItemText(nRow, nCol, lpszText);
}

CRect CVEKListCtrl::EditorRect(int nRow, int nCol) const
{
    CRect rc(0, 0, 0, 0);
    GetSubItemRect(nRow, nCol, LVIR_LABEL, rc);
    rc.top -= 2;
    rc.bottom += 2;
    return rc;
}

void CVEKListCtrl::ShowEditor(int nRow, int nCol, int nLimit)
{
    if (nRow < 0)
        return;
    const CRect rc = EditorRect(nRow, nCol);
    const CString strText = GetItemText(nRow, nCol);
    if (m_editCell.GetSafeHwnd())
    {
        m_editCell.MoveWindow(&rc, TRUE);
        m_editCell.ShowWindow(SW_SHOW);
    }
    else
    {
        m_editCell.Create(kEditStyle, rc, this, IDC_CELL_EDIT);
        m_editCell.SetFont(GetFont());
        m_editCell.LimitText(nLimit);
    }
    m_editCell.SetWindowText(strText);
    m_editCell.SetSel(0, -1, TRUE);
    m_editCell.SetFocus();
    m_nCurRow = nRow;
    m_nCurCol = nCol;
}

void CVEKListCtrl::ShowComboEditor(int nRow, int nCol, int nLimit)
{
    if (nRow < 0)
        return;
    const CRect rc = EditorRect(nRow, nCol);
    const CString strText = GetItemText(nRow, nCol);
    if (m_cmbCell.GetSafeHwnd())
    {
        m_cmbCell.MoveWindow(&rc, TRUE);
        m_cmbCell.ShowWindow(SW_SHOW);
    }
    else
    {
        m_cmbCell.Create(kComboStyle, rc, this, IDC_CELL_COMBO);
        m_cmbCell.SetFont(GetFont());
        m_cmbCell.LimitText(nLimit);
    }
    m_cmbCell.ResetContent();
    int nSelect = 0;
    for (size_t i = 0; i < m_vecComboItems.size(); ++i)
    {
        m_cmbCell.AddString(m_vecComboItems[i]);
        if (m_vecComboItems[i].CompareNoCase(strText) == 0)
            nSelect = static_cast<int>(i);
    }
    m_cmbCell.SetCurSel(nSelect);
    m_cmbCell.SetFocus();
    m_nCurRow = nRow;
    m_nCurCol = nCol;
}

int CVEKListCtrl::CommitEdit(CString& strText)
{
    if (!IsEditVisible())
        return 0;
    CString strNew;
    m_editCell.GetWindowText(strNew);
    m_editCell.ShowWindow(SW_HIDE);
    SetItemText(m_nCurRow, m_nCurCol, strNew);
    strText = strNew;
    return 1;
}

int CVEKListCtrl::CommitComboEdit(CString& strText, const CString& strSuffix)
{
    const CString strOld = GetItemText(m_nCurRow, m_nCurCol);
    if (!m_cmbCell.GetSafeHwnd() || !m_cmbCell.IsWindowVisible())
        return 0;
    CString strNew;
    m_cmbCell.GetWindowText(strNew);
    m_cmbCell.ShowWindow(SW_HIDE);
    // Choosing the name the cell holds is no duplicate; any other row's name is.
    if (strNew.CompareNoCase(strOld) != 0 && IsNameInFirstColumn(strNew))
    {
        AfxMessageBox(strNew + L" " + strSuffix, MB_OK, 0);
        return 0;
    }
    SetItemText(m_nCurRow, m_nCurCol, strNew);
    strText = strNew;
    return 1;
}

int CVEKListCtrl::HideEdit()
{
    if (!IsEditVisible())
        return 0;
    m_editCell.ShowWindow(SW_HIDE);
    return 1;
}

int CVEKListCtrl::HideCombo()
{
    if (!m_cmbCell.GetSafeHwnd() || !m_cmbCell.IsWindowVisible())
        return 0;
    m_cmbCell.ShowWindow(SW_HIDE);
    return 1;
}

int CVEKListCtrl::IsEditVisible() const
{
    return m_editCell.GetSafeHwnd() && m_editCell.IsWindowVisible() ? 1 : 0;
}

int CVEKListCtrl::IsNameInFirstColumn(const CString& strName) const
{
    const int nRows = GetItemCount();
    for (int nRow = 0; nRow < nRows; ++nRow)
    {
        if (GetItemText(nRow, 0).CompareNoCase(strName) == 0)
            return 1;
    }
    return 0;
}

int CVEKListCtrl::DeleteSelectedRows()
{
    const int nSelected = static_cast<int>(GetSelectedCount());
    if (nSelected == 0)
        return 0;
    // Each selected row makes way for an empty one, so no other row changes its index.
    int nRow = -1;
    for (int i = 0; i < nSelected; ++i)
    {
        nRow = GetNextItem(nRow, LVNI_SELECTED);
        if (!DeleteItem(nRow))
            return 0;
        InsertItem(nRow, L"");
    }
    return 1;
}

void CVEKListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
    Invalidate(TRUE);
    UpdateWindow();
}
