#include "astro/Nutation.h"

#include "astro/AstroConstants.h"
#include "astro/Nutation1980Table.h"

#include <cmath>

namespace {

struct NutationCache {
    bool valid = false;
    double jd = 0;
    double dpsi = 0, deps = 0, dpsiRate = 0, depsRate = 0;
};
NutationCache nutationCache;

// A polynomial in T (arcseconds) and its derivative.
struct Argument {
    double c0, c1, c2, c3;
    double value(double t) const { return c0 + t * (c1 + t * (c2 + t * c3)); }
    double rate(double t) const { return c1 + t * (2 * c2 + t * 3 * c3); }
};

constexpr Argument kArguments[5] = {
    {485866.733, 1717915922.633, 31.310, 0.064},   // l
    {1287099.804, 129596581.224, -0.577, -0.012},  // l'
    {335778.877, 1739527263.137, -13.257, 0.011},  // F
    {1072261.307, 1602961601.328, -6.891, 0.019},  // D
    {450160.280, -6962890.539, 7.455, 0.008},      // Omega
};

constexpr double kTermUnitToRadians = 4.84813681109536e-10;  // 0.0001" to radians

}  // namespace

void Nutation(double jd, double* dpsi, double* deps, double* dpsiRate, double* depsRate) {
    if (!nutationCache.valid || jd != nutationCache.jd) {
        const double t = (jd - astro::kJ2000) / 36525.0;
        double arg[5], argRate[5];
        for (int i = 0; i < 5; ++i) {
            arg[i] = kArguments[i].value(t) * astro::kArcsecToRad;
            argRate[i] = kArguments[i].rate(t) * astro::kArcsecPerCenturyToRadPerDay;
        }
        double psi = 0, eps = 0, psiDot = 0, epsDot = 0;
        for (const NutationTerm& term : kNutation1980) {
            double alpha = 0, alphaRate = 0;
            for (int i = 0; i < 5; ++i) {
                alpha += term.multiple[i] * arg[i];
                alphaRate += term.multiple[i] * argRate[i];
            }
            alpha = astro::NormalizeRadians(alpha);
            const double s = std::sin(alpha), c = std::cos(alpha);
            const double a = term.psi + term.psiRate * t, b = term.eps + term.epsRate * t;
            psi += a * s;
            eps += b * c;
            psiDot += a * c * alphaRate + term.psiRate * astro::kCenturiesPerDay * s;
            epsDot += -b * s * alphaRate + term.epsRate * astro::kCenturiesPerDay * c;
        }
        nutationCache = {true, jd, psi * kTermUnitToRadians, eps * kTermUnitToRadians,
                         psiDot * kTermUnitToRadians, epsDot * kTermUnitToRadians};
    }
    *dpsi = nutationCache.dpsi;
    *deps = nutationCache.deps;
    *dpsiRate = nutationCache.dpsiRate;
    *depsRate = nutationCache.depsRate;
}
