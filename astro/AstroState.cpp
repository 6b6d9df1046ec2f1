#include "astro/AstroState.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/JulianDate.h"
#include "astro/RiseSet.h"

void UpdateAstroState(AstroState& state, double homeLatitude, double homeLongitude,
                      CivilClock& clock, bool force) {
    const CivilTime utc = clock.utcNow();
    state.utcYear = utc.year;
    state.utcMonth = utc.month;
    state.utcDay = utc.day;
    state.utcDayOfWeek = utc.dayOfWeek;
    state.utcHour = utc.hour;
    state.utcMinute = utc.minute;
    state.utcSecond = utc.second;
    const double hours =
        utc.hour + utc.minute * 0.016666666666666666 + utc.second * 0.0002777777777777778;
    state.julianDate = JulianDate(int16_t(utc.year), int16_t(utc.month), int16_t(utc.day), hours);
    EarthTilt(state.julianDate, &state.meanObliquity, &state.trueObliquity,
              &state.equationOfEquinoxes, &state.nutationLongitude, &state.nutationObliquity);
    SiderealTime(state.julianDate, 0, state.equationOfEquinoxes, &state.greenwichSiderealTime);

    const CivilTime local = clock.localNow();
    state.localYear = local.year;
    state.localMonth = local.month;
    state.localDay = local.day;
    state.localDayOfWeek = local.dayOfWeek;
    state.localHour = local.hour;
    state.localMinute = local.minute;
    state.localSecond = local.second;

    if (!force && state.eventsDay >= 0 && state.eventsDay == local.day &&
        state.eventsMonth == local.month && state.eventsYear == local.year) {
        return;
    }
    state.eventsDay = local.day;
    state.eventsMonth = local.month;
    state.eventsYear = local.year;
    const double longitude = homeLongitude * astro::kDegToRad;
    const double latitude = homeLatitude * astro::kDegToRad;
    SunEvents(local.month, local.day, local.year, longitude, latitude, &state.sunrise,
              &state.localNoon, &state.sunset);
    TwilightEvents(local.month, local.day, local.year, longitude, latitude,
                   &state.twilightStart, &state.twilightEnd);
}
