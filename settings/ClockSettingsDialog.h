// The Clock settings dialog: what the Earth view shows, its viewpoint with the spinning
// speed, and the time shown over it.
#pragma once

#include <windows.h>

class ClockApp;

// Runs the dialog over `owner` (none: null); IDOK when saved. A click on "Show Night Shadow"
// acts at once and stays even when the dialog is cancelled.
INT_PTR RunClockSettingsDialog(HWND owner, ClockApp& app);
