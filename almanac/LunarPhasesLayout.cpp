#include "almanac/LunarPhasesLayout.h"

#include <cmath>
#include <cstdio>

PhaseEntryPlaces PhaseEntryPlacesFor(int entry, int h) {
    switch (entry) {
    case 0: return {270, 135 - 2 * h, 270, 135 - h, 282, 136};
    case 1: return {322, 242 - 2 * h, 322, 242 - h, 320, 242};
    case 2: return {315, 346 - 2 * h, 315, 346 - h, 293, 346};
    default: return {290, 410 + h / 2, 290, 410 + h / 2 + h, 223, 406};
    }
}

std::string IlluminationText(double percent) {
    if (!std::isfinite(percent)) percent = 0;
    char text[64];
    std::snprintf(text, sizeof text, "Illumination: %.1f%%", percent);
    return text;
}
