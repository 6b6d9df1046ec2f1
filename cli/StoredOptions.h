// The options file "user.bin" beside a command-line program.
#pragma once

#include "app/UserOptions.h"

#include <string>

// True when the record's home is a place on Earth: finite, latitude within ±90 degrees,
// longitude within ±180.
bool HomeIsOnEarth(const UserOptions& options);

// The record in "user.bin" beside `programPath` when the file is exactly the record's size
// and its home is on Earth; else, silently, the defaults.
UserOptions StoredOptions(const std::string& programPath);
