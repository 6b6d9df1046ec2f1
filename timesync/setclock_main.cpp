// solvane-setclock.exe, the program that sets the clock for the Set Clock dialog.
#include "platform/ProgramArguments.h"
#include "timesync/ClockSettingInstance.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunClockSettingInstance(ProgramArguments(0, nullptr)); }
