// Rising, transit and setting of the Sun for a place and a date (Meeus, Astronomical
// Algorithms, ch. 15), refined by iteration.
#pragma once

// Marker for an event that does not happen: a Sun that never sets has rise +1000, set -1000;
// a Sun that never rises has rise -1000, set +1000.
constexpr double kEventMarker = 1000.0;

// Sunrise, transit and sunset (hours UT from 0h UT of the date) at longitude and latitude
// (radians, east positive), for the upper limb at the horizon with refraction (90.8333 deg).
void SunEvents(int month, int day, int year, double longitude, double latitude, double* rise,
               double* transit, double* set);

// Start and end of civil twilight (zenith distance 96 deg), hours UT as SunEvents.
void TwilightEvents(int month, int day, int year, double longitude, double latitude,
                    double* start, double* end);

// Rise, transit and set (hours UT) of a body with right ascension and declination (radians)
// `ra`, `dec` at jd0 - 1, jd0 and jd0 + 1, for the observer site's longitude and latitude.
void RiseTransitSet(double jd0, const double ra[3], const double dec[3], double zenith,
                    double deltaT, double* rise, double* transit, double* set);

// Interpolation differences of right ascension (a, b, c) and declination (a', b', c').
struct EventDifferences {
    double a, b, c, ad, bd, cd;
};

// Refines the time `m` (fraction of the day from 0h UT) of a rise or set (riseOrSet) or of a
// transit, and returns it.
double RefineEvent(bool riseOrSet, double zenith, double m, double theta0, double deltaT,
                   const double ra[3], const double dec[3], const EventDifferences& d);
