// CListBox: MFC's wrapper of the list box control.
#include "VekWindowInternal.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"ListBox", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int n = GetTextLen(nIndex);
    if (n < 0)
    {
        rString.Empty();
        return;
    }
    LPWSTR p = rString.GetBufferSetLength(n);
    int nGot = GetText(nIndex, p);
    rString.ReleaseBuffer(nGot < 0 ? 0 : nGot);
}
