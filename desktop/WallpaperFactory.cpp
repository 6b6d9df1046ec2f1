#include "desktop/WallpaperFactory.h"

#include "app/ClockApp.h"
#include "app/Formatting.h"
#include "astro/MoonPhase.h"
#include "desktop/ShellWallpaper.h"
#include "desktop/WallpaperRenewal.h"
#include "platform/Resources.h"
#include "render/EarthView.h"
#include "res/resource.h"

#include <objbase.h>

#include <mutex>

namespace {

// Everything the pictures need, copied under the lock; false when the program is quitting.
bool TakeSnapshot(ClockApp& app, WallpaperRequest* request, WallpaperLayout* layout) {
    std::lock_guard<RecursiveLock> hold(app.optionsLock);
    if (app.quitRequested) return false;
    const UserOptions& o = app.options;
    layout->fullDesktop = o.wallpaperFullDesktop == 1;
    layout->acrossMonitors = o.wallpaperAcrossMonitors == 1;
    layout->storedWidth = o.wallpaperWidth;
    layout->storedHeight = o.wallpaperHeight;
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

}  // namespace

unsigned __stdcall WallpaperFactory(void* clockApp) {
    ClockApp& app = *static_cast<ClockApp*>(clockApp);
    // The multithreaded apartment: this thread waits on its event and pumps no messages.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string left = LoadResourceString(IDS_WALLPAPER_LEFT_TEXT);
    const std::string right = LoadResourceString(IDS_WALLPAPER_RIGHT_TEXT);
    // An exit abandons a write (the previous picture stays) and the pictures not yet drawn.
    const auto running = [&app] {
        std::lock_guard<RecursiveLock> hold(app.optionsLock);
        return app.quitRequested == 0;
    };
    WallpaperRenderer renderer;
    while (WaitForSingleObject(app.wallpaperEvent, INFINITE) == WAIT_OBJECT_0) {
        WallpaperRequest scene;
        WallpaperLayout layout;
        if (!TakeSnapshot(app, &scene, &layout)) break;
        scene.leftText = left;
        scene.rightText = right;
        // Asked for at each renewal: the shell may have been restarted since the last.
        const ShellWallpaper shell;
        RenewWallpapers(renderer, scene, layout, shell.get(), app.userFolders().pictures, app.optionsLock, running);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
