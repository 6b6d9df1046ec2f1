#include "astro/Precession.h"

#include "astro/AstroConstants.h"
#include "astro/Nutation.h"

void PrecessionAngles(double t0, double t, double* zeta, double* z, double* theta,
                      double* zetaRate, double* zRate, double* thetaRate) {
    const double T = (t0 - astro::kJ2000) / 36525.0;
    const double dt = (t - t0) / 36525.0;
    const double w = 2306.2181 + 1.39656 * T - 0.000139 * T * T;
    const double zetaT2 = 0.30188 - 0.000344 * T, zT2 = 1.09468 + 0.000066 * T;
    const double thetaT1 = 2004.3109 - 0.85330 * T - 0.000217 * T * T;
    const double thetaT2 = -(0.42665 + 0.000217 * T);
    *zeta = (w * dt + zetaT2 * dt * dt + 0.017998 * dt * dt * dt) * astro::kArcsecToRad;
    *z = (w * dt + zT2 * dt * dt + 0.018203 * dt * dt * dt) * astro::kArcsecToRad;
    *theta = (thetaT1 * dt + thetaT2 * dt * dt - 0.041833 * dt * dt * dt) * astro::kArcsecToRad;
    *zetaRate = (w + 2 * zetaT2 * dt + 3 * 0.017998 * dt * dt) *
                astro::kArcsecPerCenturyToRadPerDay;
    *zRate = (w + 2 * zT2 * dt + 3 * 0.018203 * dt * dt) * astro::kArcsecPerCenturyToRadPerDay;
    *thetaRate = (thetaT1 + 2 * thetaT2 * dt - 3 * 0.041833 * dt * dt) *
                 astro::kArcsecPerCenturyToRadPerDay;
}

void Obliquity(double t0, double t, int which, double* eps, double* epsRate) {
    const double T = (t0 - astro::kJ2000) / 36525.0;
    const double dt = (t - t0) / 36525.0;
    const double c1 = -46.8150 - 0.00117 * T + 0.005439 * T * T;
    const double c2 = -0.00059 + 0.005439 * T;
    double arcsec = 84381.448 - 46.8150 * T - 0.00059 * T * T + 0.001813 * T * T * T +
                    c1 * dt + c2 * dt * dt + 0.001813 * dt * dt * dt;
    double rate = (c1 + 2 * c2 * dt + 3 * 0.001813 * dt * dt) * astro::kCenturiesPerDay;
    if (which == 1) {
        double dpsi, deps, dpsiRate, depsRate;
        Nutation(t, &dpsi, &deps, &dpsiRate, &depsRate);
        arcsec += deps * astro::kRadToArcsec;
        rate += depsRate * astro::kRadToArcsec;
    }
    *eps = arcsec * astro::kArcsecToRad;
    *epsRate = rate * astro::kArcsecToRad;
}
