// CStatic: MFC's wrapper of the static control.
#include "VekWindowInternal.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"Static", lpszText, dwStyle, rect, pParentWnd, nID);
}
