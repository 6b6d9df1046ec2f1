// The Set Clock dialog: a time server picked from "servers.txt" or typed, and the PC clock set
// from it, with what happened in a status line.
#pragma once

#include <windows.h>

class ClockApp;

// Runs the dialog over `owner` (none: null). 0 when another Set Clock dialog was open.
INT_PTR RunSetClockDialog(HWND owner, ClockApp& app);
