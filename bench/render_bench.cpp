// Speed of the renderer under the platform's OpenGL (llvmpipe under wine):
//   - the Earth view's frame at the default window's globe area (570 x 361): default display
//     flags, and the realistic terminator with urban lights, clouds and grid;
//   - one wallpaper picture at 1920 x 1080 end to end: context, textures, frame, BMP file.
// Prints milliseconds; bench/run_render_bench.sh sets them beside xplanet.
//
// usage: render_bench.exe (beside SVShared.dll and cheby)
#include "app/ProgramFiles.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "astro/Ephemeris.h"
#include "desktop/BitmapFile.h"
#include "platform/FileAccess.h"
#include "platform/ProgramPath.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemClock.h"
#include "render/EarthView.h"
#include "render/WallpaperEarth.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// Average time of a synchronous repaint of the view.
double FrameMs(HWND view, int frames) {
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // warm-up: Moon picture
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i) RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end) / frames;
}

class HostWindow : public Window {
public:
    bool create() {
        registerClass("SolvaneBenchHost");
        return Window::create(0, "SolvaneBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 570, 361);
    }
};

}  // namespace

int main() {
    const std::string program = ProgramPath();
    const std::string cheby = FileBesideProgram(program, "cheby");
    std::vector<char> name(cheby.begin(), cheby.end());
    name.push_back('\0');
    if (EPHOPN(name.data()) == nullptr) return 1;
    UserOptions options;
    SetDefaultOptions(options);
    AstroState astro = {};
    RecursiveLock lock;
    SystemClock clock;
    UpdateAstroState(astro, options, clock, true);

    HostWindow host;
    host.create();
    EarthView view(EarthViewModel{options, astro, lock, clock});
    view.create(host.hwnd(), 0, 0, 570, 361);
    const double plain = FrameMs(view.hwnd(), 40);
    options.displayFlags |= kUrbanLighting | kSimulatedClouds | kShowGrid | kRealisticTerminator;
    const double rich = FrameMs(view.hwnd(), 40);
    std::printf("earth view frame 570x361: default flags %.2f ms, terminator+lights+clouds+grid %.2f ms (target <= 5)\n",
                plain, rich);

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    DragOrientation drag;
    WallpaperRequest request = {1920, 1080, {astro.julianDate, astro.greenwichSiderealTime, kViewFromSun,
                                             0x559, options.homeLongitude, options.homeLatitude, {}, 0}};
    drag.matrix(request.scene.drag);
    WallpaperRenderer renderer;
    const std::vector<uint8_t> pixels = renderer.render(request, lock);
    const std::vector<uint8_t> file = EncodeBitmapFile(1920, 1080, pixels.data());

    const bool written = ReplaceFileAtomically(FileBesideProgram(program, "bench-wallpaper.bmp"),
                                               file.data(), file.size());
    QueryPerformanceCounter(&end);
    std::printf("wallpaper 1920x1080 end to end: %.1f ms%s\n", Milliseconds(start, end),
                written ? "" : " (file not written)");
    return 0;
}
