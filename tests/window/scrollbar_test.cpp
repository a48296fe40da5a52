// Standard scroll bars: range, page and position as SetScrollInfo leaves them, the bar shown
// and hidden with the content, the client area it takes, and the geometry of its parts.
#include "VekTestParent.h"

namespace
{
std::vector<LPARAM> g_sizes; // WM_SIZE lParams the plain window received

LRESULT PlainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE)
        g_sizes.push_back(lParam);
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

struct ScrollFixture : ::testing::Test
{
    CVekTestParent host;
    HWND hWnd = nullptr;

    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &PlainProc;
        wc.lpszClassName = L"VekScrollTestWindow";
        RegisterClassW(&wc);
        hWnd = CreateWindowExW(0, L"VekScrollTestWindow", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                               160, host.m_hWnd, nullptr, nullptr, nullptr);
        g_sizes.clear();
    }

    int Set(UINT fMask, int nMin, int nMax, UINT nPage, int nPos)
    {
        SCROLLINFO si = {sizeof(si), fMask, nMin, nMax, nPage, nPos, 0};
        return SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    }
    SCROLLINFO Get()
    {
        SCROLLINFO si = {sizeof(si), SIF_ALL, -1, -1, 0, -1, -1};
        EXPECT_TRUE(GetScrollInfo(hWnd, SB_VERT, &si));
        return si;
    }
    bool HasBar() const { return (GetWindowLongW(hWnd, GWL_STYLE) & WS_VSCROLL) != 0; }
};

TEST_F(ScrollFixture, PositionIsKeptWithinTheLastFullPage)
{
    struct Row
    {
        int nMin, nMax;
        UINT nPage;
        int nPos, nExpected;
    } rows[] = {
        {0, 259, 10, 0, 0},  {0, 259, 10, 250, 250}, {0, 259, 10, 251, 250},
        {0, 259, 10, -5, 0}, {0, 259, 0, 259, 259},  {0, 259, 1, 259, 259},
        {5, 20, 4, 100, 17}, {0, 9, 10, 3, 0},       {0, 259, 300, 7, 0},
    };
    for (const Row& r : rows)
    {
        EXPECT_EQ(r.nExpected, Set(SIF_ALL, r.nMin, r.nMax, r.nPage, r.nPos))
            << r.nMin << ".." << r.nMax << " page " << r.nPage << " pos " << r.nPos;
        EXPECT_EQ(r.nExpected, GetScrollPos(hWnd, SB_VERT));
        EXPECT_EQ(r.nExpected, Get().nTrackPos);
    }
}

TEST_F(ScrollFixture, PageNeverExceedsTheRange)
{
    Set(SIF_RANGE | SIF_PAGE, 0, 9, 50, 0);
    EXPECT_EQ(10u, Get().nPage);
}

TEST_F(ScrollFixture, WindowWithoutABarAnswersNothingUntilOneIsSet)
{
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(hWnd, SB_VERT, &si));
    EXPECT_FALSE(GetScrollInfo(hWnd, SB_CTL, &si));
    Set(SIF_RANGE, 0, 5, 0, 0);
    EXPECT_TRUE(GetScrollInfo(hWnd, SB_VERT, &si));
}

TEST_F(ScrollFixture, BarAppearsWhenTheContentExceedsThePageAndNarrowsTheClientArea)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    EXPECT_EQ(200, rc.right);
    Set(SIF_RANGE | SIF_PAGE, 0, 9, 10, 0); // fits: no bar
    EXPECT_FALSE(HasBar());
    EXPECT_TRUE(g_sizes.empty());

    Set(SIF_RANGE | SIF_PAGE, 0, 10, 10, 0); // one row more than a page
    EXPECT_TRUE(HasBar());
    GetClientRect(hWnd, &rc);
    EXPECT_EQ(200 - VEK_CX_VSCROLL, rc.right);
    ASSERT_EQ(1u, g_sizes.size());
    EXPECT_EQ(MAKELPARAM(200 - VEK_CX_VSCROLL, 160), g_sizes[0]);

    Set(SIF_POS, 0, 0, 0, 1); // a position alone neither shows nor hides
    EXPECT_EQ(1u, g_sizes.size());

    Set(SIF_RANGE, 0, 9, 0, 0); // content fits again
    EXPECT_FALSE(HasBar());
    EXPECT_EQ(0, GetScrollPos(hWnd, SB_VERT));
    ASSERT_EQ(2u, g_sizes.size());
    EXPECT_EQ(MAKELPARAM(200, 160), g_sizes[1]);
}

TEST_F(ScrollFixture, DisableNoScrollKeepsAShownBar)
{
    Set(SIF_RANGE | SIF_PAGE, 0, 99, 10, 0);
    ASSERT_TRUE(HasBar());
    Set(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 5, 10, 0);
    EXPECT_TRUE(HasBar());
    SCROLLBARINFO sbi = {};
    ASSERT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
    EXPECT_EQ(static_cast<DWORD>(STATE_SYSTEM_UNAVAILABLE), sbi.rgstate[0]);
}

TEST_F(ScrollFixture, BarPartsFollowThePosition)
{
    Set(SIF_RANGE | SIF_PAGE, 0, 99, 10, 0);
    SCROLLBARINFO sbi = {};
    ASSERT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
    POINT pt = {0, 0};
    ClientToScreen(hWnd, &pt);
    EXPECT_EQ(pt.x + 200 - VEK_CX_VSCROLL, sbi.rcScrollBar.left);
    EXPECT_EQ(pt.x + 200, sbi.rcScrollBar.right);
    EXPECT_EQ(pt.y, sbi.rcScrollBar.top);
    EXPECT_EQ(pt.y + 160, sbi.rcScrollBar.bottom);
    EXPECT_EQ(VEK_CX_VSCROLL, sbi.dxyLineButton);
    // Track of 128 px; a page of 10 in 100 rows gives a thumb of 12 px at the top.
    EXPECT_EQ(VEK_CX_VSCROLL, sbi.xyThumbTop);
    EXPECT_EQ(VEK_CX_VSCROLL + 12, sbi.xyThumbBottom);

    Set(SIF_POS, 0, 0, 0, 90); // the last page: the thumb touches the bottom arrow
    ASSERT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
    EXPECT_EQ(160 - VEK_CX_VSCROLL, sbi.xyThumbBottom);

    Set(SIF_RANGE | SIF_PAGE, 0, 9999, 10, 0); // a tiny page keeps a thumb one can grab
    ASSERT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
    EXPECT_EQ(8, sbi.xyThumbBottom - sbi.xyThumbTop);

    EXPECT_FALSE(GetScrollBarInfo(hWnd, OBJID_HSCROLL, &sbi));
}

TEST_F(ScrollFixture, HiddenBarReportsInvisible)
{
    SCROLLBARINFO sbi = {};
    ASSERT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
    EXPECT_EQ(static_cast<DWORD>(STATE_SYSTEM_INVISIBLE), sbi.rgstate[0]);
}

TEST_F(ScrollFixture, RangeAndPositionShorthands)
{
    EXPECT_TRUE(SetScrollRange(hWnd, SB_VERT, 0, 50, FALSE));
    int nMin = -1, nMax = -1;
    EXPECT_TRUE(GetScrollRange(hWnd, SB_VERT, &nMin, &nMax));
    EXPECT_EQ(0, nMin);
    EXPECT_EQ(50, nMax);
    EXPECT_EQ(0, SetScrollPos(hWnd, SB_VERT, 70, FALSE)); // returns the old position
    EXPECT_EQ(50, GetScrollPos(hWnd, SB_VERT));
    EXPECT_TRUE(ShowScrollBar(hWnd, SB_VERT, FALSE));
    EXPECT_FALSE(HasBar());
    UINT nLines = 0;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0));
    EXPECT_EQ(3u, nLines);
}
} // namespace
