// The globe and the grid lines drawn with OpenGL.
#pragma once

#include "render/GlobeArrays.h"

#include <windows.h>

#include <GL/gl.h>

// Draws the globe's strips with their normals and texture coordinates.
void drawGlobeGL(const GlobeArrays& globe);

// The fixed state every Earth frame relies on: no depth test or writes, counter-clockwise front
// faces with back faces culled, smooth 3-pixel points and smooth lines, and the alpha blend
// function (blending itself stays off).
void SetFixedEarthState();

// The camera of an Earth picture of width x height: a 5-degree field of view, looking down -z
// at the globe `distance` units away, the far plane at `farPlane`; clip plane 0 keeps the globe's
// near half.
void SetEarthCamera(int width, int height, double farPlane, float distance);

// Compiles the grid, equator and tropics into lists first, first + 1 and first + 2.
void buildGridLists(GLuint first);
