#include "desktop/WallpaperFactory.h"

#include "app/ClockApp.h"

#include <mutex>

namespace {

bool QuitRequested(ClockApp& app) {
    std::lock_guard<RecursiveLock> hold(app.optionsLock);
    return app.quitRequested != 0;
}

}  // namespace

unsigned __stdcall WallpaperFactory(void* clockApp) {
    ClockApp& app = *static_cast<ClockApp*>(clockApp);
    while (WaitForSingleObject(app.wallpaperEvent, INFINITE) == WAIT_OBJECT_0) {
        if (QuitRequested(app)) break;
    }
    return 0;
}
