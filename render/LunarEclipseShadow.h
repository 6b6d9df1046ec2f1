// The Earth's shadow on a picture of the Moon during a lunar eclipse: the penumbra a soft
// darkening, the umbra dark and reddened by the sunlight the Earth's air bends into it.
#pragma once

#include "astro/EclipseGeometry.h"

#include <cstdint>

// Whether any of the Moon lies in the penumbra.
bool LunarEclipseOn(const LunarShadow& shadow);

// The factors the red, green and blue of the Moon are multiplied by at the point `east` and
// `north` radians from the Moon's centre on the sky.
void LunarShadowLight(const LunarShadow& shadow, double east, double north, float rgb[3]);

// Multiplies the colours of `pixels` (size x size, red-green-blue-alpha, rows bottom-up, north
// up and east to the left as the sky is seen), whose Moon is a disc of `discRadius` pixels in
// the middle, by the shadow's factors.
void ShadeLunarEclipse(uint8_t* pixels, int size, double discRadius, const LunarShadow& shadow);
