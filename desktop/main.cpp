#include "app/ClockApp.h"
#include "desktop/TrayFrame.h"
#include "desktop/WallpaperFactory.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    ClockApp app({TrayFrame::make, WallpaperFactory});
    // The process ends right after the exit steps: a wallpaper thread still drawing after its
    // wait ran out must not find the application object and its lock destroyed.
    ExitProcess(UINT(app.run(instance, commandLine)));
}
