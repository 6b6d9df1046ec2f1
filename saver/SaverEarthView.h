// The screen saver's Earth: the clock's Earth view, drawn once a second, or every 25 ms for the
// spinning globe (less often where that would take over a third of a core). It takes no mouse:
// a move ends the saver. On a palette-based display it realises the palette its pixel format
// needs.
#pragma once

#include "app/FramePacer.h"
#include "render/EarthView.h"

class SaverEarthView : public EarthView {
public:
    explicit SaverEarthView(const EarthViewModel& model) : EarthView(model) {}

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    void onTimer(UINT_PTR id) override;
    // The saver takes any non-zero choice as a yes.
    bool wantsHardware() const override;

private:
    // Spaces the spinning globe's frames to its share of the processor.
    void pace();

    // The spinning globe: a frame every 25 ms at best, every 100 ms at worst, at most about a
    // third of a core.
    static constexpr double kSpinPeriodSeconds = 0.025, kSpinLongestSeconds = 0.1, kSpinShare = 0.33;
    bool spinning_ = false;
    UINT frameMs_ = 1000;
    FramePacer pacer_{kSpinPeriodSeconds, kSpinLongestSeconds, kSpinShare, 0.001};
    GdiPalette palette_;  // only for a palette-based pixel format
};
