// CCustomComboBox: attaching the combo box's child windows as they ask for colours.
#include "CCustomComboBox.h"

IMPLEMENT_DYNAMIC(CCustomComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CCustomComboBox, CComboBox)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CCustomComboBox::CCustomComboBox() = default;

CCustomComboBox::~CCustomComboBox() = default;

HBRUSH CCustomComboBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd)
    {
        if (nCtlColor == CTLCOLOR_EDIT && !m_edit.GetSafeHwnd())
            m_edit.SubclassWindow(pWnd->GetSafeHwnd());
        else if (nCtlColor == CTLCOLOR_LISTBOX && !m_listbox.GetSafeHwnd())
            m_listbox.SubclassWindow(pWnd->GetSafeHwnd());
    }
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CCustomComboBox::OnDestroy()
{
    if (m_edit.GetSafeHwnd())
        m_edit.Detach();
    if (m_listbox.GetSafeHwnd())
        m_listbox.Detach();
    CComboBox::OnDestroy();
}
