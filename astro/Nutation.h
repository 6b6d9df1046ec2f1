// IAU 1980 nutation with its rates, for the reduction of positions.
#pragma once

// Nutation in longitude and obliquity (radians) and their rates (radians per day) at Julian
// date `jd`. The last date's results are kept and returned again for the same date.
void Nutation(double jd, double* dpsi, double* deps, double* dpsiRate, double* depsRate);
