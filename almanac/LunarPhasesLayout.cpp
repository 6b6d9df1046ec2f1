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

uint8_t PhasePictureCoverage(int x, int y, int size) {
    if (x < 0 || y < 0 || x >= size || y >= size) return 0;
    const double centre = size / 2.0, radius = kPhaseBallRadius * size / kPhasePictureSize;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            const double u = (x + (sx + 0.5) / 4 - centre) / radius;
            const double v = (centre - y - (sy + 0.5) / 4) / radius;
            inside += u * u + v * v < 1;
        }
    }
    return uint8_t((inside * 255 + 8) / 16);
}

std::string IlluminationText(double percent) {
    if (!std::isfinite(percent)) percent = 0;
    char text[64];
    std::snprintf(text, sizeof text, "Illumination: %.1f%%", percent);
    return text;
}
