// CDoubleEditEx: an edit that lets only unsigned decimal text stand.
#pragma once

#include <afxwin.h>

class CDoubleEditEx : public CEdit
{
public:
    CDoubleEditEx();
    ~CDoubleEditEx() override;

protected:
    // Runs after every change of the text (typed, pasted or set by program). The notification
    // is handled here, so the parent never receives EN_CHANGE from this control.
    afx_msg void OnEnChange();

    CString m_strLastValid; // the last text made only of digits and points

    DECLARE_MESSAGE_MAP()
};
