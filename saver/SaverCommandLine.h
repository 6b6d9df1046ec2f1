// What Windows asks of a screen saver on its command line: "/s" run full screen, "/p HWND"
// draw the preview into that window, "/c" or "/c:HWND" show the settings (also with no
// argument at all), "/a HWND" change the password. Any case, "-" as well as "/", and a space
// or a colon before the window's number.
#pragma once

#include <cstdint>

enum class SaverMode { Configure, Preview, Run, ChangePassword };

struct SaverCommand {
    SaverMode mode = SaverMode::Configure;
    uintptr_t window = 0;  // the window named after the switch; 0 for none
};

SaverCommand ParseSaverCommandLine(const char* arguments);
