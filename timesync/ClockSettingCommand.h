// The command line of the program that sets the clock: the server's IPv4 address (the dialog
// looks the name up), the window to report to, and a number the report must carry back, both
// decimal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program, beside the clock's: it runs with administrator rights, so it is kept small and
// imports only libraries the system always loads from its own folder.
constexpr char kClockSetterProgram[] = "solvane-setclock.exe";

struct ClockSettingCommand {
    std::string address;  // dotted, such as 192.0.2.17
    uint64_t window = 0;
    uint64_t ticket = 0;  // the report is taken only with this number
};

// The parameters for `command` (its address a dotted one).
std::string ClockSettingParameters(const ClockSettingCommand& command);

// Whether `text` is a dotted IPv4 address in its one plain form: four decimal numbers 0 to 255
// without leading zeros, nothing else.
bool IsDottedAddress(const std::string& text);

// The command in such arguments: false unless there are exactly three, the address is dotted,
// and the window and the ticket are plain decimal numbers of 64 bits that are not zero.
bool ReadClockSettingCommand(const std::vector<std::string>& arguments, ClockSettingCommand& command);
