// The Lunar Phases window: in the real solvane.exe through its tray and menu-bar commands, and
// its illumination view in this process at dates the test chooses with a stopped clock.
#include "EarthClockFixture.h"

#include "almanac/IlluminationView.h"
#include "almanac/LunarPhasesLayout.h"
#include "almanac/LunarPhasesWindow.h"
#include "app/EphemerisFile.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "astro/FixedClock.h"
#include "platform/GdiSurface.h"
#include "platform/RecursiveLock.h"
#include "render/GLTarget.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>

namespace {

constexpr COLORREF kBackground = RGB(0, 2, 22);
constexpr RECT kOrbit = {370, 40, 680, 240};  // the orbit view in the window

HWND LunarWindow() { return FindWindowA("SolvaneLunarPhases", "Lunar Phases"); }

HWND OpenLunarPhases(HWND target) {
    PostMessageA(target, WM_COMMAND, ID_MOON_PHASES, 0);
    HWND lunar = nullptr;
    WaitUntil([&] { return (lunar = LunarWindow()) != nullptr && IsWindowVisible(lunar); }, 15000);
    return lunar;
}

bool Close(HWND lunar) {
    PostMessageA(lunar, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(lunar); }, 10000);
}

// The process's private memory (wine fills the page-file figure with it).
SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {sizeof counters};
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Whether the window's Close button has been drawn (its face is not the black of the ground).
bool CloseButtonDrawn(HWND lunar) {
    const Capture c = CaptureWindow(lunar);
    const uint8_t* p = c.at(600, 455);
    return p[0] + p[1] + p[2] > 60;
}

// The banner bitmap as solvane.exe holds it, blue-green-red-x rows, top row first.
Capture BannerBitmap() {
    Capture c;
    HMODULE program = LoadLibraryExA((DistFolder() + "\\solvane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program == nullptr) return c;
    HBITMAP banner = LoadBitmapA(program, MAKEINTRESOURCEA(IDB_BANNER_LUNAR_PHASES));
    BITMAP info = {};
    if (banner != nullptr && GetObjectA(banner, sizeof info, &info) != 0) {
        c.width = info.bmWidth;
        c.height = info.bmHeight;
        c.bgra.resize(size_t(c.width) * c.height * 4);
        BITMAPINFOHEADER header = DibHeader(c.width, -c.height, 32);
        HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, banner, 0, c.height, c.bgra.data(), reinterpret_cast<BITMAPINFO*>(&header),
                      DIB_RGB_COLORS) != c.height) {
            c = {};
        }
        ReleaseDC(nullptr, screen);
    }
    if (banner != nullptr) DeleteObject(banner);
    FreeLibrary(program);
    return c;
}

bool InsideIlluminationView(int x, int y) {
    const double dx = x + 0.5 - (15 + 150), dy = y + 0.5 - (125 + 150);
    return dx * dx + dy * dy < 152 * 152;  // a pixel's margin for the region's edge
}

class LunarPhases : public EarthClockTest {};

// The phase pictures show their balls over the window's ground with no black square around
// them, and the banner shows whole above the orbit view, frame after frame.
TEST_F(LunarPhases, PicturesHaveNoSquareAndTheOrbitLeavesTheBannerWhole) {
    start();
    HWND lunar = OpenLunarPhases(hidden);
    ASSERT_NE(lunar, nullptr);
    HWND orbit = FindWindowExA(lunar, nullptr, "Solvane - OrbitWindow", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != "" && CloseButtonDrawn(lunar); }, 10000)) << "drawn";
    const Capture shown = SettledCaptureOutside(lunar, kOrbit);
    KeepScreenshot(shown, "lunar-phases-pictures.bmp");
    for (int entry = 0; entry < 4; ++entry) {
        const PhaseEntryPlaces at = PhaseEntryPlacesFor(entry, 16);  // the pictures' places need no text height
        int black = 0, ground = 0, lit = 0;
        for (int y = 0; y < kPhasePictureSize; ++y) {
            for (int x = 0; x < kPhasePictureSize; ++x) {
                const int wx = at.pictureX + x, wy = at.pictureY + y;
                if (InsideIlluminationView(wx, wy)) continue;
                const uint8_t* p = shown.at(wx, wy);
                const uint8_t coverage = PhasePictureCoverage(x, y);
                if (coverage == 0) {
                    black += p[0] == 0 && p[1] == 0 && p[2] == 0;
                    ground += RGB(p[2], p[1], p[0]) == kBackground;
                } else if (coverage == 255) {
                    lit += p[0] + p[1] + p[2] > 30;
                }
            }
        }
        EXPECT_EQ(black, 0) << "black around the ball of picture " << entry;
        EXPECT_GT(ground, 300) << "the ground around the ball of picture " << entry;
        if (entry > 0) {  // the new Moon's ball is dark
            EXPECT_GT(lit, 500) << "the lit ball of picture " << entry;
        }
    }

    const Capture banner = BannerBitmap();
    ASSERT_EQ(banner.width, 700);
    const int bannerRows = std::min(banner.height, shown.height);
    for (int frame = 0; frame < 3; ++frame) {
        const Capture c = CaptureWindow(lunar);
        int differing = 0;
        for (int y = 0; y < bannerRows; ++y) {
            for (int x = kOrbit.left; x < kOrbit.right && x < c.width; ++x) {
                differing += memcmp(c.at(x, y), banner.at(x, y), 3) != 0;
            }
        }
        EXPECT_EQ(differing, 0) << "banner pixels covered above the orbit view, frame " << frame;
        WaitUntil([&] { return CaptureWindow(lunar).bgra != c.bgra; }, 2000);
    }
    // Half an orbit on: the new Moon, for the record (its place in the oval is tested on the host).
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) == "New Moon"; }, 60000));
    KeepScreenshot(CaptureWindow(lunar), "lunar-phases-new-moon.bmp");
    ASSERT_TRUE(Close(lunar));
    stop();
}

TEST_F(LunarPhases, OpensOnceCentredAnimatesAndResumesWhereItStopped) {
    start();
    HWND lunar = OpenLunarPhases(hidden);
    ASSERT_NE(lunar, nullptr);
    RECT r;
    GetWindowRect(lunar, &r);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 500);
    EXPECT_NEAR(r.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 350, 1);
    EXPECT_NEAR(r.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 250, 1);
    HWND orbit = FindWindowExA(lunar, nullptr, "Solvane - OrbitWindow", nullptr);
    HWND illumination = FindWindowExA(lunar, nullptr, "Solvane - Illumination", nullptr);
    ASSERT_NE(orbit, nullptr);
    ASSERT_NE(illumination, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != "" && CloseButtonDrawn(lunar); }, 10000)) << "drawn";
    EXPECT_EQ(WindowText(orbit), "Full Moon") << "the animation starts at the full Moon";

    // From the menu bar as well: still the one window, in front.
    SetForegroundWindow(frame);
    PostMessageA(frame, WM_COMMAND, ID_MOON_PHASES, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == lunar; }, 5000));
    int windows = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "SolvaneLunarPhases", nullptr)) != nullptr;) ++windows;
    EXPECT_EQ(windows, 1);

    // Successive pictures differ inside the orbit view only.
    const Capture first = SettledCaptureOutside(lunar, kOrbit);
    KeepScreenshot(first, "lunar-phases.bmp");
    Capture later;
    ASSERT_TRUE(WaitUntil([&] {
        later = CaptureWindow(lunar);
        return later.bgra != first.bgra;
    }, 5000));
    for (int y = 0; y < later.height; ++y) {
        for (int x = 0; x < later.width; ++x) {
            const bool inOrbit = x >= kOrbit.left && x < kOrbit.right && y >= kOrbit.top && y < kOrbit.bottom;
            if (!inOrbit && memcmp(later.at(x, y), first.at(x, y), 3) != 0) {
                ADD_FAILURE() << "changed outside the orbit view at " << x << "," << y;
                y = later.height;
                break;
            }
        }
    }
    // Nobody can see it while the session is locked: the orbit stands still, and moves on
    // again when the session is unlocked.
    const auto animating = [&] {
        const Capture before = CaptureWindow(orbit);
        return WaitUntil([&] { return CaptureWindow(orbit).bgra != before.bgra; }, 1500);
    };
    PostMessageA(hidden, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !animating(); }, 5000)) << "stands still while locked";
    PostMessageA(hidden, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_TRUE(animating()) << "moves on when unlocked";

    // The illumination view is round: its corners show the window behind it.
    const uint8_t* corner = first.at(15 + 3, 125 + 3);
    EXPECT_EQ(RGB(corner[2], corner[1], corner[0]), kBackground);
    const uint8_t* middle = first.at(15 + 150, 125 + 150);
    EXPECT_NE(RGB(middle[2], middle[1], middle[0]), kBackground) << "the Moon is drawn";

    // Dragged by the banner only.
    RECT client;
    GetClientRect(lunar, &client);
    // A point of the window itself, below the banner and above the big Moon.
    EXPECT_FALSE(DragWindow(lunar, 20, kLunarBannerHeight + 12, 1000)) << "the body does not drag";
    EXPECT_TRUE(WaitUntil([&] { return DragWindow(lunar, 600, 20, 4000); }, 30000)) << "the banner drags";

    // Once the Moon is well past the full Moon (dragging may have taken a few seconds, so any
    // label of the waning half will do), closing and opening again carries on from there.
    const auto waning = [&] {
        const std::string label = WindowText(orbit);
        return label == "Waning Gibbous" || label == "Last Quarter" || label == "Waning Crescent" ||
               label == "New Moon";
    };
    ASSERT_TRUE(WaitUntil(waning, 90000)) << "label " << WindowText(orbit);
    ASSERT_TRUE(Close(lunar));
    EXPECT_EQ(FindWindowA("Solvane - OrbitWindow", nullptr), nullptr);
    lunar = OpenLunarPhases(frame);
    ASSERT_NE(lunar, nullptr);
    orbit = FindWindowExA(lunar, nullptr, "Solvane - OrbitWindow", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != ""; }, 5000));
    EXPECT_NE(WindowText(orbit), "Full Moon") << "started again from the beginning";
    ASSERT_TRUE(Close(lunar));
    stop();
}

// Fifty openings through the tray command leave the program's memory where it was. The
// heaps of wine's OpenGL grow in steps of a few megabytes for a while; a leaked OpenGL context
// with its pictures costs megabytes each time, which fifty openings would show far beyond that.
TEST_F(LunarPhases, OpeningAndClosingFiftyTimesKeepsTheMemory) {
    options.wallpaperEnabled = 0;  // nothing else renders meanwhile
    options.noticeFlags &= ~kNoticeCloseToTray;
    start();
    PostMessageA(frame, WM_COMMAND, ID_CLOSE_MAIN_WINDOW, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(frame); }, 10000));
    const auto cycle = [&] {
        HWND lunar = OpenLunarPhases(hidden);
        return lunar != nullptr && WaitUntilIdle(lunar) && Close(lunar);
    };
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(cycle());
    ASSERT_TRUE(WaitUntilIdle(hidden));
    const SIZE_T before = PrivateBytes(program->process());
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(cycle());
    ASSERT_TRUE(WaitUntilIdle(hidden));
    const SIZE_T after = PrivateBytes(program->process());
    EXPECT_GT(before, 0u);
    EXPECT_LT(double(after) - double(before), 16.0 * 1024 * 1024) << before << " -> " << after << " bytes";
    stop();
}

// The window in this process, with a clock stopped at a date the test chooses.
class LunarPhasesWindowInProcess : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby")); }
    LunarPhasesWindowInProcess() { SetDefaultOptions(options); }
    FixedClock clock{CivilTime{2026, 12, 24, 4, 1, 28, 0}, 0};
    UserOptions options;
    AstroState astro = {};
    RecursiveLock lock;
    LunarPhasesWindow window{{astro, options, clock, lock}};
};

// Wine's GetGuiResources always answers 0, so the window runs here, where the OpenGL targets
// count their contexts and the orbit views their frame timers: each opening makes a context
// (the illumination's pictures) and a timer, each closing releases them, and nothing of the
// window or its views remains.
TEST_F(LunarPhasesWindowInProcess, FiftyOpeningsReleaseEveryContextAndWindow) {
    const int contexts = GLTarget::liveContexts();
    const int timers = OrbitView::runningFrameTimers();
    for (int i = 0; i < 50; ++i) {
        window.open();
        HWND lunar = window.hwnd();
        ASSERT_NE(lunar, nullptr);
        HWND orbit = FindWindowExA(lunar, nullptr, "Solvane - OrbitWindow", nullptr);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != ""; }, 10000)) << "the orbit view draws";
        EXPECT_EQ(GLTarget::liveContexts(), contexts + 1);
        EXPECT_EQ(OrbitView::runningFrameTimers(), timers + 1);
        PostMessageA(lunar, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return window.hwnd() == nullptr; }, 10000));
        EXPECT_EQ(GLTarget::liveContexts(), contexts);
        EXPECT_EQ(OrbitView::runningFrameTimers(), timers) << "the animation stops with the window";
        EXPECT_FALSE(IsWindow(orbit));
    }
}

// How many pixels of `window` on screen change when it is painted again whole: what its own
// updates left stale.
int StaleAfterRepaint(HWND window) {
    const Capture shown = CaptureWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const Capture whole = CaptureWindow(window);
    int differing = 0;
    for (size_t i = 0; i < whole.bgra.size(); i += 4) differing += memcmp(&shown.bgra[i], &whole.bgra[i], 3) != 0;
    return differing;
}

// The window keeps its picture true as it changes by itself. After a label change and frames
// copied in parts (only where the balls were and are), the orbit view equals itself painted
// whole; after the minute's refresh finds a new illumination figure, the window equals itself
// painted anew, the old figure not showing through. Frames come only as this thread pumps
// messages, so none falls between two captures; the window is kept above all others.
TEST_F(LunarPhasesWindowInProcess, ItsPictureStaysTrueAsItChanges) {
    window.open();
    SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND orbit = FindWindowExA(window.hwnd(), nullptr, "Solvane - OrbitWindow", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != "" && CloseButtonDrawn(window.hwnd()); }, 10000));
    const std::string first = WindowText(orbit);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(orbit) != first; }, 30000)) << "the label changes";
    for (int frame = 0; frame < 10; ++frame) {
        const Capture before = CaptureWindow(orbit);
        ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(orbit).bgra != before.bgra; }, 5000)) << "frame " << frame;
    }
    EXPECT_EQ(StaleAfterRepaint(orbit), 0) << "pixels the partial copies left stale";

    const Capture before = CaptureWindow(window.hwnd());
    clock = FixedClock(CivilTime{2026, 12, 26, 4, 1, 28, 0}, 0);  // two days on: a few per cent less lit
    SendMessageA(window.hwnd(), WM_TIMER, 1, 0);                   // the minute's refresh
    UpdateWindow(window.hwnd());
    ASSERT_NE(CaptureWindow(window.hwnd()).bgra, before.bgra) << "the refresh shows the new figure";
    EXPECT_EQ(StaleAfterRepaint(window.hwnd()), 0) << "pixels of the old figure showing through";
    window.destroy();
}

// The lit Moon at a full-moon date is the whole face; at a new-moon date a dark disc. The
// view runs here with a clock stopped at those dates.
class Illumination : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby")); }
    struct Lit {
        double fraction = -1;     // of the disc's pixels
        double rightOverLeft = 0; // brightness of the right half over the left
    };
    // How the disc is lit at `utc`.
    Lit lit(const CivilTime& utc, const char* screenshot) {
        FixedClock clock(utc, 0);
        UserOptions options;
        SetDefaultOptions(options);
        AstroState astro = {};
        RecursiveLock lock;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(kBackground);
        wc.lpszClassName = "IlluminationTestParent";
        RegisterClassA(&wc);
        HWND parent = CreateWindowExA(0, "IlluminationTestParent", "", WS_POPUP | WS_VISIBLE, 100, 100, 330, 330,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Lit result;
        {
            IlluminationView view({astro, options, clock, lock});
            if (view.create(parent, 15, 15, 300)) {
                UpdateWindow(view.hwnd());
                const Capture c = SettledCapture(view.hwnd());
                KeepScreenshot(c, screenshot);
                int disc = 0, bright = 0;
                double left = 1, right = 1;
                for (int y = 0; y < c.height; ++y) {
                    for (int x = 0; x < c.width; ++x) {
                        const double dx = x - 149.5, dy = y - 149.5;
                        if (dx * dx + dy * dy > 100 * 100) continue;  // well inside the Moon's disc
                        ++disc;
                        const uint8_t* p = c.at(x, y);
                        bright += p[0] + p[1] + p[2] > 120;
                        (x < 150 ? left : right) += p[0] + p[1] + p[2];
                    }
                }
                result = {double(bright) / disc, right / left};
            }
        }
        DestroyWindow(parent);
        UnregisterClassA("IlluminationTestParent", GetModuleHandleA(nullptr));
        DeleteObject(wc.hbrBackground);
        return result;
    }
};

TEST_F(Illumination, FullMoonShowsTheWholeFaceNewMoonADarkDiscTheQuartersTheirSides) {
    EXPECT_GT(lit(CivilTime{2026, 12, 24, 4, 1, 28, 0}, "illumination-full.bmp").fraction, 0.9) << "full Moon, 2026-12-24";
    EXPECT_LT(lit(CivilTime{2026, 12, 9, 3, 0, 52, 0}, "illumination-new.bmp").fraction, 0.1) << "new Moon, 2026-12-09";
    // Seen from the north: the waxing Moon lit on the right, the waning on the left.
    EXPECT_GT(lit(CivilTime{2026, 12, 17, 4, 12, 0, 0}, "illumination-first-quarter.bmp").rightOverLeft, 3)
        << "first quarter, 2026-12-17";
    EXPECT_LT(lit(CivilTime{2026, 12, 30, 3, 12, 0, 0}, "illumination-last-quarter.bmp").rightOverLeft, 1.0 / 3)
        << "last quarter, 2026-12-30";
}

}  // namespace
