// When a globe already drawn can stand for the current instant: the Earth turns 15 arcseconds
// a second, far less than a pixel, so between the once-a-second redraws of the clock only the
// time display really changes.
#pragma once

#include "render/SceneInputs.h"

// Seconds in which the turning Earth moves a point of a globe of `radiusPixels` by a quarter
// of a pixel.
double GlobeStillSeconds(double radiusPixels);

// Whether the globe drawn for `drawn` still stands for `now`: the same view, options, drag and
// turn, and instants less than GlobeStillSeconds apart.
bool GlobeStillTrue(const SceneInputs& drawn, const SceneInputs& now, double radiusPixels);
