// The screen saver's full-screen window: topmost over the whole virtual screen, of the class
// Windows knows screen savers by, without a cursor, and closed by a key, a button, a mouse
// move of more than a few pixels after a short grace period, or losing the foreground. The
// Earth is drawn in a child that covers it.
#pragma once

#include "platform/Window.h"
#include "saver/SaverEarthView.h"

class ScreenSaverWindow : public Window {
public:
    explicit ScreenSaverWindow(const EarthViewModel& model) : earth_(model) {}
    bool create();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    // It keeps covering the whole virtual screen, whatever the DPI.
    RECT placeForDpi(const RECT&) const override {
        return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }

private:
    void activity();
    void onMouseMove(POINT at);

    SaverEarthView earth_;
    DWORD startTicks_ = 0;
    POINT firstMouse_ = {};
    bool mouseSeen_ = false;
};
