// The Clock settings dialog: what the Earth view shows, its viewpoint with the spinning
// speed, and the time shown over it.
#pragma once

#include "app/UserOptions.h"
#include "settings/SettingsChoices.h"

#include <windows.h>

#include <functional>

struct ClockSettingsRun {
    UserOptions current;  // the choices shown
    // A click on "Show Night Shadow", to apply at once: it stays even when the dialog is
    // cancelled.
    std::function<void(bool on)> nightShadowNow;
    // Save pressed: the new choices, applied (and stored) before the dialog closes.
    std::function<void(const ClockChoices&)> save;
};

// Runs the dialog over `owner` (none: null); IDOK when saved.
INT_PTR RunClockSettingsDialog(HWND owner, const ClockSettingsRun& run);
