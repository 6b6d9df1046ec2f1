// The live globe in the real solvane.exe: drawn, with the time in green on the blue panel,
// following the clock.
#include "EarthClockFixture.h"

#include "almanac/EclipsesDialog.h"
#include "almanac/LunarPhasesWindow.h"
#include "app/ClockSettings.h"
#include "app/ClockState.h"
#include "app/EclipseWatch.h"
#include "app/EphemerisFile.h"
#include "astro/AstroState.h"
#include "astro/FixedClock.h"
#include "astro/JulianDate.h"
#include "desktop/DataPane.h"
#include "platform/RecursiveLock.h"
#include "platform/Window.h"
#include "render/EarthView.h"
#include "render/MoonPhaseImage.h"
#include "render/SceneInputs.h"
#include "render/WallpaperEarth.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

bool IsGreenText(const uint8_t* p) { return p[1] > 150 && p[2] < 110 && p[0] < 150; }

// Paints the view now, as WM_PAINT does: a whole frame after a new size, else the kept globe
// and the time display, shown whole.
void PaintNow(HWND view) { RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

int OpenMenus() {
    int count = 0;
    for (HWND menu = nullptr; (menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr;) {
        count += IsWindowVisible(menu) != FALSE;
    }
    return count;
}

bool Near(const uint8_t* a, const uint8_t* b) {
    return std::abs(a[0] - b[0]) <= 8 && std::abs(a[1] - b[1]) <= 8 && std::abs(a[2] - b[2]) <= 8;
}

TEST(EarthView, ShowsTheGlobeAndTheTimeInGreen) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    UserOptions options = QuietOptions();
    options.timeDisplay = kTimeUtc;
    options.displayFlags |= kShowTimeZone;
    ASSERT_TRUE(WriteOptions(folder.path("user.bin"), options));
    RunningProgram program(folder.path("solvane.exe"));
    HWND frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
    ASSERT_NE(frame, nullptr);
    HWND view = nullptr;  // the frame can be found while it is still making its children
    ASSERT_TRUE(WaitUntil([&] { return (view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr)) != nullptr; }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 20000));
    // A new size makes a whole new frame; the frames of the next seconds redraw only the time.
    // The new frame is on the screen when two frames painted one after the other agree
    // everywhere but in the time's line.
    RECT r;
    GetWindowRect(frame, &r);
    SetWindowPos(frame, nullptr, 0, 0, r.right - r.left + 2, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    Capture first;
    ASSERT_TRUE(WaitUntil([&] {
        PaintNow(view);
        first = CaptureWindow(view);
        PaintNow(view);
        const Capture again = CaptureWindow(view);
        if (again.width != first.width || again.height != first.height || first.width == 0) return false;
        const int timeTop = first.height * 3 / 4;
        for (int y = 0; y < first.height; ++y) {
            if (y >= timeTop - 4 && y < timeTop + 26) continue;
            for (int x = 0; x < first.width; ++x) {
                if (!Near(first.at(x, y), again.at(x, y))) return false;
            }
        }
        return GlobeShown(view);
    }, 10000)) << "the frame of the new size";
    KeepScreenshot(first, "earth-window.bmp");
    ASSERT_GT(first.width, 100);
    // The time line's top is a quarter of the height above the bottom edge.
    const int top = first.height * 3 / 4;
    int green = 0, greenElsewhere = 0;
    for (int y = 0; y < first.height; ++y) {
        for (int x = 0; x < first.width; ++x) {
            if (!IsGreenText(first.at(x, y))) continue;
            (y >= top - 4 && y <= top + 60 ? green : greenElsewhere)++;
        }
    }
    EXPECT_GT(green, 80) << "green digits and label";
    EXPECT_LT(greenElsewhere, green / 4);
    Capture second;
    const auto timeChanged = [&] {
        second = CaptureWindow(view);
        int changed = 0;
        for (int y = top; y < top + 30 && y < second.height; ++y) {
            for (int x = 0; x < second.width; ++x) changed += IsGreenText(first.at(x, y)) != IsGreenText(second.at(x, y));
        }
        return changed > 5;
    };
    EXPECT_TRUE(WaitUntil(timeChanged, 5000)) << "the seconds move on";
    // Everything else, the label line on its panel included, is drawn as in the whole frame:
    // the globe under the time display is put back exactly when only the time is redrawn.
    const auto movedBesideTheTime = [&](const Capture& later) {
        int moved = 0;
        for (int y = 0; y < later.height; ++y) {
            if (y >= top - 4 && y < top + 26) continue;  // the time line
            for (int x = 0; x < later.width; ++x) moved += !Near(first.at(x, y), later.at(x, y));
        }
        return moved;
    };
    EXPECT_EQ(movedBesideTheTime(second), 0);
    // The time display turned off, a whole frame drawn without it (a new size and back), and
    // the display on again: one panel over the globe, not one over another.
    // The context menu's "Time Display" submenu, then the item `down` places below "Local Time".
    const auto chooseTimeDisplay = [&](int down) {
        ASSERT_TRUE(OpenContextMenu(frame));
        ASSERT_TRUE(WaitUntil([] { return OpenMenus() == 1; }, 5000)) << "the menu shows";
        for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) SendKey(key);
        ASSERT_TRUE(WaitUntil([] { return OpenMenus() == 2; }, 5000)) << "and its submenu";
        for (int i = 0; i < down; ++i) SendKey(VK_DOWN);
        SendKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([] { return OpenMenus() == 0; }, 5000)) << "the menu closed";
        PaintNow(view);
    };
    chooseTimeDisplay(5);  // "No Time Display"
    int greenLeft = 0;
    const Capture off = CaptureWindow(view);
    for (int y = 0; y < off.height; ++y) {
        for (int x = 0; x < off.width; ++x) greenLeft += IsGreenText(off.at(x, y));
    }
    EXPECT_LT(greenLeft, 20) << "no time shown";
    for (int change : {-2, 2}) {
        GetWindowRect(frame, &r);
        SetWindowPos(frame, nullptr, 0, 0, r.right - r.left + change, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        PaintNow(view);
    }
    chooseTimeDisplay(1);  // "Greenwich (UTC)"
    PaintNow(view);
    EXPECT_LT(movedBesideTheTime(CaptureWindow(view)), 40) << "a few pixels: the globe turned meanwhile";
    PostMessageA(FindWindowA(nullptr, "Solvane Hidden Window"), WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(program.waitForExit(15000));
}

// A plain top-level window of the given size for a view made in this process.
class ParentWindow {
public:
    ParentWindow(int width, int height) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, kClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width, height, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }
    ~ParentWindow() {
        DestroyWindow(hwnd);
        UnregisterClassA(kClass, GetModuleHandleA(nullptr));
    }
    HWND hwnd = nullptr;

private:
    static constexpr const char* kClass = "EarthViewParentHere";
};

// A second's tick shows what a whole redraw would show, pixel for pixel: its band of rows lands
// where the time display is, and the globe under the old time is put back exactly.
TEST(EarthViewInProcess, ASecondsTickShowsTheWholeFrame) {
    ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby"));
    UserOptions options = QuietOptions();
    options.timeDisplay = kTimeUtc;
    options.viewpoint = kViewFromSun;
    AstroState astro = {};
    RecursiveLock lock;
    FixedClock clock({2026, 12, 10, 4, 12, 0, 30}, 0);
    UpdateAstroState(astro, options, clock, true);
    ParentWindow parent(420, 300);
    {
        EarthView view({options, astro, lock, clock, false});
        ASSERT_TRUE(view.create(parent.hwnd, 0, 0, 420, 300));
        PaintNow(view.hwnd());
        const Capture first = SettledCapture(view.hwnd());
        ASSERT_TRUE(GlobeShown(view.hwnd()));
        // The next second on the time display; the globe's instant stays, so that a globe drawn
        // anew is the kept one to the pixel.
        astro.utcSecond = 31;
        SendMessageA(view.hwnd(), EarthView::kShowTimeMessage, 0, 0);
        const Capture tick = SettledCapture(view.hwnd());
        EXPECT_NE(tick.bgra, first.bgra) << "the new second";
        SendMessageA(view.hwnd(), WM_SIZE, 0, MAKELPARAM(420, 300));  // the globe is drawn anew
        PaintNow(view.hwnd());
        const Capture whole = SettledCapture(view.hwnd());
        ASSERT_EQ(whole.bgra.size(), tick.bgra.size());
        int different = 0;
        for (size_t i = 0; i < whole.bgra.size(); i += 4) different += !Near(&whole.bgra[i], &tick.bgra[i]);
        EXPECT_EQ(different, 0);
        DestroyWindow(view.hwnd());
    }
}

// Places over home (Warsaw): the near ones marked with a yellow dot and labelled, the far
// side's left out; the frame with only far-side places is the frame without any.
TEST(EarthViewInProcess, MarksThePlacesOnTheNearSide) {
    ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby"));
    UserOptions options = QuietOptions();
    options.viewpoint = kViewOverHome;
    options.homeLatitude = 52.2f;
    options.homeLongitude = 21.0f;
    options.displayFlags &= ~kHighlightHome;
    AstroState astro = {};
    RecursiveLock lock;
    FixedClock clock({2026, 12, 10, 4, 12, 0, 30}, 0);
    UpdateAstroState(astro, options, clock, true);
    ParentWindow parent(570, 361);
    const std::vector<PlaceMark> farSide = {{"Sydney", -33.86785, 151.20732, 4627345, "23:12"},
                                            {"Honolulu", 21.30694, -157.85833, 371657, "02:12"}};
    std::vector<PlaceMark> places = farSide;
    places.insert(places.end(), {{"London", 51.50853, -0.12574, 8961989, "12:12"},
                                 {"Łódź", 51.75, 19.46667, 768755, "13:12"},
                                 {"New York City", 40.71427, -74.00597, 8804190, "07:12"},
                                 {"Cairo", 30.06263, 31.24967, 9606916, "14:12"}});
    std::vector<PlaceMark> shown;
    EarthViewModel model = {options, astro, lock, clock, false};
    model.places = [&shown] { return shown; };
    {
        EarthView view(model);
        ASSERT_TRUE(view.create(parent.hwnd, 0, 0, 570, 361));
        const auto frameWith = [&](const std::vector<PlaceMark>& marks) {
            shown = marks;
            PaintNow(view.hwnd());
            return SettledCapture(view.hwnd());
        };
        const Capture none = frameWith({});
        ASSERT_TRUE(GlobeShown(view.hwnd()));
        EXPECT_EQ(frameWith(farSide).bgra, none.bgra) << "the far side's places are not drawn";
        const Capture marked = frameWith(places);
        KeepScreenshot(marked, "earth-view-places");
        int labelWhite = 0;
        for (size_t i = 0; i + 3 < marked.bgra.size(); i += 4) {
            const uint8_t* p = &marked.bgra[i];
            labelWhite += !Near(p, &none.bgra[i]) && p[0] > 220 && p[1] > 220 && p[2] > 220;
        }
        EXPECT_GE(MarkerPixels(marked), 4 * 12) << "four markers";
        EXPECT_GE(labelWhite, 4 * 60) << "four labels";
        // Without London, whose label took the room of Łódź's: the name drawn whole.
        std::vector<PlaceMark> withoutLondon = places;
        withoutLondon.erase(withoutLondon.begin() + 2);
        KeepScreenshot(frameWith(withoutLondon), "earth-view-places-lodz");
        DestroyWindow(view.hwnd());
    }
}

// The mean of red, green and blue over the square of `half` pixels either side of (x, y).
double MeanBrightness(const Capture& c, int x, int y, int half) {
    double sum = 0;
    int n = 0;
    for (int v = y - half; v <= y + half; ++v) {
        for (int u = x - half; u <= x + half; ++u) sum += c.at(u, v)[0] + c.at(u, v)[1] + c.at(u, v)[2], ++n;
    }
    return sum / (3 * n);
}

bool Reddened(const uint8_t* bgra) { return bgra[2] > 20 && bgra[2] > 1.6 * bgra[1] && bgra[1] >= bgra[0]; }

// Dallas, in its own zone, through the total solar eclipse of 2024-04-08 and the total lunar
// eclipse of 2025-03-14: the search finds both kinds and the window tells them in the home's
// time; the details pane tells the share of the Sun hidden; the globe shows the Moon's shadow
// over home and the Moon pictures the Earth's, reddened.
TEST(EclipsesInProcess, DallasThroughTheEclipsesOf2024And2025) {
    const std::string cheby = DistFolder() + "\\cheby";
    ASSERT_TRUE(OpenEphemerisFile(cheby));
    FixedClock clock({2024, 4, 8, 1, 18, 30, 0}, 300);
    ClockSettings settings(clock);
    settings.update([](UserOptions& o) {
        o = QuietOptions();
        o.homeLatitude = 32.78f, o.homeLongitude = -96.80f;
        SetFieldText(o.homeName, std::string("Dallas"));
        o.viewpoint = kViewOverHome;
        o.displayFlags = (o.displayFlags | kLocalTime24Hour) & ~kHighlightHome;
    });
    settings.update(WorldChange([](WorldSettings& w) { w.homeTimeZone = "Central Standard Time"; }));
    settings.advanceClock(true);

    // The search from a month before, on its own thread and reader.
    EclipseWatch watch(cheby, [] { return JulianDate(2024, 3, 8, 18.5); }, [] {});
    watch.watch({32.78, -96.80, 0});
    ASSERT_TRUE(WaitUntil([&] { return watch.outlook().state == EclipseOutlook::State::kFound; }, 120000));
    std::string solar, lunar;
    {
        EclipsesDialog dialog(&watch, settings);
        dialog.open();
        const HWND shown = dialog.hwnd();
        ASSERT_NE(shown, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(shown) != FALSE; }, 10000));
        solar = WindowText(GetDlgItem(shown, IDC_ECLIPSE_SOLAR));
        lunar = WindowText(GetDlgItem(shown, IDC_ECLIPSE_LUNAR));
        KeepScreenshot(SettledCapture(shown), "eclipses-window.bmp");
        // Home's zone changed while the window is open: its times follow.
        settings.update(WorldChange([](WorldSettings& w) { w.homeTimeZone = "Eastern Standard Time"; }));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(shown, IDC_ECLIPSE_SOLAR)).find("14:17") != std::string::npos; }, 10000))
            << WindowText(GetDlgItem(shown, IDC_ECLIPSE_SOLAR));
        settings.update(WorldChange([](WorldSettings& w) { w.homeTimeZone = "Central Standard Time"; }));
        // Opening it again raises the one window; Escape, handed on as the message loop does,
        // closes it.
        dialog.open();
        EXPECT_EQ(dialog.hwnd(), shown);
        PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitUntil([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!TranslateDialogKeys(message)) DispatchMessageA(&message);
            }
            return dialog.hwnd() == nullptr;
        }, 5000));
    }
    // Greatest eclipse 18:17 UTC, 13:17 CDT; Dallas lies in the path of totality. The lunar
    // eclipse of 2024-03-25 (07:13 UTC) is penumbral, in Dallas's night.
    EXPECT_NE(solar.find("total"), std::string::npos) << solar;
    EXPECT_NE(solar.find("April 8, 2024  13:17"), std::string::npos) << solar;
    EXPECT_NE(solar.find("100%"), std::string::npos) << solar;
    EXPECT_NE(lunar.find("penumbral"), std::string::npos) << lunar;
    EXPECT_NE(lunar.find("March 25, 2024  02:1"), std::string::npos) << lunar;
    EXPECT_NE(lunar.find("Seen from home"), std::string::npos) << lunar;

    // The details pane, ten minutes before totality at home (a long name giving way to the
    // note), and two days later.
    ParentWindow parent(600, 400);
    {
        settings.update([](UserOptions& o) { SetFieldText(o.homeName, std::string("Dallas, Texas, by Love Field and White Rock Lake")); });
        DataPane pane(settings.shared());
        ASSERT_TRUE(pane.create(parent.hwnd, 1));
        SetWindowPos(pane.hwnd(), nullptr, 0, 0, 600, 159, SWP_NOZORDER | SWP_SHOWWINDOW);
        KeepScreenshot(SettledCapture(pane.hwnd()), "eclipse-details-pane.bmp");
        const std::string during = WindowText(pane.hwnd());
        const std::size_t at = during.find("Solar eclipse ");
        ASSERT_NE(at, std::string::npos) << during;
        const int percent = std::atoi(during.c_str() + at + std::strlen("Solar eclipse "));
        EXPECT_GT(percent, 70);
        EXPECT_LT(percent, 100);
        clock = FixedClock({2024, 4, 10, 3, 18, 30, 0}, 300);
        settings.advanceClock(true);
        EXPECT_EQ(WindowText(pane.hwnd()).find("Solar eclipse"), std::string::npos);
        DestroyWindow(pane.hwnd());
    }

    // The globe over home at totality, and at the same hour two days later; with the soft
    // terminator (as set), then with the sharp one.
    const auto globeAt = [&](const CivilTime& utc) {
        clock = FixedClock(utc, 300);
        settings.advanceClock(true);
        const ClockSettings::Shared shared = settings.shared();
        EarthView view({shared.options, shared.astro, shared.lock, clock, false});
        EXPECT_TRUE(view.create(parent.hwnd, 0, 0, 600, 400));
        PaintNow(view.hwnd());
        const Capture c = SettledCapture(view.hwnd());
        DestroyWindow(view.hwnd());
        return c;
    };
    const Capture eclipse = globeAt({2024, 4, 8, 1, 18, 41, 0});
    const Capture later = globeAt({2024, 4, 10, 3, 18, 41, 0});
    KeepScreenshot(eclipse, "eclipse-globe-2024-04-08.bmp");
    EXPECT_LT(MeanBrightness(eclipse, 300, 200, 3), 0.3 * MeanBrightness(later, 300, 200, 3)) << "the umbra over home";
    EXPECT_LT(MeanBrightness(eclipse, 300, 140, 3), 0.8 * MeanBrightness(later, 300, 140, 3)) << "the penumbra around";
    settings.update([](UserOptions& o) { o.displayFlags &= ~kRealisticTerminator; });
    const Capture sharp = globeAt({2024, 4, 8, 1, 18, 41, 0});
    KeepScreenshot(sharp, "eclipse-globe-sharp-2024-04-08.bmp");
    EXPECT_LT(MeanBrightness(sharp, 300, 200, 3), 0.3 * MeanBrightness(later, 300, 200, 3)) << "the umbra, sharp";

    // The Moon pictures at the lunar eclipse's greatest, 2025-03-14 06:59 UTC.
    clock = FixedClock({2025, 3, 14, 5, 6, 59, 0}, 300);
    settings.advanceClock(true);
    {
        const ClockSettings::Shared shared = settings.shared();
        LunarPhasesWindow phases({shared.astro, shared.options, clock, shared.lock});
        phases.open();
        ASSERT_NE(phases.hwnd(), nullptr);
        HWND moon = FindWindowExA(phases.hwnd(), nullptr, "Solvane - Illumination", nullptr);
        ASSERT_NE(moon, nullptr);
        const Capture big = SettledCapture(moon);
        KeepScreenshot(SettledCapture(phases.hwnd()), "eclipse-lunar-phases-2025-03-14.bmp");
        EXPECT_TRUE(Reddened(big.at(big.width / 2, big.height / 2))) << "the big Moon's centre";
        phases.destroy();
    }
    // The Moon sprite's picture, and the wallpaper with its phase corners (the full Moon's lower
    // left): bottom-up pictures as captures.
    const auto captureOf = [](const uint8_t* bottomRow, std::ptrdiff_t stride, int width, int height, bool rgba) {
        Capture c;
        c.width = width, c.height = height;
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = bottomRow + y * stride + 4 * x;
                c.bgra.insert(c.bgra.end(), {p[rgba ? 2 : 0], p[1], p[rgba ? 0 : 2], 255});
            }
        }
        return c;
    };
    const int size = 128;
    const std::vector<uint8_t> sprite =
        renderMoonPhaseImage(JulianDate(2025, 3, 14, 6 + 59 / 60.0), size, settings.shared().lock);
    const Capture picture = captureOf(sprite.data(), size * 4, size, size, true);
    KeepScreenshot(picture, "eclipse-moon-sprite-2025-03-14.bmp");
    WallpaperRequest request = {640, 400, SceneOf(settings.shared().astro, settings.snapshot(), false)};
    request.moonPhases = true;
    const char* names[4] = {"New Moon", "First Quarter", "Full Moon", "Last Quarter"};
    for (int k = 0; k < 4; ++k) request.corners[k] = {k, names[k], "Mar 14"};
    WallpaperRenderer renderer;
    const WallpaperPicture wallpaper = renderer.render(request, settings.shared().lock);
    ASSERT_NE(wallpaper.bottomRow, nullptr);
    const Capture corners = captureOf(wallpaper.bottomRow, wallpaper.rowStride, 640, 400, false);
    KeepScreenshot(corners, "eclipse-wallpaper-2025-03-14.bmp");
    EXPECT_TRUE(Reddened(corners.at(64, 400 - 80))) << "the full Moon's corner";
    renderer.release();
    EXPECT_TRUE(Reddened(picture.at(size / 2, size / 2))) << "the Moon sprite's centre";
}

}  // namespace
