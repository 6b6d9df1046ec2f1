// The Moon's shadow during a solar eclipse as a texture of a context: the light it leaves, laid
// over the globe by multiplying its colours, whatever the night shadow. Worked out anew only when
// the shadow has moved enough to show.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "astro/EclipseGeometry.h"
#include "astro/Vector3.h"

class SolarShadowTexture {
public:
    // How far the shadow may move, in radians seen from the Earth's centre, before it is worked
    // out anew: a fraction of a pixel at the globe's radius for a view; 0 (the default) for a
    // picture.
    void setTolerance(double radians) { tolerance_ = radians; }
    // Binds texture `name` holding the light left under the Moon's shadow of `sky`, working it
    // out anew when needed. `minFilter`: the context's choice for maps.
    void bind(GLuint name, const EclipseSky& sky, GLint minFilter);
    // The texture went with its context: the next bind works it out anew.
    void forget() { made_ = false; }

private:
    double tolerance_ = 0;
    bool made_ = false;
    Vector3 axis_;  // where the shadow's axis passes the Earth's centre, km
};
