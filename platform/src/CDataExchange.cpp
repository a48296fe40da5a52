// CDataExchange and the DDX_ functions: binding controls to members and moving values between
// controls and members.
#include "VekWindowInternal.h"

#include <cstdio>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, nIDC);
    if (!h)
    {
        fprintf(stderr, "vek: data exchange: no control with id %d\n", nIDC);
        Fail();
    }
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    return PrepareCtrl(nIDC);
}

void CDataExchange::Fail()
{
    throw VekDataExchangeFailure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h))
    {
        fprintf(stderr, "vek: data exchange: control %d is already attached to an object\n", nIDC);
        pDX->Fail();
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    }
    else
    {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(h)->GetWindowText(value);
    else
        ::SetWindowTextW(h, value);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(h, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
