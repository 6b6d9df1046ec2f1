#include "cli/AlmanacEclipses.h"

#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"

#include <cmath>
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
    const long long seconds = std::llround((utcJd - 0.5) * 86400.0);
    const long long days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
    const long long ofDay = seconds - days * 86400;
    int year, month, day;
    double hour;
    CalendarDate(days + 0.5, &year, &month, &day, &hour);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lldZ", year, month, day,
                  ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
    return text;
}
