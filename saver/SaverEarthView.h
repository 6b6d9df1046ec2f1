// The screen saver's Earth: the clock's Earth view, drawn once a second,
// or every 25 ms for the spinning globe. It takes no mouse: a move ends the saver. On a
// palette-based display it realises the palette its pixel format needs.
#pragma once

#include "render/EarthView.h"

class SaverEarthView : public EarthView {
public:
    explicit SaverEarthView(const EarthViewModel& model) : EarthView(model) {}

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    // The saver takes any non-zero choice as a yes.
    bool wantsHardware() const override;

private:
    HPALETTE palette_ = nullptr;  // only for a palette-based pixel format
};
