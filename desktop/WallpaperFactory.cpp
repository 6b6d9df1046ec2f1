#include "desktop/WallpaperFactory.h"

#include "app/ClockApp.h"
#include "app/Formatting.h"
#include "astro/MoonPhase.h"
#include "render/BitmapFile.h"
#include "platform/Dpi.h"
#include "platform/WideText.h"
#include "platform/Resources.h"
#include "render/EarthView.h"
#include "render/WallpaperEarth.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kMaxSide = 16384;

// The picture's size: the screen's, or the stored one when it is sane.
void PictureSize(const UserOptions& o, int* width, int* height) {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
    if (o.wallpaperFullDesktop != 1 && o.wallpaperWidth > 0 && o.wallpaperWidth <= kMaxSide &&
        o.wallpaperHeight > 0 && o.wallpaperHeight <= kMaxSide) {
        *width = o.wallpaperWidth;
        *height = o.wallpaperHeight;
    }
}

// The edges of the picture the taskbar covers: the screen's outside its work area, scaled to
// the picture (which Windows stretches over the screen when its size differs).
void CoveredEdges(WallpaperRequest* request) {
    RECT work = {};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || screenWidth <= 0 || screenHeight <= 0) return;
    const double x = double(request->width) / screenWidth, y = double(request->height) / screenHeight;
    request->coveredLeft = int(std::lround(std::max(0L, work.left) * x));
    request->coveredTop = int(std::lround(std::max(0L, work.top) * y));
    request->coveredRight = int(std::lround(std::max(0L, screenWidth - work.right) * x));
    request->coveredBottom = int(std::lround(std::max(0L, screenHeight - work.bottom) * y));
}

// Everything a picture needs, copied under the lock; false when the program is quitting.
bool TakeSnapshot(ClockApp& app, WallpaperRequest* request) {
    std::lock_guard<RecursiveLock> hold(app.optionsLock);
    if (app.quitRequested) return false;
    const UserOptions& o = app.options;
    PictureSize(o, &request->width, &request->height);
    CoveredEdges(request);
    request->scene = SceneOf(app.astro, o);
    SharedDragOrientation().matrix(request->scene.drag);
    request->moonPhases = o.wallpaperMoonPhases == 1;
    if (request->moonPhases) {
        PhaseTable table;
        UpdatePhaseTable(app.astro.julianDate, &table);
        const double zoneDays = -o.timeZoneBias / 1440.0;
        for (int k = 0; k < 4; ++k) {
            int bitmap;
            const PhaseEvent& e = table.entries[k];
            request->corners[k] = {e.phase, PhaseName(e.phase, &bitmap),
                                   PhaseDateLabel(e.julianDate + zoneDays)};
        }
    }
    return true;
}

// Writes the picture to the user's folder and makes it the wallpaper; a failed write leaves the
// previous file and wallpaper alone.
void Publish(ClockApp& app, const std::string& path, const WallpaperPicture& picture) {
    // An exit abandons the write: the previous picture stays, and the program ends at once.
    const auto running = [&app] {
        std::lock_guard<RecursiveLock> hold(app.optionsLock);
        return app.quitRequested == 0;
    };
    if (!WriteBitmapFile(path, picture.width, picture.height, picture.bottomRow, picture.rowStride, running)) {
        return;
    }
    std::wstring wide = WideFromUtf8(path);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &wide[0], SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

}  // namespace

unsigned __stdcall WallpaperFactory(void* clockApp) {
    ClockApp& app = *static_cast<ClockApp*>(clockApp);
    const std::string path = app.userFolders().pictures + "Solvane.bmp";
    const std::string left = LoadResourceString(IDS_WALLPAPER_LEFT_TEXT);
    const std::string right = LoadResourceString(IDS_WALLPAPER_RIGHT_TEXT);
    WallpaperRenderer renderer;
    while (WaitForSingleObject(app.wallpaperEvent, INFINITE) == WAIT_OBJECT_0) {
        WallpaperRequest request;
        if (!TakeSnapshot(app, &request)) break;
        request.leftText = left;
        request.rightText = right;
        request.dpi = int(DpiAtPoint({0, 0}));  // the primary monitor's, which shows the picture
        const WallpaperPicture picture = renderer.render(request, app.optionsLock);
        if (picture.bottomRow != nullptr) Publish(app, path, picture);
    }
    return 0;
}
