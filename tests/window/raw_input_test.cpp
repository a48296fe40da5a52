// Raw input: the messages each pointer and keyboard event sends, double-click recognition,
// capture and wheel routing, held modifiers and text, and the gestures built on them.
#include "VekTestParent.h"

#include <string>

namespace
{
// One message a recording window received.
struct VekInputMsg
{
    HWND hwnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD nTime; // GetMessageTime when it arrived
    bool bShift; // GetKeyState(VK_SHIFT) held when it arrived
};

const UINT VK_MIDDLE_BUTTON = 0x04; // not supported

std::vector<VekInputMsg> g_log;
HWND g_hwndCaptureOnPress = nullptr; // takes the capture on its left-button press
bool g_bPassWheel = true;            // leaves WM_MOUSEWHEEL to DefWindowProc

bool IsInputMessage(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= 0x00A9) ||
           (m >= WM_KEYDOWN && m <= WM_SYSCHAR) || m == WM_CAPTURECHANGED;
}

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (IsInputMessage(m))
        g_log.push_back({h, m, w, l, static_cast<DWORD>(GetMessageTime()),
                         (GetKeyState(VK_SHIFT) & 0x8000) != 0});
    if (m == WM_LBUTTONDOWN && h == g_hwndCaptureOnPress)
        SetCapture(h);
    if (m == WM_LBUTTONUP && h == GetCapture())
        ReleaseCapture();
    if (m == WM_MOUSEWHEEL && !g_bPassWheel)
        return 0;
    return DefWindowProcW(h, m, w, l);
}

void RegisterRecordingClasses()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &RecordingProc;
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = L"VekRecordDbl";
    RegisterClassW(&wc);
    wc.style = 0;
    wc.lpszClassName = L"VekRecordPlain";
    RegisterClassW(&wc);
}

std::vector<UINT> Messages(HWND h = nullptr)
{
    std::vector<UINT> v;
    for (const auto& m : g_log)
        if (!h || m.hwnd == h)
            v.push_back(m.nMsg);
    return v;
}

struct RawInputFixture : ::testing::Test
{
    CVekTestParent host;
    HWND hDbl = nullptr;   // (10,10)-(110,60) in the host, CS_DBLCLKS
    HWND hPlain = nullptr; // (200,10)-(300,60), no CS_DBLCLKS
    DWORD nTime = 0;

    void SetUp() override
    {
        RegisterRecordingClasses();
        hDbl = VekCreateChild(host, L"VekRecordDbl", L"", 0, 1, {10, 10, 110, 60});
        hPlain = VekCreateChild(host, L"VekRecordPlain", L"", 0, 2, {200, 10, 300, 60});
        g_log.clear();
        g_hwndCaptureOnPress = nullptr;
        g_bPassWheel = true;
        SetDoubleClickTime(0);
        // Well after whatever earlier tests sent.
        nTime = VekRawInput::LastEventTime() + 100000;
    }
    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
        SetFocus(nullptr);
    }
    static POINT ScreenPoint(HWND h, int x, int y)
    {
        POINT pt = {x, y};
        ClientToScreen(h, &pt);
        return pt;
    }
    void Press(POINT pt, DWORD t, UINT vk = VK_LBUTTON)
    {
        ASSERT_TRUE(VekRawInput::ButtonDown(vk, pt, 0, t));
        ASSERT_TRUE(VekRawInput::ButtonUp(vk, pt, 0, t));
    }
};

TEST_F(RawInputFixture, SecondPressBecomesADoubleClickByTimeDistanceAndClassStyle)
{
    struct Row
    {
        const char* name;
        bool bDblClass;
        UINT nDoubleClickTime; // 0: default 500
        DWORD dt;
        int dx, dy;
        UINT nSecond;
    };
    const Row rows[] = {
        {"same place at once", true, 0, 0, 0, 0, WM_LBUTTONDBLCLK},
        {"just inside time and distance", true, 0, 499, 1, -1, WM_LBUTTONDBLCLK},
        {"at the time limit", true, 0, 500, 0, 0, WM_LBUTTONDOWN},
        {"two pixels right", true, 0, 10, 2, 0, WM_LBUTTONDOWN},
        {"two pixels up", true, 0, 10, 0, -2, WM_LBUTTONDOWN},
        {"class without CS_DBLCLKS", false, 0, 0, 0, 0, WM_LBUTTONDOWN},
        {"shorter double-click time", true, 200, 250, 0, 0, WM_LBUTTONDOWN},
        {"longer double-click time", true, 900, 850, 0, 0, WM_LBUTTONDBLCLK},
    };
    for (const Row& r : rows)
    {
        SCOPED_TRACE(r.name);
        SetDoubleClickTime(r.nDoubleClickTime);
        HWND h = r.bDblClass ? hDbl : hPlain;
        POINT pt = ScreenPoint(h, 50, 20);
        g_log.clear();
        nTime += 10000;
        Press(pt, nTime);
        Press(POINT{pt.x + r.dx, pt.y + r.dy}, nTime + r.dt);
        EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, r.nSecond, WM_LBUTTONUP}),
                  Messages(h));
        ASSERT_EQ(4u, g_log.size());
        EXPECT_EQ(nTime + r.dt, g_log[2].nTime);
        EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON), g_log[2].wParam);
        EXPECT_EQ(0u, g_log[3].wParam); // the button is up again
        EXPECT_EQ(MAKELPARAM(50 + r.dx, 20 + r.dy), g_log[2].lParam);
    }
}

TEST_F(RawInputFixture, DoubleClickNeedsTheSameButtonAndWindowAndStartsAfresh)
{
    POINT pt = ScreenPoint(hDbl, 5, 5);
    Press(pt, nTime);
    Press(pt, nTime + 1);
    Press(pt, nTime + 2); // a third press is a press again
    Press(pt, nTime + 3, VK_RBUTTON);
    Press(pt, nTime + 4, VK_RBUTTON);
    Press(pt, nTime + 5); // left after right
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                 WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                                 WM_RBUTTONDBLCLK, WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              Messages());
    EXPECT_EQ(static_cast<WPARAM>(MK_RBUTTON), g_log[6].wParam);

    // Two windows that share an edge: presses a pixel apart on either side of it.
    HWND hRight = VekCreateChild(host, L"VekRecordDbl", L"", 0, 3, {110, 10, 150, 60});
    g_log.clear();
    Press(ScreenPoint(hDbl, 99, 5), nTime + 100);
    Press(ScreenPoint(hRight, 0, 5), nTime + 101);
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}), Messages(hRight));
}

TEST_F(RawInputFixture, GesturesNeverJoinIntoADoubleClick)
{
    ASSERT_TRUE(VekInput::Click(hDbl));
    ASSERT_TRUE(VekInput::Click(hDbl));
    ASSERT_TRUE(VekInput::DoubleClick(hDbl));
    ASSERT_TRUE(VekInput::DoubleClick(hPlain));
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                 WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}),
              Messages(hDbl));
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              Messages(hPlain));
    // A raw press right after a gesture's press is a double click: the gesture's time counts.
    g_log.clear();
    ASSERT_TRUE(VekInput::Click(hDbl, POINT{7, 7}));
    Press(ScreenPoint(hDbl, 7, 7), VekRawInput::LastEventTime() + 100);
    EXPECT_EQ(WM_LBUTTONDBLCLK, Messages(hDbl).at(2));
}

TEST_F(RawInputFixture, CaptureTakesMovesAndTheReleaseWhereverThePointerIs)
{
    g_hwndCaptureOnPress = hDbl;
    const POINT ptOnDbl = ScreenPoint(hDbl, 10, 10);
    const POINT ptOnPlain = ScreenPoint(hPlain, 10, 10);
    ASSERT_TRUE(VekRawInput::MouseMove(ptOnPlain, 0, nTime));
    ASSERT_TRUE(VekRawInput::ButtonDown(VK_LBUTTON, ptOnDbl, 0, nTime + 1));
    ASSERT_EQ(hDbl, GetCapture());
    ASSERT_TRUE(VekRawInput::MouseMove(ptOnPlain, VEK_MOD_SHIFT, nTime + 2));
    ASSERT_TRUE(VekRawInput::MouseMove(POINT{-500, -500}, 0, nTime + 3)); // off every window
    ASSERT_TRUE(VekRawInput::ButtonUp(VK_LBUTTON, ptOnPlain, 0, nTime + 4));
    ASSERT_TRUE(VekRawInput::MouseMove(ptOnPlain, 0, nTime + 5));
    EXPECT_EQ((std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE,
                                 WM_LBUTTONUP, WM_CAPTURECHANGED, WM_MOUSEMOVE}),
              Messages());
    ASSERT_EQ(7u, g_log.size());
    EXPECT_EQ(hPlain, g_log[0].hwnd);
    EXPECT_EQ(hDbl, g_log[2].hwnd);
    // hDbl's client coordinates of a point on hPlain: 190 pixels to the right.
    EXPECT_EQ(MAKELPARAM(200, 10), g_log[2].lParam);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT), g_log[2].wParam);
    EXPECT_EQ(-510, GET_X_LPARAM(g_log[3].lParam));
    EXPECT_EQ(hDbl, g_log[4].hwnd);
    EXPECT_EQ(MAKELPARAM(200, 10), g_log[4].lParam);
    EXPECT_EQ(hPlain, g_log[6].hwnd);
    EXPECT_EQ(0u, g_log[6].wParam);
    // Without capture a move off every window reaches nobody.
    EXPECT_FALSE(VekRawInput::MouseMove(POINT{-500, -500}, 0, nTime + 6));
    EXPECT_FALSE(VekRawInput::ButtonDown(VK_LBUTTON, POINT{-500, -500}, 0, nTime + 7));
    EXPECT_FALSE(VekRawInput::ButtonDown(VK_MIDDLE_BUTTON, ptOnDbl, 0, nTime + 8));
}

TEST_F(RawInputFixture, FrameMessagesForPressesOnAFrameDoubleClickWithoutTheClassStyle)
{
    HWND hPopup = CreateWindowExW(0, L"VekRecordPlain", L"", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  300, 300, 200, 100, nullptr, nullptr, nullptr, nullptr);
    RECT rc;
    GetWindowRect(hPopup, &rc);
    const POINT ptCaption = {rc.left + 50, rc.top + 5};
    ASSERT_TRUE(VekRawInput::MouseMove(ptCaption, 0, nTime));
    Press(ptCaption, nTime + 1);
    Press(ptCaption, nTime + 2);
    EXPECT_EQ((std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,
                                 WM_NCLBUTTONDBLCLK, WM_NCLBUTTONUP}),
              Messages(hPopup));
    ASSERT_EQ(5u, g_log.size());
    EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), g_log[1].wParam);
    EXPECT_EQ(MAKELPARAM(ptCaption.x, ptCaption.y), g_log[1].lParam); // screen coordinates
    DestroyWindow(hPopup);
}

TEST_F(RawInputFixture, WheelGoesToTheFocusAndUnhandledTurnsClimbToTheParent)
{
    HWND hInner = CreateWindowExW(0, L"VekRecordPlain", L"", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20,
                                  hDbl, nullptr, nullptr, nullptr);
    SetFocus(hInner);
    const POINT ptElsewhere = ScreenPoint(hPlain, 3, 4); // the pointer is not over the focus
    ASSERT_TRUE(VekRawInput::Wheel(-2 * WHEEL_DELTA, ptElsewhere, VEK_MOD_CONTROL, nTime));
    ASSERT_EQ((std::vector<UINT>{WM_MOUSEWHEEL, WM_MOUSEWHEEL}), Messages());
    EXPECT_EQ(hInner, g_log[0].hwnd);
    EXPECT_EQ(hDbl, g_log[1].hwnd);
    EXPECT_EQ(-240, GET_WHEEL_DELTA_WPARAM(g_log[0].wParam));
    EXPECT_EQ(MK_CONTROL, GET_KEYSTATE_WPARAM(g_log[0].wParam));
    EXPECT_EQ(MAKELPARAM(ptElsewhere.x, ptElsewhere.y), g_log[0].lParam);
    EXPECT_EQ(g_log[0].lParam, g_log[1].lParam);

    g_bPassWheel = false; // a window that scrolls keeps the turn
    g_log.clear();
    ASSERT_TRUE(VekRawInput::Wheel(WHEEL_DELTA, ptElsewhere, 0, nTime + 1));
    EXPECT_EQ((std::vector<UINT>{WM_MOUSEWHEEL}), Messages());

    SetFocus(nullptr);
    EXPECT_FALSE(VekRawInput::Wheel(WHEEL_DELTA, ptElsewhere, 0, nTime + 2));
    EnableWindow(hDbl, FALSE);
    SetFocus(hInner);
    EXPECT_FALSE(VekRawInput::Wheel(WHEEL_DELTA, ptElsewhere, 0, nTime + 3));
}

TEST_F(RawInputFixture, KeysCarryTheHeldModifiersAndAltMakesSystemKeys)
{
    SetFocus(hPlain);
    ASSERT_TRUE(VekRawInput::KeyDown(VK_SHIFT, VEK_MOD_SHIFT, nTime));
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    ASSERT_TRUE(VekRawInput::KeyDown('A', VEK_MOD_SHIFT, nTime + 1));
    ASSERT_TRUE(VekRawInput::KeyDown('A', VEK_MOD_SHIFT, nTime + 2)); // held: a repeat
    EXPECT_TRUE(GetKeyState('A') & 0x8000);
    ASSERT_TRUE(VekRawInput::KeyUp('A', VEK_MOD_SHIFT, nTime + 3));
    ASSERT_TRUE(VekRawInput::KeyUp(VK_SHIFT, 0, nTime + 4));
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState('A') & 0x8000);
    ASSERT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_CHAR, WM_KEYUP,
                                 WM_KEYUP}),
              Messages());
    EXPECT_EQ(static_cast<WPARAM>(VK_SHIFT), g_log[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>('A'), g_log[2].wParam); // typed with Shift held
    EXPECT_TRUE(g_log[1].bShift);
    EXPECT_EQ(1, g_log[1].lParam);
    EXPECT_EQ(static_cast<LPARAM>(0x40000001), g_log[3].lParam); // previous state: down
    EXPECT_EQ(static_cast<LPARAM>(0xC0000001u), g_log[5].lParam);
    EXPECT_FALSE(g_log[6].bShift);
    EXPECT_EQ(nTime + 3, g_log[5].nTime);

    // Alt without Ctrl: system keys; with Ctrl: ordinary keys.
    g_log.clear();
    ASSERT_TRUE(VekRawInput::KeyDown(VK_MENU, VEK_MOD_ALT, nTime + 5));
    ASSERT_TRUE(VekRawInput::KeyDown('F', VEK_MOD_ALT, nTime + 6));
    ASSERT_TRUE(VekRawInput::KeyUp('F', VEK_MOD_ALT, nTime + 7));
    ASSERT_TRUE(VekRawInput::KeyDown('G', VEK_MOD_ALT | VEK_MOD_CONTROL, nTime + 8));
    ASSERT_TRUE(VekRawInput::KeyUp(VK_MENU, 0, nTime + 9));
    ASSERT_TRUE(VekRawInput::KeyUp('G', VEK_MOD_CONTROL, nTime + 10));
    ASSERT_TRUE(VekRawInput::KeyDown(VK_F10, 0, nTime + 11));
    EXPECT_EQ((std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYDOWN,
                                 WM_CHAR, WM_SYSKEYUP, WM_KEYUP, WM_SYSKEYDOWN}),
              Messages());
    ASSERT_EQ(9u, g_log.size());
    EXPECT_EQ(static_cast<WPARAM>('f'), g_log[2].wParam);
    EXPECT_EQ(static_cast<LPARAM>(0x20000001), g_log[1].lParam); // context code: Alt held
    EXPECT_EQ(static_cast<WPARAM>(7), g_log[5].wParam);          // Ctrl+G
    EXPECT_EQ(static_cast<LPARAM>(0xE0000001u), g_log[6].lParam);
    EXPECT_EQ(static_cast<LPARAM>(1), g_log[8].lParam); // F10 alone: no context code
    VekRawInput::KeyUp(VK_F10, 0, nTime + 12);

    // Keys go nowhere without a focus window or running dialog.
    SetFocus(nullptr);
    EXPECT_FALSE(VekRawInput::KeyDown('A', 0, nTime + 13));
}

TEST_F(RawInputFixture, TextArrivesAsOneCharacterPerCodePoint)
{
    SetFocus(hPlain);
    ASSERT_TRUE(VekRawInput::Text(L"a\u00e9\U0001F600\n", nTime));
    const wchar_t surrogates[] = {0xD83D, 0xDE00, 0xD83D, L'x', 0};
    ASSERT_TRUE(VekRawInput::Text(surrogates, nTime + 1));
    std::vector<WPARAM> chars;
    for (const auto& m : g_log)
    {
        EXPECT_EQ(static_cast<UINT>(WM_CHAR), m.nMsg);
        chars.push_back(m.wParam);
    }
    // A lone high surrogate stays what it is.
    EXPECT_EQ((std::vector<WPARAM>{L'a', 0xE9, 0x1F600, L'\n', 0x1F600, 0xD83D, L'x'}), chars);
    EXPECT_FALSE(VekRawInput::Text(nullptr, nTime + 2));
}

TEST_F(RawInputFixture, GestureModifiersAreHeldForTheGestureOnly)
{
    SetFocus(hPlain);
    ASSERT_TRUE(VekInput::KeyDown(VK_TAB, VEK_MOD_SHIFT));
    ASSERT_TRUE(VekInput::Click(hPlain, VEK_MOD_CONTROL));
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
    ASSERT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              Messages());
    EXPECT_TRUE(g_log[0].bShift);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL), g_log[3].wParam);
    EXPECT_EQ(g_log[0].nTime, g_log[2].nTime);
    EXPECT_GE(g_log[3].nTime - g_log[0].nTime, GetDoubleClickTime());
}
} // namespace
