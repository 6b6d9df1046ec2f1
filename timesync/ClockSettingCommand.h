// The command line on which the program runs as the instance that sets the clock: the switch,
// the server's IPv4 address (the dialog looks the name up), the window to report to, and a
// number the report must carry back, both decimal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr char kSetClockSwitch[] = "/setclock";

struct ClockSettingCommand {
    std::string address;  // dotted, such as 192.0.2.17
    uint64_t window = 0;
    uint64_t ticket = 0;  // the report is taken only with this number
};

// The parameters for `command` (its address a dotted one).
std::string ClockSettingParameters(const ClockSettingCommand& command);

// Whether the program's arguments ask for the clock-setting instance at all.
bool AsksToSetClock(const std::vector<std::string>& arguments);

// Whether `text` is a dotted IPv4 address in its one plain form: four decimal numbers 0 to 255
// without leading zeros, nothing else.
bool IsDottedAddress(const std::string& text);

// The command in such arguments: false unless there are exactly four, the address is dotted,
// and the window and the ticket are plain decimal numbers of 64 bits that are not zero.
bool ReadClockSettingCommand(const std::vector<std::string>& arguments, ClockSettingCommand& command);
