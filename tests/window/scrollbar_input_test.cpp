// Pointer input on a window's vertical scroll bar: the hit test, the WM_VSCROLL requests of
// each part, dragging the thumb, and what the drag does to other windows and to the bar.
#include "VekTestParent.h"

#include <string>

namespace
{
struct VekScrollMsg
{
    UINT nMsg;
    WORD nCode;    // LOWORD(wParam) of WM_VSCROLL, the hit test of a frame message
    WORD nPos;     // HIWORD(wParam) of WM_VSCROLL
    int nTrackPos; // the bar's nTrackPos when a WM_VSCROLL arrived
};

std::vector<VekScrollMsg> g_log;
bool g_bAcceptThumbPosition = true; // moves the bar to SB_THUMBPOSITION's position

LRESULT ScrollingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_VSCROLL)
    {
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(h, SB_VERT, &si);
        g_log.push_back({m, LOWORD(w), HIWORD(w), si.nTrackPos});
        if (LOWORD(w) == SB_THUMBPOSITION && g_bAcceptThumbPosition)
            SetScrollPos(h, SB_VERT, HIWORD(w), TRUE);
        return 0;
    }
    if ((m >= WM_NCMOUSEMOVE && m <= WM_NCLBUTTONDBLCLK) ||
        (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST))
        g_log.push_back({m, m < WM_MOUSEFIRST ? static_cast<WORD>(w) : WORD(0), 0, 0});
    return DefWindowProcW(h, m, w, l);
}

std::string Describe(const std::vector<VekScrollMsg>& v)
{
    std::string s;
    for (const auto& m : v)
    {
        if (m.nMsg == WM_VSCROLL)
            s += "vscroll(" + std::to_string(m.nCode) + "," + std::to_string(m.nPos) + ") ";
        else
            s += "msg(0x" + std::to_string(m.nMsg) + "," + std::to_string(m.nCode) + ") ";
    }
    return s;
}

std::string Scrolls(const std::vector<std::pair<int, int>>& codes)
{
    std::string s;
    for (const auto& c : codes)
        s += "vscroll(" + std::to_string(c.first) + "," + std::to_string(c.second) + ") ";
    return s;
}

std::vector<VekScrollMsg> VScrolls()
{
    std::vector<VekScrollMsg> v;
    for (const auto& m : g_log)
        if (m.nMsg == WM_VSCROLL)
            v.push_back(m);
    return v;
}

struct ScrollBarInputFixture : ::testing::Test
{
    CVekTestParent host;
    HWND hWnd = nullptr;   // 200 x 200 at (20,100) in the host: a bar 16 wide, 200 tall
    HWND hOther = nullptr; // a neighbour to the right
    DWORD nTime = 0;

    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ScrollingProc;
        wc.lpszClassName = L"VekScrolling";
        RegisterClassW(&wc);
        hWnd = VekCreateChild(host, L"VekScrolling", L"", 0, 1, {20, 100, 220, 300});
        hOther = VekCreateChild(host, L"VekScrolling", L"", 0, 2, {300, 100, 400, 300});
        SetRange(0, 99, 10, 0);
        g_log.clear();
        g_bAcceptThumbPosition = true;
        nTime = VekRawInput::LastEventTime() + 100000;
    }
    void SetRange(int nMin, int nMax, UINT nPage, int nPos, UINT fExtra = 0)
    {
        SCROLLINFO si = {sizeof(SCROLLINFO),
                         SIF_RANGE | SIF_PAGE | SIF_POS | fExtra,
                         nMin,
                         nMax,
                         nPage,
                         nPos,
                         0};
        SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    }
    SCROLLBARINFO Bar() const
    {
        SCROLLBARINFO sbi = {};
        sbi.cbSize = sizeof(sbi);
        EXPECT_TRUE(GetScrollBarInfo(hWnd, OBJID_VSCROLL, &sbi));
        return sbi;
    }
    // A screen point in the bar, y pixels below its top.
    POINT InBar(int y) const
    {
        SCROLLBARINFO sbi = Bar();
        return POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2, sbi.rcScrollBar.top + y};
    }
    int TrackPos() const
    {
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hWnd, SB_VERT, &si);
        return si.nTrackPos;
    }
};

TEST_F(ScrollBarInputFixture, EachPartOfTheBarSendsItsRequestAndTheReleaseEndsIt)
{
    enum Where
    {
        TopArrow,
        AboveThumb,
        OnThumb,
        BelowThumb,
        BottomArrow
    };
    struct Row
    {
        const char* name;
        Where where;
        std::vector<std::pair<int, int>> expected; // (code, position) of each WM_VSCROLL
    };
    const Row rows[] = {
        {"top arrow", TopArrow, {{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}},
        {"track above the thumb", AboveThumb, {{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}},
        {"thumb without moving", OnThumb, {{SB_THUMBPOSITION, 50}, {SB_ENDSCROLL, 0}}},
        {"track below the thumb", BelowThumb, {{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}},
        {"bottom arrow", BottomArrow, {{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}},
    };
    for (const Row& r : rows)
    {
        SCOPED_TRACE(r.name);
        SetRange(0, 99, 10, 50);
        const SCROLLBARINFO sbi = Bar();
        ASSERT_EQ(VEK_CX_VSCROLL, sbi.dxyLineButton);
        ASSERT_GT(sbi.xyThumbTop, sbi.dxyLineButton + 2);
        const int nHeight = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
        const int y[] = {sbi.dxyLineButton / 2, sbi.xyThumbTop - 1,
                         (sbi.xyThumbTop + sbi.xyThumbBottom) / 2, sbi.xyThumbBottom, nHeight - 1};
        const POINT pt = InBar(y[r.where]);
        EXPECT_EQ(HTVSCROLL, SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        g_log.clear();
        nTime += 10000;
        ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, pt, 0, nTime));
        ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, pt, 0, nTime));
        // The press arrives as a frame message; the release goes to the bar, not the window.
        ASSERT_FALSE(g_log.empty());
        EXPECT_EQ(static_cast<UINT>(WM_NCLBUTTONDOWN), g_log[0].nMsg);
        EXPECT_EQ(HTVSCROLL, g_log[0].nCode);
        g_log.erase(g_log.begin());
        EXPECT_EQ(Scrolls(r.expected), Describe(g_log));
    }
}

TEST_F(ScrollBarInputFixture, DraggingTheThumbTracksPositionsUntilTheRelease)
{
    // 168 pixels of track for 100 rows seen 10 at a time: a 16-pixel thumb that can travel 152
    // pixels over positions 0 to 90.
    const SCROLLBARINFO sbi = Bar();
    ASSERT_EQ(16, sbi.xyThumbTop);
    ASSERT_EQ(32, sbi.xyThumbBottom);
    const POINT ptGrab = InBar(24);
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, ptGrab, 0, nTime));
    const int moves[] = {76, 76, 152, 500, -100, 38};
    const int positions[] = {45, 90, 90, 0, 23}; // the second move to 76 sends nothing
    for (int dy : moves)
    {
        POINT pt = {ptGrab.x + 40, ptGrab.y + dy}; // sideways off the bar: still dragging
        ASSERT_TRUE(VekRawInput::MouseMove(pt, 0, ++nTime));
    }
    ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, POINT{ptGrab.x, ptGrab.y + 38}, 0, ++nTime));
    std::vector<std::pair<int, int>> expected;
    for (int pos : positions)
        expected.push_back({SB_THUMBTRACK, pos});
    expected.push_back({SB_THUMBPOSITION, 23});
    expected.push_back({SB_ENDSCROLL, 0});
    const auto scrolls = VScrolls();
    EXPECT_EQ(Scrolls(expected), Describe(scrolls));
    ASSERT_EQ(expected.size(), scrolls.size());
    // nTrackPos follows the drag while the position stays until SB_THUMBPOSITION.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(positions[i], scrolls[i].nTrackPos);
    EXPECT_EQ(23, GetScrollPos(hWnd, SB_VERT));
    EXPECT_EQ(23, TrackPos());
    // Only the press reached the window as a message of its own.
    EXPECT_EQ(1, std::count_if(g_log.begin(), g_log.end(),
                               [](const VekScrollMsg& m) { return m.nMsg != WM_VSCROLL; }));
}

TEST_F(ScrollBarInputFixture, AThumbPositionTheWindowIgnoresLeavesTheThumbWhereItWas)
{
    g_bAcceptThumbPosition = false;
    const POINT ptGrab = InBar(24);
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, ptGrab, 0, nTime));
    ASSERT_TRUE(VekRawInput::MouseMove(POINT{ptGrab.x, ptGrab.y + 76}, 0, nTime + 1));
    EXPECT_EQ(45, TrackPos());
    EXPECT_EQ(92, Bar().xyThumbTop); // the thumb is drawn where it is dragged
    ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, POINT{ptGrab.x, ptGrab.y + 76}, 0, nTime + 2));
    EXPECT_EQ(0, GetScrollPos(hWnd, SB_VERT));
    EXPECT_EQ(0, TrackPos());
    EXPECT_EQ(16, Bar().xyThumbTop);
}

TEST_F(ScrollBarInputFixture, GesturesOnTheBarAndRepeatedPresses)
{
    SCROLLBARINFO sbi = Bar();
    POINT ptArrow = {VEK_CX_VSCROLL / 2 + 184, 200 - 4}; // client coordinates of the bottom arrow
    ASSERT_TRUE(VekInput::Click(hWnd, ptArrow));
    ASSERT_TRUE(VekInput::DoubleClick(hWnd, ptArrow));
    EXPECT_EQ(Scrolls({{SB_LINEDOWN, 0},
                       {SB_ENDSCROLL, 0},
                       {SB_LINEDOWN, 0},
                       {SB_ENDSCROLL, 0},
                       {SB_LINEDOWN, 0},
                       {SB_ENDSCROLL, 0}}),
              Describe(VScrolls()));
    // The second press of the double click is a frame double click, which scrolls as a press.
    std::vector<UINT> frame;
    for (const auto& m : g_log)
        if (m.nMsg != WM_VSCROLL)
            frame.push_back(m.nMsg);
    EXPECT_EQ((std::vector<UINT>{WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK}), frame);
    EXPECT_EQ(sbi.rcScrollBar.left, Bar().rcScrollBar.left);
}

TEST_F(ScrollBarInputFixture, ABarWithNothingToScrollDoesNothing)
{
    // Kept visible but disabled: the whole range fits the page.
    SetRange(0, 9, 10, 0, SIF_DISABLENOSCROLL);
    ASSERT_TRUE(GetWindowLongW(hWnd, GWL_STYLE) & WS_VSCROLL);
    g_log.clear();
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, InBar(4), 0, nTime));
    ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, InBar(4), 0, nTime));
    EXPECT_TRUE(VScrolls().empty());
    // Hidden: the same point is client area now.
    SetRange(0, 9, 10, 0);
    ASSERT_FALSE(GetWindowLongW(hWnd, GWL_STYLE) & WS_VSCROLL);
    g_log.clear();
    POINT pt = {20 + 184 + 8, 100 + 4};
    ClientToScreen(host.m_hWnd, &pt);
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, pt, 0, nTime + 1000));
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), g_log[0].nMsg);
    VekRawInput::ButtonUp(VK_LBUTTON, pt, 0, nTime + 1000);
}

TEST_F(ScrollBarInputFixture, ADragOutlivesNoWindowAndHoldsThePointer)
{
    const POINT ptGrab = InBar(24);
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, ptGrab, 0, nTime));
    // Over the neighbour the pointer still drags the thumb; the neighbour hears nothing.
    RECT rcOther;
    GetWindowRect(hOther, &rcOther);
    ASSERT_TRUE(VekRawInput::MouseMove(POINT{rcOther.left + 5, ptGrab.y + 76}, 0, nTime + 1));
    EXPECT_EQ(Scrolls({{SB_THUMBTRACK, 45}}), Describe(VScrolls()));
    EXPECT_EQ(1u + 1u, g_log.size()); // the press and one request
    DestroyWindow(hWnd);
    g_log.clear();
    EXPECT_TRUE(VekRawInput::MouseMove(POINT{ptGrab.x, ptGrab.y + 10}, 0, nTime + 2));
    EXPECT_TRUE(g_log.empty());
    // The drag is over: the next press on the neighbour is an ordinary press.
    POINT ptOther = {rcOther.left + 5, rcOther.top + 5};
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, ptOther, 0, nTime + 3));
    ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, ptOther, 0, nTime + 3));
    ASSERT_EQ(2u, g_log.size());
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), g_log[0].nMsg);
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONUP), g_log[1].nMsg);
}
} // namespace
