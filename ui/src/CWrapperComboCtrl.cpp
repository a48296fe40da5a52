// CWrapperComboCtrl: filling a combo box from a string list.
#include "CWrapperComboCtrl.h"

BEGIN_MESSAGE_MAP(CWrapperComboCtrl, CComboBox)
ON_WM_CREATE()
END_MESSAGE_MAP()

CWrapperComboCtrl::CWrapperComboCtrl() = default;

CWrapperComboCtrl::~CWrapperComboCtrl() = default;

int CWrapperComboCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CComboBox::OnCreate(lpCreateStruct);
}

void CWrapperComboCtrl::FillFromList(const CStringList& lstItems)
{
    ResetContent();
    POSITION pos = lstItems.GetHeadPosition();
    while (pos)
        AddString(lstItems.GetNext(pos));
}
