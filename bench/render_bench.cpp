// Speed of the renderer under the platform's OpenGL (llvmpipe under wine):
//   - the Earth view's frame at the default window's globe area (570 x 361): default display
//     flags, and the realistic terminator with urban lights, clouds and grid;
//   - the screen saver's frame at 1920 x 1080, its own flags and every layer;
//   - the same frames with the twilight bands beside those without, soft and abrupt terminator,
//     and the lighting of the maps for a new Sun (about every 20 s) with and without them;
//   - the Lunar Phases window's orbit animation, and a bare OpenGL frame of its size beside it;
//   - the lit Earth map lit anew, plain and with the Moon's shadow of a solar eclipse;
//   - wallpaper pictures at 1920 x 1080 end to end: the first (context, textures, frame, BMP
//     file) and the renewals after it, which keep the context and textures.
// Prints milliseconds; bench/run_render_bench.sh sets them beside xplanet.
//
// usage: render_bench.exe [frames | orbit | huge] (beside SVShared.dll and cheby); "frames": the
// frames only, "orbit": the orbit animation only, "huge": the 16384-pixel-square wallpaper only.
#include "app/OptionsStore.h"
#include "app/ProgramFiles.h"
#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "app/WorldSettings.h"
#include "almanac/OrbitView.h"
#include "astro/EclipseGeometry.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "render/BitmapFile.h"
#include "platform/HandleOwners.h"
#include "platform/ProcessCpu.h"
#include "platform/ProgramPath.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemClock.h"
#include "imagelib/SVShared.h"
#include "render/EarthView.h"
#include "render/LitEarthMap.h"
#include "render/SharedImages.h"
#include "render/SolarEclipseShadow.h"
#include "render/ViewContext.h"
#include "render/WallpaperEarth.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// Times of synchronous repaints of the view: their mean, and the median frame (which a stall
// of this virtual machine in one frame does not move). A whole frame draws the globe anew (the
// home point moves a little each time); otherwise the frame is the clock tick's: the kept
// globe serves and only the time display is drawn and shown, as each second of an idle clock.
struct FrameTimes {
    double mean, median;
};

FrameTimes FrameMs(HWND view, int frames, UserOptions& options, bool wholeFrames) {
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // warm-up: Moon picture
    const float home = options.homeLongitude;
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        if (wholeFrames) options.homeLongitude = home + 0.01f * float((i + 1) % 2);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (wholeFrames) {
            RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        } else {
            SendMessageA(view, EarthView::kShowTimeMessage, 0, 0);
        }
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    options.homeLongitude = home;
    double sum = 0;
    for (double t : times) sum += t;
    std::sort(times.begin(), times.end());
    return {sum / frames, times[times.size() / 2]};
}

constexpr int kRenewals = 7;

// Whole frames of the view with the twilight bands beside those without, in turns (without,
// with, without) so that a drift of the machine falls on both sides: soft and abrupt terminator,
// with the city lights and the other layers `options` show. The lit map is kept while the Sun
// stands.
void TwilightBandFrames(HWND view, UserOptions& options, WorldSettings& world) {
    const uint32_t flags = options.displayFlags;
    for (const bool soft : {true, false}) {
        options.displayFlags = (flags | kUrbanLighting) & ~kRealisticTerminator;
        if (soft) options.displayFlags |= kRealisticTerminator;
        FrameTimes times[3];
        for (int turn = 0; turn < 3; ++turn) {
            world.twilightBands = turn == 1;
            times[turn] = FrameMs(view, 40, options, true);
        }
        world.twilightBands = false;
        std::printf("earth view whole frame 570x361, %s terminator+lights+clouds+grid: with twilight bands %.2f ms "
                    "(median %.2f), without %.2f ms (median %.2f)\n", soft ? "soft" : "abrupt", times[1].mean,
                    times[1].median, (times[0].mean + times[2].mean) / 2, (times[0].median + times[2].median) / 2);
    }
    options.displayFlags = flags;
}

// Lighting the 1024 x 512 maps for a new Sun, as the view does when the Sun has moved a quarter
// pixel: without the bands, with them, and the abrupt terminator's banded night (medians).
void TwilightBandRelighting() {
    int32_t width = 0, height = 0;
    const unsigned char* day = LoadSharedImage(kImageEarthDay, &width, &height);
    const unsigned char* lights = LoadSharedImage(kImageCityLights, &width, &height);
    if (day == nullptr || lights == nullptr) {
        std::printf("lighting the maps: NO MAPS\n");
        return;
    }
    const float sun[3] = {0.6f, -0.3f, 0.74f};
    double medians[3];
    const NightShading shadings[3] = {NightShading::kSoft, NightShading::kSoftWithBands, NightShading::kSharpBands};
    for (int k = 0; k < 3; ++k) {
        std::vector<double> times;
        for (int i = 0; i < 9; ++i) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            const std::vector<uint8_t> lit = LitEarthMap(day, lights, width, height, sun, shadings[k]);
            QueryPerformanceCounter(&end);
            times.push_back(Milliseconds(start, end));
        }
        std::sort(times.begin(), times.end());
        medians[k] = times[times.size() / 2];
    }
    std::printf("lighting the %dx%d maps for a new Sun (median of 9): soft terminator %.1f ms, with twilight bands "
                "%.1f ms; the abrupt terminator's banded night %.1f ms\n", width, height, medians[0], medians[1],
                medians[2]);
}

std::vector<PlaceMark> ThirtyTwoPlaces() {
    struct Place {
        const char* name;
        double latitude, longitude;
        uint32_t population;
    };
    static const Place kPlaces[] = {
        {"Tokyo", 35.69, 139.69, 8336599},     {"Delhi", 28.65, 77.23, 10927986},     {"Shanghai", 31.22, 121.46, 22315474},
        {"São Paulo", -23.55, -46.64, 10021295}, {"Mexico City", 19.43, -99.13, 12294193}, {"Cairo", 30.06, 31.25, 9606916},
        {"Mumbai", 19.07, 72.88, 12691836},    {"Beijing", 39.91, 116.40, 18960744},  {"Dhaka", 23.71, 90.41, 10356500},
        {"Osaka", 34.69, 135.50, 2592413},     {"New York City", 40.71, -74.01, 8804190}, {"Karachi", 24.86, 67.01, 11624219},
        {"Buenos Aires", -34.61, -58.38, 13076300}, {"Istanbul", 41.01, 28.95, 14804116}, {"Kolkata", 22.57, 88.36, 4631392},
        {"Lagos", 6.45, 3.39, 9000000},        {"Manila", 14.60, 120.98, 1600000},    {"Rio de Janeiro", -22.91, -43.18, 6023699},
        {"Moscow", 55.75, 37.62, 10381222},    {"Łódź", 51.75, 19.47, 768755},        {"Paris", 48.85, 2.35, 2138551},
        {"London", 51.51, -0.13, 8961989},     {"Lima", -12.04, -77.03, 7737002},     {"Bangkok", 13.75, 100.50, 5104476},
        {"Seoul", 37.57, 126.98, 10349312},    {"Sydney", -33.87, 151.21, 4627345},   {"Johannesburg", -26.20, 28.04, 2026469},
        {"Nairobi", -1.28, 36.82, 2750547},    {"Los Angeles", 34.05, -118.24, 3971883}, {"Toronto", 43.70, -79.42, 2600000},
        {"Reykjavík", 64.14, -21.90, 118918},  {"Honolulu", 21.31, -157.86, 371657},
    };
    std::vector<PlaceMark> marks;
    for (const Place& p : kPlaces) marks.push_back({p.name, p.latitude, p.longitude, p.population, "12:34"});
    return marks;
}

// One wallpaper picture drawn and written as the wallpaper thread does it; negative on failure.
double WallpaperMs(WallpaperRenderer& renderer, const WallpaperRequest& request, RecursiveLock& lock,
                   const std::string& file) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const WallpaperPicture picture = renderer.render(request, lock);
    const bool written = picture.bottomRow != nullptr &&
                         WriteBitmapFile(file, picture.width, picture.height, picture.bottomRow, picture.rowStride);
    QueryPerformanceCounter(&end);
    return written ? Milliseconds(start, end) : -1;
}

class HostWindow : public Window {
public:
    bool create(int width = 570, int height = 361) {
        registerClass("SolvaneBenchHost");
        return Window::create(0, "SolvaneBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height);
    }
};

// The screen saver's frame: its globe filling a 1920 x 1080 screen.
void SaverFrames(AstroState& astro, RecursiveLock& lock, SystemClock& clock) {
    UserOptions options;
    SetDefaultOptions(options);
    options.displayFlags = kSaverDisplayFlags;
    HostWindow host;
    host.create(1920, 1080);
    EarthView view(EarthViewModel{options, astro, lock, clock});
    view.create(host.hwnd(), 0, 0, 1920, 1080, "SVSaver2002", "SVGlobe");
    const FrameTimes saverFlags = FrameMs(view.hwnd(), 20, options, true);
    options.displayFlags |= kUrbanLighting | kSimulatedClouds | kShowGrid | kRealisticTerminator | kShowSun |
                            kShowMoon | kHighlightHome | kShowTimeZone;
    const FrameTimes everything = FrameMs(view.hwnd(), 20, options, true);
    std::printf("screen saver whole frame 1920x1080: saver's flags %.2f ms (median %.2f), every layer %.2f ms "
                "(median %.2f) (target <= 25)\n", saverFlags.mean, saverFlags.median, everything.mean, everything.median);
}

// A view that only clears its OpenGL picture and shows it, 20 times a second: what any frame
// of the renderer costs at the orbit animation's pace, which the animation, drawn without
// OpenGL, no longer pays.
class BareView : public Window {
public:
    bool create(HWND parent, int width, int height) {
        registerClass("SolvaneBenchBare", CS_OWNDC);
        return Window::create(0, "SolvaneBenchBare", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent);
    }

protected:
    bool onCreate() override {
        dc_ = WindowDC(hwnd());
        SetTimer(hwnd(), 1, 50, nullptr);
        return CreateViewContext(target_, dc_.get(), false) != nullptr;
    }
    void onDestroy() override {
        KillTimer(hwnd(), 1);
        target_.destroy();
        dc_.reset();
    }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE:
            if (target_.context() != nullptr) target_.resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_TIMER:
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (target_.context() != nullptr && target_.makeCurrent(nullptr)) {
                glViewport(0, 0, target_.width(), target_.height());
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                target_.present(dc_.get());
            }
            ValidateRect(hwnd(), nullptr);
            return 0;
        }
        return Window::handleMessage(message, wParam, lParam);
    }

private:
    WindowDC dc_;
    GLTarget target_;
};

// This process's share of a core (all its threads) over `seconds` of its windows' own pace.
double CpuPercentOver(double seconds) {
    const double start = ProcessCpuSeconds();
    const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds * 1000);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return (ProcessCpuSeconds() - start) * 100 / seconds;
}

// The orbit animation of the Lunar Phases window at its size at 96 DPI, at its own 20 frames a
// second, and beside it a bare OpenGL frame of the same size at the same pace: the floor the
// animation had while OpenGL drew it.
void OrbitFrames() {
    constexpr int kWidth = 310, kHeight = 200;
    constexpr double kSeconds = 15;
    HostWindow host;
    host.create(kWidth, kHeight);
    OrbitAngles angles;
    PhaseLabelTracker labels;
    WindowVisibility hostShown;  // watches nothing: the host counts as seen
    OrbitView orbit(angles, labels, hostShown);
    orbit.create(host.hwnd(), 0, 0, kWidth, kHeight, 0);
    CpuPercentOver(1);  // warm-up
    const double orbitShare = CpuPercentOver(kSeconds);
    DestroyWindow(orbit.hwnd());
    BareView bare;
    bare.create(host.hwnd(), kWidth, kHeight);
    CpuPercentOver(1);
    const double bareShare = CpuPercentOver(kSeconds);
    std::printf("Lunar Phases orbit animation %dx%d at 20 frames a second: %.2f %% of a core; a bare OpenGL "
                "frame of its size (cleared and shown) at the same pace: %.2f %%\n", kWidth, kHeight, orbitShare, bareShare);
}

// The largest wallpaper, drawn and written a band at a time as the wallpaper thread does it:
// its time and the process's peak memory against the file's size. Run in a process of its
// own, so that the peak is this picture's.
int HugeWallpaper(const WallpaperRequest& request, RecursiveLock& lock, const std::string& file) {
    WallpaperRenderer renderer;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool written = WriteWallpaperFile(renderer, request, lock, file);
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS memory = {sizeof memory};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    // The larger of the peak in memory and the peak committed (which counts what was reserved
    // for the process but never touched or paged out).
    const double peakMb = double(std::max(memory.PeakWorkingSetSize, memory.PeakPagefileUsage)) / 1048576.0;
    const double fileMb = double(BitmapRowBytes(request.width)) * request.height / 1048576.0;
    std::printf("wallpaper %dx%d in bands: %s in %.1f s, peak memory %.0f MB for a %.0f MB file, %.2fx "
                "(target <= 1.25)\n", request.width, request.height, written ? "written" : "NOT WRITTEN",
                Milliseconds(start, end) / 1000, peakMb, fileMb, peakMb / fileMb);
    DeleteFileA(file.c_str());
    return written ? 0 : 1;
}

}  // namespace

// The lit map at the day map's size lit anew, as a view does when the Sun has moved a fraction of
// a pixel; beside it, the Moon's shadow of a solar eclipse worked out anew as its map.
void EclipseRelight() {
    const int width = 1024, height = 512, times = 20;
    const std::vector<uint8_t> day(std::size_t(width) * height * 3, 160);
    const float sun[3] = {0.2f, 0.1f, 0.97f};
    const EclipseSky sky = EclipseSkyAt(JulianDate(2024, 4, 8, 18 + 41 / 60.0));
    double plain = 0, shadowed = 0;
    for (int i = 0; i < times; ++i) {
        LARGE_INTEGER start, lit, shaded;
        QueryPerformanceCounter(&start);
        const std::vector<uint8_t> map = LitEarthMap(day.data(), nullptr, width, height, sun);
        QueryPerformanceCounter(&lit);
        const std::vector<uint8_t> shadow = SolarEclipseLightMap(width, height, sky);
        QueryPerformanceCounter(&shaded);
        plain += Milliseconds(start, lit);
        shadowed += Milliseconds(lit, shaded);
    }
    std::printf("lit map %dx%d lit anew: %.2f ms; the Moon's shadow of 2024-04-08: %.2f ms\n", width,
                height, plain / times, shadowed / times);
}

int main(int argc, char** argv) {
    const std::string program = ProgramPath();
    const std::string cheby = FileBesideProgram(program, "cheby");
    if (EPHOPN(cheby.c_str()) == nullptr) return 1;
    UserOptions options;
    SetDefaultOptions(options);
    AstroState astro = {};
    RecursiveLock lock;
    SystemClock clock;
    UpdateAstroState(astro, options, clock, true);

    DragOrientation drag;
    WallpaperRequest request = {1920, 1080, {astro.julianDate, astro.greenwichSiderealTime, kViewFromSun,
                                             0x559, options.homeLongitude, options.homeLatitude, {}, 0}};
    drag.matrix(request.scene.drag);
    request.moonPhases = true;
    for (int k = 0; k < 4; ++k) request.corners[k] = {k, "Full Moon", "Dec 24"};
    request.leftText = "Solvane";
    request.rightText = "Desktop Earth Clock";
    const std::string file = FileBesideProgram(program, "bench-wallpaper.bmp");
    if (argc == 2 && std::string(argv[1]) == "huge") {
        request.width = request.height = 16384;
        return HugeWallpaper(request, lock, file);
    }

    if (argc == 2 && std::string(argv[1]) == "orbit") {
        OrbitFrames();
        return 0;
    }
    HostWindow host;
    host.create();
    // 32 labelled places, on both sides of the globe, shown when asked for.
    bool showPlaces = false;
    const std::vector<PlaceMark> places = ThirtyTwoPlaces();
    WorldSettings world;
    EarthViewModel model{options, astro, lock, clock};
    model.places = [&] { return showPlaces ? places : std::vector<PlaceMark>(); };
    model.world = &world;
    EarthView view(model);
    view.create(host.hwnd(), 0, 0, 570, 361);
    const FrameTimes plain = FrameMs(view.hwnd(), 40, options, true);
    const FrameTimes timeOnly = FrameMs(view.hwnd(), 40, options, false);
    // Without, with and without again, so that a drift of the machine falls on both sides.
    const FrameTimes before = FrameMs(view.hwnd(), 40, options, true);
    showPlaces = true;
    const FrameTimes withPlaces = FrameMs(view.hwnd(), 40, options, true);
    showPlaces = false;
    const FrameTimes after = FrameMs(view.hwnd(), 40, options, true);
    const double withoutMedian = (before.median + after.median) / 2;
    std::printf("earth view whole frame 570x361 with 32 labelled places: %.2f ms (median %.2f), without %.2f ms "
                "(median %.2f): %+.2f ms (target <= 0.5 more)\n", withPlaces.mean, withPlaces.median,
                (before.mean + after.mean) / 2, withoutMedian, withPlaces.median - withoutMedian);
    options.displayFlags |= kUrbanLighting | kSimulatedClouds | kShowGrid | kRealisticTerminator;
    const FrameTimes rich = FrameMs(view.hwnd(), 40, options, true);
    std::printf("earth view whole frame 570x361: default flags %.2f ms (median %.2f), terminator+lights+clouds+grid "
                "%.2f ms (median %.2f) (target <= 4)\n", plain.mean, plain.median, rich.mean, rich.median);
    std::printf("earth view frame of a second's tick, only the time display drawn and shown (globe kept): %.2f ms "
                "(median %.2f)\n", timeOnly.mean, timeOnly.median);
    TwilightBandFrames(view.hwnd(), options, world);
    TwilightBandRelighting();
    SaverFrames(astro, lock, clock);
    OrbitFrames();
    EclipseRelight();
    if (argc == 2 && std::string(argv[1]) == "frames") return 0;

    // A renewal makes its surface, context and textures anew and lets them go after, as the
    // wallpaper thread does.
    WallpaperRenderer renderer;
    const double first = WallpaperMs(renderer, request, lock, file);
    renderer.release();
    std::vector<double> renewals;
    for (int i = 0; i < kRenewals; ++i) {
        renewals.push_back(WallpaperMs(renderer, request, lock, file));
        renderer.release();
    }
    std::sort(renewals.begin(), renewals.end());
    if (first < 0 || renewals.front() < 0) {  // no figure from a picture that was not written
        std::printf("wallpaper 1920x1080: NOT WRITTEN\n");
        return 1;
    }
    std::printf("wallpaper 1920x1080 end to end, first picture (context, textures, frame, BMP file): %.1f ms\n", first);
    std::printf("wallpaper 1920x1080 end to end, each renewal (context, textures, frame, BMP file; median of %d): "
                "%.1f ms\n",
                kRenewals, renewals[kRenewals / 2]);

    // Three monitors, a picture of its own for each, drawn and written in turn.
    const int sizes[3][2] = {{1920, 1080}, {2560, 1440}, {1280, 1024}};
    std::vector<double> threes;
    for (int i = 0; i < kRenewals; ++i) {
        double sum = 0;
        for (const auto& size : sizes) {
            request.width = size[0];
            request.height = size[1];
            const double ms = WallpaperMs(renderer, request, lock, file);
            sum = ms < 0 || sum < 0 ? -1 : sum + ms;
        }
        renderer.release();
        threes.push_back(sum);
    }
    std::sort(threes.begin(), threes.end());
    if (threes.front() < 0) {
        std::printf("wallpaper for three monitors: NOT WRITTEN\n");
        return 1;
    }
    const double pixelRatio = (1920.0 * 1080 + 2560.0 * 1440 + 1280.0 * 1024) / (1920.0 * 1080);
    std::printf("wallpaper for three monitors 1920x1080+2560x1440+1280x1024, each renewal (median of %d): %.1f ms, "
                "%.2fx one 1920x1080 picture (pixel counts predict %.2fx; target: no worse)\n",
                kRenewals, threes[kRenewals / 2], threes[kRenewals / 2] / renewals[kRenewals / 2], pixelRatio);
    return 0;
}
