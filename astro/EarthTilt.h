// The Earth's orientation of date: obliquity, nutation, equation of the equinoxes and sidereal
// time (IAU 1976/1980/1982).
#pragma once

// Mean and true obliquity (degrees), equation of the equinoxes (seconds of time), nutation in
// longitude and obliquity (arcseconds) at Julian date `jd`. The nutation series is evaluated
// again only when jd moved by more than 1e-6 day since the last call.
void EarthTilt(double jd, double* meanObliquity, double* trueObliquity,
               double* equationOfEquinoxes, double* nutationLongitude, double* nutationObliquity);

// Greenwich sidereal time (hours, [0, 24)) at Julian date jdHigh + jdLow: mean with
// equationOfEquinoxes = 0, apparent with the value from EarthTilt.
void SiderealTime(double jdHigh, double jdLow, double equationOfEquinoxes, double* gst);

// Greenwich sidereal time as an angle (radians, [0, 2 pi)); apparent = 1 adds the equation of
// the equinoxes, any other value gives mean sidereal time.
void SiderealAngle(double jd, int apparent, double* angle);

// Local sidereal time (hours, [0, 24)) at a longitude (degrees, east positive).
double LocalSiderealHours(double greenwichSiderealHours, float longitudeDegrees);
