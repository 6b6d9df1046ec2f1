#include "render/LitEarthTexture.h"

#include "app/UserOptions.h"
#include "imagelib/SVShared.h"
#include "render/EarthTextures.h"
#include "render/LitEarthMap.h"
#include "render/ResourceBitmaps.h"
#include "render/SharedImages.h"
#include "render/SolarEclipseShadow.h"
#include "render/TextureArithmetic.h"

#include <GL/glext.h>

#include <cmath>
#include <cstdio>

namespace {

std::vector<uint8_t> RgbOf(unsigned image, int32_t* width, int32_t* height) {
    const unsigned char* pixels = LoadSharedImage(image, width, height);
    if (pixels == nullptr) return {};
    std::vector<uint8_t> rgb(pixels, pixels + std::size_t(*width) * *height * 3);
    swapRedBlue(rgb.data(), *width, *height);
    return rgb;
}

// Clamped to the edge rows from OpenGL 1.2 on: repeated, the poles' smaller mipmap levels would
// blend the north pole's rows with the south pole's, lit quite differently near a solstice.
GLint PoleWrap() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    const bool edgeClamp = version != nullptr && std::sscanf(version, "%d.%d", &major, &minor) == 2 &&
                           (major > 1 || minor >= 2);
    return edgeClamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

constexpr double kEarthRadiusKm = 6378.137;
// The shadow's soft edges move further than the terminator's sharp detail before it shows.
constexpr double kShadowToleranceFactor = 8;

// The shadow axis's offset from the Earth's centre, across the Sun's direction, in km: where the
// shadow falls, in the Earth's frame.
void ShadowAxis(const EclipseSky& sky, double out[3]) {
    const double sunLength = std::sqrt(sky.sun[0] * sky.sun[0] + sky.sun[1] * sky.sun[1] + sky.sun[2] * sky.sun[2]);
    double along = 0;
    for (int i = 0; i < 3; ++i) along += sky.moon[i] * sky.sun[i] / sunLength;
    for (int i = 0; i < 3; ++i) out[i] = sky.moon[i] - along * sky.sun[i] / sunLength;
}

}  // namespace

// The day map (with the clouds over it when shown) and the city lights when shown, red first.
void LitEarthTexture::loadMaps(uint32_t flags) {
    const uint32_t chosen = flags & (kSimulatedClouds | kUrbanLighting);
    if (chosen == maps_) return;
    maps_ = chosen;
    lit_ = false;
    int32_t width = 0, height = 0, cloudWidth = 0, cloudHeight = 0;
    day_.clear();
    if (flags & kSimulatedClouds) {
        const unsigned char* clouds = LoadSharedImage(kImageClouds, &cloudWidth, &cloudHeight);
        const unsigned char* day = LoadSharedImage(kImageEarthDay, &width, &height);
        if (clouds != nullptr && day != nullptr) day_ = CloudsComposite(clouds, cloudWidth, cloudHeight, day, width, height);
    }
    if (day_.empty()) day_ = RgbOf(kImageEarthDay, &width, &height);  // also for clouds of another size
    lights_.clear();
    if (flags & kUrbanLighting) {
        int32_t lightsWidth = 0, lightsHeight = 0;
        lights_ = RgbOf(kImageCityLights, &lightsWidth, &lightsHeight);
        if (lightsWidth != width || lightsHeight != height) lights_.clear();
    }
    if (day_.empty()) {
        // No image library: a white globe, still lit and darkened.
        width = 64, height = 32;
        day_.assign(std::size_t(width) * height * 3, 255);
        lights_.clear();
    }
    width_ = width;
    height_ = height;
}

void LitEarthTexture::release() {
    lit_ = false;
    maps_ = ~0u;
    std::vector<uint8_t>().swap(day_);
    std::vector<uint8_t>().swap(lights_);
}

bool LitEarthTexture::shadowMoved(const EclipseSky* eclipse) const {
    if ((eclipse != nullptr) != shadowed_) return true;
    if (eclipse == nullptr) return false;
    double axis[3];
    ShadowAxis(*eclipse, axis);
    const double moved = std::hypot(axis[0] - shadowAxis_[0], axis[1] - shadowAxis_[1], axis[2] - shadowAxis_[2]);
    return moved > tolerance_ * kShadowToleranceFactor * kEarthRadiusKm;
}

void LitEarthTexture::bind(GLuint name, const float sun[3], uint32_t flags, NightShading shading, GLint minFilter,
                           const EclipseSky* solarEclipse) {
    loadMaps(flags);
    glBindTexture(GL_TEXTURE_2D, name);
    if (lit_ && shading == shading_ && !SunMovedBeyond(sun_, sun, tolerance_) && !shadowMoved(solarEclipse)) return;
    std::vector<uint8_t> lit =
        LitEarthMap(day_.data(), lights_.empty() ? nullptr : lights_.data(), width_, height_, sun, shading);
    if (solarEclipse != nullptr) {
        ShadeSolarEclipse(lit, width_, height_, *solarEclipse);
        ShadowAxis(*solarEclipse, shadowAxis_);
    }
    shadowed_ = solarEclipse != nullptr;
    UploadMipmaps(lit, width_, height_, GL_RGB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                    minFilter == GL_LINEAR_MIPMAP_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, PoleWrap());
    for (int i = 0; i < 3; ++i) sun_[i] = sun[i];
    shading_ = shading;
    lit_ = true;
}
