// CWrapperComboCtrl: a combo box that can be filled from a string list.
#pragma once

#include <afxwin.h>

class CWrapperComboCtrl : public CComboBox
{
public:
    CWrapperComboCtrl();
    ~CWrapperComboCtrl() override;

    // Replaces the items by the list's strings, added in list order with the ordinary add (so a
    // sorted combo box sorts them).
    void FillFromList(const CStringList& lstItems);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    DECLARE_MESSAGE_MAP()
};
