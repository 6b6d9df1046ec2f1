#include "astro/Eclipses.h"

#include "astro/AstroConstants.h"
#include "astro/EclipseConstants.h"
#include "astro/EclipseGeometry.h"
#include "astro/Ephemeris.h"
#include "astro/MoonPhase.h"
#include "astro/TerrestrialTime.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using Function = std::function<double(double)>;

constexpr double kSecond = 1.0 / 86400;
constexpr double kTolerance = 0.01 * kSecond;
constexpr double kEarthRadius = eclipse::kEarthRadiusKm;

// The minimum of f on [a, b], where f falls and then rises (golden section).
double Minimize(const Function& f, double a, double b) {
    const double g = 0.6180339887498949;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = f(c), fd = f(d);
    while (b - a > kTolerance) {
        if (fc < fd) {
            b = d, d = c, fd = fc;
            c = b - g * (b - a), fc = f(c);
        } else {
            a = c, c = d, fc = fd;
            d = a + g * (b - a), fd = f(d);
        }
    }
    return (a + b) / 2;
}

// A zero of f in [a, b], where f(a) and f(b) differ in sign (bisection).
double Root(const Function& f, double a, double b) {
    const bool negativeAtA = f(a) < 0;
    while (b - a > kTolerance) {
        const double m = (a + b) / 2;
        ((f(m) < 0) == negativeAtA ? a : b) = m;
    }
    return (a + b) / 2;
}

// The Moon's shadow cones at the Earth, in the Earth-fixed frame (km).
struct MoonShadow {
    Vector3 axis;        // unit vector from the Sun's centre through the Moon's
    Vector3 moon;
    Vector3 closest;     // the axis's point nearest the Earth's centre
    double sunMoonKm;    // distance of the centres
    double distance() const { return closest.length(); }
    // The penumbra's and the umbra's radius `z` km beyond the Moon along the axis; the umbra's
    // is negative past the cone's vertex (the antumbra: annular).
    double penumbraRadius(double z) const {
        const double moonRadius = eclipse::kMoonPenumbralK * kEarthRadius;
        const double f = std::asin((eclipse::kSunRadiusKm + moonRadius) / sunMoonKm);
        return (z + moonRadius / std::sin(f)) * std::tan(f);
    }
    double umbraRadius(double z) const {
        const double moonRadius = eclipse::kMoonUmbralK * kEarthRadius;
        const double f = std::asin((eclipse::kSunRadiusKm - moonRadius) / sunMoonKm);
        return (moonRadius / std::sin(f) - z) * std::tan(f);
    }
    double centreDepth() const { return -moon.dot(axis); }  // the Earth's centre beyond the Moon
};

// Stretched, z is scaled by 1 / (1 - f), which turns the ellipsoid into a sphere of the
// equatorial radius: whether and where the shadow touches the Earth is then a question about a
// sphere. Gamma is measured unstretched, as the canon does.
Vector3 Stretch(const double v[3]) { return {v[0], v[1], v[2] / (1 - eclipse::kFlattening)}; }

MoonShadow MoonShadowOf(const EclipseSky& sky, bool stretched) {
    MoonShadow shadow;
    const Vector3 sun = stretched ? Stretch(sky.sun) : Vector3(sky.sun);
    shadow.moon = stretched ? Stretch(sky.moon) : Vector3(sky.moon);
    shadow.sunMoonKm = (shadow.moon - sun).length();
    shadow.axis = (shadow.moon - sun).unit();
    shadow.closest = shadow.moon - shadow.axis * shadow.moon.dot(shadow.axis);
    return shadow;
}

// Depth beyond the Moon at which the axis meets the (stretched) Earth, nearer side.
double PiercingDepth(const MoonShadow& shadow) {
    const double d = shadow.distance();
    return shadow.centreDepth() - std::sqrt(std::max(0.0, kEarthRadius * kEarthRadius - d * d));
}

double UmbraAtSurface(const MoonShadow& shadow) { return shadow.umbraRadius(PiercingDepth(shadow)); }

double LunarDistance(const LunarShadow& s) { return std::hypot(s.north, s.east); }

double Altitude(const Vector3& body, const EclipseHome& home) {
    const Vector3 site = SurfacePoint(home.latitudeDeg, home.longitudeDeg, home.heightMetres);
    return astro::kPi / 2 - (body - site).angleTo(SurfaceNormal(home.latitudeDeg, home.longitudeDeg));
}

class Search {
public:
    Search(EphemerisReader& reader, const EclipseHome& home) : reader_(reader), home_(home) {}

    EclipseSky skyAt(double ttJd) const { return EclipseSkyAt(reader_, UniversalTimeOf(ttJd)); }

    bool solarAround(double newMoonTt, Eclipse* eclipse) const;
    bool lunarAround(double fullMoonTt, Eclipse* eclipse) const;

private:
    void solarHome(double greatestTt, Eclipse* eclipse) const;
    void lunarHome(double greatestTt, Eclipse* eclipse) const;
    // The instant in [first, last] nearest the best `score` while `altitude` > 0, given the
    // unconstrained best at `peak`; NaN when the body never rises in the interval.
    double bestWhileUp(const Function& score, const Function& altitude, double first,
                       double last, double peak) const;
    static EclipseContact contactAt(const char* name, double ttJd, const Function& altitude) {
        return {name, UniversalTimeOf(ttJd), altitude(ttJd) > 0};
    }

    EphemerisReader& reader_;
    EclipseHome home_;
};

// Half a window around a syzygy in which greatest eclipse lies, days.
constexpr double kSyzygyWindow = 0.15;

bool Search::solarAround(double newMoonTt, Eclipse* eclipse) const {
    const MoonShadow nearNew = MoonShadowOf(skyAt(newMoonTt), true);
    if (nearNew.distance() > 1.1 * (kEarthRadius + nearNew.penumbraRadius(nearNew.centreDepth()))) {
        return false;
    }
    // Greatest eclipse: the axis nearest the Earth's centre.
    const auto axisDistance = [&](double tt) { return MoonShadowOf(skyAt(tt), false).distance(); };
    const double greatest =
        Minimize(axisDistance, newMoonTt - kSyzygyWindow, newMoonTt + kSyzygyWindow);
    const EclipseSky sky = skyAt(greatest);
    const MoonShadow plain = MoonShadowOf(sky, false), shadow = MoonShadowOf(sky, true);
    const double depth = shadow.centreDepth();
    const double beyondLimb = shadow.distance() - kEarthRadius;
    if (!SolarEclipseOnEarth(sky)) return false;
    const double umbra = shadow.umbraRadius(depth);

    eclipse->kind = EclipseKind::kSolar;
    eclipse->greatestUtcJd = UniversalTimeOf(greatest);
    eclipse->gamma = std::copysign(plain.distance() / kEarthRadius, plain.closest.z);
    if (beyondLimb < 0) {
        // Central: total where the umbra's vertex lies beyond the surface along the whole
        // central line, annular where it falls short, hybrid when it changes on the way.
        const auto outside = [&](double tt) {
            return MoonShadowOf(skyAt(tt), true).distance() - kEarthRadius;
        };
        const double begins = Root(outside, greatest - kSyzygyWindow, greatest);
        const double ends = Root(outside, greatest, greatest + kSyzygyWindow);
        int total = 0, annular = 0;
        constexpr int kSteps = 48;
        for (int i = 0; i <= kSteps; ++i) {
            const double tt = begins + (ends - begins) * i / kSteps;
            (UmbraAtSurface(MoonShadowOf(skyAt(tt), true)) > 0 ? total : annular)++;
        }
        eclipse->type = annular == 0 ? EclipseType::kTotal
                        : total == 0 ? EclipseType::kAnnular
                                     : EclipseType::kHybrid;
    } else {
        // Not central: total or annular while the umbra or antumbra still grazes the Earth.
        eclipse->type = beyondLimb < std::fabs(umbra)
                            ? (umbra > 0 ? EclipseType::kTotal : EclipseType::kAnnular)
                            : EclipseType::kPartial;
    }
    // The magnitude seen from the point of greatest eclipse (under the axis when it meets the
    // Earth, else the point of the limb nearest the axis): the ratio of the diameters on the
    // axis, else the fraction of the Sun's diameter covered there (by the umbral radius when
    // the umbra or antumbra grazes the limb, as the canon has it).
    const Vector3 point = beyondLimb < 0 ? shadow.moon + shadow.axis * PiercingDepth(shadow)
                                         : shadow.closest * (kEarthRadius / shadow.distance());
    const Vector3 ground(point.x, point.y, point.z * (1 - eclipse::kFlattening));
    const SolarDiscs discs = SolarDiscsFrom(sky, ground, ground.unit());
    const double s = discs.sunRadius, umbral = discs.moonUmbralRadius;
    if (beyondLimb < 0) {
        eclipse->magnitude = umbral / s;
    } else if (eclipse->type == EclipseType::kPartial) {
        eclipse->magnitude = SolarCoverOf(discs).magnitude;
    } else {
        eclipse->magnitude = (s + umbral - discs.separation) / (2 * s);
    }
    solarHome(greatest, eclipse);
    return true;
}

double Search::bestWhileUp(const Function& score, const Function& altitude, double first,
                           double last, double peak) const {
    if (altitude(peak) > 0) return peak;
    // The altitude every two minutes, at the peak (below the horizon) and at its highest, so
    // that a stretch above the horizon shorter than a step is not missed: the best while up
    // is where the body crosses the horizon.
    constexpr double kStep = 2.0 / 1440;
    const int steps = std::max(1, static_cast<int>(std::ceil((last - first) / kStep)));
    std::vector<std::pair<double, double>> samples;  // instant, altitude
    for (int i = 0; i <= steps; ++i) {
        const double t = first + (last - first) * i / steps;
        samples.push_back({t, altitude(t)});
    }
    const auto higher = [](const auto& a, const auto& b) { return a.second < b.second; };
    const std::size_t top = std::max_element(samples.begin(), samples.end(), higher) - samples.begin();
    const auto depth = [&](double t) { return -altitude(t); };
    const double summit = Minimize(depth, samples[top > 0 ? top - 1 : top].first,
                                   samples[std::min<std::size_t>(top + 1, steps)].first);
    samples.push_back({summit, altitude(summit)});
    samples.push_back({peak, altitude(peak)});
    std::sort(samples.begin(), samples.end());
    double best = NAN, bestScore = -HUGE_VAL;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if ((samples[i - 1].second > 0) == (samples[i].second > 0)) continue;
        const double edge = Root(altitude, samples[i - 1].first, samples[i].first);
        if (score(edge) > bestScore) best = edge, bestScore = score(edge);
    }
    return best;
}

void Search::solarHome(double greatestTt, Eclipse* eclipse) const {
    const auto discs = [&](double tt) {
        return SolarDiscsAt(skyAt(tt), home_.latitudeDeg, home_.longitudeDeg, home_.heightMetres);
    };
    // Apart by more (positive) or less (negative) than touching, in Sun radii.
    const auto apart = [&](double tt) {
        const SolarDiscs d = discs(tt);
        return (d.separation - d.sunRadius - d.moonRadius) / d.sunRadius;
    };
    constexpr double kStep = 5.0 / 1440, kReach = 4.0 / 24;
    double nearest = greatestTt - kReach;
    for (double t = nearest; t <= greatestTt + kReach; t += kStep) {
        if (apart(t) < apart(nearest)) nearest = t;
    }
    const double peak = Minimize(apart, nearest - kStep, nearest + kStep);
    HomeEclipse& home = eclipse->home;
    if (apart(peak) >= 0) return;
    double before = peak - kStep, after = peak + kStep;
    while (apart(before) < 0) before -= kStep;
    while (apart(after) < 0) after += kStep;
    const double c1 = Root(apart, before, peak), c4 = Root(apart, peak, after);
    const Function altitude = [&](double tt) { return discs(tt).sunAltitude; };
    home.contacts.push_back(contactAt("C1", c1, altitude));
    const auto inner = [&](double tt) {
        const SolarDiscs d = discs(tt);
        return d.separation - std::fabs(d.moonUmbralRadius - d.sunRadius);
    };
    if (inner(peak) < 0) {
        home.contacts.push_back(contactAt("C2", Root(inner, c1, peak), altitude));
        home.contacts.push_back(contactAt("C3", Root(inner, peak, c4), altitude));
    }
    home.contacts.push_back(contactAt("C4", c4, altitude));
    const auto magnitude = [&](double tt) { return -apart(tt); };
    const double maximum = bestWhileUp(magnitude, altitude, c1, c4, peak);
    if (std::isnan(maximum)) return;
    const SolarCover cover = SolarCoverOf(discs(maximum));
    home.visible = true;
    home.maximumUtcJd = UniversalTimeOf(maximum);
    home.magnitude = cover.magnitude;
    home.obscuration = cover.obscuration;
}

bool Search::lunarAround(double fullMoonTt, Eclipse* eclipse) const {
    const LunarShadow nearFull = LunarShadowAt(skyAt(fullMoonTt));
    if (LunarDistance(nearFull) > 1.1 * (nearFull.penumbraRadius + nearFull.moonRadius)) {
        return false;
    }
    // Greatest eclipse: the Moon's centre nearest the shadow's axis.
    const auto distance = [&](double tt) { return LunarDistance(LunarShadowAt(skyAt(tt))); };
    const double greatest =
        Minimize(distance, fullMoonTt - kSyzygyWindow, fullMoonTt + kSyzygyWindow);
    const EclipseSky sky = skyAt(greatest);
    const LunarShadow shadow = LunarShadowAt(sky);
    const double d = LunarDistance(shadow), m = shadow.moonRadius;
    const double penumbral = (shadow.penumbraRadius + m - d) / (2 * m);
    if (penumbral <= 0) return false;
    const double umbral = (shadow.umbraRadius + m - d) / (2 * m);

    eclipse->kind = EclipseKind::kLunar;
    eclipse->type = umbral >= 1   ? EclipseType::kTotal
                    : umbral > 0  ? EclipseType::kPartial
                                  : EclipseType::kPenumbral;
    eclipse->greatestUtcJd = UniversalTimeOf(greatest);
    eclipse->umbralMagnitude = umbral;
    eclipse->penumbralMagnitude = penumbral;
    const double fromAxisKm = Vector3(sky.moon).length() * std::sin(d);
    eclipse->gamma = std::copysign(fromAxisKm / kEarthRadius, -shadow.north);
    lunarHome(greatest, eclipse);
    return true;
}

void Search::lunarHome(double greatestTt, Eclipse* eclipse) const {
    HomeEclipse& home = eclipse->home;
    // Contacts: the Moon's limb on a shadow's edge; `sign` +1 outer, -1 inner contact.
    const auto edge = [&](bool umbra, int sign) {
        return [=](double tt) {
            const LunarShadow s = LunarShadowAt(skyAt(tt));
            return LunarDistance(s) - (umbra ? s.umbraRadius : s.penumbraRadius) -
                   sign * s.moonRadius;
        };
    };
    constexpr double kReach = 0.3;
    struct Phase {
        const char* first;
        const char* last;
        bool umbra;
        int sign;
        bool present;
    };
    const Phase phases[] = {
        {"P1", "P4", false, 1, true},
        {"U1", "U4", true, 1, eclipse->type != EclipseType::kPenumbral},
        {"U2", "U3", true, -1, eclipse->type == EclipseType::kTotal},
    };
    const Function altitude = [&](double tt) { return Altitude(Vector3(skyAt(tt).moon), home_); };
    std::vector<EclipseContact> later;
    double p1 = 0, p4 = 0;
    for (const Phase& phase : phases) {
        if (!phase.present) continue;
        const Function f = edge(phase.umbra, phase.sign);
        const double first = Root(f, greatestTt - kReach, greatestTt);
        const double last = Root(f, greatestTt, greatestTt + kReach);
        home.contacts.push_back(contactAt(phase.first, first, altitude));
        later.insert(later.begin(), contactAt(phase.last, last, altitude));
        if (!phase.umbra) p1 = first, p4 = last;
    }
    home.contacts.insert(home.contacts.end(), later.begin(), later.end());

    const bool penumbral = eclipse->type == EclipseType::kPenumbral;
    const auto magnitude = [&](double tt, bool umbra) {
        const LunarShadow s = LunarShadowAt(skyAt(tt));
        const double radius = umbra ? s.umbraRadius : s.penumbraRadius;
        return (radius + s.moonRadius - LunarDistance(s)) / (2 * s.moonRadius);
    };
    const auto deepest = [&](double tt) { return magnitude(tt, !penumbral); };
    const double maximum = bestWhileUp(deepest, altitude, p1, p4, greatestTt);
    if (std::isnan(maximum)) return;
    home.visible = true;
    home.maximumUtcJd = UniversalTimeOf(maximum);
    // Umbral, or penumbral when home sees only the penumbral phase (as for a penumbral eclipse).
    const double umbral = magnitude(maximum, true);
    home.magnitude = !penumbral && umbral > 0 ? umbral : magnitude(maximum, false);
}

}  // namespace

std::vector<Eclipse> FindEclipses(EphemerisReader& reader, double fromUtcJd, double toUtcJd,
                                  const EclipseHome& home,
                                  const std::function<bool()>& keepGoing) {
    std::vector<Eclipse> found;
    if (!reader.isOpen()) return found;
    // A day's margin inside the file: the searches look up to that far around a syzygy.
    const double firstTt = std::max(TerrestrialTimeOf(fromUtcJd), reader.header().firstDate + 1);
    const double lastTt = std::min(TerrestrialTimeOf(toUtcJd), reader.header().lastDate - 1);
    const Search search(reader, home);
    // Meeus's new and full moons (TT) seed the search, one lunation at a time.
    for (double newMoon = PhaseTime(firstTt - 60, kNewMoon); newMoon < lastTt + 1;
         newMoon = PhaseTime(newMoon, kNewMoon)) {
        if (keepGoing && !keepGoing()) break;
        const double fullMoon = PhaseTime(newMoon, kFullMoon);
        for (const double syzygy : {newMoon, fullMoon}) {
            if (syzygy < firstTt - 1 || syzygy > lastTt + 1) continue;
            if (syzygy - kSyzygyWindow - 0.5 < reader.header().firstDate ||
                syzygy + kSyzygyWindow + 0.5 > reader.header().lastDate) {
                continue;
            }
            Eclipse eclipse{};
            const bool solar = syzygy == newMoon;
            if (!(solar ? search.solarAround(syzygy, &eclipse)
                        : search.lunarAround(syzygy, &eclipse))) {
                continue;
            }
            if (eclipse.greatestUtcJd >= fromUtcJd && eclipse.greatestUtcJd < toUtcJd) {
                found.push_back(eclipse);
            }
        }
    }
    return found;
}

std::vector<Eclipse> EclipsesFrom(EphemerisReader& reader, double fromUtcJd, const EclipseHome& home,
                                  const std::function<bool(const std::vector<Eclipse>&)>& enough,
                                  const std::function<bool()>& keepGoing) {
    constexpr double kYear = 365.25;  // about four eclipses
    std::vector<Eclipse> found;
    for (double from = fromUtcJd; !enough(found) && reader.covers(from); from += kYear) {
        if (keepGoing && !keepGoing()) break;
        const std::vector<Eclipse> more = FindEclipses(reader, from, from + kYear, home, keepGoing);
        found.insert(found.end(), more.begin(), more.end());
    }
    return found;
}

const char* EclipseTypeName(EclipseType type) {
    switch (type) {
    case EclipseType::kPartial: return "partial";
    case EclipseType::kAnnular: return "annular";
    case EclipseType::kTotal: return "total";
    case EclipseType::kHybrid: return "hybrid";
    case EclipseType::kPenumbral: return "penumbral";
    }
    return "partial";
}

bool SolarEclipseOnEarth(const EclipseSky& sky) {
    const MoonShadow shadow = MoonShadowOf(sky, true);
    const double depth = shadow.centreDepth();
    return depth > 0 && shadow.distance() - kEarthRadius < shadow.penumbraRadius(depth);  // NaN: no
}
