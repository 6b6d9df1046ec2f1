// A small picture of the Moon as it appears at an instant: a ball lit from the side the phase
// angle gives, with the Moon's face multiplied over it, and the Earth's shadow during a lunar
// eclipse.
#pragma once

#include "astro/EclipseGeometry.h"

#include <cstdint>
#include <vector>

class RecursiveLock;

// size x size pixels, rows bottom-up, red-green-blue-alpha; alpha 255 on the Moon, 0 elsewhere.
// Renders in a context of its own and leaves no context current.
std::vector<uint8_t> renderMoonPhaseImage(double julianDate, int size, RecursiveLock& engineLock);

// The same picture drawn and read back in the current context (its framebuffer must be at
// least size x size), whatever state the context is in; leaves lighting and blending off and
// the default texture bound.
std::vector<uint8_t> moonPhaseImageInCurrentContext(double julianDate, int size,
                                                    RecursiveLock& engineLock);

// Whether the Earth's shadow lies on the Moon at `julianDate` (a lunar eclipse): its pictures
// then show it.
bool MoonShadowedAt(double julianDate, RecursiveLock& engineLock);

// The radius in pixels of the disc of a ball of `ballRadius` at `distance` from the eye, in a
// square picture of `size` pixels whose perspective view spans `viewDegrees`.
double BallDiscRadius(int size, double ballRadius, double distance, double viewDegrees);

// Lays the Earth's shadow of a lunar eclipse (none: nothing) over a picture of the Moon whose
// disc is placed as these pictures have it (the Moon's face art too): size x size pixels,
// red-green-blue-alpha, rows bottom-up.
void ShadeMoonPicture(uint8_t* pixels, int size, const LunarShadow& shadow);
// The Earth's shadow at the Moon at `julianDate` (the caller holds the engine lock).
LunarShadow EarthShadowAt(double julianDate);

// The picture for a signed phase angle in degrees (0 full Moon, +-180 new Moon), in the
// current context as above.
std::vector<uint8_t> moonPictureForPhaseAngle(double phaseAngle, int size);
