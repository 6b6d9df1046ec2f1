// The Set Clock dialog: a time server picked from "servers.txt" or typed, and the PC clock set
// from it, with what happened in a status line.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct SetClockRun {
    std::string typedServer;  // the server the field shows at first
    // The dialog is closing: the server typed into the field, to keep.
    std::function<void(const std::string& typedServer)> keep;
};

// Runs the dialog over `owner` (none: null). 0 when another Set Clock dialog was open.
INT_PTR RunSetClockDialog(HWND owner, const SetClockRun& run);
