// The Earth texture set: day, city lights, Sun and Moon sprites, clouds, and the time panel.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>

enum EarthTexture {
    kTextureDay = 1,
    kTextureLights = 2,
    kTextureSun = 3,
    kTextureMoon = 4,
    kTextureClouds = 5,
    kTexturePanel = 6,
    kTextureMoonPhases = 7,  // the wallpaper's phase icons
    kTextureLitEarth = 8,    // the maps lit for the Sun (LitEarthTexture)
    kTextureSolarShadow = 9, // the Moon's shadow of a solar eclipse (SolarShadowTexture)
    kEarthTextureCount = 13,
};

// Which of the large Earth textures to build: all of them where the display options may
// change, only those a picture shows where it is drawn once.
enum EarthMaps : unsigned {
    kMapDay = 1,
    kMapLights = 2,
    kMapClouds = 4,
    kAllMaps = kMapDay | kMapLights | kMapClouds,
};
unsigned MapsShownWith(uint32_t displayFlags);

// Builds entries 1 to 6 of `names` in the current context (of the large maps, those in
// `maps`); nearest filtering unless the context is accelerated or `best` asks for the best
// quality.
void initTextures(const GLuint names[kEarthTextureCount], bool best, unsigned maps = kAllMaps);

// Uploads an image of the image library into the bound texture as a mipmap pyramid.
bool textureFromImage(unsigned image, GLint minFilter, GLint wrap);

#include <cstdint>
#include <vector>

// Uploads an image (sides powers of two; GL_RGB or GL_RGBA) and all its smaller levels into
// the bound texture.
void UploadMipmaps(std::vector<uint8_t> pixels, int width, int height, GLenum format);

// Filters and wraps the bound map of the whole Earth, built with its mipmaps: `minFilter` as the
// context chose, repeated round the Earth, clamped at the poles where OpenGL can.
void SetMapParameters(GLint minFilter);
