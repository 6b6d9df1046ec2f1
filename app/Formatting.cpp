#include "app/Formatting.h"

#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "astro/EarthTilt.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

// Largest magnitude formatted field by field; beyond it (or for NaN) the fields would not fit
// an int.
constexpr double kLargestField = 1e6;

// A missing month name prints as a missing string argument does.
std::string MonthOrNull(int month) {
    std::string name = MonthName(month);
    return name.empty() ? "(null)" : name;
}

std::string FormatAngle(double x, const UserOptions& options, char positive, char negative) {
    const double a = std::fabs(x);
    std::string text;
    if (options.displayFlags & kDegreesMinutesSeconds) {
        const DegreesMinutesSeconds dms = SplitDegrees(a);
        text = Printf("%02d\xB0 %02d' %02d\" ", dms.degrees, dms.minutes, dms.seconds);
    } else {
        text = Printf("%.3f ", a);
    }
    return text + (x >= 0 ? positive : negative);
}

// Hours as hh:mm:ss; a time that is not a number of hours (a stored longitude that is not a
// number, say) shows as dashes.
std::string FormatSiderealHours(double t) {
    if (!(std::fabs(t) < kLargestField)) return "--:--:--";
    const double h = std::floor(t);
    const double m = std::floor((t - h) * 60);
    const double s = std::floor(((t - h) * 60 - m) * 60);
    return Printf("%02d:%02d:%02d", int(h), int(m), int(s));
}

}  // namespace

std::string Printf(const char* format, ...) {
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

DegreesMinutesSeconds SplitDegrees(double x) {
    if (!(std::fabs(x) < kLargestField)) return {0, 0, 0};
    const double v = std::fabs(x) + 0.00013888;
    const double d = std::floor(v);
    const double m = std::floor((v - d) * 60);
    const double s = std::floor(((v - d) * 60 - m) * 60);
    return {x < 0 ? -int(d) : int(d), int(m), int(s)};
}

double DmsToDegrees(int degrees, int minutes, int seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

std::string FormatLongitude(double degrees, const UserOptions& options) {
    return FormatAngle(degrees, options, 'E', 'W');
}

std::string FormatLatitude(double degrees, const UserOptions& options) {
    return FormatAngle(degrees, options, 'N', 'S');
}

std::string FormatLocalDateTime(const AstroState& state, const UserOptions& options) {
    int h = state.localHour;
    std::string suffix;
    if (!(options.displayFlags & kLocalTime24Hour)) {
        if (h >= 12) {
            suffix = " PM ";
            if (h > 12) h -= 12;
        } else {
            suffix = " AM ";
            if (h == 0) h = 12;
        }
    }
    return Printf("%s %d, %d %02d:%02d:%02d", MonthOrNull(state.localMonth).c_str(),
                  state.localDay, state.localYear, h, state.localMinute, state.localSecond) +
           suffix;
}

std::string FormatUtcDateTime(const AstroState& state) {
    return Printf("%s %d, %d %02d:%02d:%02d UTC", MonthOrNull(state.utcMonth).c_str(),
                  state.utcDay, state.utcYear, state.utcHour, state.utcMinute, state.utcSecond);
}

std::string FormatGreenwichSidereal(const AstroState& state) {
    return FormatSiderealHours(state.greenwichSiderealTime);
}

std::string FormatLocalSidereal(const AstroState& state, const UserOptions& options) {
    return FormatSiderealHours(LocalSiderealHours(state.greenwichSiderealTime, options.homeLongitude));
}

std::string FormatEventTime(double x, const UserOptions& options) {
    if (x < -50 || std::isnan(x)) return "Never";
    if (x > 50) return "Always";
    if (x < 0) x += 24;
    if (x > 24) x -= 24;
    int h = int(std::floor(x));
    int m = int(std::floor((x - h) * 60 + 0.5));
    if (m == 60) {
        m = 0;
        ++h;
    }
    if (h == 24) h = 0;
    if (options.displayFlags & kLocalTime24Hour) return Printf("%02d:%02d", h, m);
    if (h >= 12) return Printf("%02d:%02d p.m.", h == 12 ? 12 : h - 12, m);
    return Printf("%02d:%02d a.m.", h, m);
}
