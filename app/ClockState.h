// The clock state for the home location of the options.
#pragma once

#include "app/UserOptions.h"
#include "astro/AstroState.h"

inline void UpdateAstroState(AstroState& state, const UserOptions& options, CivilClock& clock,
                             bool force) {
    UpdateAstroState(state, options.homeLatitude, options.homeLongitude, clock, force);
}
