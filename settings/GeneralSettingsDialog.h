// The General settings dialog: the home location's summary, start-up behaviour, the wallpaper
// generator and the OpenGL choice, with the driver in use.
#pragma once

#include "app/UserOptions.h"
#include "settings/SettingsChoices.h"

#include <windows.h>

#include <functional>

struct GeneralSettingsRun {
    UserOptions current;  // the choices shown
    // "Change...": runs the Home Location dialog over the given dialog and returns the options
    // after it, whose home the summary then shows.
    std::function<UserOptions(HWND dialog)> changeHome;
    // Save pressed with valid choices: applied (and stored) before the dialog closes.
    std::function<void(const GeneralChoices&)> save;
};

// Runs the dialog over `owner` (none: null); IDOK when saved.
INT_PTR RunGeneralSettingsDialog(HWND owner, const GeneralSettingsRun& run);
