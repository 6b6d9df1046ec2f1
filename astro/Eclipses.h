// Solar and lunar eclipses within the ephemeris's span: greatest eclipse, type, magnitudes and
// what a home location sees.
#pragma once

#include "astro/EclipseGeometry.h"

#include <functional>
#include <vector>

class EphemerisReader;

enum class EclipseKind { kSolar, kLunar };
enum class EclipseType { kPartial, kAnnular, kTotal, kHybrid, kPenumbral };

// A contact: solar "C1".."C4", lunar "P1", "U1", "U2", "U3", "U4", "P4".
struct EclipseContact {
    const char* name;
    double utcJd;
    bool aboveHorizon;  // the Sun's (solar) or the Moon's (lunar) centre above home's geometric
                        // horizon at the contact
};

struct HomeEclipse {
    bool visible = false;                  // some of it seen above home's horizon
    std::vector<EclipseContact> contacts;  // the contacts home has (above the horizon or not), in
                                           // time order
    double maximumUtcJd = 0;               // home's maximum (0 when not visible)
    double magnitude = 0;                  // solar: greatest seen from home; lunar: umbral at
                                           // home's maximum, penumbral when home sees only the
                                           // penumbral phase (or the eclipse is penumbral)
    double obscuration = 0;                // solar only
};

struct Eclipse {
    EclipseKind kind;
    EclipseType type;
    double greatestUtcJd;                                // greatest eclipse, UTC
    double magnitude = 0, gamma = 0;                     // solar magnitude; gamma for both kinds
    double umbralMagnitude = 0, penumbralMagnitude = 0;  // lunar
    HomeEclipse home;
};

struct EclipseHome {
    double latitudeDeg = 0, longitudeDeg = 0, heightMetres = 0;
};

// Every eclipse whose greatest eclipse lies in [fromUtcJd, toUtcJd) (clipped to the reader's
// span), in time order, with home's circumstances. `keepGoing` false stops early (what was found
// so far comes back). Thread-safe: touches only `reader`.
std::vector<Eclipse> FindEclipses(EphemerisReader& reader, double fromUtcJd, double toUtcJd,
                                  const EclipseHome& home,
                                  const std::function<bool()>& keepGoing = {});

// The eclipses from `fromUtcJd` on, in time order, searched a year at a time until `enough` says
// so of those found or the ephemeris ends (so there may be more than enough). `keepGoing` as
// for FindEclipses.
std::vector<Eclipse> EclipsesFrom(EphemerisReader& reader, double fromUtcJd, const EclipseHome& home,
                                  const std::function<bool(const std::vector<Eclipse>&)>& enough,
                                  const std::function<bool()>& keepGoing = {});

// "partial", "annular", "total", "hybrid", "penumbral".
const char* EclipseTypeName(EclipseType type);

// Whether the Moon's penumbra falls on the Earth at the instant of `sky`: a few products, cheap
// enough for every frame.
bool SolarEclipseOnEarth(const EclipseSky& sky);
