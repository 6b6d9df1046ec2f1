// The earth clock window of the real solvane.exe: stored rectangle, full screen and back with
// its notice, and the context menu changing and saving the options.
#include "EarthClockFixture.h"

#include "desktop/EarthFrameRules.h"
#include "platform/WindowVisibility.h"

#include <algorithm>

namespace {

using EarthFrameTest = EarthClockTest;

TEST_F(EarthFrameTest, OpensAtTheStoredRectangleAndRemembersMoves) {
    start();
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 530);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    RECT paneRect, client;
    GetClientRect(pane, &paneRect);
    GetClientRect(frame, &client);
    EXPECT_EQ(paneRect.bottom, 159);
    EXPECT_EQ(paneRect.right, client.right);
    SetWindowPos(frame, nullptr, 100, 80, 700, 500, SWP_NOZORDER);
    ShowWindow(frame, SW_MAXIMIZE);  // neither maximising nor minimising is remembered
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(frame) != FALSE; }, 5000));
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(frame) != FALSE; }, 5000));
    // A second start, or a click on the tray icon, brings the minimised window back.
    PostMessageA(hidden, WM_COMMAND, ID_EARTH_CLOCK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(frame) && IsWindowVisible(frame); }, 5000));
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(frame) != FALSE; }, 5000));
    const UINT trayMessage = RegisterWindowMessageA("Kelbrook Solvane");
    PostMessageA(hidden, trayMessage, trayMessage, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(frame); }, 5000));
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(frame) != FALSE; }, 5000));
    stop();
    const UserOptions saved = ReadOptions(folder.path("user.bin"));
    EXPECT_EQ(saved.frameLeft, 100);
    EXPECT_EQ(saved.frameTop, 80);
    EXPECT_EQ(saved.frameRight, 800);
    EXPECT_EQ(saved.frameBottom, 580);
}

// Rows of a capture that hold the time display's green.
int GreenRows(const Capture& c) {
    int rows = 0;
    for (int y = 0; y < c.height; ++y) {
        bool green = false;
        for (int x = 0; x < c.width && !green; ++x) green = c.at(x, y)[1] > 150 && c.at(x, y)[0] < 100 && c.at(x, y)[2] < 100;
        rows += green;
    }
    return rows;
}

TEST_F(EarthFrameTest, FullScreenByDoubleClickAndBack) {
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_NE(view, nullptr);
    int windowRows = 0;
    ASSERT_TRUE(WaitUntil([&] { return (windowRows = GreenRows(CaptureWindow(view))) > 5; }, 10000));
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    HWND notice = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(notice, IDC_DONT_TELL_AGAIN) != nullptr; }, 5000));
    SendMessageA(GetDlgItem(notice, IDC_DONT_TELL_AGAIN), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    RECT r;
    EXPECT_TRUE(WaitUntil([&] { GetWindowRect(frame, &r); return r.right - r.left == sw && r.bottom - r.top == sh; }, 5000));
    EXPECT_EQ(GetMenu(frame), nullptr) << "no menu bar in full screen";
    // The time grows with the view: its green rows at least twice as many as in the window.
    int fullScreenRows = 0;
    EXPECT_TRUE(WaitUntil([&] { return (fullScreenRows = GreenRows(CaptureWindow(view))) >= 2 * windowRows; }, 10000))
        << fullScreenRows << " green rows full screen, " << windowRows << " in the window";
    KeepScreenshot(CaptureWindow(view), "earth-clock-full-screen.bmp");
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_TRUE(WaitUntil([&] { GetWindowRect(frame, &r); return r.left == 40 && r.right - r.left == 600; }, 5000));
    EXPECT_NE(GetMenu(frame), nullptr);
    stop();
    EXPECT_EQ(ReadOptions(folder.path("user.bin")).noticeFlags, uint32_t(kNoticeCloseToTray));
}

TEST_F(EarthFrameTest, ContextMenuChangesAndSavesTheOptions) {
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    KeepScreenshot(CaptureWindow(frame), "earth-clock-with-pane.bmp");
    ASSERT_TRUE(DeleteFileA(folder.path("user.bin").c_str()));
    ASSERT_TRUE(OpenContextMenu(frame));
    SendKey(VK_DOWN);  // "Details Pane"
    SendKey(VK_RETURN);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane); }, 5000)) << "the pane is hidden";
    EXPECT_TRUE(WaitUntil([&] { return ReadOptions(folder.path("user.bin")).detailsPaneHidden == 1; }, 5000))
        << "and the choice saved at once";
    RECT viewRect, client;
    GetClientRect(view, &viewRect);
    GetClientRect(frame, &client);
    EXPECT_EQ(viewRect.bottom, client.bottom) << "the globe fills the window";
    EXPECT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    KeepScreenshot(CaptureWindow(frame), "earth-clock-without-pane.bmp");
    stop();
}

}  // namespace

namespace {

TEST_F(EarthFrameTest, RestartMessageMakesANewWindow) {
    start();
    PostMessageA(hidden, WM_RESTART_EARTH_WINDOW, RESTART_EARTH_WINDOW_KEY, RESTART_EARTH_WINDOW_KEY);
    HWND box = WaitForWindow("Restart Main Window", 10000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(frame)) << "the old window is gone while the message shows";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND reopened = nullptr;
    ASSERT_TRUE(WaitUntil([&] { reopened = FindWindowA("SolvaneEarthFrame", nullptr); return reopened && IsWindowVisible(reopened); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return FindWindowExA(reopened, nullptr, "SolvaneEarthView", nullptr) != nullptr; }, 5000));
    SendMessageA(hidden, WM_RESTART_EARTH_WINDOW, 7, 0);  // any other key: nothing
    EXPECT_EQ(FindWindowA("SolvaneEarthFrame", nullptr), reopened);
    stop();
}

}  // namespace

namespace {

// A stored rectangle from a monitor since removed, or from a damaged file, opens on the screen
// with a usable size, and is kept as it was.
// Accelerated drawing that never reaches the screen (wine's, in its virtual desktop) is found
// by comparing the screen with the frame: the window is made anew in software, the user told.
TEST_F(EarthFrameTest, HardwareThatShowsNothingFallsBackToSoftware) {
    options.useHardware3D = 1;
    start();
    HWND box = WaitForWindow("Restart Main Window", 30000, "#32770");
    if (box == nullptr) {
        // A display whose accelerated drawing shows: nothing to fall back from.
        HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
        EXPECT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
        stop();
        return;
    }
    const std::vector<std::string> texts = StaticTexts(box);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("draws in software") != std::string::npos;
    }));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND again = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        again = FindWindowA("SolvaneEarthFrame", nullptr);
        return again != nullptr && again != frame && IsWindowVisible(again);
    }, 20000)) << "a new earth clock window";
    HWND view = FindWindowExA(again, nullptr, "SolvaneEarthView", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 20000)) << "the globe, in software";
    KeepScreenshot(CaptureWindow(again), "earth-clock-after-hardware-fallback.bmp");
    EXPECT_EQ(WaitForWindow("Restart Main Window", 3000, "#32770"), nullptr) << "told once";
    frame = again;
    stop();
}

// A page the shell cannot open (this copy has no help folder) is not met with silence.
TEST_F(EarthFrameTest, AHelpPageThatCannotBeOpenedIsExplained) {
    start();
    PostMessageA(hidden, WM_COMMAND, ID_HELP_PAGES, 0);
    HWND box = WaitForWindow("Warning", 20000, "#32770");
    ASSERT_NE(box, nullptr);
    const std::vector<std::string> texts = StaticTexts(box);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("Solvane could not open") != std::string::npos && t.find("\\help\\solvane.htm") != std::string::npos &&
               t.find("\\\\") == std::string::npos && t.find("%1") == std::string::npos;
    }));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    stop();
}

// However small the user makes it, the window keeps room for the globe and, while it shows,
// the whole pane. Without the pane it can be as small as a globe of 200 x 150, opens again at
// that size, and grows to hold the pane when the pane is shown again.
TEST_F(EarthFrameTest, KeepsAUsableSizeWhenMadeSmall) {
    start();
    MoveWindow(frame, 60, 60, 170, 170, TRUE);
    ASSERT_TRUE(WaitUntilIdle(frame));
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, kMinimumFrameWidth);
    EXPECT_EQ(r.bottom - r.top, kMinimumFrameHeight);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    RECT client;
    GetClientRect(pane, &client);
    EXPECT_GE(client.right, 550) << "the pane's texts, whole";
    GetClientRect(view, &client);
    EXPECT_GE(client.bottom, 150) << "a globe above it";

    const auto toggleThePane = [&] {
        ASSERT_TRUE(OpenContextMenu(frame));
        SendKey(VK_DOWN);  // "Details Pane"
        SendKey(VK_RETURN);
    };
    toggleThePane();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane); }, 5000));
    MoveWindow(frame, 60, 60, 100, 100, TRUE);
    ASSERT_TRUE(WaitUntilIdle(frame));
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, kMinimumGlobeWidth);
    EXPECT_EQ(client.bottom, kMinimumGlobeHeight);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    KeepScreenshot(CaptureWindow(frame), "earth-clock-smallest.bmp");
    RECT smallest;
    GetWindowRect(frame, &smallest);
    stop();

    options = ReadOptions(folder.path("user.bin"));
    start();
    GetWindowRect(frame, &r);
    EXPECT_TRUE(EqualRect(&r, &smallest)) << "opens again as small as it was";
    pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    toggleThePane();
    EXPECT_TRUE(WaitUntil([&] {
        GetWindowRect(frame, &r);
        return IsWindowVisible(pane) && r.right - r.left == kMinimumFrameWidth && r.bottom - r.top == kMinimumFrameHeight;
    }, 5000)) << "grown to hold the pane";
    stop();
}

TEST_F(EarthFrameTest, OpensOnTheScreenWhateverRectangleWasStored) {
    for (const RECT stored : {RECT{3000, 2500, 3010, 2502}, RECT{-5000, -4000, -4400, -3470}, RECT{0, 0, 0, 0}}) {
        options.frameLeft = stored.left, options.frameTop = stored.top;
        options.frameRight = stored.right, options.frameBottom = stored.bottom;
        start();
        // On the screen (the work area may have grown a taskbar since the program looked).
        RECT r;
        GetWindowRect(frame, &r);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_GE(r.right - r.left, kMinimumFrameWidth);
        EXPECT_GE(r.bottom - r.top, kMinimumFrameHeight);
        stop();
        const UserOptions saved = ReadOptions(folder.path("user.bin"));
        EXPECT_EQ(saved.frameLeft, stored.left);
        EXPECT_EQ(saved.frameTop, stored.top);
        EXPECT_EQ(saved.frameRight, stored.right);
        EXPECT_EQ(saved.frameBottom, stored.bottom);
    }
    // Once the user moves the window so placed, where it is now is remembered.
    start();
    RECT placed;
    GetWindowRect(frame, &placed);
    SetWindowPos(frame, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    stop();
    const UserOptions moved = ReadOptions(folder.path("user.bin"));
    EXPECT_EQ(moved.frameLeft, 100);
    EXPECT_EQ(moved.frameTop, 80);
    EXPECT_EQ(moved.frameRight - moved.frameLeft, placed.right - placed.left);
    EXPECT_EQ(moved.frameBottom - moved.frameTop, placed.bottom - placed.top);
}

// A globe drag ends when the window loses the mouse or the button is found up; only a move
// with the button down turns the globe.
TEST_F(EarthFrameTest, GlobeDragEndsWhenTheMouseIsLost) {
    options.viewpoint = kViewMouseDrag;
    options.displayFlags &= ~uint32_t(kShowGrid);
    options.timeDisplay = kTimeNone;
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    const auto picture = [&] {
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return CaptureWindow(view).bgra;
    };
    const auto at = [](int x, int y) { return MAKELPARAM(x, y); };
    const std::vector<uint8_t> before = picture();
    // The same globe: the terminator creeps a pixel here and there as the seconds pass, where a
    // turn of the globe changes thousands.
    const auto same = [&](const std::vector<uint8_t>& now) {
        int changed = 0;
        for (size_t i = 0; i + 3 < now.size() && i + 3 < before.size(); i += 4) {
            changed += std::abs(now[i] - before[i]) + std::abs(now[i + 1] - before[i + 1]) +
                           std::abs(now[i + 2] - before[i + 2]) > 60;
        }
        return now.size() == before.size() && changed < 100;
    };

    // A pop-up takes the mouse in the middle of a drag: the context menu, opened and closed.
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
    ASSERT_TRUE(OpenContextMenu(frame, 660, 40));
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([] { return FindWindowA("#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowA("#32768", nullptr)); }, 5000));
    SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, at(220, 160));
    EXPECT_TRUE(same(picture())) << "the globe stays after the capture was lost";

    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
    SendMessageA(view, WM_MOUSEMOVE, 0, at(220, 160));  // the button went up elsewhere
    SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, at(260, 200));
    EXPECT_TRUE(same(picture())) << "the globe stays after the button went up unseen";

    // A drag with the button down all along. The system's own moves (the real button is up)
    // may end a drag between two of these messages, so the drag is tried a few times.
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
        SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, at(220, 160));
        SendMessageA(view, WM_LBUTTONUP, 0, at(220, 160));
        return !same(picture());
    }, 5000)) << "a drag turns the globe";
    stop();
}

}  // namespace

namespace {

// While the context menu is open the clock stands still, from the moment it opens; not so while
// the Eclipses window is.
TEST_F(EarthFrameTest, ClockStandsStillWhileTheContextMenuIsOpen) {
    options.timeDisplay = kTimeUtc;
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    ASSERT_TRUE(OpenContextMenu(frame, 660, 40));  // beside the window, not over the time
    // Once a redraw asked for just before the menu opened has landed.
    const std::vector<uint8_t> opened = SettledCapture(view).bgra;
    WaitForClockSeconds(2);
    EXPECT_TRUE(CaptureWindow(view).bgra == opened) << "the time stands still";
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(view).bgra != opened; }, 5000))
        << "and goes on when the menu closes";

    // The Eclipses window, from the window's menu bar, leaves the clock going.
    PostMessageA(frame, WM_COMMAND, ID_ECLIPSES, 0);
    HWND eclipses = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (eclipses = FindWindowA(nullptr, "Eclipses")) != nullptr && IsWindowVisible(eclipses); }, 10000));
    SetWindowPos(eclipses, nullptr, GetSystemMetrics(SM_CXSCREEN) - 200, GetSystemMetrics(SM_CYSCREEN) - 100, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(IsWindowEnabled(frame));
    const std::vector<uint8_t> beside = SettledCapture(view).bgra;
    EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(view).bgra != beside; }, 5000)) << "the time goes on";
    PostMessageA(eclipses, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(eclipses); }, 5000));
    stop();
}

}  // namespace

// Nobody can see the spinning globe while the session is locked: it stands still then, and turns
// again at once when unlocked, uncovered or restored. (Its cost while unseen is in the bench.)
TEST_F(EarthFrameTest, StandsStillWhileLockedAndTurnsAtOnceWhenSeenAgain) {
    options.viewpoint = kViewSpinningGlobe;
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    const auto turning = [&] {
        const std::vector<uint8_t> first = CaptureWindow(view).bgra;
        return WaitUntil([&] { return CaptureWindow(view).bgra != first; }, 1500);
    };
    ASSERT_TRUE(turning());

    PostMessageA(hidden, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !turning(); }, 5000)) << "stands still while locked";
    PostMessageA(hidden, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_TRUE(turning()) << "turns again at once when unlocked";

    // A window of another program over the whole of it, then gone.
    RECT r;
    GetWindowRect(frame, &r);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, r.left - 10,
                                 r.top - 10, r.right - r.left + 20, r.bottom - r.top + 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    WaitForClockSeconds(2);  // the tick has looked again
    DestroyWindow(cover);
    EXPECT_TRUE(turning()) << "turns again at once when uncovered";

    PostMessageA(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(frame) != 0; }, 5000));
    PostMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(frame); }, 5000));
    EXPECT_TRUE(turning()) << "turns again at once when restored";
    stop();
}

// What counts as covering a window: the visible, opaque windows above it, together.
TEST(FrameCoverage, OnlyWindowsAboveItThatHideEveryPixel) {
    const auto popup = [](int x, int y, int w, int h, DWORD exStyle = 0) {
        return CreateWindowExA(WS_EX_TOOLWINDOW | exStyle, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                               nullptr, nullptr, nullptr);
    };
    HWND frame = popup(100, 100, 300, 200);
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(FullyCovered(frame));
    HWND left = popup(90, 90, 170, 220);
    EXPECT_FALSE(FullyCovered(frame)) << "half covered";
    HWND right = popup(250, 90, 160, 220);
    EXPECT_TRUE(FullyCovered(frame)) << "two windows together";
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(FullyCovered(frame)) << "raised above them";
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(FullyCovered(frame));
    ShowWindow(right, SW_HIDE);
    EXPECT_FALSE(FullyCovered(frame)) << "a hidden window covers nothing";
    HWND glass = popup(250, 90, 160, 220, WS_EX_LAYERED | WS_EX_TOPMOST);
    EXPECT_FALSE(FullyCovered(frame)) << "a layered window may let it show through";
    for (HWND w : {left, right, glass}) DestroyWindow(w);
    EXPECT_FALSE(FullyCovered(frame));
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(FullyCovered(frame)) << "minimised";
    ShowWindow(frame, SW_RESTORE);
    SetWindowPos(frame, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(FullyCovered(frame)) << "off every screen";
    DestroyWindow(frame);
}
