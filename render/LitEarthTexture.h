// The lit Earth map as a texture of a context, lit again only when the Sun has moved enough to
// show: a frame then draws the lit globe in one pass instead of one for the light and one for
// the city lights.
#pragma once

#include "render/LitEarthMap.h"

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

class LitEarthTexture {
public:
    // How far the Sun may move, in radians seen from the Earth's centre, before the map is lit
    // anew: a quarter of a pixel at the globe's radius for a view; 0 (the default) for a picture.
    void setTolerance(double radians) { tolerance_ = radians; }
    // Binds texture `name` lit for the Sun's direction `sun` in the globe's frame, with the maps
    // `displayFlags` show (clouds, city lights) and the night's `shading`, lighting it anew when
    // needed. `minFilter`: the context's choice for maps.
    void bind(GLuint name, const float sun[3], uint32_t displayFlags, NightShading shading, GLint minFilter);
    // The texture went with its context: the next bind lights it anew.
    void forget() { lit_ = false; }
    // The same, and the maps go too: the next bind loads them anew.
    void release();

private:
    void loadMaps(uint32_t displayFlags);

    double tolerance_ = 0;
    bool lit_ = false;
    float sun_[3] = {};
    NightShading shading_ = NightShading::kSoft;
    uint32_t maps_ = ~0u;  // the flags that chose the maps below
    std::vector<uint8_t> day_, lights_;
    int width_ = 0, height_ = 0;
};
