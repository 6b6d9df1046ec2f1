// What the Lunar Phases window and its views read: the clock state, the options, the clock,
// and the lock that guards the first two.
#pragma once

#include "app/PhaseDate.h"

class CivilClock;
class RecursiveLock;
struct AstroState;
struct UserOptions;

struct PhaseInputs {
    AstroState& astro;
    const UserOptions& options;
    CivilClock& clock;
    RecursiveLock& lock;
};

// Brings the clock state and `table` up to now and fills `selection` for noon of today's
// local date.
void PrepareToday(const PhaseInputs& in, PhaseTable* table, PhaseSelection* selection);
