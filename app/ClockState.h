// The clock state for the home location of the options.
#pragma once

#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "astro/JulianDate.h"
#include "platform/CivilClock.h"

inline void UpdateAstroState(AstroState& state, const UserOptions& options, CivilClock& clock,
                             bool force) {
    UpdateAstroState(state, options.homeLatitude, options.homeLongitude, clock, force);
}

// The Julian date of `clock`'s UTC now, to the second.
inline double JulianDateNow(CivilClock& clock) {
    const CivilTime t = clock.utcNow();
    return JulianDate(int16_t(t.year), int16_t(t.month), int16_t(t.day), t.hour + t.minute / 60.0 + t.second / 3600.0);
}
