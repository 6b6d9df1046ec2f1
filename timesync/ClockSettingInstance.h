// The program run as the instance that sets the clock: started by the Set Clock dialog, with
// administrator rights where the system asks for them. It reads no file and shows no window:
// it takes a server's address from its command line, synchronises, sets the clock, and
// hands the outcome to the dialog's window as a report.
#pragma once

#include <string>
#include <vector>

// Runs the instance for the program's `arguments` (those that AsksToSetClock); its exit code
// is the outcome's number, or -1 for arguments that name no valid server and window.
int RunClockSettingInstance(const std::vector<std::string>& arguments);
