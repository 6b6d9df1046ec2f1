// The clock's options file, as a command-line program beside the clock reads it.
#pragma once

#include "app/UserOptions.h"

#include <string>

// True when the record's home is a place on Earth: finite, latitude within ±90 degrees,
// longitude within ±180.
bool HomeIsOnEarth(const UserOptions& options);

// The record in the user's options file (see OptionsFileToRead) when it is exactly the record's size
// and its home is on Earth; else, silently, the defaults.
UserOptions StoredOptions(const std::string& programPath);
