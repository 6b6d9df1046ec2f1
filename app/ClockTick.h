// What the clock tick does each time it runs: redraw the earth clock once a second, as the
// clock's second turns (the view every tick while the globe spins) and wake the wallpaper generator every wallpaperMinutes + 1 minutes.
#pragma once

#include <cstdint>

// Time since a reset, on the high-resolution performance counter.
struct Stopwatch {
    int64_t frequency = 1;  // counts per second
    int64_t start = 0;      // counter value at the last reset
    double seconds(int64_t now) const { return double(now - start) / double(frequency); }
    void reset(int64_t now) { start = now; }
};

struct TickInputs {
    bool frameCreated;   // the earth clock window exists
    bool menuOpen;       // one of its menus is open
    bool frameEnabled;   // no modal dialog of its own is open
    int viewpoint;
    bool wallpaperEnabled;
    int wallpaperMinutes;
    int64_t now;         // performance-counter reading
    // How far the computer's clock is into its current second (0 to 1): the once-a-second
    // redraw falls just after the clock's second turns, so that it shows the new second.
    double secondFraction = 0;
    // Someone can see the window: nothing is drawn while it is minimised, covered, locked away.
    bool frameSeen = true;
};

struct TickActions {
    bool redrawView = false;
    bool redrawPane = false;
    bool wakeWallpaper = false;
};

// Decides one tick and resets the stopwatches that fired.
TickActions DecideTick(const TickInputs& in, Stopwatch& redrawWatch, Stopwatch& wallpaperWatch);

constexpr double kTickSeconds = 0.033;

// After a tick at `in.now` (whose stopwatches DecideTick has reset), how many tick periods may
// pass before a tick could have something to do: one while the globe spins or a redraw waits
// for a menu, a dialog or the window; otherwise until the next redraw or wallpaper renewal
// falls due, and never more than one second, so that changed options count within a second.
// While nobody can see the window, a second (the tick is woken when it is seen again).
// The ticks in between would decide nothing, so they need not run.
int PeriodsUntilNextTick(const TickInputs& in, const Stopwatch& redrawWatch,
                         const Stopwatch& wallpaperWatch);
