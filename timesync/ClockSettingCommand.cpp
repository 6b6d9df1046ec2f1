#include "timesync/ClockSettingCommand.h"

#include "timesync/ServerList.h"

std::string ClockSettingParameters(const std::string& server, uint64_t window) {
    return std::string(kSetClockSwitch) + " " + server + " " + std::to_string(window);
}

bool AsksToSetClock(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments[0] == kSetClockSwitch;
}

bool ReadClockSettingCommand(const std::vector<std::string>& arguments, std::string& server, uint64_t& window) {
    if (arguments.size() != 3 || !AsksToSetClock(arguments) || !IsValidServerName(arguments[1])) return false;
    const std::string& number = arguments[2];
    if (number.empty() || number.size() > 19) return false;
    uint64_t value = 0;
    for (const char c : number) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value == 0) return false;
    server = arguments[1];
    window = value;
    return true;
}
