// The Sun and the Moon at one instant, for the Moon's shadow on the Earth and the Earth's
// shadow on the Moon.
#pragma once

#include "astro/Vector3.h"

class EphemerisReader;

// Geocentric apparent positions in the Earth-fixed frame (x: latitude 0, longitude 0; z: the
// north pole), km; from the ephemeris at Terrestrial Time, rotated by the apparent sidereal
// time of the UTC instant.
struct EclipseSky {
    double sun[3];
    double moon[3];
};

// From the program's reader (the caller holds the engine lock).
EclipseSky EclipseSkyAt(double utcJd);
// From the search's own reader; touches nothing shared. Positions are zero when the reader
// does not cover the instant.
EclipseSky EclipseSkyAt(EphemerisReader& reader, double utcJd);

struct SolarCover {
    double magnitude = 0;    // fraction of the Sun's diameter covered, seen from the site
    double obscuration = 0;  // fraction of the Sun's disc area covered
    bool central = false;    // the Moon's disc wholly inside the Sun's (annular) or over it (total)
    bool sunUp = false;      // the Sun's centre above the site's geometric horizon
};

// Seen from the surface point at geodetic latitude/longitude (degrees, east positive), height 0.
SolarCover SolarCoverAt(const EclipseSky& sky, double latitudeDeg, double longitudeDeg);

// The Sun's and the Moon's discs seen from a site, radians: what SolarCoverAt and the search
// of a site's contacts work from.
struct SolarDiscs {
    double sunRadius = 0;
    double moonRadius = 0;        // by the Moon's mean radius: the partial phase
    double moonUmbralRadius = 0;  // by its umbral radius: the central phase
    double separation = 0;        // of the centres
    double sunAltitude = 0;       // of the Sun's centre above the geometric horizon
};
SolarDiscs SolarDiscsAt(const EclipseSky& sky, double latitudeDeg, double longitudeDeg,
                        double heightMetres);
// The same from an Earth-fixed point (km) with its upward direction.
SolarDiscs SolarDiscsFrom(const EclipseSky& sky, const Vector3& site, const Vector3& up);
SolarCover SolarCoverOf(const SolarDiscs& discs);

// A point on the WGS 84 ellipsoid (Earth-fixed, km) and the upward normal there (geodetic).
Vector3 SurfacePoint(double latitudeDeg, double longitudeDeg, double heightMetres);
Vector3 SurfaceNormal(double latitudeDeg, double longitudeDeg);

// The Earth's shadow at the Moon, seen from the Earth's centre, radians.
struct LunarShadow {
    double moonRadius, umbraRadius, penumbraRadius;  // the enlargement rule's radii at the Moon
    double north, east;  // the shadow's centre from the Moon's centre on the sky (towards north
};                       // and towards east)

LunarShadow LunarShadowAt(const EclipseSky& sky);
