// The image library shared by the clock and the screen saver: the large Earth images as
// read-only 24-bit pixels (rows bottom-up, blue-green-red, no padding).
#pragma once

#include <cstdint>

#ifdef SVSHARED_BUILD
#define SVSHARED_API extern "C" __declspec(dllexport)
#else
#define SVSHARED_API extern "C" __declspec(dllimport)
#endif

// Image numbers.
enum SvImage : uint32_t {
    kImageEarthDay = 0,    // 1024 x 512, equirectangular, longitude -180 at the left edge
    kImageCityLights = 1,  // 1024 x 512, same projection
    kImageClouds = 2,      // 1024 x 512, same projection
    kImageSquare = 3,      // 64 x 64
    kImageSun = 4,         // 32 x 32, the Sun marker
};

// The pixels of an image, or null for an unknown number (width and height untouched). The
// pixels belong to the library and stay valid while it is loaded.
SVSHARED_API const unsigned char* svLoadImage(uint32_t image, int32_t* width, int32_t* height);
