// The Moon's phase: illuminated fraction, signed phase angle and the dates of the principal
// phases (Meeus, Astronomical Algorithms, 1st ed., ch. 47).
#pragma once

#include <string>

enum MoonPhaseNumber { kNewMoon = 0, kFirstQuarter = 1, kFullMoon = 2, kLastQuarter = 3 };

struct PhaseEvent {
    double julianDate;
    int phase;
};

// The last principal phase before a date and the three after it, in ascending time.
struct PhaseTable {
    PhaseEvent entries[4];
};

// Illuminated fraction of the Moon's disc, percent.
double MoonIllumination(double jd);

// Signed phase angle, degrees in [-180, 180]: 0 at full moon, +-180 at new moon.
double MoonPhaseAngle(double jd);

// Julian date of the phase `phase` of the lunation around `jd`: a new moon of the next
// lunation, a quarter or full moon of the current one.
double PhaseTime(double jd, int phase);

// Fills `table` with the last phase event before `jd` and the three that follow it.
void UpdatePhaseTable(double jd, PhaseTable* table);

// Name and bitmap resource of a phase (any number above 2 is the last quarter).
const char* PhaseName(int phase, int* bitmapId);

// "Mmm d": the abbreviated month name of the user's locale and the day of jd's calendar date.
std::string PhaseDateLabel(double jd);
