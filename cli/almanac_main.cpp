// solvane-almanac: the clock's numbers for any instant and place.
#include "app/EphemerisFile.h"
#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "astro/FixedClock.h"
#include "cli/Almanac.h"
#include "cli/AlmanacRequest.h"
#include "cli/Arguments.h"
#include "cli/StoredOptions.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"

#ifdef _WIN32
#include "platform/LocaleMonthNames.h"
#endif

#include <cstdio>
#include <string>
#include <vector>

namespace {

int32_t SystemBias() {
    const TimeZoneInfo zone = SystemTimeZone().current();
    return zone.bias + (zone.daylightInForce ? zone.daylightBias : 0);
}

// Windows-1252 text for a UTF-8 terminal; the Windows console takes it as it is.
std::string ForTerminal(const std::string& text) {
#ifdef _WIN32
    return text;
#else
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    AlmanacRequest request;
    std::string error;
    if (!ParseAlmanacArguments(ProgramArguments(argc, argv), &request, &error)) {
        return UsageError("solvane-almanac", error, kAlmanacUsage);
    }
#ifdef _WIN32
    static LocaleMonthNames localeMonthNames;
    SetMonthNameSource(&localeMonthNames);
#endif
    const std::string programPath = ProgramPath();
    UserOptions options = StoredOptions(programPath);
    if (request.latitude || request.longitude) SetFieldText(options.homeName, std::string());
    if (request.latitude) options.homeLatitude = float(*request.latitude);
    if (request.longitude) options.homeLongitude = float(*request.longitude);
    options.timeZoneBias = request.timeZoneBias ? *request.timeZoneBias : SystemBias();

    if (!OpenEphemerisFile(request.chebyPath ? *request.chebyPath : FileBesideProgram(programPath, "cheby"))) {
        return 1;
    }

    const CivilTime utc = request.utc ? *request.utc : SystemClock().utcNow();
    FixedClock clock(utc, options.timeZoneBias);
    const Almanac almanac = ComputeAlmanac(options, clock);
    const std::string text = request.json ? AlmanacJson(almanac) : ForTerminal(AlmanacPage(almanac));
    std::fputs(text.c_str(), stdout);
    CloseEphemeris();
    return 0;
}
