#include "desktop/ClockTimer.h"

#include "app/ClockApp.h"
#include "desktop/EarthFrame.h"

#include <mmsystem.h>

#include <mutex>

namespace {

constexpr UINT kPeriodMs = 33;
constexpr UINT kResolutionMs = 50;

int64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

ClockTimer::ClockTimer(ClockApp& app) : app_(app) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    redrawWatch_ = {frequency.QuadPart, Counter()};
    wallpaperWatch_ = redrawWatch_;
}

void ClockTimer::start(EarthFrame& frame) {
    frame_ = &frame;
    timerId_ = timeSetEvent(kPeriodMs, kResolutionMs, onTick, reinterpret_cast<DWORD_PTR>(this),
                            TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

void ClockTimer::stop() {
    if (timerId_ == 0) return;
    timeKillEvent(timerId_);
    timerId_ = 0;
    // A tick already under way holds the lock to its end: once the lock is free no tick touches
    // this object again.
    std::lock_guard<RecursiveLock> hold(app_.optionsLock);
    stopped_ = true;
}

void CALLBACK ClockTimer::onTick(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<ClockTimer*>(self)->tick();
}

void ClockTimer::tick() {
    std::lock_guard<RecursiveLock> hold(app_.optionsLock);
    if (stopped_) return;
    const UserOptions& o = app_.options;
    const bool created = frame_->created != 0;
    const int64_t now = Counter();
    // Asking the window whether it is enabled costs a trip through the window system: only when
    // the answer decides something.
    const bool mayRedraw = o.viewpoint == kViewSpinningGlobe || redrawWatch_.seconds(now) >= 1.0;
    const bool enabled = created && (!mayRedraw || IsWindowEnabled(frame_->hwnd()));
    const TickInputs in = {created, frame_->menuOpen != 0, enabled, o.viewpoint,
                           o.wallpaperEnabled == 1, o.wallpaperMinutes, now};
    const TickActions actions = DecideTick(in, redrawWatch_, wallpaperWatch_);
    if (actions.redrawView) InvalidateRect(frame_->view(), nullptr, FALSE);
    if (actions.redrawPane) InvalidateRect(frame_->pane(), nullptr, FALSE);
    if (actions.wakeWallpaper) {
        UpdateAstroState(app_.astro, app_.options, app_.clock, false);
        PulseEvent(app_.wallpaperEvent);
    }
}
