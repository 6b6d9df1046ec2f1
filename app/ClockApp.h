// The application object of the clock: single instance, options, the shared objects of the
// threads, the wallpaper thread and the hidden main window.
#pragma once

#include "app/ClockState.h"
#include "app/OptionsSaver.h"
#include "app/OptionsStore.h"
#include "app/UserOptions.h"
#include "platform/Application.h"
#include "platform/HandleOwners.h"
#include "platform/LocaleMonthNames.h"
#include "platform/MessageBoxPrompt.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"
#include "platform/Win32Registry.h"
#include "platform/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ClockApp;

// What the desktop program adds to the application: its hidden main window and the body of
// the wallpaper thread.
struct ClockAppParts {
    // Makes the hidden main window; null when it could not be made.
    std::function<std::unique_ptr<Window>(ClockApp&)> makeMainWindow;
    unsigned(__stdcall* wallpaperThread)(void* clockApp);
};

class ClockApp : public Application {
public:
    explicit ClockApp(const ClockAppParts& parts);
    ~ClockApp() override;

    OptionsServices optionsServices();
    // Where the current user's options and wallpaper are kept; set before the options load.
    const UserFileFolders& userFolders() const { return userFolders_; }
    // A copy of the options, taken under `optionsLock`.
    UserOptions currentOptions();
    // Writes the options file; the first failure of the run is reported to the user (never at the
    // end of a session). Call on the user-interface thread, without holding `optionsLock`.
    bool saveOptions();
    // The session is ending: the windows close and the exit steps run now, without asking the
    // user anything; then the process ends.
    [[noreturn]] void endSession();

    // Guards `options`, `astro` and the astronomy engine's caches. Recursive.
    RecursiveLock optionsLock;
    UserOptions options = {};
    AstroState astro = {};
    SystemClock clock;
    uint8_t quitRequested = 0;       // set at exit, read by the wallpaper thread under the lock
    KernelHandle wallpaperEvent;     // auto-reset; wakes the wallpaper thread
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

    ClockAppParts parts_;
    std::string programPath_;
    bool programTrusted_ = false;
    UserFileFolders userFolders_;
    KernelHandle instanceMutex_;
    KernelHandle wallpaperThreadHandle_;
    bool optionsLoaded_ = false;
    bool sessionEnding_ = false;
    bool socketsStarted_ = false;
    bool wallpaperThreadEnded_ = true;
    Win32Registry registry_;
    MessageBoxPrompt prompt_;
    SystemTimeZone timeZone_;
    LocaleMonthNames monthNames_;
    OptionsSaver saver_;
    std::unique_ptr<Window> mainWindow_;
};
