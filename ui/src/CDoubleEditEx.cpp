// CDoubleEditEx: keeps the text to digits and points by putting back the last such text.
#include "CDoubleEditEx.h"

BEGIN_MESSAGE_MAP(CDoubleEditEx, CEdit)
ON_CONTROL_REFLECT(EN_CHANGE, &CDoubleEditEx::OnEnChange)
END_MESSAGE_MAP()

CDoubleEditEx::CDoubleEditEx() = default;

CDoubleEditEx::~CDoubleEditEx() = default;

void CDoubleEditEx::OnEnChange()
{
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty())
        return;
    // Only characters are tested: several points, or a point anywhere, pass.
    CString strRun = strText.SpanIncluding(L".0123456789");
    if (strRun.GetLength() == strText.GetLength())
    {
        m_strLastValid = strText;
        return;
    }
    // Setting the text raises the change again; that pass finds valid or empty text.
    if (!strRun.IsEmpty())
    {
        SetWindowText(m_strLastValid);
        SetSel(65535, 65535, FALSE);
    }
    else
    {
        SetWindowText(L"");
    }
}
