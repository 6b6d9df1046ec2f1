// The Sun and the Moon at one instant, for the Moon's shadow on the Earth and the Earth's
// shadow on the Moon.
#pragma once

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

// The Earth's shadow at the Moon, seen from the Earth's centre, radians.
struct LunarShadow {
    double moonRadius, umbraRadius, penumbraRadius;  // the enlargement rule's radii at the Moon
    double north, east;  // the shadow's centre from the Moon's centre on the sky (towards north
};                       // and towards east)

LunarShadow LunarShadowAt(const EclipseSky& sky);
