// Opening the "cheby" ephemeris beside the program at start-up.
#pragma once

#include <string>

class UserPrompt;

// Opens the ephemeris file at `path`; false (with the reader's message) when it cannot be read.
bool OpenEphemerisFile(const std::string& path);

// Opens "cheby" beside `programPath`; when it cannot be read, tells the user and returns false.
bool OpenEphemeris(const std::string& programPath, UserPrompt& prompt);
