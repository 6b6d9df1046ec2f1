// The Eclipses window: the next solar and lunar eclipse, the time of greatest eclipse in the
// home's time, and whether home sees it. It follows the eclipse search and the home's zone while
// open.
#pragma once

#include <windows.h>

class ClockSettings;
class EclipseWatch;

// Runs the window over `owner` until it is closed. `eclipses` may be null (no search yet). While
// it is open, `*shown` holds its window, which takes WM_ECLIPSES_CHANGED to show the outlook anew.
void RunEclipsesDialog(HWND owner, const EclipseWatch* eclipses, ClockSettings& settings, HWND* shown);
