// One Earth frame: the lit globe of an instant with its shadow, city lights, grid, home point
// and the Sun and Moon sprites, seen from a viewpoint. Drawn by the Earth view and the
// wallpaper with their own resources.
#pragma once

#include "render/EarthTextures.h"
#include "render/GlobeArrays.h"
#include "render/LitEarthTexture.h"
#include "render/PlaceMarkPainter.h"
#include "render/SolarShadowTexture.h"
#include "render/SceneInputs.h"

#include <cstdint>

class RecursiveLock;

struct SceneResources {
    const GLuint* textures;  // the EarthTextures names
    GLuint gridLists;        // grid, equator, tropics
    GLuint globeList;        // the globe with normals; 0: emit it each time
    const GlobeArrays* globe;
    LitEarthTexture* litEarth;  // the night's lit maps (soft terminator, twilight bands), in textures[kTextureLitEarth]
    SolarShadowTexture* solarShadow;  // the Moon's shadow of a solar eclipse, in textures[kTextureSolarShadow]
    const PlaceMarksOnScene* places = nullptr;  // drawn over everything; none when null
};


// Draws the frame under the current model-view matrix (the camera) with clip plane 0 on; the
// Sun and the Moon are reduced under `engineLock`. Leaves blending on.
void DrawEarthScene(const SceneResources& resources, const SceneInputs& inputs,
                    RecursiveLock& engineLock);
