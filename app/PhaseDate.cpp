#include "app/PhaseDate.h"

#include "app/ClockState.h"
#include "astro/JulianDate.h"
#include "platform/RecursiveLock.h"

#include <mutex>

void PreparePhaseDate(int year, int month, int day, AstroState& state, const UserOptions& options,
                      CivilClock& clock, RecursiveLock& optionsLock, PhaseTable* table,
                      PhaseSelection* selection) {
    const double jd = JulianDate(int16_t(year), int16_t(month), int16_t(day), 12.0);
    double angle;
    {
        std::lock_guard<RecursiveLock> hold(optionsLock);
        UpdateAstroState(state, options, clock, true);
        UpdatePhaseTable(state.julianDate, table);
        angle = MoonPhaseAngle(jd);
    }
    selection->phaseAngle = angle;
    selection->julianDay = static_cast<int>(jd);
    selection->dayFraction = jd - selection->julianDay;
    const float light[4] = {0, 0, 1, 0};
    for (int i = 0; i < 4; ++i) selection->lightPosition[i] = light[i];
}
