// The Home Location dialog: the home's name and coordinates, typed as degrees, minutes and
// seconds or as decimal degrees (the form the program then shows coordinates in), or picked
// among United States places.
#pragma once

#include <windows.h>

class ClockApp;

// Runs the dialog over `owner` (none: null). IDOK when a place was saved: the options then
// hold it, the clock state follows it and "user.bin" has been written. IDCANCEL when cancelled
// or when another Home Location dialog is open.
INT_PTR RunHomeLocationDialog(HWND owner, ClockApp& app);
