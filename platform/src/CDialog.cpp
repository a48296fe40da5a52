// CDialog: modal dialogs created from templates of the current resource library, driven by
// the modal handler until EndDialog.
#include "VekWindowInternal.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    const VEK_RES_DIALOG* pTemplate = VekFindDialogResource(AfxGetResourceHandle(), m_nIDTemplate);
    if (!pTemplate)
    {
        fprintf(stderr, "vek: dialog template %u not found in the current resource library\n",
                m_nIDTemplate);
        return -1;
    }
    HWND hOwner = nullptr;
    if (m_pParentWnd && m_pParentWnd->m_hWnd)
        hOwner = VekGetTopLevel(m_pParentWnd->m_hWnd);
    else if (CDialog* pActive = VekGetActiveModalDialog())
        hOwner = pActive->m_hWnd;
    HWND hFocusBefore = ::GetFocus();

    // The owner stays disabled while this dialog runs, so input cannot reach it.
    bool bEnableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (bEnableOwner)
        ::EnableWindow(hOwner, FALSE);

    struct Cleanup
    {
        CDialog* pDlg;
        HWND hOwner;
        bool bEnableOwner;
        HWND hFocusBefore;
        ~Cleanup()
        {
            pDlg->m_bContinueModal = FALSE;
            VekPopModal(pDlg);
            if (bEnableOwner && ::IsWindow(hOwner))
                ::EnableWindow(hOwner, TRUE);
            if (pDlg->m_hWnd)
                pDlg->DestroyWindow();
            if (hFocusBefore && ::IsWindow(hFocusBefore) && ::IsWindowVisible(hFocusBefore))
                ::SetFocus(hFocusBefore);
        }
    } cleanup{this, hOwner, bEnableOwner, hFocusBefore};

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    VekPushModal(this);
    HWND hDlg = VekCreateDialogFromTemplate(pTemplate, hOwner, this);
    if (!hDlg)
        return -1;
    if (m_bContinueModal)
    {
        ::ShowWindow(hDlg, SW_SHOWNORMAL);
        VekRunModalHandler(*this);
    }
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bContinueModal = FALSE;
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Escape in a multi-line edit reaches the edit as a wanted key; the dialog still cancels,
    // unless its Cancel button is disabled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE) && VekIsClass(pMsg->hwnd, L"Edit"))
    {
        HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (!hItem || ::IsWindowEnabled(hItem))
        {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }
    return PreTranslateInput(pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}
void CDialog::PrevDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}
void CDialog::SetDefID(UINT nID)
{
    SendMessage(DM_SETDEFID, nID);
}
DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(SendMessage(DM_GETDEFID));
}
void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}
