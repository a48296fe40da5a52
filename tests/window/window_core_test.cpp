// The window core: message maps with inheritance and reflection, destruction order, focus,
// visibility and enabling, coordinates, fonts and subclassing.
#include "VekTestParent.h"

#include <string>

namespace
{
std::vector<std::string> g_trace;

class CBaseWnd : public CWnd
{
public:
    int m_nBaseClicks = 0;

protected:
    void OnBaseButton() { g_trace.push_back("base 10"); }
    void OnOther() { g_trace.push_back("base 11"); }
    afx_msg void OnLButtonDown(UINT, CPoint pt)
    {
        g_trace.push_back("base down " + std::to_string(pt.x) + "," + std::to_string(pt.y));
        Default();
    }
    afx_msg void OnDestroy()
    {
        g_trace.push_back("base destroy");
        CWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_BN_CLICKED(10, &CBaseWnd::OnBaseButton)
ON_BN_CLICKED(11, &CBaseWnd::OnOther)
ON_WM_LBUTTONDOWN()
ON_WM_DESTROY()
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
protected:
    void OnDerivedButton() { g_trace.push_back("derived 10"); }
    void OnTreeClick(NMHDR* pHdr, LRESULT* pResult)
    {
        g_trace.push_back("notify " + std::to_string(pHdr->idFrom));
        *pResult = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_BN_CLICKED(10, &CDerivedWnd::OnDerivedButton)
ON_NOTIFY(NM_CLICK, 10, &CDerivedWnd::OnTreeClick)
END_MESSAGE_MAP()

struct CoreFixture : ::testing::Test
{
    CVekTestParent host;
    void SetUp() override { g_trace.clear(); }
};

TEST_F(CoreFixture, DerivedMapEntriesComeFirstAndBaseEntriesStillWork)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Create(L"Static", L"", WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 200, 100),
                           CWnd::FromHandle(host.m_hWnd), 5));
    HWND b10 = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, wnd.m_hWnd,
                               reinterpret_cast<HMENU>(10), nullptr, nullptr);
    HWND b11 = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE, 60, 0, 50, 20, wnd.m_hWnd,
                               reinterpret_cast<HMENU>(11), nullptr, nullptr);
    ASSERT_TRUE(VekInput::Click(b10));
    ASSERT_TRUE(VekInput::Click(b11));
    NMHDR nm = {b10, 10, NM_CLICK};
    EXPECT_EQ(7, wnd.SendMessage(WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&nm)));
    nm.code = NM_DBLCLK; // no entry: not handled
    EXPECT_EQ(0, wnd.SendMessage(WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ((std::vector<std::string>{"derived 10", "base 11", "notify 10"}), g_trace);
    g_trace.clear();
    ASSERT_TRUE(VekInput::Click(wnd.m_hWnd, POINT{150, 50}));
    EXPECT_EQ((std::vector<std::string>{"base down 150,50"}), g_trace);
}

TEST_F(CoreFixture, DestroyOrderAndObjectsLetGo)
{
    std::vector<std::pair<std::string, UINT>> seen;
    static std::vector<std::pair<std::string, UINT>>* s_pSeen = nullptr;
    s_pSeen = &seen;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_DESTROY || m == WM_NCDESTROY)
        {
            WCHAR sz[8] = {};
            GetWindowTextW(h, sz, 8);
            std::wstring ws(sz);
            s_pSeen->push_back({std::string(ws.begin(), ws.end()), m});
        }
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"VekOrderTest";
    RegisterClassW(&wc);
    HWND a = CreateWindowExW(0, L"VekOrderTest", L"a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                             host.m_hWnd, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"VekOrderTest", L"b", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a, nullptr,
                    nullptr, nullptr);
    HWND c = CreateWindowExW(0, L"Button", L"c", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a, nullptr,
                             nullptr, nullptr);
    CWnd* pTemp = CWnd::FromHandle(c);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CWnd::FromHandle(c)); // the same object while the window lives
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(c));
    DestroyWindow(a);
    EXPECT_FALSE(IsWindow(c));
    EXPECT_EQ(nullptr, CWnd::FromHandle(c));
    using P = std::pair<std::string, UINT>;
    EXPECT_EQ((std::vector<P>{
                  {"a", WM_DESTROY}, {"b", WM_DESTROY}, {"b", WM_NCDESTROY}, {"a", WM_NCDESTROY}}),
              seen);

    g_trace.clear();
    auto* pWnd = new CBaseWnd;
    ASSERT_TRUE(pWnd->Create(L"Static", L"", WS_VISIBLE, CRect(0, 0, 10, 10),
                             CWnd::FromHandle(host.m_hWnd), 6));
    HWND h = pWnd->m_hWnd;
    ::DestroyWindow(h);
    EXPECT_EQ(nullptr, pWnd->m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"base destroy"}), g_trace);
    delete pWnd;
}

TEST_F(CoreFixture, FocusFollowsDisablingAndHiding)
{
    HWND panel = VekCreateChild(host, L"Static", L"", 0, 1, {0, 0, 300, 200});
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, panel,
                                nullptr, nullptr, nullptr);
    SetFocus(edit);
    EXPECT_EQ(edit, GetFocus());
    EXPECT_FALSE(EnableWindow(edit, FALSE)); // was enabled
    EXPECT_EQ(nullptr, GetFocus());          // a disabled window cannot keep the focus
    EXPECT_TRUE(EnableWindow(edit, TRUE));
    SetFocus(edit);
    ShowWindow(edit, SW_HIDE);
    EXPECT_EQ(panel, GetFocus()); // hiding hands the focus to the parent
    EXPECT_FALSE(IsWindowVisible(edit));
    ShowWindow(edit, SW_SHOW);
    ShowWindow(panel, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(edit)); // a hidden ancestor hides it
    EXPECT_FALSE(VekInput::Click(edit));
}

TEST_F(CoreFixture, CoordinatesAgreeAcrossBordersAndMessagePosition)
{
    // The host is a top-level window at (0,0) without frame; the panel has a client edge.
    HWND panel =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 30, 40,
                        200, 100, host.m_hWnd, nullptr, nullptr, nullptr);
    CRect rcClient;
    GetClientRect(panel, &rcClient);
    const int nEdge = VEK_CX_BORDER + VEK_CX_EDGE;
    EXPECT_EQ(CRect(0, 0, 200 - 2 * nEdge, 100 - 2 * nEdge), rcClient);
    POINT pt = {5, 6};
    ClientToScreen(panel, &pt);
    EXPECT_EQ(CPoint(30 + nEdge + 5, 40 + nEdge + 6), CPoint(pt));
    POINT back = pt;
    MapWindowPoints(HWND_DESKTOP, panel, &back, 1);
    EXPECT_EQ(CPoint(5, 6), CPoint(back));
    HWND btn = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, panel,
                               nullptr, nullptr, nullptr);
    POINT inBtn = {3, 4};
    MapWindowPoints(btn, panel, &inBtn, 1);
    EXPECT_EQ(CPoint(13, 14), CPoint(inBtn));
    // A click at a screen point reaches the window under it and sets the message position.
    POINT ptScreen = {3, 4};
    ClientToScreen(btn, &ptScreen);
    EXPECT_EQ(btn, WindowFromPoint(ptScreen));
    ASSERT_TRUE(VekInput::ClickAt(ptScreen));
    DWORD pos = GetMessagePos();
    EXPECT_EQ(CPoint(ptScreen), CPoint(GET_X_LPARAM(pos), GET_Y_LPARAM(pos)));
    EXPECT_EQ(btn, GetFocus());
}

TEST_F(CoreFixture, PointFontsAndWindowFonts)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, L"Courier"));
    EXPECT_FALSE(font.CreatePointFont(100, L"Arial")); // one font per object
    LOGFONT lf = {};
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_STREQ(L"Courier", lf.lfFaceName);
    EXPECT_EQ(-16, lf.lfHeight); // 12 points at 96 dpi
    EXPECT_EQ(120, VekGetFontPointSize(font));
    CWnd* pEdit = CWnd::FromHandle(VekCreateChild(host, L"Edit", L"", 0, 3));
    EXPECT_EQ(nullptr, pEdit->GetFont());
    pEdit->SetFont(&font);
    EXPECT_EQ(&font, pEdit->GetFont());
    CFont* pTemp = CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp->m_hObject, GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(CoreFixture, SubclassAndDetachRestoreTheProcedure)
{
    HWND h = VekCreateChild(host, L"Button", L"", BS_AUTOCHECKBOX, 4);
    LONG_PTR pfnBefore = GetWindowLongPtrW(h, GWLP_WNDPROC);
    CButton btn;
    ASSERT_TRUE(btn.SubclassWindow(h));
    CButton other;
    EXPECT_FALSE(other.SubclassWindow(h)); // already attached
    EXPECT_NE(pfnBefore, GetWindowLongPtrW(h, GWLP_WNDPROC));
    ASSERT_TRUE(VekInput::Click(h)); // the control's own behaviour is the default processing
    EXPECT_EQ(BST_CHECKED, btn.GetCheck());
    EXPECT_EQ(h, btn.Detach());
    EXPECT_EQ(pfnBefore, GetWindowLongPtrW(h, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

TEST_F(CoreFixture, ModifyStyleReportsAChange)
{
    CWnd* p = CWnd::FromHandle(VekCreateChild(host, WC_TREEVIEWW, L"", TVS_CHECKBOXES, 5));
    EXPECT_TRUE(p->ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT));
    EXPECT_FALSE(p->ModifyStyle(0, TVS_HASLINES));
    EXPECT_EQ(static_cast<DWORD>(TVS_CHECKBOXES | 7), p->GetStyle() & 0xFFFF);
}

TEST_F(CoreFixture, PaintingHappensOnUpdateOfAnInvalidWindow)
{
    int nPaints = 0;
    static int* s_pPaints = nullptr;
    s_pPaints = &nPaints;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_PAINT)
            ++*s_pPaints;
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"VekPaintTest";
    RegisterClassW(&wc);
    CWnd* p = CWnd::FromHandle(VekCreateChild(host, L"VekPaintTest", L"", 0, 6));
    p->UpdateWindow();
    EXPECT_EQ(0, nPaints);
    p->Invalidate();
    p->UpdateWindow();
    p->UpdateWindow();
    EXPECT_EQ(1, nPaints);
}
} // namespace
