#include "astro/Reduce.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/Ephemeris.h"
#include "astro/Fatal.h"
#include "astro/FrameRotation.h"
#include "astro/Nutation.h"
#include "astro/Precession.h"

#include <cmath>

namespace {

ObserverSite observerSite;

constexpr int kMaxLightTimePasses = 20;  // converges in two or three

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double Length(const double a[3]) { return std::sqrt(Dot(a, a)); }

void Unit(const double a[3], double out[3]) {
    const double length = Length(a);
    for (int i = 0; i < 3; ++i) out[i] = length == 0 ? 0 : a[i] / length;
}

// Geocentric astrometric state P and heliocentric state Q of the body, corrected for light
// time, scaled to the geometric distances.
void LightTime(double jd, int body, const double earthBary[6], double E, double P[6],
               double Q[6]) {
    double tau = 0, geometricP = 0, geometricQ = 0;
    for (int pass = 0;; ++pass) {
        double B[6], S[6];
        GetStateVector(jd - tau, body, kSolarSystemBarycentre, 1, B);
        GetStateVector(jd - tau, kSun, kSolarSystemBarycentre, 1, S);
        for (int k = 0; k < 6; ++k) {
            Q[k] = B[k] - S[k];
            P[k] = B[k] - earthBary[k];
        }
        const double p = Length(P), q = Length(Q);
        if (pass == 0) geometricP = p, geometricQ = q;
        const double delay = p != 0 ? astro::kSunGravityTerm * std::log((E + p + q) / (E + p - q)) : 0;
        const double next = (p + delay) * astro::kLightDaysPerAu;
        if (std::fabs(tau - next) < 1e-9 || pass >= kMaxLightTimePasses) break;
        tau = next;
    }
    const double p = Length(P), q = Length(Q);
    for (int k = 0; k < 3; ++k) {
        if (p != 0) P[k] *= geometricP / p;
        if (q != 0) Q[k] *= geometricQ / q;
    }
}

// Bends the direction of P by the Sun's gravity (heliocentric Earth EH, body Q).
void Deflect(const double EH[3], const double Q[3], double P[3]) {
    double e[3], u[3], q[3];
    Unit(EH, e);
    Unit(P, u);
    Unit(Q, q);
    const double E = Length(EH), distance = Length(P);
    const double uq = Dot(u, q), eu = Dot(e, u), qe = Dot(q, e);
    const double g = astro::kSunGravityTerm / E / (1 + qe);
    for (int i = 0; i < 3; ++i) P[i] = distance * (u[i] + g * (uq * e[i] - eu * q[i]));
}

// Annual aberration for an observer moving with `velocity` (AU per day).
void Aberrate(const double velocity[3], double P[3]) {
    double V[3], u[3];
    for (int i = 0; i < 3; ++i) V[i] = velocity[i] * astro::kLightDaysPerAu;
    Unit(P, u);
    const double distance = Length(P);
    const double p1 = Dot(u, V);
    const double betaInverse = std::sqrt(1 - Dot(V, V));
    const double f = 1 + p1 / (1 + betaInverse);
    for (int i = 0; i < 3; ++i) P[i] = distance * (betaInverse * u[i] + f * V[i]) / (1 + p1);
}

void Precess(double jd, double s[6], int direction) {
    double zeta, z, theta, zetaRate, zRate, thetaRate;
    PrecessionAngles(astro::kJ2000, jd, &zeta, &z, &theta, &zetaRate, &zRate, &thetaRate);
    if (direction > 0) {
        RotateState(s, 3, -zeta, -zetaRate, s);
        RotateState(s, 2, theta, thetaRate, s);
        RotateState(s, 3, -z, -zRate, s);
    } else {
        RotateState(s, 3, z, zRate, s);
        RotateState(s, 2, -theta, -thetaRate, s);
        RotateState(s, 3, zeta, zetaRate, s);
    }
}

void Nutate(double jd, double s[6], int direction) {
    double meanEps, meanEpsRate, trueEps, trueEpsRate, dpsi, deps, dpsiRate, depsRate;
    Obliquity(astro::kJ2000, jd, 0, &meanEps, &meanEpsRate);
    Obliquity(astro::kJ2000, jd, 1, &trueEps, &trueEpsRate);
    Nutation(jd, &dpsi, &deps, &dpsiRate, &depsRate);
    if (direction > 0) {
        RotateState(s, 1, meanEps, meanEpsRate, s);
        RotateState(s, 3, -dpsi, -dpsiRate, s);
        RotateState(s, 1, -trueEps, -trueEpsRate, s);
    } else {
        RotateState(s, 1, trueEps, trueEpsRate, s);
        RotateState(s, 3, dpsi, dpsiRate, s);
        RotateState(s, 1, -meanEps, -meanEpsRate, s);
    }
}

}  // namespace

ObserverSite& CurrentObserverSite() { return observerSite; }

bool Reduce(double jd, int body, int kind, double out[6]) {
    if (body == kEarth || (body >= kSolarSystemBarycentre && body <= kLibrations)) {
        FatalMessage("Reduce: can't perform reduction for specified body.\n");
    }
    if (kind < kApparentGeocentric || kind > kAstrometric) return false;
    double EB[6], EH[6];
    GetStateVector(jd, kEarth, kSolarSystemBarycentre, 1, EB);
    GetStateVector(jd, kEarth, kSun, 1, EH);
    if (kind == kApparentTopocentric || kind == kTopocentricJ2000) {
        double observer[6];
        ObserverState(jd, observer);
        for (int k = 0; k < 6; ++k) EB[k] += observer[k];
    }
    double P[6], Q[6];
    LightTime(jd, body, EB, Length(EH), P, Q);
    if (kind != kAstrometric) {
        Deflect(EH, Q, P);
        Aberrate(EB + 3, P);
    }
    if (kind == kApparentGeocentric || kind == kApparentTopocentric) {
        Precess(jd, P, +1);
        Nutate(jd, P, +1);
    }
    for (int k = 0; k < 6; ++k) out[k] = P[k];
    return true;
}

void ObserverState(double jd, double out[6]) {
    const ObserverSite& site = observerSite;
    const double h = site.height * 0.001 * 6.6845871240557935e-9;
    const double a = 4.2635212465663845e-5;
    const double flattening2 = 0.993305615;
    const double cosLat = std::cos(site.latitude), sinLat = std::sin(site.latitude);
    const double C = 1 / std::sqrt(cosLat * cosLat + flattening2 * sinLat * sinLat);
    double s[6] = {(a * C + h) * cosLat * std::cos(site.longitude),
                   (a * C + h) * cosLat * std::sin(site.longitude),
                   (flattening2 * a * C + h) * sinLat, 0, 0, 0};
    double gast;
    SiderealAngle(jd, 1, &gast);
    RotateState(s, 3, -gast, -6.30038748685432, s);
    Nutate(jd, s, -1);
    Precess(jd, s, -1);
    for (int k = 0; k < 6; ++k) out[k] = s[k];
}

int VectorToRaDec(const double pos[3], double* ra, double* dec) {
    const double x = pos[0], y = pos[1], z = pos[2];
    if (x == 0 && y == 0) {
        *ra = 0;
        *dec = z == 0 ? 0 : (z > 0 ? 90 : -90);
        return z == 0 ? 1 : 2;
    }
    *ra = std::atan2(y, x) * astro::kRadToArcsec / 54000.0;
    if (*ra < 0) *ra += 24;
    *dec = std::atan2(z, std::sqrt(x * x + y * y)) * astro::kRadToArcsec / 3600.0;
    return 0;
}
