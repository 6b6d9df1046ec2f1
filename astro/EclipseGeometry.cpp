#include "astro/EclipseGeometry.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/EclipseConstants.h"
#include "astro/Ephemeris.h"
#include "astro/FrameRotation.h"
#include "astro/NutationSeries.h"
#include "astro/Precession.h"
#include "astro/TerrestrialTime.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using BodyState = std::function<bool(double jd, int target, int centre, double rrd[6])>;

constexpr double kLightKmPerDay = 299792.458 * 86400.0;

// The apparent geocentric position (km, ICRF) of `body` at TT: its geocentric position at the
// time the light left it. Light time and annual aberration together amount, to first order,
// to taking both the body and the Earth back by the light time.
bool ApparentPosition(const BodyState& state, double au, double ttJd, int body, double out[3]) {
    double rrd[6];
    double tau = 0;
    for (int pass = 0; pass < 3; ++pass) {
        if (!state(ttJd - tau, body, kEarth, rrd)) return false;
        tau = Vector3(rrd).length() * au / kLightKmPerDay;
    }
    for (int i = 0; i < 3; ++i) out[i] = rrd[i] * au;
    return true;
}

// The turn from ICRF to the Earth-fixed frame at one instant: IAU 1976 precession and IAU 1980
// nutation at TT, then the apparent sidereal time of the UT instant; worked out once for both
// bodies. Pure functions only: the search thread uses this too.
class EarthFixedTurn {
public:
    EarthFixedTurn(double ttJd, double utJd) {
        double rates[3], meanEpsRate, deps;
        PrecessionAngles(astro::kJ2000, ttJd, &zeta_, &z_, &theta_, &rates[0], &rates[1], &rates[2]);
        Obliquity(astro::kJ2000, ttJd, 0, &meanEps_, &meanEpsRate);
        NutationAngles((ttJd - astro::kJ2000) / 36525.0, &dpsi_, &deps);
        trueEps_ = meanEps_ + deps * astro::kArcsecToRad;
        SiderealTime(utJd, 0, dpsi_ * std::cos(meanEps_) / 15.0, &gst_);
    }
    void apply(double p[3]) const {
        double s[6] = {p[0], p[1], p[2], 0, 0, 0};
        RotateState(s, 3, -zeta_, 0, s);
        RotateState(s, 2, theta_, 0, s);
        RotateState(s, 3, -z_, 0, s);
        RotateState(s, 1, meanEps_, 0, s);
        RotateState(s, 3, -dpsi_ * astro::kArcsecToRad, 0, s);
        RotateState(s, 1, -trueEps_, 0, s);
        RotateState(s, 3, gst_ * astro::kHourToRad, 0, s);
        for (int i = 0; i < 3; ++i) p[i] = s[i];
    }

private:
    double zeta_, z_, theta_, meanEps_, dpsi_, trueEps_, gst_;
};

EclipseSky SkyFrom(const BodyState& state, double au, double utcJd) {
    EclipseSky sky{};
    const double ttJd = TerrestrialTimeOf(utcJd);
    if (!ApparentPosition(state, au, ttJd, kSun, sky.sun) ||
        !ApparentPosition(state, au, ttJd, kMoon, sky.moon)) {
        return EclipseSky{};
    }
    const EarthFixedTurn turn(ttJd, utcJd);
    turn.apply(sky.sun);
    turn.apply(sky.moon);
    return sky;
}

}  // namespace

EclipseSky EclipseSkyAt(double utcJd) {
    const ChebyHeader* header = EphemerisHeader();
    if (header == nullptr) return EclipseSky{};
    const BodyState state = [](double jd, int target, int centre, double rrd[6]) {
        int inside = 0;
        pleph(jd, target, centre, rrd, &inside);
        return inside != 0;
    };
    return SkyFrom(state, header->au, utcJd);
}

EclipseSky EclipseSkyAt(EphemerisReader& reader, double utcJd) {
    if (!reader.isOpen()) return EclipseSky{};
    const BodyState state = [&reader](double jd, int target, int centre, double rrd[6]) {
        return reader.body(jd, target, centre, rrd);
    };
    return SkyFrom(state, reader.header().au, utcJd);
}

Vector3 SurfacePoint(double latitudeDeg, double longitudeDeg, double heightMetres) {
    const double lat = latitudeDeg * astro::kDegToRad, lon = longitudeDeg * astro::kDegToRad;
    const double e2 = eclipse::kFlattening * (2 - eclipse::kFlattening);
    const double n = eclipse::kEarthRadiusKm / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
    const double h = heightMetres / 1000;
    return {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
            (n * (1 - e2) + h) * std::sin(lat)};
}

Vector3 SurfaceNormal(double latitudeDeg, double longitudeDeg) {
    const double lat = latitudeDeg * astro::kDegToRad, lon = longitudeDeg * astro::kDegToRad;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

SolarDiscs SolarDiscsFrom(const EclipseSky& sky, const Vector3& site, const Vector3& up) {
    const Vector3 sun = Vector3(sky.sun) - site, moon = Vector3(sky.moon) - site;
    SolarDiscs discs;
    discs.sunRadius = std::asin(eclipse::kSunRadiusKm / sun.length());
    discs.moonRadius = std::asin(eclipse::kMoonPenumbralK * eclipse::kEarthRadiusKm / moon.length());
    discs.moonUmbralRadius =
        std::asin(eclipse::kMoonUmbralK * eclipse::kEarthRadiusKm / moon.length());
    discs.separation = sun.angleTo(moon);
    discs.sunAltitude = astro::kPi / 2 - sun.angleTo(up);
    return discs;
}

SolarDiscs SolarDiscsAt(const EclipseSky& sky, double latitudeDeg, double longitudeDeg,
                        double heightMetres) {
    return SolarDiscsFrom(sky, SurfacePoint(latitudeDeg, longitudeDeg, heightMetres),
                          SurfaceNormal(latitudeDeg, longitudeDeg));
}

namespace {

// Area common to two discs of radii r and R whose centres are d apart.
double LensArea(double r, double R, double d) {
    if (d >= r + R) return 0;
    if (d <= std::fabs(R - r)) return astro::kPi * std::min(r, R) * std::min(r, R);
    const double a = std::acos(std::clamp((d * d + r * r - R * R) / (2 * d * r), -1.0, 1.0));
    const double b = std::acos(std::clamp((d * d + R * R - r * r) / (2 * d * R), -1.0, 1.0));
    return r * r * (a - std::sin(2 * a) / 2) + R * R * (b - std::sin(2 * b) / 2);
}

}  // namespace

SolarCover SolarCoverOf(const SolarDiscs& discs) {
    SolarCover cover;
    const double s = discs.sunRadius, m = discs.moonRadius, d = discs.separation;
    cover.sunUp = discs.sunAltitude > 0;
    cover.central = d <= std::fabs(discs.moonUmbralRadius - s);
    if (cover.central) {
        // Inside the umbra or antumbra the magnitude is the ratio of the diameters.
        cover.magnitude = discs.moonUmbralRadius / s;
        cover.obscuration = std::min(1.0, cover.magnitude * cover.magnitude);
    } else if (d < s + m) {
        cover.magnitude = (s + m - d) / (2 * s);
        cover.obscuration = LensArea(m, s, d) / (astro::kPi * s * s);
    }
    return cover;
}

SolarCover SolarCoverAt(const EclipseSky& sky, double latitudeDeg, double longitudeDeg) {
    return SolarCoverOf(SolarDiscsAt(sky, latitudeDeg, longitudeDeg, 0));
}

// Danjon's rule, as the NASA canon of lunar eclipses (Espenak and Meeus, 2009) uses it: the
// Earth's radius enlarged by 1/85 for the atmosphere and reduced for the flattening, which
// amounts to 1.01 times the Moon's horizontal parallax in both shadow radii.
LunarShadow LunarShadowAt(const EclipseSky& sky) {
    const Vector3 sun(sky.sun), moon(sky.moon);
    const double moonParallax = std::asin(eclipse::kEarthRadiusKm / moon.length());
    const double sunParallax = std::asin(eclipse::kEarthRadiusKm / sun.length());
    const double sunRadius = std::asin(eclipse::kSunRadiusKm / sun.length());
    LunarShadow shadow;
    shadow.moonRadius =
        std::asin(eclipse::kMoonPenumbralK * eclipse::kEarthRadiusKm / moon.length());
    shadow.umbraRadius = eclipse::kDanjonFactor * moonParallax + sunParallax - sunRadius;
    shadow.penumbraRadius = eclipse::kDanjonFactor * moonParallax + sunParallax + sunRadius;
    // The antisolar point in the Moon's tangent plane, by the Moon's north and east.
    const Vector3 toward = moon.unit(), axis = (sun * -1).unit();
    const Vector3 east = Vector3(0, 0, 1).cross(toward).unit(), north = toward.cross(east);
    const Vector3 offset = axis * (1 / axis.dot(toward)) - toward;
    shadow.north = offset.dot(north);
    shadow.east = offset.dot(east);
    return shadow;
}
