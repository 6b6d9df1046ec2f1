// The program that sets the clock, solvane-setclock.exe: started by the Set Clock dialog, with
// administrator rights where the system asks for them. It reads no file: it takes a server's
// address from its command line, synchronises, asks the user before it moves the clock by more
// than a day, sets the clock, and hands the outcome to the dialog's window as a report (with
// reports of its progress before). It serves only the process that started it: the window must
// be one of that process's.
#pragma once

#include <string>
#include <vector>

// Runs the program for its `arguments`; its exit code is the outcome's number, or -1 for
// arguments that name no valid server, or a window that is not the starting process's.
int RunClockSettingInstance(const std::vector<std::string>& arguments);
