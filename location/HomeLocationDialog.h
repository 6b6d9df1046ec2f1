// The Home Location dialog: the home's name and coordinates, typed as degrees, minutes and
// seconds or as decimal degrees (the form the program then shows coordinates in), or picked
// among world places or United States places; and the time zone of its civil time.
#pragma once

#include "app/UserOptions.h"

#include <windows.h>

#include <functional>
#include <string>

// A saved place and the form its coordinates were typed in.
struct HomePlace {
    std::string name;            // as the options record stores it
    double latitude, longitude;  // degrees, north and east positive; on the globe
    bool degreesMinutesSeconds;
    std::string timeZone;  // a Windows zone id; empty for this PC's time zone
};

// The place into the options: name, coordinates and the form coordinates are shown in.
void ApplyHomePlace(const HomePlace& place, UserOptions& options);

struct HomeLocationRun {
    UserOptions current;   // the home shown, and the form it is shown in
    std::string timeZone;  // the home's zone as stored: a Windows zone id, empty for this PC's
    // Save pressed with a valid place: applied (and stored) before the dialog closes.
    std::function<void(const HomePlace&)> save;
};

// Runs the dialog over `owner` (none: null). IDOK when a place was saved; IDCANCEL when
// cancelled or when another Home Location dialog is open.
INT_PTR RunHomeLocationDialog(HWND owner, const HomeLocationRun& run);
