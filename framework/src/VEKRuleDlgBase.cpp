// CVEKRuleDlgBase: help topic handling for rule dialogs.
#include "VEKRuleDlgBase.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CVEKRuleDlgBase, CDialog)

BEGIN_MESSAGE_MAP(CVEKRuleDlgBase, CDialog)
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{
VekHelpViewer& HelpViewer()
{
    static VekHelpViewer s_viewer;
    return s_viewer;
}
} // namespace

CVEKRuleDlgBase::CVEKRuleDlgBase(UINT nIDTemplate, long nTopic, const CString& strHelpFilePath,
                                 CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nHelpTopic(nTopic), m_strHelpFilePath(strHelpFilePath)
{
}

CVEKRuleDlgBase::~CVEKRuleDlgBase() = default;

VekHelpViewer CVEKRuleDlgBase::SetHelpViewer(VekHelpViewer pfn)
{
    VekHelpViewer old = std::move(HelpViewer());
    HelpViewer() = std::move(pfn);
    return old;
}

BOOL CVEKRuleDlgBase::OnInitDialog()
{
    return CDialog::OnInitDialog();
}

BOOL CVEKRuleDlgBase::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1)
    {
        ShowHelp();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CVEKRuleDlgBase::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTHELP)
    {
        ShowHelp();
        return;
    }
    CDialog::OnNcLButtonDown(nHitTest, point);
}

void CVEKRuleDlgBase::ShowHelp() const
{
    if (HelpViewer())
        HelpViewer()(m_strHelpFilePath, m_nHelpTopic);
    else
        fprintf(stderr, "vek: help topic %ld of %ls (no help viewer)\n", m_nHelpTopic,
                m_strHelpFilePath.GetString());
}

void CVEKRuleDlgBase::UpdateListCtrl() {}
void CVEKRuleDlgBase::DeleteRow(int) {}
void CVEKRuleDlgBase::SetMaterialFlagForRule(bool) {}
