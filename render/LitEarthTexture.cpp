#include "render/LitEarthTexture.h"

#include "app/UserOptions.h"
#include "imagelib/SVShared.h"
#include "render/EarthTextures.h"
#include "render/LitEarthMap.h"
#include "render/ResourceBitmaps.h"
#include "render/SharedImages.h"
#include "render/TextureArithmetic.h"

namespace {

std::vector<uint8_t> RgbOf(unsigned image, int32_t* width, int32_t* height) {
    const unsigned char* pixels = LoadSharedImage(image, width, height);
    if (pixels == nullptr) return {};
    std::vector<uint8_t> rgb(pixels, pixels + std::size_t(*width) * *height * 3);
    swapRedBlue(rgb.data(), *width, *height);
    return rgb;
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

void LitEarthTexture::bind(GLuint name, const float sun[3], uint32_t flags, NightShading shading, GLint minFilter) {
    loadMaps(flags);
    glBindTexture(GL_TEXTURE_2D, name);
    if (lit_ && shading == shading_ && !SunMovedBeyond(sun_, sun, tolerance_)) return;
    UploadMipmaps(LitEarthMap(day_.data(), lights_.empty() ? nullptr : lights_.data(), width_, height_, sun, shading),
                  width_, height_, GL_RGB);
    SetMapParameters(minFilter);
    for (int i = 0; i < 3; ++i) sun_[i] = sun[i];
    shading_ = shading;
    lit_ = true;
}
