#include "astro/RiseSet.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "astro/Reduce.h"

#include <cmath>

namespace {

constexpr double kSunriseZenith = 1.5853401554517652;   // 90.8333 deg
constexpr double kTwilightZenith = 1.6755160819145565;  // 96 deg
constexpr double kSiderealRate = 6.300388093;           // radians per day
// Converging cases settle within a handful of passes; one that oscillates in the last bit
// keeps its last value.
constexpr int kMaxRefinePasses = 50;

double Fraction(double x) { return x - std::floor(x); }

double IntoDay(double hours) {
    if (hours > 24) hours -= 24;
    if (hours < 0) hours += 24;
    return hours;
}

// The Sun's events for one zenith distance.
void EventsOfDate(int month, int day, int year, double longitude, double latitude,
                  double zenith, double* rise, double* transit, double* set) {
    ObserverSite& site = CurrentObserverSite();
    site.latitude = latitude;
    site.longitude = longitude;
    site.height = 0;
    const double jd0 = JulianDate(int16_t(year), int16_t(month), int16_t(day), 0);
    double ra[3], dec[3];
    for (int i = 0; i < 3; ++i) {
        double place[6], raHours, decDegrees;
        Reduce(jd0 - 1 + i, kSun, kApparentGeocentric, place);
        VectorToRaDec(place, &raHours, &decDegrees);
        ra[i] = raHours * 15 * astro::kDegToRad;
        dec[i] = decDegrees * astro::kDegToRad;
    }
    RiseTransitSet(jd0, ra, dec, zenith, 0, rise, transit, set);
}

}  // namespace

void SunEvents(int month, int day, int year, double longitude, double latitude, double* rise,
               double* transit, double* set) {
    EventsOfDate(month, day, year, longitude, latitude, kSunriseZenith, rise, transit, set);
}

void TwilightEvents(int month, int day, int year, double longitude, double latitude,
                    double* start, double* end) {
    double transit;
    EventsOfDate(month, day, year, longitude, latitude, kTwilightZenith, start, &transit, end);
}

void RiseTransitSet(double jd0, const double raIn[3], const double dec[3], double zenith,
                    double deltaT, double* rise, double* transit, double* set) {
    double ra[3] = {raIn[0], raIn[1], raIn[2]};
    if (ra[1] < ra[0] && ra[1] < ra[2]) {
        ra[1] += astro::kTwoPi;
        ra[2] += astro::kTwoPi;
    } else if (ra[1] > ra[0] && ra[1] > ra[2]) {
        ra[2] += astro::kTwoPi;
    }
    EventDifferences d;
    d.a = ra[1] - ra[0];
    d.b = ra[2] - ra[1];
    d.c = d.b - d.a;
    d.ad = dec[1] - dec[0];
    d.bd = dec[2] - dec[1];
    d.cd = d.bd - d.ad;
    const ObserverSite& site = CurrentObserverSite();
    const double cosH0 = (std::cos(zenith) - std::sin(dec[1]) * std::sin(site.latitude)) /
                         (std::cos(dec[1]) * std::cos(site.latitude));
    double theta0;
    SiderealAngle(jd0, 1, &theta0);
    const double m0 = Fraction((ra[1] - site.longitude - theta0) / astro::kTwoPi);
    if (cosH0 < -1) {
        *rise = kEventMarker;
        *set = -kEventMarker;
    } else if (cosH0 > 1) {
        *rise = -kEventMarker;
        *set = kEventMarker;
    } else {
        const double H0 = std::acos(cosH0);
        const double m1 = Fraction(m0 - H0 / astro::kTwoPi);
        const double m2 = Fraction(m0 + H0 / astro::kTwoPi);
        *rise = IntoDay(24 * RefineEvent(true, zenith, m1, theta0, deltaT, ra, dec, d));
        *set = IntoDay(24 * RefineEvent(true, zenith, m2, theta0, deltaT, ra, dec, d));
    }
    *transit = IntoDay(24 * RefineEvent(false, zenith, m0, theta0, deltaT, ra, dec, d));
}

double RefineEvent(bool riseOrSet, double zenith, double m, double theta0, double deltaT,
                   const double ra[3], const double dec[3], const EventDifferences& d) {
    const ObserverSite& site = CurrentObserverSite();
    for (int pass = 0; pass < kMaxRefinePasses; ++pass) {
        const double theta = astro::NormalizeRadians(theta0 + kSiderealRate * m);
        const double n = m + deltaT * 0.000011574074074074073;
        const double alpha = astro::NormalizeRadians(ra[1] + n / 2 * (d.a + d.b + n * d.c));
        const double delta = dec[1] + n / 2 * (d.ad + d.bd + n * d.cd);
        double H = site.longitude + theta - alpha;
        double dm;
        if (riseOrSet) {
            const double h = std::asin(std::sin(site.latitude) * std::sin(delta) +
                                       std::cos(site.latitude) * std::cos(delta) * std::cos(H));
            dm = (h - (astro::kPi / 2 - zenith)) /
                 (astro::kTwoPi * std::cos(delta) * std::cos(site.latitude) * std::sin(H));
        } else {
            H = astro::NormalizeRadians(H);
            if (H > astro::kPi) H -= astro::kTwoPi;
            dm = -H / astro::kTwoPi;
        }
        m += dm;
        if (!(std::fabs(dm) >= 1e-15)) break;
    }
    return m;
}
