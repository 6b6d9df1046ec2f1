// Opening the "cheby" ephemeris beside the program at start-up.
#pragma once

#include <string>

class UserPrompt;

// Opens "cheby" beside `programPath`; when it cannot be read, tells the user and returns false.
bool OpenEphemeris(const std::string& programPath, UserPrompt& prompt);
