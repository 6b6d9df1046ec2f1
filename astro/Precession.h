// IAU 1976 precession and obliquity of the ecliptic, with rates.
#pragma once

// Precession angles zeta, z, theta (radians) and their rates (radians per day) from epoch t0
// to date t, both Julian dates (Lieske 1977).
void PrecessionAngles(double t0, double t, double* zeta, double* z, double* theta,
                      double* zetaRate, double* zRate, double* thetaRate);

// Mean (which = 0) or true (which = 1) obliquity of the ecliptic at date t (radians) and its
// rate (radians per day); t0 is the epoch of the expression.
void Obliquity(double t0, double t, int which, double* eps, double* epsRate);
