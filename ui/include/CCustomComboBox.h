// CCustomComboBox: a combo box that attaches its own child windows (its edit and its drop-down
// list) to member objects the first time each asks for its colours.
#pragma once

#include <afxwin.h>

class CCustomComboBox : public CComboBox
{
    DECLARE_DYNAMIC(CCustomComboBox)

public:
    CCustomComboBox();
    ~CCustomComboBox() override;

protected:
    // Attaches the asking edit or list, once each, then answers with the default colours.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // Lets go of the attached children before the window goes.
    afx_msg void OnDestroy();

    CEdit m_edit;
    CListBox m_listbox;

    DECLARE_MESSAGE_MAP()
};
