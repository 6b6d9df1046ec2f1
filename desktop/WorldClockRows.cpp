#include "desktop/WorldClockRows.h"

#include "app/Formatting.h"

#include <cmath>
#include <cstdlib>

namespace {

std::string ClockTime(const CivilTime& t, const UserOptions& options) {
    return FormatEventTime(t.hour + t.minute / 60.0, options);
}

std::string EventText(const std::optional<CivilTime>& t, const UserOptions& options) {
    return t ? ClockTime(*t, options) : std::string("-");
}

}  // namespace

std::string UtcOffsetText(int32_t minutes) {
    if (minutes == 0) return "UTC";
    const int32_t size = std::abs(minutes);
    const char sign = minutes < 0 ? '-' : '+';
    if (size % 60 == 0) return Printf("UTC%c%d", sign, size / 60);
    return Printf("UTC%c%d:%02d", sign, size / 60, size % 60);
}

std::string DayLengthText(double hours) {
    const long minutes = std::isfinite(hours) ? std::lround(std::fmin(std::fmax(hours, 0.0), 24.0) * 60) : 0;
    return Printf("%ld:%02ld", minutes / 60, minutes % 60);
}

PlaceRowTexts FormatPlaceRow(const PlaceClock& place, const CivilTime& pcToday, const UserOptions& options) {
    PlaceRowTexts texts;
    texts.time = ClockTime(place.local, options);
    const CivilTime& d = place.local;
    if (d.year != pcToday.year || d.month != pcToday.month || d.day != pcToday.day) {
        texts.date = Printf("%d %s", d.day, MonthName(d.month).c_str());
    }
    texts.offset = UtcOffsetText(place.utcOffsetMinutes);
    texts.sunrise = EventText(place.sunrise, options);
    texts.sunset = EventText(place.sunset, options);
    texts.dayLength = DayLengthText(place.dayLengthHours);
    return texts;
}
