// The command line on which the program runs as the instance that sets the clock: the switch,
// the server's name, and the window to report to, as a decimal number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr char kSetClockSwitch[] = "/setclock";

// The parameters for synchronising with `server` (a valid name) and reporting to `window`.
std::string ClockSettingParameters(const std::string& server, uint64_t window);

// Whether the program's arguments ask for the clock-setting instance at all.
bool AsksToSetClock(const std::vector<std::string>& arguments);

// The server and window of such arguments: false unless there are exactly three, the server's
// name is valid and the window a plain decimal number that is not zero.
bool ReadClockSettingCommand(const std::vector<std::string>& arguments, std::string& server, uint64_t& window);
