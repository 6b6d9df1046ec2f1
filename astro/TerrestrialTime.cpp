#include "astro/TerrestrialTime.h"

#include <cmath>

namespace {

// data/leap-seconds.list, line by line.
constexpr LeapSecondStep kLeapSeconds[] = {
    {2272060800, 10},  // 1 Jan 1972
    {2287785600, 11},  // 1 Jul 1972
    {2303683200, 12},  // 1 Jan 1973
    {2335219200, 13},  // 1 Jan 1974
    {2366755200, 14},  // 1 Jan 1975
    {2398291200, 15},  // 1 Jan 1976
    {2429913600, 16},  // 1 Jan 1977
    {2461449600, 17},  // 1 Jan 1978
    {2492985600, 18},  // 1 Jan 1979
    {2524521600, 19},  // 1 Jan 1980
    {2571782400, 20},  // 1 Jul 1981
    {2603318400, 21},  // 1 Jul 1982
    {2634854400, 22},  // 1 Jul 1983
    {2698012800, 23},  // 1 Jul 1985
    {2776982400, 24},  // 1 Jan 1988
    {2840140800, 25},  // 1 Jan 1990
    {2871676800, 26},  // 1 Jan 1991
    {2918937600, 27},  // 1 Jul 1992
    {2950473600, 28},  // 1 Jul 1993
    {2982009600, 29},  // 1 Jul 1994
    {3029443200, 30},  // 1 Jan 1996
    {3076704000, 31},  // 1 Jul 1997
    {3124137600, 32},  // 1 Jan 1999
    {3345062400, 33},  // 1 Jan 2006
    {3439756800, 34},  // 1 Jan 2009
    {3550089600, 35},  // 1 Jul 2012
    {3644697600, 36},  // 1 Jul 2015
    {3692217600, 37},  // 1 Jan 2017
};
constexpr long long kLeapSecondsExpire = 3991593600;  // 28 Jun 2026

constexpr double kNtpEpochJd = 2415020.5;  // 1900-01-01 00:00 UTC
constexpr double kTtMinusTai = 32.184;

double NtpJd(long long ntpSeconds) { return kNtpEpochJd + ntpSeconds / 86400.0; }

// Decimal year of a Julian date, as the Delta-T polynomials take it.
double DecimalYear(double jd) { return 2000.0 + (jd - 2451544.5) / 365.2425; }

// Delta-T = TT - UT1 (seconds), the polynomials of Espenak and Meeus (NASA, Five Millennium
// Canon of Solar Eclipses, 2006) for the ephemeris's years before the leap-second era
// (1941-1961 and 1961-1986).
double EspenakMeeusDeltaT(double year) {
    if (year < 1961) {
        const double t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    const double t = year - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
}

}  // namespace

LeapSecondTable PinnedLeapSeconds() {
    return {kLeapSeconds, static_cast<int>(sizeof kLeapSeconds / sizeof kLeapSeconds[0]),
            kLeapSecondsExpire};
}

double TaiMinusUtc(double utcJd) {
    int seconds = 0;
    for (const LeapSecondStep& step : kLeapSeconds) {
        if (utcJd >= NtpJd(step.ntpSeconds)) seconds = step.seconds;
    }
    return seconds;
}

// Before 1972 Delta-T itself: it meets the leap-second era within 0.1 s (42.25 s against
// 42.184 s on 1972-01-01). Past the list's expiry TAI - UTC keeps its last value: UTC changes
// it only by a leap second announced in advance, and a clock showing UTC does the same.
double TerrestrialMinusUniversal(double utcJd) {
    const double firstJd = NtpJd(kLeapSeconds[0].ntpSeconds);
    if (!(utcJd >= firstJd)) return EspenakMeeusDeltaT(DecimalYear(utcJd));
    return TaiMinusUtc(utcJd) + kTtMinusTai;
}

double TerrestrialTimeOf(double utcJd) {
    return utcJd + TerrestrialMinusUniversal(utcJd) / 86400.0;
}

// TT - UT changes by at most a second across a leap, so three fixed-point steps settle it (on
// the inserted second itself the later offset wins).
double UniversalTimeOf(double ttJd) {
    double utcJd = ttJd - TerrestrialMinusUniversal(ttJd) / 86400.0;
    for (int pass = 0; pass < 3; ++pass) utcJd = ttJd - TerrestrialMinusUniversal(utcJd) / 86400.0;
    return utcJd;
}
