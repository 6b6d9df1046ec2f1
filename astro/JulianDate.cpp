#include "astro/JulianDate.h"

#include "astro/AstroConstants.h"

#include <cmath>

double JulianDate(int16_t year, int16_t month, int16_t day, double hours) {
    const int32_t y = year, m = month, d = day;
    const int32_t a = (m - 14) / 12;
    const int32_t jd12h = d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - 12 * a) / 12 -
                          3 * ((y + 4900 + a) / 100) / 4;
    return jd12h - 0.5 + hours * 0.041666666666666664;
}

void CalendarDate(double jd, int* year, int* month, int* day, double* hour) {
    const double x = jd + 0.5;
    *hour = std::fmod(x, 1.0) * 24.0;
    int32_t l = static_cast<int32_t>(x) + 68569;
    const int32_t n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const int32_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const int32_t j = 80 * l / 2447;
    *day = l - 2447 * j / 80;
    l = j / 11;
    *month = j + 2 - 12 * l;
    *year = 100 * (n - 49) + i + l;
}

double JulianCenturies(double jd) { return (jd - astro::kJ2000) * astro::kCenturiesPerDay; }

namespace {
constexpr double kUnixEpochJulianDate = 2440587.5;
constexpr double kSecondsPerDay = 86400;
}  // namespace

double JulianDateOfUnixSeconds(int64_t seconds) { return kUnixEpochJulianDate + double(seconds) / kSecondsPerDay; }

int64_t UnixSecondsOfJulianDate(double jd) { return std::llround((jd - kUnixEpochJulianDate) * kSecondsPerDay); }
