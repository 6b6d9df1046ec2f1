#include "almanac/PhaseInputs.h"

#include "platform/CivilClock.h"

void PrepareToday(const PhaseInputs& in, PhaseTable* table, PhaseSelection* selection) {
    const CivilTime today = in.clock.localNow();
    PreparePhaseDate(today.year, today.month, today.day, in.astro, in.options, in.clock, in.lock, table, selection);
}
