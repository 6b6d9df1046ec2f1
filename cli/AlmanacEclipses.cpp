#include "cli/AlmanacEclipses.h"

#include "app/ZoneRules.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"

#include <cstdio>

bool NextEclipses(const std::string& chebyPath, double fromUtcJd, int count,
                  const EclipseHome& home, std::vector<Eclipse>* eclipses, double* fileEndJd,
                  std::string* error) {
    EphemerisReader reader;
    if (!reader.open(chebyPath, error)) return false;
    *fileEndJd = reader.header().lastDate;
    *eclipses = EclipsesFrom(reader, fromUtcJd, home, [count](const std::vector<Eclipse>& found) {
        return static_cast<int>(found.size()) >= count;
    });
    if (static_cast<int>(eclipses->size()) > count) eclipses->resize(count);
    return true;
}

std::string IsoUtcTime(double utcJd) {
    const CivilTime t = UtcOfSeconds(UnixSecondsOfJulianDate(utcJd));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", int(t.year), int(t.month), int(t.day),
                  int(t.hour), int(t.minute), int(t.second));
    return text;
}
