#include "desktop/ClockTimer.h"

#include "app/ClockSettings.h"
#include "desktop/EarthFrame.h"
#include "platform/FailureTrace.h"
#include "platform/ProcessCpu.h"
#include "platform/SystemClock.h"

#include <process.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// How often the tick looks whether a seen window has been covered: each second while the globe
// spins (the drawing costs far more than the look), every few seconds otherwise.
constexpr double kSeenLookSeconds = 5, kSpinningLookSeconds = 1;

int64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

ClockTimer::ClockTimer(ClockSettings& settings) : settings_(settings) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    redrawWatch_ = {frequency.QuadPart, Counter()};
    wallpaperWatch_ = lookWatch_ = redrawWatch_;
}

void ClockTimer::start(EarthFrame& frame) {
    frame_ = &frame;
    wakeEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    thread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, run, this, 0, nullptr)));
    if (!wakeEvent_ || !thread_) TraceFailure("starting the clock tick");
}

void ClockTimer::stop() {
    if (thread_) {
        stopping_ = true;
        wake();
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    wakeEvent_.reset();
}

void ClockTimer::wake() {
    if (wakeEvent_) SetEvent(wakeEvent_.get());
}

unsigned __stdcall ClockTimer::run(void* self) {
    static_cast<ClockTimer*>(self)->tickUntilStopped();
    return 0;
}

// Ticks on a fixed 33 ms schedule, each tick due a whole number of periods after the one
// before, sleeping through the ticks that would decide nothing. Ticks missed while the options
// lock was held elsewhere are not made up.
void ClockTimer::tickUntilStopped() {
    const int64_t period = int64_t(double(redrawWatch_.frequency) * kTickSeconds);
    int64_t due = Counter();
    while (!stopping_) {
        const int64_t wait = due - Counter();
        const int64_t frequency = redrawWatch_.frequency;
        const DWORD waitMs = wait > 0 ? DWORD((wait * 1000 + frequency - 1) / frequency) : 0;
        if (WaitForSingleObject(wakeEvent_.get(), waitMs) == WAIT_OBJECT_0) due = Counter();
        if (stopping_) break;
        due += tick() * period;
        const int64_t now = Counter();
        if (now - due > period) due = now;
    }
}

int ClockTimer::tick() {
    const ClockSettings::Shared shared = settings_.shared();
    std::lock_guard<RecursiveLock> hold(shared.lock);
    const UserOptions& o = shared.options;
    const EarthFrame::TickWindows windows = frame_->tickWindows;
    const bool created = windows.frame != nullptr;
    const int64_t now = Counter();
    // Asking the window whether it is enabled costs a trip through the window system: only when
    // the answer decides something.
    const bool secondDue = redrawWatch_.seconds(now) >= 1.0;
    const bool mayRedraw = o.viewpoint == kViewSpinningGlobe || secondDue;
    const bool enabled = created && (!mayRedraw || IsWindowEnabled(windows.frame));
    // Whether anyone can see the window: as the system last told, looked at again now and then
    // while it is seen (the walk over the windows above it is not free) and every second while
    // it is not, so that it draws again soon where the system tells nothing.
    bool seen = frame_->visibility.seen();
    const double lookEvery = o.viewpoint == kViewSpinningGlobe ? kSpinningLookSeconds : kSeenLookSeconds;
    if (created && secondDue && (!seen || lookWatch_.seconds(now) >= lookEvery)) {
        seen = frame_->visibility.lookAgain(windows.frame);
        lookWatch_.reset(now);
    }
    const TickInputs in = {created, frame_->menuOpen, enabled, o.viewpoint,
                           o.wallpaperEnabled == 1, o.wallpaperMinutes, now, SecondFraction(), seen};
    const TickActions actions = DecideTick(in, redrawWatch_, wallpaperWatch_);
    // One instant for the view's time and the pane's, read once as the second turns.
    if (actions.redrawPane) settings_.advanceClock(false);
    // The spinning globe's frames are whole and come as paints, which wait for the user's input
    // however long a frame takes; the second's tick may redraw only the time.
    if (actions.redrawView && o.viewpoint == kViewSpinningGlobe) InvalidateRect(windows.view, nullptr, FALSE);
    if (actions.redrawView && o.viewpoint != kViewSpinningGlobe) {
        PostMessageA(windows.view, EarthView::kShowTimeMessage, 0, 0);
    }
    if (actions.redrawPane) InvalidateRect(windows.pane, nullptr, FALSE);
    if (actions.wakeWallpaper) settings_.renewWallpaper(false);
    const int periods = PeriodsUntilNextTick(in, redrawWatch_, wallpaperWatch_);
    if (!actions.redrawView || o.viewpoint != kViewSpinningGlobe) return periods;
    const double interval = spinPacer_.interval(ProcessCpuSeconds(), double(now) / double(redrawWatch_.frequency));
    return std::max(periods, int(std::lround(interval / kTickSeconds)));
}
