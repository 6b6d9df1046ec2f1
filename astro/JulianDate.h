// Calendar dates to Julian dates and back (Gregorian calendar, integer algorithm of Fliegel and
// Van Flandern).
#pragma once

#include <cstdint>

// Julian date (days) of the calendar date at `hours` hours of that day (0 gives the preceding
// midnight, a date ending in .5).
double JulianDate(int16_t year, int16_t month, int16_t day, double hours);

// Calendar date and hour of day of a Julian date.
void CalendarDate(double jd, int* year, int* month, int* day, double* hour);

// Julian date of an instant in seconds since 1970-01-01 00:00:00 UTC, and back (to the nearest
// second).
double JulianDateOfUnixSeconds(int64_t seconds);
int64_t UnixSecondsOfJulianDate(double jd);

// Julian centuries (36525 days) from J2000.0.
double JulianCenturies(double jd);
