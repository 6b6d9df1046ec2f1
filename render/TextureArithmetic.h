// Per-pixel arithmetic of the Earth textures.
#pragma once

#include <cstdint>
#include <vector>

// Alpha of a sprite pixel: the average of its channels, 0 below 10.
uint8_t SpriteAlpha(uint8_t blue, uint8_t green, uint8_t red);

// A 24-bit blue-green-red image as red-green-blue-alpha with SpriteAlpha.
std::vector<uint8_t> SpriteRgba(const uint8_t* bgr, int width, int height);

// The clouds texture: the cloud image (blue-green-red) over the day image, in red-green-blue
// order. Where the clouds' average brightness is a, q = min(a + 63, 255) / 255 and each
// channel is day x (1 - q) + cloud x q, each product truncated. Empty when the two images
// differ in size.
std::vector<uint8_t> CloudsComposite(const uint8_t* clouds, int cloudsWidth, int cloudsHeight,
                                     const uint8_t* day, int dayWidth, int dayHeight);

// A Moon-phase picture pixel (blue, green, red) as red-green-blue-alpha: opaque from an
// average brightness of 5, else fully transparent black.
void MoonImagePixel(const uint8_t bgr[3], uint8_t rgba[4]);

// The next smaller mipmap level of an image of `channels` bytes a pixel: each pixel the mean
// of a 2 x 2 block (of a 2 x 1 or 1 x 2 block once a side is down to one pixel).
std::vector<uint8_t> HalveImage(const std::vector<uint8_t>& pixels, int width, int height,
                                int channels);
