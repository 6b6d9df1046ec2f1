#include "astro/EarthTilt.h"

#include "astro/AstroConstants.h"
#include "astro/JulianDate.h"
#include "astro/NutationSeries.h"
#include "astro/Nutation.h"
#include "astro/Precession.h"

#include <cmath>

namespace {

// The last nutation evaluated by EarthTilt.
struct TiltCache {
    double jd = 0;
    double dpsi = 0;
    double deps = 0;
};
TiltCache tiltCache;

}  // namespace

void EarthTilt(double jd, double* meanObliquity, double* trueObliquity,
               double* equationOfEquinoxes, double* nutationLongitude, double* nutationObliquity) {
    const double t = JulianCenturies(jd);
    if (std::fabs(jd - tiltCache.jd) > 1e-6) {
        NutationAngles(t, &tiltCache.dpsi, &tiltCache.deps);
        tiltCache.jd = jd;
    }
    const double meanArcsec = 84381.448 - 46.815 * t - 0.00059 * t * t + 0.001813 * t * t * t;
    const double trueArcsec = meanArcsec + tiltCache.deps;
    double args[5];
    FundamentalArgs(t, args);
    const double omega = args[4];
    const double meanRadians = meanArcsec / 3600.0 * astro::kDegToRad;
    *meanObliquity = meanArcsec / 3600.0;
    *trueObliquity = trueArcsec / 3600.0;
    *equationOfEquinoxes = (tiltCache.dpsi * std::cos(meanRadians) + 0.00264 * std::sin(omega) +
                            0.000063 * std::sin(2.0 * omega)) / 15.0;
    *nutationLongitude = tiltCache.dpsi;
    *nutationObliquity = tiltCache.deps;
}

void SiderealTime(double jdHigh, double jdLow, double equationOfEquinoxes, double* gst) {
    const double tHigh = (jdHigh - astro::kJ2000) / 36525.0;
    const double tLow = jdLow / 36525.0;
    const double t = tHigh + tLow;
    const double seconds = equationOfEquinoxes - 6.2e-6 * t * t * t + 0.093104 * t * t +
                           67310.54841 + 8640184.812866 * tLow + 3.15576e9 * tLow +
                           8640184.812866 * tHigh + 3.15576e9 * tHigh;
    *gst = std::fmod(seconds / 3600.0, 24.0);
    if (*gst < 0) *gst += 24.0;
}

void SiderealAngle(double jd, int apparent, double* angle) {
    const double t = JulianCenturies(jd);
    const double seconds =
        67310.54841 + 3164400184.812866 * t + 0.093104 * t * t - 6.2e-6 * t * t * t;
    double hours = seconds / 3600.0;
    hours -= 24.0 * std::floor(hours / 24.0);
    double radians = hours * astro::kHourToRad;
    if (apparent == 1) {
        double dpsi, deps, dpsiRate, depsRate, eps, epsRate;
        Nutation(jd, &dpsi, &deps, &dpsiRate, &depsRate);
        Obliquity(astro::kJ2000, jd, 1, &eps, &epsRate);
        radians += std::cos(eps) * dpsi;
    }
    *angle = astro::NormalizeRadians(radians);
}

double LocalSiderealHours(double greenwichSiderealHours, float longitudeDegrees) {
    double t = longitudeDegrees * 0.06666667f + greenwichSiderealHours;
    if (t > 24) t -= 24;
    if (t < 0) t += 24;
    return t;
}
