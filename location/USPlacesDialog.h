// The United States places dialog: a state or territory from a drop-down list, then one of
// its places from "USPlaces.bin", whose name and coordinates go back to the caller.
#pragma once

#include "app/UserOptions.h"
#include "ui/SkinColours.h"

#include <windows.h>

#include <string>

struct PickedPlace {
    std::string name;  // at most 31 characters with the state's code, as HomeNameOfPlace makes it
    double latitude = 0;
    double longitude = 0;
    int state = -1;  // its row of kUSStates
};

// Runs the dialog over `owner`; true with `place` filled when the user picked one, false (and
// `place` untouched) when cancelled or when the database is missing or damaged (the user is
// told which).
// The coordinates in the list follow the form `options` prefer.
bool LookUpUSPlace(HWND owner, const SkinBrushes& brushes, const UserOptions& options, PickedPlace& place);
