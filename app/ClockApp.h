// The application object of the clock: single instance, options, the shared objects of the
// threads, the wallpaper thread and the hidden main window.
#pragma once

#include "app/ClockSettings.h"
#include "app/EclipseWatch.h"
#include "app/OptionsSaver.h"
#include "app/OptionsStore.h"
#include "app/UserOptions.h"
#include "app/WorldSettingsStore.h"
#include "platform/Application.h"
#include "platform/HandleOwners.h"
#include "platform/LocaleMonthNames.h"
#include "platform/MessageBoxPrompt.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"
#include "platform/Win32Registry.h"
#include "platform/Window.h"

#include <atomic>
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
    // The options and the clock state, and the one way they change.
    ClockSettings& settings() { return settings_; }
    // Writes the options file, and the settings file when the world settings changed; the first
    // failure of each file in the run is reported to the user (never at the end of a session).
    // Call on the user-interface thread, outside the settings' lock.
    bool saveOptions();
    // Solvane.ini alone, when the world settings changed since it was last written.
    bool saveWorldSettings();
    // Takes on what the user changed in Solvane.ini by hand since it was last read or written.
    void followSettingsFile();
    // The session is ending: the windows close and the exit steps run now, without asking the
    // user anything; then the process ends.
    [[noreturn]] void endSession();

    // Set at exit; the wallpaper thread then abandons its work.
    bool quitRequested() const { return quitRequested_; }
    // Auto-reset; wakes the wallpaper thread.
    HANDLE wallpaperEvent() const { return wallpaperEvent_.get(); }
    // The registered tray callback message.
    UINT trayMessage() const { return trayMessage_; }
    // The next eclipses for home; the main window is sent WM_ECLIPSES_CHANGED when they change.
    // Null before the main window is made.
    const EclipseWatch* eclipses() const { return eclipses_.get(); }
    // The clock was set: the eclipses are searched for again from its new now.
    void searchEclipsesAgain();

protected:
    bool initInstance(const char* commandLine) override;
    int exitInstance() override;
    bool preTranslateMessage(MSG& message) override;

private:
    bool claimSingleInstance();
    void readSettingsFile();
    bool startWallpaperThread();
    void stopWallpaperThread();
    // Starts the eclipse search for home, and again for each new home.
    void startEclipseWatch();

    SystemClock clock_;
    ClockSettings settings_{clock_};
    std::atomic<bool> quitRequested_{false};
    KernelHandle wallpaperEvent_;
    UINT trayMessage_ = 0;
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
    WorldSettingsStore worldStore_;
    OptionsSaver settingsSaver_;
    std::unique_ptr<Window> mainWindow_;
    std::unique_ptr<EclipseWatch> eclipses_;
    int homeListener_ = -1;
};
