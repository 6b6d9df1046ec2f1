// The clock tick: every 33 ms it redraws the earth clock once a second (every tick while the
// globe spins, or fewer where that would take a tenth of a core) and wakes the wallpaper
// generator every few minutes. It runs on a thread of its own and never draws: it asks the
// windows to (the view to show the new time, the pane to repaint), and sets the wallpaper
// event. Ticks that could decide nothing are skipped (the thread sleeps through them): an idle
// clock wakes about once a second.
#pragma once

#include "app/ClockTick.h"
#include "app/FramePacer.h"

#include "platform/HandleOwners.h"

#include <windows.h>

#include <atomic>

class ClockSettings;
class EarthFrame;

class ClockTimer {
public:
    explicit ClockTimer(ClockSettings& settings);
    ~ClockTimer() { stop(); }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    // Starts ticking for the earth clock window.
    void start(EarthFrame& frame);
    // Stops ticking; a tick under way is finished first. Call without holding the options lock.
    void stop();
    // Ticks now: something the tick reads has changed (a menu closed, a dialog ended).
    void wake();

private:
    static unsigned __stdcall run(void* self);
    void tickUntilStopped();
    // One tick; returns how many periods may pass before the next one could act.
    int tick();

    ClockSettings& settings_;
    EarthFrame* frame_ = nullptr;
    KernelHandle thread_;
    KernelHandle wakeEvent_;
    std::atomic<bool> stopping_{false};
    Stopwatch redrawWatch_, wallpaperWatch_, lookWatch_;
    // The spinning globe's frames: every tick at best, every third at worst (the time shown
    // stays within a tenth of a second), aiming a little under a tenth of a core.
    FramePacer spinPacer_{kTickSeconds, 3 * kTickSeconds, 0.09, kTickSeconds};
};
