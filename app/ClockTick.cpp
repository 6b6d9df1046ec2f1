#include "app/ClockTick.h"

#include "app/UserOptions.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole minutes between renewals; a negative interval (a damaged options file) counts as none,
// not as "every tick".
int WallpaperInterval(const TickInputs& in) { return std::max(in.wallpaperMinutes, 0); }

int PeriodsUntil(double seconds) {
    return seconds <= 0 ? 1 : std::max(1, int(std::ceil(seconds / kTickSeconds)));
}

}  // namespace

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
        if (minutes > WallpaperInterval(in)) {
            actions.wakeWallpaper = true;
            wallpaperWatch.reset(in.now);
        }
    }
    return actions;
}

int PeriodsUntilNextTick(const TickInputs& in, const Stopwatch& redrawWatch,
                         const Stopwatch& wallpaperWatch) {
    if (in.viewpoint == kViewSpinningGlobe) return 1;
    int periods = PeriodsUntil(1.0 - redrawWatch.seconds(in.now));  // 1 when held up
    if (in.wallpaperEnabled) {
        const double due = (WallpaperInterval(in) + 1) * 60.0;
        periods = std::min(periods, PeriodsUntil(due - wallpaperWatch.seconds(in.now)));
    }
    return periods;
}
