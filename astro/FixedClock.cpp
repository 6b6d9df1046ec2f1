#include "astro/FixedClock.h"

#include "astro/JulianDate.h"

#include <cmath>

CivilTime AddMinutes(const CivilTime& time, int32_t minutes) {
    const double jd0 = JulianDate(int16_t(time.year), int16_t(time.month), int16_t(time.day), 0);
    const long dayNumber = std::lround(jd0 + 0.5);  // whole Julian day number of the date
    long totalMinutes = time.hour * 60L + time.minute + minutes;
    long dayShift = totalMinutes >= 0 ? totalMinutes / 1440 : -((-totalMinutes + 1439) / 1440);
    totalMinutes -= dayShift * 1440;
    CivilTime result = time;
    double hour;
    CalendarDate(double(dayNumber + dayShift), &result.year, &result.month, &result.day, &hour);
    result.dayOfWeek = int32_t(((dayNumber + dayShift + 1) % 7 + 7) % 7);
    result.hour = int32_t(totalMinutes / 60);
    result.minute = int32_t(totalMinutes % 60);
    return result;
}

FixedClock::FixedClock(const CivilTime& utc, int32_t biasMinutes)
    : utc_(AddMinutes(utc, 0)), local_(AddMinutes(utc, -biasMinutes)) {}
