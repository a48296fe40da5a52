// CComboBox: MFC's wrapper of the combo box control.
#include "VekWindowInternal.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"ComboBox", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int n = GetLBTextLen(nIndex);
    if (n < 0)
    {
        rString.Empty();
        return;
    }
    LPWSTR p = rString.GetBufferSetLength(n);
    int nGot = GetLBText(nIndex, p);
    rString.ReleaseBuffer(nGot < 0 ? 0 : nGot);
}
