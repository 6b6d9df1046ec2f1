#include "desktop/WallpaperFactory.h"

#include "app/ClockApp.h"
#include "app/Formatting.h"
#include "astro/MoonPhase.h"
#include "desktop/ShellWallpaper.h"
#include "location/WorldPlaceMarks.h"
#include "desktop/WallpaperRenewal.h"
#include "platform/Resources.h"
#include "platform/Win32Registry.h"
#include "render/EarthView.h"
#include "res/resource.h"

#include <objbase.h>

#include <mutex>

namespace {

// Everything the pictures need, copied under the lock, and whether the generator is on; false
// when the program is quitting.
bool TakeSnapshot(ClockApp& app, WallpaperRequest* request, WallpaperLayout* layout, bool* enabled) {
    const ClockSettings::Shared shared = app.settings().shared();
    std::lock_guard<RecursiveLock> hold(shared.lock);
    if (app.quitRequested()) return false;
    const UserOptions& o = shared.options;
    *enabled = o.wallpaperEnabled == 1;
    layout->fullDesktop = o.wallpaperFullDesktop == 1;
    layout->acrossMonitors = o.wallpaperAcrossMonitors == 1;
    layout->storedWidth = o.wallpaperWidth;
    layout->storedHeight = o.wallpaperHeight;
    request->scene = SceneOf(shared.astro, o, shared.world.twilightBands);
    SharedDragOrientation().matrix(request->scene.drag);
    request->moonPhases = o.wallpaperMoonPhases == 1;
    if (request->moonPhases) {
        PhaseTable table;
        UpdatePhaseTable(shared.astro.julianDate, &table);
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
    const auto running = [&app] { return !app.quitRequested(); };
    // Keeps only the turn of the globe between renewals.
    WallpaperRenderer renderer;
    Win32Registry registry;
    while (WaitForSingleObject(app.wallpaperEvent(), INFINITE) == WAIT_OBJECT_0) {
        WallpaperRequest scene;
        WallpaperLayout layout;
        bool enabled = false;
        if (!TakeSnapshot(app, &scene, &layout, &enabled)) break;
        // Woken with the generator off (switched off, or at the start): the user's placement
        // back if a renewal changed it. The shell is asked for only then.
        if (!enabled) {
            if (LoadHeldPlacement(registry).held) GiveBackWallpaperPlacement(ShellWallpaper().get(), registry);
            continue;
        }
        scene.places = ClockPlaceMarks(app.settings());
        scene.leftText = left;
        scene.rightText = right;
        // Asked for at each renewal: the shell may have been restarted since the last.
        const ShellWallpaper shell;
        RenewWallpapers(renderer, scene, layout, shell.get(), registry, app.userFolders().pictures, app.settings().shared().lock,
                        running);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
