#include "app/ClockTick.h"

#include "app/UserOptions.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole minutes between renewals; a negative interval (a damaged options file) counts as none,
// not as "every tick".
int WallpaperInterval(const TickInputs& in) { return std::max(in.wallpaperMinutes, 0); }

// Tick periods within `seconds`, at least one; a day at the most, so that any stored interval
// converts safely.
int PeriodsUntil(double seconds) {
    return seconds <= 0 ? 1 : std::max(1, int(std::ceil(std::min(seconds, 86400.0) / kTickSeconds)));
}

}  // namespace

TickActions DecideTick(const TickInputs& in, Stopwatch& redrawWatch, Stopwatch& wallpaperWatch) {
    TickActions actions;
    if (in.frameCreated && !in.menuOpen && in.frameSeen) {
        if (in.viewpoint == kViewSpinningGlobe && in.frameEnabled) actions.redrawView = true;
        if (redrawWatch.seconds(in.now) >= 1.0 && in.frameEnabled) {
            actions.redrawView = actions.redrawPane = true;
            // The watch counts from the start of this clock second: the next redraw is due as
            // the next one begins.
            const double fraction = std::clamp(in.secondFraction, 0.0, 0.999);
            redrawWatch.reset(in.now - int64_t(fraction * double(redrawWatch.frequency)));
        }
    }
    if (in.wallpaperEnabled) {
        // Whole minutes, kept in floating point: any stored interval compares safely.
        const double minutes = std::floor(double(float(wallpaperWatch.seconds(in.now)) * 0.016666668f));
        if (minutes > double(WallpaperInterval(in))) {
            actions.wakeWallpaper = true;
            wallpaperWatch.reset(in.now);
        }
    }
    return actions;
}

int PeriodsUntilNextTick(const TickInputs& in, const Stopwatch& redrawWatch,
                         const Stopwatch& wallpaperWatch) {
    if (in.viewpoint == kViewSpinningGlobe && in.frameSeen) return 1;
    // 1 when held up; nothing to draw while unseen
    int periods = in.frameSeen ? PeriodsUntil(1.0 - redrawWatch.seconds(in.now)) : PeriodsUntil(1.0);
    if (in.wallpaperEnabled) {
        const double due = (double(WallpaperInterval(in)) + 1) * 60.0;
        periods = std::min(periods, PeriodsUntil(due - wallpaperWatch.seconds(in.now)));
    }
    return periods;
}
