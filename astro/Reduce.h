// Apparent places of the Sun and the Moon: light time, deflection of light by the Sun,
// aberration, precession (IAU 1976) and nutation (IAU 1980), after the USNO reduction.
#pragma once

// Kinds of place.
enum PlaceKind {
    kApparentGeocentric = 1,
    kApparentTopocentric = 2,
    kGeocentricJ2000 = 3,    // light time, deflection, aberration; no precession or nutation
    kTopocentricJ2000 = 4,
    kAstrometric = 5,        // light time only
};

// The observer for topocentric places: geodetic latitude and longitude (radians, east
// positive) and height (metres).
struct ObserverSite {
    double latitude = 0;
    double longitude = 0;
    double height = 0;
};
ObserverSite& CurrentObserverSite();

// The place of `body` (ephemeris body number) at Julian date `jd`: out[0..2] position (AU),
// out[3..5] velocity (AU per day), of the frame the kind asks for. Bodies 3 and 12..15 cannot
// be reduced and end the process; a kind above 5 gives no result (false).
bool Reduce(double jd, int body, int kind, double out[6]);

// The observer's geocentric state in the J2000 frame.
void ObserverState(double jd, double out[6]);

// Right ascension (hours, [0, 24)) and declination (degrees) of a position. Returns 0, or 1
// for the zero vector (both 0), or 2 on the pole axis (ra 0, dec +-90).
int VectorToRaDec(const double pos[3], double* ra, double* dec);
