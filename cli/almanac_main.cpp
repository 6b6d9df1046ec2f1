// solvane-almanac: the clock's numbers for any instant and place.
#include "app/EphemerisFile.h"
#include "app/ProgramFiles.h"
#include "app/ZoneRulesReading.h"
#include "astro/Ephemeris.h"
#include "astro/FixedClock.h"
#include "cli/Almanac.h"
#include "cli/AlmanacEclipses.h"
#include "cli/AlmanacPlace.h"
#include "cli/AlmanacRequest.h"
#include "cli/Arguments.h"
#include "cli/StoredOptions.h"
#include "location/WorldPlaces.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"

#ifdef _WIN32
#include "platform/LocaleMonthNames.h"
#endif

#include <cstdio>
#include <optional>
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

    PlaceChoice choice;
    std::optional<ZoneRules> zone;
    if (request.place || request.zone) {
        WorldPlaces places;
        const bool placesRead =
            places.loadFile(FileBesideProgram(programPath, "WorldPlaces.bin")) == WorldPlacesCheck::Sound;
        if (request.place && !placesRead) {
            std::fputs("solvane-almanac: WorldPlaces.bin beside the program cannot be read\n", stderr);
            return 1;
        }
#ifndef _WIN32
        LearnHostZoneNames(places);
#endif
        if (!ChoosePlace(request, places, &choice, &error)) return UnknownNameError("solvane-almanac", error);
        zone = ReadZoneRules(choice.zoneId);
        if (!zone && request.zone) {
            return UnknownNameError("solvane-almanac", "this system has no time zone " + Quoted(choice.zoneId));
        }
        if (!zone) {
            std::fprintf(stderr, "solvane-almanac: this system has no time zone '%s': the place's times are in UTC\n",
                         choice.zoneId.c_str());
            zone = UtcZoneRules();
        }
        SetFieldText(options.homeName, choice.asciiName);
        options.homeLatitude = float(choice.latitude);
        options.homeLongitude = float(choice.longitude);
    }

    const std::string chebyPath = request.chebyPath ? *request.chebyPath : FileBesideProgram(programPath, "cheby");
    if (!OpenEphemerisFile(chebyPath)) return 1;

    const CivilTime utc = request.utc ? *request.utc : SystemClock().utcNow();
    std::optional<AlmanacPlace> place;
    if (zone) {
        place = ComputeAlmanacPlace(choice.name, choice.latitude, choice.longitude, *zone, SecondsOfUtc(utc));
        options.timeZoneBias = -place->time.utcOffsetMinutes;
    }
    FixedClock clock(utc, options.timeZoneBias);
    Almanac almanac = ComputeAlmanac(options, clock);
    almanac.place = std::move(place);
    if (request.eclipses) {
        // The search reads the file through a reader of its own, as the clock's does.
        const EclipseHome home = {options.homeLatitude, options.homeLongitude, 0};
        std::vector<Eclipse> eclipses;
        double fileEndJd = 0;
        if (!NextEclipses(chebyPath, almanac.state.julianDate, *request.eclipses, home, &eclipses, &fileEndJd,
                          &error)) {
            std::fprintf(stderr, "solvane-almanac: %s\n", error.c_str());
            return 1;
        }
        if (static_cast<int>(eclipses.size()) < *request.eclipses) almanac.eclipsesEndJd = fileEndJd;
        almanac.eclipses = std::move(eclipses);
    }
    const std::string text = request.json ? AlmanacJson(almanac) : ForTerminal(AlmanacPage(almanac));
    std::fputs(text.c_str(), stdout);
    CloseEphemeris();
    return 0;
}
