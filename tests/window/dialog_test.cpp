// Modal dialogs from a resource library, driven through the modal handler and the input path:
// typing, clicks, Enter, Escape, Tab, a nested dialog and message boxes.
#include "TestDialogFixture.h"
#include "VekTestParent.h"

#include "CCustomComboBox.h"
#include "VEKRuleDlgBase.h"

#include <afxcmn.h>

#include <string>

namespace
{

class CInnerDlg : public CDialog
{
public:
    CInnerDlg(CWnd* pParent) : CDialog(200, pParent) {}
    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 2001, m_strText); }
};

class CMainDlg : public CDialog
{
public:
    CMainDlg() : CDialog(100) {}
    int m_nCheck = 0;
    CString m_strText;
    CEdit m_edit;
    INT_PTR m_nInnerResult = 0;
    CString m_strInnerText;
    int m_nAnswer = 0;
    int m_nEditChanges = 0;
    std::vector<UINT> m_keysSeen; // WM_KEYDOWN seen by PreTranslateMessage
    bool m_bEatDelete = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
        {
            m_keysSeen.push_back(static_cast<UINT>(pMsg->wParam));
            if (m_bEatDelete && pMsg->wParam == VK_DELETE)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, 1001, m_edit);
        DDX_Check(pDX, 1002, m_nCheck);
        DDX_Text(pDX, 1001, m_strText);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        auto* pCombo = static_cast<CComboBox*>(GetDlgItem(1003));
        pCombo->AddString(L"One");
        pCombo->AddString(L"Two");
        return TRUE;
    }
    void OnNested()
    {
        CInnerDlg dlg(this);
        m_nInnerResult = dlg.DoModal();
        m_strInnerText = dlg.m_strText;
    }
    void OnAsk() { m_nAnswer = MessageBox(L"Sure?", L"Question", MB_YESNO | MB_ICONQUESTION); }
    void OnEditChange() { ++m_nEditChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
ON_BN_CLICKED(1004, &CMainDlg::OnNested)
ON_BN_CLICKED(1008, &CMainDlg::OnAsk)
ON_EN_CHANGE(1001, &CMainDlg::OnEditChange)
END_MESSAGE_MAP()

struct DialogFixture : TestDialogFixture
{
    void Handle(VekModalHandler pfn) { oldHandler = VekSetModalHandler(std::move(pfn)); }
    static HWND Item(CDialog& dlg, int nID) { return ::GetDlgItem(dlg.m_hWnd, nID); }
};

TEST_F(DialogFixture, WithoutHandlerTheDialogIsCancelled)
{
    VekModalHandler previous = VekSetModalHandler(nullptr);
    CMainDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    VekSetModalHandler(previous);
}

// A data exchange naming a control the template lacks fails: OK then keeps the dialog open.
class CBrokenExchangeDlg : public CDialog
{
public:
    CBrokenExchangeDlg() : CDialog(300) {}
    CEdit m_edit;
    int m_nMissing = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 3001, m_edit);
        DDX_Check(pDX, 4242, m_nMissing);
    }
};

TEST_F(DialogFixture, FailedDataExchangeKeepsTheDialogOpen)
{
    bool bBound = false;
    bool bOpenAfterOk = false;
    Handle([&](CDialog& dlg) {
        auto& broken = static_cast<CBrokenExchangeDlg&>(dlg);
        bBound = broken.m_edit.m_hWnd == Item(dlg, 3001); // bound before the failing line
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
        bOpenAfterOk = dlg.IsModalRunning();
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
    });
    CBrokenExchangeDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(bBound);
    EXPECT_TRUE(bOpenAfterOk);
}

TEST_F(DialogFixture, MissingTemplateFails)
{
    CDialog dlg(999);
    EXPECT_EQ(-1, dlg.DoModal());
}

TEST_F(DialogFixture, TypeTabSpaceAndEnterReachOkWithTheData)
{
    UINT nTemplateSeen = 0;
    HWND hFocusAtStart = nullptr;
    Handle([&](CDialog& dlg) {
        nTemplateSeen = dlg.GetTemplateID();
        hFocusAtStart = GetFocus();
        ASSERT_TRUE(VekInput::Type(L"abc"));
        ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        EXPECT_EQ(Item(dlg, 1002), GetFocus());
        ASSERT_TRUE(VekInput::KeyDown(VK_SPACE));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
        EXPECT_FALSE(dlg.IsModalRunning());
    });
    CMainDlg dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(100u, nTemplateSeen);
    EXPECT_EQ(L"abc", dlg.m_strText);
    EXPECT_EQ(BST_CHECKED, dlg.m_nCheck);
    EXPECT_EQ(1 + 3, dlg.m_nEditChanges);  // the data exchange at the start, then three keys
    EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd); // let go with the dialog
    EXPECT_NE(nullptr, hFocusAtStart);
}

TEST_F(DialogFixture, EscapeCancelsAndKeepsTheMembers)
{
    Handle([&](CDialog&) {
        ASSERT_TRUE(VekInput::Type(L"xyz"));
        ASSERT_TRUE(VekInput::KeyDown(VK_ESCAPE));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(L"", dlg.m_strText);
}

struct KeyCase
{
    const char* name;
    UINT nVirtKey;
    INT_PTR nResult;
};

class BareDialogKeys : public DialogFixture, public ::testing::WithParamInterface<KeyCase>
{
};

// Without a default button Enter still ends with IDOK; without a Cancel button Escape still
// cancels.
TEST_P(BareDialogKeys, EndTheDialog)
{
    Handle([&](CDialog&) { ASSERT_TRUE(VekInput::KeyDown(GetParam().nVirtKey)); });
    CDialog dlg(300);
    EXPECT_EQ(GetParam().nResult, dlg.DoModal());
}

INSTANTIATE_TEST_SUITE_P(Keys, BareDialogKeys,
                         ::testing::Values(KeyCase{"enter", VK_RETURN, IDOK},
                                           KeyCase{"escape", VK_ESCAPE, IDCANCEL}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             return info.param.name;
                         });

TEST_F(DialogFixture, TabSkipsDisabledAndHiddenControlsAndWraps)
{
    std::vector<int> order;
    std::vector<int> back;
    Handle([&](CDialog& dlg) {
        ShowWindow(Item(dlg, 1008), SW_HIDE);
        for (int i = 0; i < 7; ++i)
        {
            order.push_back(GetDlgCtrlID(GetFocus()));
            ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        }
        for (int i = 0; i < 2; ++i)
        {
            ASSERT_TRUE(VekInput::KeyDown(VK_TAB, VEK_MOD_SHIFT));
            back.push_back(GetDlgCtrlID(GetFocus()));
        }
        dlg.EndDialog(IDCANCEL);
    });
    CMainDlg dlg;
    dlg.DoModal();
    EXPECT_EQ((std::vector<int>{1001, 1002, 1003, 1004, 1006, 1, 2}), order);
    EXPECT_EQ((std::vector<int>{2, 1}), back);
}

// Moving the focus onto a push button gives it the default look, so Enter presses it; the
// dialog's default id stays.
TEST_F(DialogFixture, EnterOnAFocusedButtonClicksIt)
{
    Handle([&](CDialog& dlg) {
        dlg.GotoDlgCtrl(dlg.GetDlgItem(IDCANCEL));
        EXPECT_EQ(Item(dlg, IDCANCEL), GetFocus());
        EXPECT_EQ(static_cast<LONG>(BS_DEFPUSHBUTTON),
                  GetWindowLongW(Item(dlg, IDCANCEL), GWL_STYLE) & BS_TYPEMASK);
        EXPECT_EQ(static_cast<LONG>(BS_PUSHBUTTON),
                  GetWindowLongW(Item(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)), dlg.GetDefID());
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(DialogFixture, DefaultIdDecidesEnterAndADisabledDefaultDoesNothing)
{
    Handle([&](CDialog& dlg) {
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)), dlg.GetDefID());
        dlg.SetDefID(1007); // disabled
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(1007, DC_HASDEFID)), dlg.GetDefID());
        EXPECT_EQ(static_cast<LONG>(BS_PUSHBUTTON),
                  GetWindowLongW(Item(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
        EXPECT_TRUE(dlg.IsModalRunning());
        dlg.SetDefID(2);
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

// A button of the outer dialog opens the inner one; the same handler drives both. While the
// inner dialog runs the outer one takes no input.
TEST_F(DialogFixture, NestedDialogRunsInsideAClick)
{
    BOOL bOuterClick = TRUE;
    Handle([&](CDialog& dlg) {
        if (dlg.GetTemplateID() == 200)
        {
            HWND hOuterCheck = ::GetDlgItem(dlg.GetParent()->m_hWnd, 1002);
            bOuterClick = VekInput::Click(hOuterCheck);
            EXPECT_EQ(&dlg, VekGetActiveModalDialog());
            ASSERT_TRUE(VekInput::Type(L"inner"));
            ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
            return;
        }
        ASSERT_TRUE(VekInput::Click(Item(dlg, 1004)));
        EXPECT_TRUE(dlg.IsModalRunning());
        EXPECT_EQ(&dlg, VekGetActiveModalDialog());
        EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
        ASSERT_TRUE(VekInput::Click(Item(dlg, 2)));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(IDOK, dlg.m_nInnerResult);
    EXPECT_EQ(L"inner", dlg.m_strInnerText);
    EXPECT_FALSE(bOuterClick);
    EXPECT_EQ(BST_UNCHECKED, dlg.m_nCheck);
}

TEST_F(DialogFixture, MessageBoxGoesToTheResponder)
{
    HWND hOwnerSeen = nullptr;
    CString strText;
    UINT nType = 0;
    VekSetMessageBoxResponder([&](HWND hOwner, const CString& text, const CString&, UINT type) {
        hOwnerSeen = hOwner;
        strText = text;
        nType = type;
        return IDNO;
    });
    HWND hDlg = nullptr;
    Handle([&](CDialog& dlg) {
        hDlg = dlg.m_hWnd;
        ASSERT_TRUE(VekInput::Click(Item(dlg, 1008)));
        dlg.EndDialog(IDOK);
    });
    CMainDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(IDNO, dlg.m_nAnswer);
    EXPECT_EQ(hDlg, hOwnerSeen);
    EXPECT_EQ(L"Sure?", strText);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), nType);
}

// Keys go through the dialog's PreTranslateMessage before the focused control, which can take
// them away from it.
TEST_F(DialogFixture, PreTranslateMessageSeesKeysFirst)
{
    CString strAfter;
    Handle([&](CDialog& dlg) {
        auto& main = static_cast<CMainDlg&>(dlg);
        ASSERT_TRUE(VekInput::Type(L"ab"));
        ASSERT_TRUE(VekInput::KeyDown(VK_HOME));
        main.m_bEatDelete = true;
        ASSERT_TRUE(VekInput::KeyDown(VK_DELETE));
        CWnd::FromHandle(Item(dlg, 1001))->GetWindowText(strAfter);
        dlg.EndDialog(IDCANCEL);
    });
    CMainDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(L"ab", strAfter);
    EXPECT_EQ((std::vector<UINT>{'A', 'B', VK_HOME, VK_DELETE}), dlg.m_keysSeen);
}

TEST_F(DialogFixture, ControlsLookedUpByIdHaveTheirClass)
{
    Handle([&](CDialog& dlg) {
        CWnd* pCheck = dlg.GetDlgItem(1002);
        ASSERT_NE(nullptr, pCheck);
        EXPECT_TRUE(pCheck->IsKindOf(RUNTIME_CLASS(CButton)));
        EXPECT_TRUE(dlg.GetDlgItem(1003)->IsKindOf(RUNTIME_CLASS(CComboBox)));
        EXPECT_TRUE(dlg.GetDlgItem(1005)->IsKindOf(RUNTIME_CLASS(CStatic)));
        EXPECT_EQ(nullptr, dlg.GetDlgItem(4242));
        static_cast<CButton*>(pCheck)->SetCheck(BST_CHECKED);
        // A click on the label passes through it to the dialog.
        EXPECT_TRUE(VekInput::Click(Item(dlg, 1005)));
        CRect rc;
        dlg.GetDlgItem(1005)->GetWindowRect(&rc);
        EXPECT_EQ(dlg.m_hWnd, WindowFromPoint(rc.CenterPoint()));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(BST_CHECKED, dlg.m_nCheck);
}

// Enter in a multi-line edit without ES_WANTRETURN goes to the default button.
TEST_F(DialogFixture, EnterInAMultiLineEditPressesTheDefaultButton)
{
    Handle([&](CDialog& dlg) {
        ::SetFocus(Item(dlg, 1006));
        ASSERT_TRUE(VekInput::Type(L"x"));
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    });
    CMainDlg dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
}

TEST_F(DialogFixture, DialogGeometryFollowsDialogUnits)
{
    Handle([&](CDialog& dlg) {
        CRect rcClient;
        dlg.GetClientRect(&rcClient);
        CRect rcExpected(0, 0, 220, 110);
        dlg.MapDialogRect(&rcExpected);
        EXPECT_EQ(rcExpected, rcClient);
        CRect rcEdit;
        dlg.GetDlgItem(1001)->GetWindowRect(&rcEdit);
        dlg.ScreenToClient(&rcEdit);
        CRect rcEditExpected(7, 7, 107, 21);
        dlg.MapDialogRect(&rcEditExpected);
        EXPECT_EQ(rcEditExpected, rcEdit);
        dlg.EndDialog(IDCANCEL);
    });
    CMainDlg dlg;
    dlg.DoModal();
}

class CRuleDlg : public CVEKRuleDlgBase
{
public:
    CRuleDlg() : CVEKRuleDlgBase(400, 7010, L"C:\\res\\ortiva.chm") {}
};

TEST_F(DialogFixture, RuleDialogOpensItsHelpTopic)
{
    std::vector<long> topics;
    CString strFile;
    VekHelpViewer oldViewer = CVEKRuleDlgBase::SetHelpViewer([&](const CString& f, long n) {
        strFile = f;
        topics.push_back(n);
    });
    Handle([&](CDialog& dlg) {
        ASSERT_TRUE(VekInput::KeyDown(VK_F1));
        ASSERT_TRUE(VekInput::NcClick(dlg.m_hWnd, HTHELP));
        ASSERT_TRUE(VekInput::NcClick(dlg.m_hWnd, HTCAPTION));
        EXPECT_TRUE(dlg.IsModalRunning());
        ASSERT_TRUE(VekInput::KeyDown(VK_RETURN));
    });
    CRuleDlg dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<long>{7010, 7010}), topics);
    EXPECT_EQ(L"C:\\res\\ortiva.chm", strFile);
    CVEKRuleDlgBase::SetHelpViewer(oldViewer);
}

// A report list with an in-place text editor and list editor over its cells, as a grid builds
// them: keys in the editors reach the dialog, and the list editor works from inside the list.
class CGridDlg : public CDialog
{
public:
    CGridDlg() : CDialog(500) {}
    CListCtrl m_list;
    CEdit m_cellEdit;
    CCustomComboBox m_cellCombo;
    int m_nListClicks = 0;
    std::vector<HWND> m_downTargets; // WM_LBUTTONDOWN seen by PreTranslateMessage

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_LBUTTONDOWN)
            m_downTargets.push_back(pMsg->hwnd);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 5001, m_list); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_list.SetExtendedStyle(0x471);
        m_list.InsertColumn(0, L"Material", LVCFMT_LEFT, 200, 0);
        m_list.InsertColumn(1, L"Thickness", LVCFMT_LEFT, 120, 1);
        for (int i = 0; i < 20; ++i)
            m_list.InsertItem(i, L"");
        m_list.SetItemText(0, 0, L"Steel");
        CRect rc;
        m_list.GetSubItemRect(0, 1, LVIR_LABEL, rc);
        rc.InflateRect(0, 2);
        m_cellEdit.Create(0x50810084, rc, &m_list, 40014);
        m_cellEdit.SetFont(m_list.GetFont());
        m_cellEdit.LimitText(260);
        m_list.GetSubItemRect(1, 0, LVIR_LABEL, rc);
        rc.InflateRect(0, 2);
        m_cellCombo.Create(0x210003 | WS_VISIBLE | WS_CHILD, rc, &m_list, 40015);
        m_cellCombo.AddString(L"Iron");
        m_cellCombo.AddString(L"Steel");
        return TRUE;
    }
    void OnListClick(NMHDR*, LRESULT*) { ++m_nListClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGridDlg, CDialog)
ON_NOTIFY(NM_CLICK, 5001, &CGridDlg::OnListClick)
END_MESSAGE_MAP()

TEST_F(DialogFixture, TabInACellEditorMovesTheDialogOn)
{
    CString strCell;
    int nFocusAfter = 0;
    Handle([&](CDialog& dlg) {
        auto& grid = static_cast<CGridDlg&>(dlg);
        grid.m_cellEdit.SetFocus();
        ASSERT_TRUE(VekInput::Type(L"2.5"));
        ASSERT_TRUE(VekInput::KeyDown(VK_TAB));
        nFocusAfter = GetDlgCtrlID(GetFocus());
        grid.m_cellEdit.GetWindowText(strCell);
        dlg.EndDialog(IDCANCEL);
    });
    CGridDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(L"2.5", strCell);
    EXPECT_EQ(5002, nFocusAfter);
}

struct GridKeyCase
{
    const char* name;
    UINT nVirtKey;
    INT_PTR nResult;
};

class GridEditorKeys : public DialogFixture, public ::testing::WithParamInterface<GridKeyCase>
{
};

// The cell editor's parent is the list view, which has no default button: Enter presses
// nothing and leaves the text as it is (IDIGNORE: the handler ended the dialog itself). Escape
// still cancels the dialog.
TEST_P(GridEditorKeys, ReachTheDialog)
{
    CString strCell;
    HWND hFocusAfter = nullptr;
    HWND hEditor = nullptr;
    Handle([&](CDialog& dlg) {
        auto& grid = static_cast<CGridDlg&>(dlg);
        hEditor = grid.m_cellEdit.m_hWnd;
        grid.m_cellEdit.SetFocus();
        ASSERT_TRUE(VekInput::Type(L"2.5"));
        ASSERT_TRUE(VekInput::KeyDown(GetParam().nVirtKey));
        if (!dlg.IsModalRunning())
            return;
        hFocusAfter = GetFocus();
        grid.m_cellEdit.GetWindowText(strCell);
        dlg.EndDialog(IDIGNORE);
    });
    CGridDlg dlg;
    EXPECT_EQ(GetParam().nResult, dlg.DoModal());
    if (GetParam().nResult == IDIGNORE)
    {
        EXPECT_EQ(hEditor, hFocusAfter);
        EXPECT_EQ(L"2.5", strCell);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, GridEditorKeys,
                         ::testing::Values(GridKeyCase{"enter", VK_RETURN, IDIGNORE},
                                           GridKeyCase{"escape", VK_ESCAPE, IDCANCEL}),
                         [](const ::testing::TestParamInfo<GridKeyCase>& info) {
                             return info.param.name;
                         });

TEST_F(DialogFixture, ListEditorInsideTheListChoosesAName)
{
    CString strChosen;
    bool bListAttached = false;
    Handle([&](CDialog& dlg) {
        auto& grid = static_cast<CGridDlg&>(dlg);
        ASSERT_TRUE(VekInput::Click(grid.m_cellCombo.m_hWnd));
        COMBOBOXINFO info = {};
        ASSERT_TRUE(grid.m_cellCombo.GetComboBoxInfo(&info));
        bListAttached = CWnd::FromHandlePermanent(info.hwndList) != nullptr;
        CRect rcItem;
        ::SendMessageW(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
        POINT pt = rcItem.CenterPoint();
        ClientToScreen(info.hwndList, &pt);
        ASSERT_TRUE(VekInput::ClickAt(pt));
        grid.m_cellCombo.GetWindowText(strChosen);
        // A click on an uncovered cell of column 0 selects its row and is reported.
        CRect rc;
        grid.m_list.GetSubItemRect(3, 0, LVIR_LABEL, rc);
        ASSERT_TRUE(VekInput::Click(grid.m_list.m_hWnd, rc.CenterPoint()));
        EXPECT_EQ(3, grid.m_list.GetNextItem(-1, LVNI_SELECTED));
        dlg.EndDialog(IDOK);
    });
    CGridDlg dlg;
    dlg.DoModal();
    EXPECT_TRUE(bListAttached);
    EXPECT_EQ(L"Steel", strChosen);
    EXPECT_EQ(1, dlg.m_nListClicks);
    ASSERT_EQ(3u, dlg.m_downTargets.size()); // the combo box, its list, the list view
}
// A dialog whose command handler destroys a window (the dialog itself or the control that
// sent the command) the first time a chosen notification arrives.
class CDestroyingDlg : public CDialog
{
public:
    CDestroyingDlg() : CDialog(100) {}
    UINT m_nID = 0;
    UINT m_nCode = 0;
    bool m_bDestroyDialog = true;
    bool m_bRan = false;
    HWND m_hSender = nullptr;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::SendMessageW(::GetDlgItem(m_hWnd, 1003), CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(L"One"));
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (!m_bRan && LOWORD(wParam) == m_nID && HIWORD(wParam) == m_nCode)
        {
            m_bRan = true;
            m_hSender = reinterpret_cast<HWND>(lParam);
            if (m_bDestroyDialog)
                DestroyWindow();
            else
                ::DestroyWindow(m_hSender);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

struct DialogDestroyCase
{
    const char* name;
    UINT nID;
    UINT nCode;
    int nFocusID; // the control focused before the keys
    std::vector<UINT> keys;
};

void PrintTo(const DialogDestroyCase& c, std::ostream* os)
{
    *os << c.name;
}

class DialogDestroyTest : public DialogFixture,
                          public ::testing::WithParamInterface<std::tuple<DialogDestroyCase, bool>>
{
};

// The dialog manager and the controls stop touching a dialog or control that a handler
// destroyed while they were sending to it (checked by the sanitizer build).
TEST_P(DialogDestroyTest, HandlerDestroysDuringKeys)
{
    const DialogDestroyCase& c = std::get<0>(GetParam());
    CDestroyingDlg dlg;
    dlg.m_nID = c.nID;
    dlg.m_nCode = c.nCode;
    dlg.m_bDestroyDialog = std::get<1>(GetParam());
    HWND hDlg = nullptr;
    Handle([&](CDialog& d) {
        hDlg = d.m_hWnd;
        if (c.nFocusID)
            d.GotoDlgCtrl(d.GetDlgItem(c.nFocusID));
        for (UINT vk : c.keys)
            if (IsWindow(hDlg))
                VekInput::KeyDown(vk);
        if (d.IsModalRunning())
            d.EndDialog(IDIGNORE);
    });
    dlg.DoModal();
    EXPECT_TRUE(dlg.m_bRan) << "the command was not sent";
    EXPECT_FALSE(IsWindow(dlg.m_bDestroyDialog ? hDlg : dlg.m_hSender));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DialogDestroyTest,
    ::testing::Combine(
        ::testing::Values(
            DialogDestroyCase{"enter_default_button", IDOK, BN_CLICKED, 1001, {VK_RETURN}},
            DialogDestroyCase{"enter_focused_button", 1008, BN_CLICKED, 1008, {VK_RETURN}},
            DialogDestroyCase{"escape", IDCANCEL, BN_CLICKED, 1001, {VK_ESCAPE}},
            DialogDestroyCase{"tab_leaves_edit", 1001, EN_KILLFOCUS, 1001, {VK_TAB}},
            DialogDestroyCase{"tab_enters_edit", 1001, EN_SETFOCUS, 1002, {VK_TAB, VK_TAB}},
            DialogDestroyCase{"space_on_check", 1002, BN_CLICKED, 1002, {VK_SPACE}},
            DialogDestroyCase{"multiline_enter_leaves_edit", 1006, EN_KILLFOCUS, 1006, {VK_RETURN}},
            DialogDestroyCase{"multiline_enter_presses_ok", IDOK, BN_CLICKED, 1006, {VK_RETURN}},
            DialogDestroyCase{"combo_down", 1003, CBN_SELCHANGE, 1003, {VK_DOWN}}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<DialogDestroyCase, bool>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "_dialog" : "_sender");
    });
} // namespace
