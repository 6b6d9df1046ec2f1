#include "astro/MoonPhase.h"

#include "platform/MonthNames.h"
#include "res/resource.h"
#include "astro/AstroConstants.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "astro/Reduce.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kSynodicMonth = 29.530588853;
constexpr double kFirstNewMoon = 2451550.09765;  // k = 0, 2000 January 6

// c0 + c1 k + c2 T^2 + c3 T^3 + c4 T^4
struct LunationPolynomial {
    double c0, c1, c2, c3, c4;
    double at(double k, double T) const {
        return c0 + c1 * k + T * T * (c2 + T * (c3 + T * c4));
    }
};

constexpr LunationPolynomial kMeanPhase = {kFirstNewMoon, kSynodicMonth, 0.0001337, -0.00000015,
                                           0.00000000073};
constexpr LunationPolynomial kSunAnomaly = {2.5534, 29.10535669, -0.0000218, -0.00000011, 0};
constexpr LunationPolynomial kMoonAnomaly = {201.5643, 385.81693528, 0.0107438, 0.00001239,
                                             -0.000000058};
constexpr LunationPolynomial kMoonLatitude = {160.7108, 390.67050274, -0.0016341, -0.00000227,
                                              0.000000011};
constexpr LunationPolynomial kNode = {124.7746, -1.5637558, 0.0020691, 0.00000215, 0};

// Periodic terms: multiples of M, M', F, the power of E, and the coefficient for new moon,
// full moon and the quarters.
struct PhaseTerm {
    int m, mPrime, f, ePower;
    double newMoon, fullMoon, quarter;
};

constexpr PhaseTerm kPhaseTerms[25] = {
    {0, 1, 0, 0, -0.4072, -0.40614, -0.62801},  {1, 0, 0, 1, 0.17241, 0.17302, 0.17172},
    {0, 2, 0, 0, 0.01608, 0.01614, 0.00862},    {0, 0, 2, 0, 0.01039, 0.01043, 0.00804},
    {-1, 1, 0, 1, 0.00739, 0.00734, 0.00454},   {1, 1, 0, 1, -0.00514, -0.00515, -0.01183},
    {2, 0, 0, 2, 0.00208, 0.00209, 0.00204},    {0, 1, -2, 0, -0.00111, -0.00111, -0.0018},
    {0, 1, 2, 0, -0.00057, -0.00057, -0.0007},  {1, 2, 0, 1, 0.00056, 0.00056, 0.00027},
    {0, 3, 0, 0, -0.00042, 0.00042, -0.0004},   {1, 0, 2, 1, 0.00042, 0.00042, 0.00032},
    {1, 0, -2, 1, 0.00038, 0.00038, 0.00032},   {-1, 2, 0, 1, -0.00024, -0.00024, -0.00034},
    {2, 1, 0, 0, -0.00007, -0.00007, -0.00028}, {0, 2, -2, 0, 0.00004, 0.00004, 0.00002},
    {3, 0, 0, 0, 0.00004, 0.00004, 0.00003},    {1, 1, -2, 0, 0.00003, 0.00003, 0.00003},
    {0, 2, 2, 0, 0.00003, 0.00003, 0.00004},    {1, 1, 2, 0, -0.00003, -0.00003, -0.00004},
    {-1, 1, 2, 1, 0.00003, 0.00003, 0.00002},   {-1, 1, -2, 0, -0.00002, -0.00002, -0.00005},
    {1, 3, 0, 0, -0.00002, -0.00002, -0.00002}, {0, 4, 0, 0, 0.00002, 0.00002, 0},
    {-2, 1, 0, 0, 0, 0, 0.00004},
};

// Additional terms for all phases: amplitude sin(c0 + c1 k degrees), each argument with its
// own amplitude as Meeus lists them (A1 0.000325 ... A14 0.000023).
struct PlanetaryTerm {
    double c0, c1, amplitude;
};

constexpr PlanetaryTerm kPlanetaryTerms[14] = {
    {299.77, 0.107408, 0.000325}, {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
    {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
    {207.14, 2.453732, 0.000060}, {154.84, 7.30686, 0.000056},  {34.52, 27.261239, 0.000047},
    {207.19, 0.121824, 0.000042}, {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
    {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
};

double Radians(double degrees) { return astro::NormalizeRadians(degrees * astro::kDegToRad); }

void RaDecRadians(double jd, int body, double* ra, double* dec, double* distance) {
    double place[6], raHours, decDegrees;
    Reduce(jd, body, kApparentGeocentric, place);
    VectorToRaDec(place, &raHours, &decDegrees);
    *ra = raHours * 15 * astro::kDegToRad;
    *dec = decDegrees * astro::kDegToRad;
    *distance = std::sqrt(place[0] * place[0] + place[1] * place[1] + place[2] * place[2]);
}

double Length(const double v[6]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

}  // namespace

double MoonIllumination(double jd) {
    double raMoon, decMoon, delta, raSun, decSun, R;
    RaDecRadians(jd, kMoon, &raMoon, &decMoon, &delta);
    RaDecRadians(jd, kSun, &raSun, &decSun, &R);
    double cosPsi = std::cos(raSun - raMoon) * std::cos(decSun) * std::cos(decMoon) +
                    std::sin(decSun) * std::sin(decMoon);
    const double psi = std::acos(std::fmax(-1.0, std::fmin(1.0, cosPsi)));
    const double i = std::atan2(R * std::sin(psi), delta - R * std::cos(psi));
    return (1 + std::cos(i)) * 0.5 * 100;
}

double MoonPhaseAngle(double jd) {
    double MS[6], ES[6], ME[6];
    PlanetState(jd, kMoon, kSun, MS);
    PlanetState(jd, kEarth, kSun, ES);
    PlanetState(jd, kMoon, kEarth, ME);
    const double c = Length(ES), e = Length(MS), f = Length(ME);
    double cosAngle = (f * f + e * e - c * c) / (2 * f * e);
    const double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, cosAngle))) * astro::kRadToDeg;
    return MS[0] * ES[1] - MS[1] * ES[0] >= 0 ? angle : -angle;
}

double PhaseTime(double jd, int phase) {
    double k = std::floor((jd + 1 - kFirstNewMoon) / kSynodicMonth) + 0.25 * phase;
    if (phase == kNewMoon) k += 1;
    const double T = k * 0.0008085054776246109;
    const double M = Radians(kSunAnomaly.at(k, T));
    const double Mp = Radians(kMoonAnomaly.at(k, T));
    const double F = Radians(kMoonLatitude.at(k, T));
    const double omega = Radians(kNode.at(k, T));
    const double E = 1 - T * (0.002516 + 0.0000074 * T);

    double sum = 0;
    for (const PhaseTerm& term : kPhaseTerms) {
        const double coefficient = phase == kNewMoon    ? term.newMoon
                                   : phase == kFullMoon ? term.fullMoon
                                                        : term.quarter;
        sum += coefficient * std::pow(E, term.ePower) *
               std::sin(term.m * M + term.mPrime * Mp + term.f * F);
    }
    double jde = kMeanPhase.at(k, T) - 0.00017 * std::sin(omega) + sum;
    if (phase == kFirstQuarter || phase == kLastQuarter) {
        const double W = 0.00306 - 0.00038 * E * std::cos(M) + 0.00026 * std::cos(Mp) -
                         0.00002 * std::cos(Mp - M) + 0.00002 * std::cos(Mp + M) +
                         0.00002 * std::cos(2 * F);
        jde += phase == kFirstQuarter ? W : -W;
    }
    for (int i = 0; i < 14; ++i) {
        const PlanetaryTerm& term = kPlanetaryTerms[i];
        double degrees = term.c0 + term.c1 * k;
        if (i == 0) degrees += -0.009173 * T * T;
        jde += term.amplitude * std::sin(degrees * astro::kDegToRad);
    }
    return jde;
}

void UpdatePhaseTable(double jd, PhaseTable* table) {
    // The principal phases of the lunations two months either side of the date, in time order
    // (the same event found from two lunations counts once); the table is the last one before
    // the date and the three after it.
    std::vector<PhaseEvent> events;
    for (int month = -2; month <= 2; ++month) {
        for (int phase = 0; phase < 4; ++phase) {
            const PhaseEvent event = {PhaseTime(jd + month * kSynodicMonth, phase), phase};
            const bool known = std::any_of(events.begin(), events.end(), [&](const PhaseEvent& e) {
                return e.phase == event.phase && std::fabs(e.julianDate - event.julianDate) < 1;
            });
            if (!known) events.push_back(event);
        }
    }
    std::sort(events.begin(), events.end(),
              [](const PhaseEvent& a, const PhaseEvent& b) { return a.julianDate < b.julianDate; });
    std::size_t last = 0;
    while (last + 1 < events.size() && events[last + 1].julianDate < jd) ++last;
    for (int i = 0; i < 4; ++i) table->entries[i] = events[std::min(last + i, events.size() - 1)];
}

const char* PhaseName(int phase, int* bitmapId) {
    static const char* const kNames[4] = {"New Moon", "First Quarter", "Full Moon",
                                          "Last Quarter"};
    if (phase < 0 || phase > 2) phase = 3;
    *bitmapId = IDB_PHASE_PICTURES + phase;
    return kNames[phase];
}

std::string PhaseDateLabel(double jd) {
    int year, month, day;
    double hour;
    CalendarDate(jd, &year, &month, &day, &hour);
    return MonthAbbreviation(month) + " " + std::to_string(day);
}
