#include "app/ClockApp.h"
#include "desktop/TrayFrame.h"
#include "desktop/WallpaperFactory.h"
#include "platform/ProgramArguments.h"
#include "timesync/ClockSettingCommand.h"
#include "timesync/ClockSettingInstance.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Started by Set Clock to set the clock: before anything reads a file or shows a window.
    const std::vector<std::string> arguments = ProgramArguments(0, nullptr);
    if (AsksToSetClock(arguments)) ExitProcess(UINT(RunClockSettingInstance(arguments)));
    ClockApp app({TrayFrame::make, WallpaperFactory});
    // The process ends right after the exit steps: a wallpaper thread still drawing after its
    // wait ran out must not find the application object and its lock destroyed.
    ExitProcess(UINT(app.run(instance, commandLine)));
}
