// Terrestrial Time from UTC, for eclipses only (the rest of the engine takes UTC as ephemeris
// time): leap seconds from a pinned copy of tzdata's leap-seconds.list (its last TAI - UTC held
// past its expiry), and the Espenak-Meeus Delta-T polynomials before 1972.
#pragma once

// TAI - UTC (seconds) at the UTC Julian date; 0 before 1972, the list's last value after it.
double TaiMinusUtc(double utcJd);

// TT - UT (seconds): TAI - UTC + 32.184 from 1972 on, Delta-T before.
double TerrestrialMinusUniversal(double utcJd);

// utcJd + TerrestrialMinusUniversal(utcJd) / 86400.
double TerrestrialTimeOf(double utcJd);

// The UTC Julian date whose Terrestrial Time is `ttJd`.
double UniversalTimeOf(double ttJd);

// The compiled-in copy of data/leap-seconds.list: from `ntpSeconds` (seconds from 1900-01-01
// 00:00 UTC) on, TAI - UTC is `seconds`.
struct LeapSecondStep {
    long long ntpSeconds;
    int seconds;
};
struct LeapSecondTable {
    const LeapSecondStep* steps;
    int count;
    long long expiresNtpSeconds;  // the list's "#@" line
};
LeapSecondTable PinnedLeapSeconds();
