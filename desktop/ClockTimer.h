// The clock tick: a 33 ms multimedia timer that redraws the earth clock once a second (every
// tick while the globe spins) and wakes the wallpaper generator every few minutes. It runs on
// the timer's own thread and never draws: it invalidates, and pulses the wallpaper event.
#pragma once

#include "app/ClockTick.h"

#include <windows.h>

class ClockApp;
class EarthFrame;

class ClockTimer {
public:
    explicit ClockTimer(ClockApp& app);
    ~ClockTimer() { stop(); }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    // Starts ticking for the earth clock window.
    void start(EarthFrame& frame);
    void stop();

private:
    static void CALLBACK onTick(UINT id, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR);
    void tick();

    ClockApp& app_;
    EarthFrame* frame_ = nullptr;
    UINT timerId_ = 0;
    bool stopped_ = false;  // under the options lock
    Stopwatch redrawWatch_, wallpaperWatch_;
};
