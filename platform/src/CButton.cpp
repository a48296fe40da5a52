// CButton: MFC's wrapper of the button control.
#include "VekWindowInternal.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID)
{
    return CWnd::Create(L"Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
