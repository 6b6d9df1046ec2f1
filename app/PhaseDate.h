// The Moon-phase selection the lunar phase windows draw: a chosen day's phase angle and the
// phase table of the current instant.
#pragma once

#include "astro/MoonPhase.h"

class CivilClock;
class RecursiveLock;
struct AstroState;
struct UserOptions;

struct PhaseSelection {
    int julianDay = 0;          // whole part of the Julian date at 12h UT of the chosen day
    double dayFraction = 0;     // its fraction
    double phaseAngle = 0;      // signed phase angle at that instant, degrees
    float lightPosition[4] = {0, 0, 1, 0};
};

// Refreshes `state` (forced) and `table` for the current instant and fills `selection` for
// 12h UT of the given date, holding `optionsLock` while the engine runs.
void PreparePhaseDate(int year, int month, int day, AstroState& state, const UserOptions& options,
                      CivilClock& clock, RecursiveLock& optionsLock, PhaseTable* table,
                      PhaseSelection* selection);
