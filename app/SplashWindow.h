// The splash window: bitmap 102 centred on the screen for 1.75 seconds or until the first key
// or mouse-button press.
#pragma once

#include "platform/HandleOwners.h"
#include "platform/Window.h"

class SplashWindow : public Window {
public:
    static void enable(bool enabled) { enabled_ = enabled; }
    // Shows the splash, owned by `owner`, when it is enabled and not already shown.
    static void show(HWND owner);
    // The application's pre-dispatch filter: consumes key and mouse-button presses while the
    // splash is up, and takes it down.
    static bool filterMessage(const MSG& message);

private:
    static constexpr UINT_PTR kHideTimerId = 1;
    static constexpr UINT kHideAfterMs = 1750;

    SplashWindow() = default;
    bool create(HWND owner);
    void hide();

    void onPaint(HDC dc) override;
    void onTimer(UINT_PTR id) override;
    void onFinalMessage() override;
    // Its picture is made for the DPI it started at: a change of DPI leaves it where it is.
    RECT placeForDpi(const RECT&) const override {
        RECT now;
        GetWindowRect(hwnd(), &now);
        return now;
    }

    static bool enabled_;
    static SplashWindow* shown_;
    GdiBitmap bitmap_;
};
