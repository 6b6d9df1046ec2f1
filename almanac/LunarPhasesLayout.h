// Where the Lunar Phases window draws its texts and pictures, and the illumination line.
#pragma once

#include <string>

struct PhaseEntryPlaces {
    int nameX, nameY;      // the phase's name
    int dateX, dateY;      // its date
    int pictureX, pictureY;  // its 64 x 64 picture
};

// The places of the `entry`th (0 to 3) phase event of the table, for text `charHeight` pixels
// high: the four events stand around the orbit drawn on the window.
PhaseEntryPlaces PhaseEntryPlacesFor(int entry, int charHeight);

// "Illumination: 99.5%": the illuminated fraction in percent with one decimal.
std::string IlluminationText(double percent);
