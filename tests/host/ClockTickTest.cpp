#include "app/ClockTick.h"
#include "app/FramePacer.h"

#include "app/UserOptions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int64_t kHz = 10'000'000;

TickInputs At(double seconds) {
    return TickInputs{true, false, true, kViewOverHome, true, 10, int64_t(seconds * kHz)};
}

struct Watches {
    Stopwatch redraw{kHz, 0}, wallpaper{kHz, 0};
};

TEST(ClockTick, RedrawsOnceASecond) {
    Watches w;
    EXPECT_FALSE(DecideTick(At(0.967), w.redraw, w.wallpaper).redrawView);
    const TickActions a = DecideTick(At(1.0), w.redraw, w.wallpaper);
    EXPECT_TRUE(a.redrawView);
    EXPECT_TRUE(a.redrawPane);
    EXPECT_FALSE(DecideTick(At(1.5), w.redraw, w.wallpaper).redrawView) << "the watch was reset";
    EXPECT_TRUE(DecideTick(At(2.0), w.redraw, w.wallpaper).redrawPane);
}

// A redraw 0.3 s into the clock's second: the next falls as the next second begins, and the
// tick sleeps until just after that.
TEST(ClockTick, RedrawsFallJustAfterTheClocksSecondTurns) {
    Watches w;
    TickInputs in = At(1.0);
    in.secondFraction = 0.3;
    ASSERT_TRUE(DecideTick(in, w.redraw, w.wallpaper).redrawPane);
    EXPECT_EQ(PeriodsUntilNextTick(in, w.redraw, w.wallpaper), 22) << "0.7 s in 33-ms periods";
    in = At(1.69);
    EXPECT_FALSE(DecideTick(in, w.redraw, w.wallpaper).redrawPane);
    in = At(1.705);
    in.secondFraction = 0.005;
    EXPECT_TRUE(DecideTick(in, w.redraw, w.wallpaper).redrawPane) << "the new second";
}

TEST(ClockTick, SpinningGlobeRedrawsTheViewEveryTick) {
    Watches w;
    TickInputs in = At(0.033);
    in.viewpoint = kViewSpinningGlobe;
    TickActions a = DecideTick(in, w.redraw, w.wallpaper);
    EXPECT_TRUE(a.redrawView);
    EXPECT_FALSE(a.redrawPane);
    in.now = kHz;
    a = DecideTick(in, w.redraw, w.wallpaper);
    EXPECT_TRUE(a.redrawPane);
}

TEST(ClockTick, DisabledWindowOrOpenMenuStandsStill) {
    Watches w;
    TickInputs in = At(5.0);
    in.frameEnabled = false;
    in.viewpoint = kViewSpinningGlobe;
    EXPECT_FALSE(DecideTick(in, w.redraw, w.wallpaper).redrawView);
    in.frameEnabled = true;  // the dialog closed: redraw at once, the watch was not reset
    EXPECT_TRUE(DecideTick(in, w.redraw, w.wallpaper).redrawPane);
    in.now += 2 * kHz;
    in.menuOpen = true;
    TickActions a = DecideTick(in, w.redraw, w.wallpaper);
    EXPECT_FALSE(a.redrawView || a.redrawPane);
    in.menuOpen = false;
    in.frameCreated = false;
    a = DecideTick(in, w.redraw, w.wallpaper);
    EXPECT_FALSE(a.redrawView || a.redrawPane);
}

// Nobody sees the spinning globe: nothing is drawn, the tick sleeps a second at a time, the
// wallpaper goes on; seen again, the overdue redraw comes at the first tick.
TEST(ClockTick, UnseenWindowDrawsNothingButTheWallpaperGoesOn) {
    Watches w;
    TickInputs in = At(661.0);
    in.viewpoint = kViewSpinningGlobe;
    in.frameSeen = false;
    const TickActions a = DecideTick(in, w.redraw, w.wallpaper);
    EXPECT_FALSE(a.redrawView || a.redrawPane);
    EXPECT_TRUE(a.wakeWallpaper);
    EXPECT_EQ(PeriodsUntilNextTick(in, w.redraw, w.wallpaper), 31) << "a second, not every 33 ms";
    in.frameSeen = true;
    EXPECT_TRUE(DecideTick(in, w.redraw, w.wallpaper).redrawPane);
    EXPECT_EQ(PeriodsUntilNextTick(in, w.redraw, w.wallpaper), 1);
}

TEST(ClockTick, WallpaperAfterMinutesPlusOne) {
    Watches w;
    EXPECT_FALSE(DecideTick(At(10 * 60.0 + 59.9), w.redraw, w.wallpaper).wakeWallpaper);
    EXPECT_TRUE(DecideTick(At(11 * 60.0), w.redraw, w.wallpaper).wakeWallpaper) << "after 11 full minutes";
    EXPECT_FALSE(DecideTick(At(11 * 60.0 + 30), w.redraw, w.wallpaper).wakeWallpaper);
    TickInputs off = At(60 * 60.0);
    off.wallpaperEnabled = false;
    EXPECT_FALSE(DecideTick(off, w.redraw, w.wallpaper).wakeWallpaper);
    TickInputs zero = At(11 * 60.0 + 60.0);
    zero.wallpaperMinutes = 0;
    EXPECT_TRUE(DecideTick(zero, w.redraw, w.wallpaper).wakeWallpaper) << "every minute";
    TickInputs negative = At(11 * 60.0 + 90.0);
    negative.wallpaperMinutes = -5;
    EXPECT_FALSE(DecideTick(negative, w.redraw, w.wallpaper).wakeWallpaper) << "not on every tick";
    negative.now += 60 * kHz;
    EXPECT_TRUE(DecideTick(negative, w.redraw, w.wallpaper).wakeWallpaper);
}

TEST(ClockTick, SleepsUntilATickCouldAct) {
    Watches w;
    EXPECT_EQ(PeriodsUntilNextTick(At(0.0), w.redraw, w.wallpaper), 31) << "just redrawn: about a second";
    EXPECT_EQ(PeriodsUntilNextTick(At(0.5), w.redraw, w.wallpaper), 16);
    EXPECT_EQ(PeriodsUntilNextTick(At(0.99), w.redraw, w.wallpaper), 1);
    EXPECT_EQ(PeriodsUntilNextTick(At(1.5), w.redraw, w.wallpaper), 1) << "a redraw held up by a menu or dialog";
    TickInputs spinning = At(0.0);
    spinning.viewpoint = kViewSpinningGlobe;
    EXPECT_EQ(PeriodsUntilNextTick(spinning, w.redraw, w.wallpaper), 1);

    // The wallpaper falls due after wallpaperMinutes + 1 minutes; a tick then must not be late.
    Stopwatch redrawn{kHz, int64_t(659.9 * kHz)};
    TickInputs in = At(659.9);
    EXPECT_EQ(PeriodsUntilNextTick(in, redrawn, w.wallpaper), 4);
    const int64_t next = in.now + int64_t(4 * kTickSeconds * kHz);
    in.now = next;
    EXPECT_TRUE(DecideTick(in, redrawn, w.wallpaper).wakeWallpaper);
    in.now = next;
    in.wallpaperEnabled = false;
    Stopwatch fresh{kHz, 0};
    redrawn.reset(next);
    EXPECT_EQ(PeriodsUntilNextTick(in, redrawn, fresh), 31) << "a disabled generator never wakes the tick";

    // The largest interval a stored file can hold is a long wait, not a tick every 33 ms.
    TickInputs longest = At(0.0);
    longest.wallpaperMinutes = 2147483647;
    EXPECT_EQ(PeriodsUntilNextTick(longest, w.redraw, w.wallpaper), 31);
    longest.now = int64_t(1) << 60;  // 3,600 years on: still within the interval
    EXPECT_FALSE(DecideTick(longest, w.redraw, w.wallpaper).wakeWallpaper);
}

}  // namespace

namespace {

// Runs an animation whose frames cost `frameCpu` seconds on top of `idleShare` of a core for
// `seconds`, paced by `pacer`; returns the share of a core it used over the last five seconds.
double PacedShare(FramePacer& pacer, double frameCpu, double idleShare, double seconds, double* interval) {
    double clock = 0, cpu = 0, cpuFiveBefore = 0;
    while (clock < seconds) {
        *interval = pacer.interval(cpu, clock);
        cpu += frameCpu + idleShare * *interval;
        clock += *interval;
        if (clock < seconds - 5) cpuFiveBefore = cpu;
    }
    return (cpu - cpuFiveBefore) / 5;
}

}  // namespace

// Cheap frames keep the animation's own period; dear ones are spaced out to the share within a
// few seconds, and closer again when they grow cheap; never beyond the longest interval.
TEST(FramePacer, SpacesDearFramesToTheirShare) {
    double interval = 0;
    FramePacer cheap(0.033, 0.25, 0.10, 0.033);
    EXPECT_LT(PacedShare(cheap, 0.001, 0.005, 10, &interval), 0.10);
    EXPECT_DOUBLE_EQ(interval, 0.033);

    FramePacer dear(0.033, 0.25, 0.10, 0.033);
    EXPECT_LE(PacedShare(dear, 0.006, 0.005, 10, &interval), 0.10);  // 18 % unpaced
    EXPECT_GT(interval, 0.05);
    // Settled: whole ticks, the same from one second to the next.
    const double settled = interval;
    EXPECT_NEAR(std::fmod(settled + 1e-9, 0.033), 0, 1e-6);
    PacedShare(dear, 0.006, 0.005, 5, &interval);
    EXPECT_DOUBLE_EQ(interval, settled);
    EXPECT_NEAR(PacedShare(dear, 0.001, 0.005, 10, &interval), 0.035, 0.01);  // cheap again
    EXPECT_DOUBLE_EQ(interval, 0.033);

    FramePacer hopeless(0.025, 0.1, 0.35, 0.001);
    PacedShare(hopeless, 0.2, 0, 10, &interval);
    EXPECT_DOUBLE_EQ(interval, 0.1);
    // A clock that goes back, or a pause, starts the measure afresh rather than pacing on it.
    EXPECT_DOUBLE_EQ(hopeless.interval(0, -5), 0.1);
    EXPECT_DOUBLE_EQ(hopeless.interval(0.001, -3.5), 0.025);  // measured from -5: cheap now
    EXPECT_DOUBLE_EQ(hopeless.interval(9, 10), 0.025);        // after a pause: not the pause's CPU
}
