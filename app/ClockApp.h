// The application object of the clock: single instance, options, the shared objects of the
// threads, the wallpaper thread and the hidden main window.
#pragma once

#include "app/OptionsStore.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "platform/Application.h"
#include "platform/LocaleMonthNames.h"
#include "platform/MessageBoxPrompt.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"
#include "platform/Win32Registry.h"

#include <cstdint>
#include <memory>
#include <string>

class TrayFrame;

class ClockApp : public Application {
public:
    ClockApp();
    ~ClockApp() override;

    OptionsServices optionsServices();

    // Guards `options`, `astro` and the astronomy engine's caches. Recursive.
    RecursiveLock optionsLock;
    UserOptions options = {};
    AstroState astro = {};
    SystemClock clock;
    uint8_t quitRequested = 0;       // set at exit, read by the wallpaper thread under the lock
    HANDLE wallpaperEvent = nullptr; // auto-reset; wakes the wallpaper thread
    UINT trayMessage = 0;            // the registered tray callback message
    HBRUSH dialogBrushLight = nullptr;
    HBRUSH dialogBrushDark = nullptr;

protected:
    bool initInstance(const char* commandLine) override;
    int exitInstance() override;
    bool preTranslateMessage(MSG& message) override;

private:
    bool claimSingleInstance();
    bool startWallpaperThread();
    void stopWallpaperThread();

    std::string programPath_;
    HANDLE instanceMutex_ = nullptr;
    HANDLE wallpaperThreadHandle_ = nullptr;
    bool optionsLoaded_ = false;
    bool socketsStarted_ = false;
    Win32Registry registry_;
    MessageBoxPrompt prompt_;
    SystemTimeZone timeZone_;
    LocaleMonthNames monthNames_;
    std::unique_ptr<TrayFrame> trayFrame_;
};
