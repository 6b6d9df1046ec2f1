#include "app/ClockTick.h"

#include "app/UserOptions.h"

TickActions DecideTick(const TickInputs& in, Stopwatch& redrawWatch, Stopwatch& wallpaperWatch) {
    TickActions actions;
    if (in.frameCreated && !in.menuOpen) {
        if (in.viewpoint == kViewSpinningGlobe && in.frameEnabled) actions.redrawView = true;
        if (redrawWatch.seconds(in.now) >= 1.0 && in.frameEnabled) {
            actions.redrawView = actions.redrawPane = true;
            redrawWatch.reset(in.now);
        }
    }
    if (in.wallpaperEnabled) {
        const int minutes = int(float(wallpaperWatch.seconds(in.now)) * 0.016666668f);
        if (minutes > in.wallpaperMinutes) {
            actions.wakeWallpaper = true;
            wallpaperWatch.reset(in.now);
        }
    }
    return actions;
}
