// The General settings dialog: the home location's summary, start-up behaviour, the wallpaper
// generator and the OpenGL choice, with the driver in use.
#pragma once

#include <windows.h>

class ClockApp;

// Runs the dialog over `owner` (none: null); IDOK when saved (the caller renews the wallpaper).
INT_PTR RunGeneralSettingsDialog(HWND owner, ClockApp& app);
