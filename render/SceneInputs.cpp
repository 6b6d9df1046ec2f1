#include "render/SceneInputs.h"

#include "app/UserOptions.h"
#include "astro/AstroState.h"

SceneInputs SceneOf(const AstroState& astro, const UserOptions& options, bool twilightBands) {
    return {astro.julianDate, astro.greenwichSiderealTime, options.viewpoint, options.displayFlags,
            options.homeLongitude, options.homeLatitude, {}, 0, twilightBands};
}
