// Where the Lunar Phases window draws its texts and pictures, and the illumination line.
#pragma once

#include <cstdint>
#include <string>

// The window's banner, across its top, and the orbit view's place below it: the view's top
// rows lie under the banner and are left to it.
constexpr int kLunarBannerHeight = 86;
struct ViewPlace {
    int x, y, width, height;
};
constexpr ViewPlace kOrbitViewPlace = {370, 40, 310, 200};

struct PhaseEntryPlaces {
    int nameX, nameY;      // the phase's name
    int dateX, dateY;      // its date
    int pictureX, pictureY;  // its 64 x 64 picture
};

// The places of the `entry`th (0 to 3) phase event of the table, for text `charHeight` pixels
// high: the four events stand around the orbit drawn on the window.
PhaseEntryPlaces PhaseEntryPlacesFor(int entry, int charHeight);

// The phase pictures: a ball of radius 30 centred in 64 x 64 pixels, black around it. The art
// tool takes 4 x 4 samples a pixel and keeps their mean, samples off the ball counting black.
constexpr int kPhasePictureSize = 64;
constexpr double kPhaseBallRadius = 30;

// The share of pixel (x, y) of a phase picture `size` pixels square (the 64-pixel one, or its
// drawing at twice the size for screens of high DPI) that the ball covers, 0 to 255, from the
// same samples: the picture's colours are the Moon's times that share, so it is their
// premultiplied alpha. 0 outside the picture.
uint8_t PhasePictureCoverage(int x, int y, int size = kPhasePictureSize);

// "Illumination: 99.5%": the illuminated fraction in percent with one decimal.
std::string IlluminationText(double percent);
