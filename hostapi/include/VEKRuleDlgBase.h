// CVEKRuleDlgBase: the host framework's base of rule dialogs: a modal dialog that knows its
// help topic and help file, and offers the list operations rule dialogs may override.
#pragma once

#include "VekFrameworkApi.h"

#include <afxwin.h>

#include <functional>

// Shows help topic nTopic of the help file strHelpFile (a compiled help file named as on
// Windows, e.g. "...\\ortiva.chm").
using VekHelpViewer = std::function<void(const CString& strHelpFile, long nTopic)>;

class VEK_FRAMEWORK_API CVEKRuleDlgBase : public CDialog
{
    DECLARE_DYNAMIC(CVEKRuleDlgBase)

public:
    // nIDTemplate: the dialog template in the current resource library; nTopic: the help topic
    // F1 and the caption's help button open in strHelpFilePath.
    CVEKRuleDlgBase(UINT nIDTemplate, long nTopic, const CString& strHelpFilePath,
                    CWnd* pParent = nullptr);
    ~CVEKRuleDlgBase() override;

    BOOL OnInitDialog() override;
    // F1 opens the dialog's help topic; every other message goes to the dialog manager. Enter
    // and Escape are not intercepted here.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Operations rule dialogs with a list of rows may override; they do nothing here.
    virtual void UpdateListCtrl();
    virtual void DeleteRow(int nRow);
    virtual void SetMaterialFlagForRule(bool bMaterial);

    long GetHelpTopic() const { return m_nHelpTopic; }
    const CString& GetHelpFilePath() const { return m_strHelpFilePath; }

    // Installs the viewer help requests go to (an empty one: a line on standard error) and
    // returns the previous one.
    static VekHelpViewer SetHelpViewer(VekHelpViewer pfn);

protected:
    // A click on the caption's help button (HTHELP) opens the help topic; the rest is the
    // window's default processing.
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void ShowHelp() const;

    long m_nHelpTopic;
    CString m_strHelpFilePath;

    DECLARE_MESSAGE_MAP()
};
