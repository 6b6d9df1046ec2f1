#include "timesync/ClockSettingCommand.h"

namespace {

// A decimal number of 1 to `digits` digits, at most `largest`.
bool ReadDecimal(const std::string& text, std::size_t digits, uint64_t largest, uint64_t& value) {
    if (text.empty() || text.size() > digits) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        const uint64_t digit = uint64_t(c - '0');
        if (value > (largest - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

}  // namespace

std::string ClockSettingParameters(const ClockSettingCommand& command) {
    return command.address + " " + std::to_string(command.window) + " " + std::to_string(command.ticket);
}

bool IsDottedAddress(const std::string& text) {
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t end = part < 3 ? text.find('.', start) : text.size();
        if (end == std::string::npos) return false;
        const std::string number = text.substr(start, end - start);
        uint64_t value = 0;
        // No leading zero: the system's readers take "010" for eight.
        if (!ReadDecimal(number, 3, 255, value) || (number.size() > 1 && number[0] == '0')) return false;
        start = end + 1;
    }
    return true;
}

bool ReadClockSettingCommand(const std::vector<std::string>& arguments, ClockSettingCommand& command) {
    ClockSettingCommand read;
    if (arguments.size() != 3 || !IsDottedAddress(arguments[0])) return false;
    read.address = arguments[0];
    if (!ReadDecimal(arguments[1], 20, UINT64_MAX, read.window) || read.window == 0) return false;
    if (!ReadDecimal(arguments[2], 20, UINT64_MAX, read.ticket) || read.ticket == 0) return false;
    command = read;
    return true;
}
