// Fundamental arguments and the IAU 1980 nutation series, evaluated with few trigonometric calls.
#pragma once

// The Delaunay arguments l, l', F, D, Omega (radians, in [0, 2 pi)) for `t` Julian centuries
// from J2000.0.
void FundamentalArgs(double t, double args[5]);

// Nutation in longitude and in obliquity (arcseconds) for `t` Julian centuries from J2000.0.
void NutationAngles(double t, double* dpsi, double* deps);
