#include "render/LitEarthTexture.h"

#include "app/UserOptions.h"
#include "imagelib/SVShared.h"
#include "render/EarthTextures.h"
#include "render/LitEarthMap.h"
#include "render/ResourceBitmaps.h"
#include "render/SharedImages.h"
#include "render/TextureArithmetic.h"

#include <cmath>

namespace {

std::vector<uint8_t> RgbOf(unsigned image, int32_t* width, int32_t* height) {
    const unsigned char* pixels = LoadSharedImage(image, width, height);
    if (pixels == nullptr) return {};
    std::vector<uint8_t> rgb(pixels, pixels + std::size_t(*width) * *height * 3);
    swapRedBlue(rgb.data(), *width, *height);
    return rgb;
}

double AngleBetween(const float a[3], const float b[3]) {
    const double dot = double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
    const double la = std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]);
    const double lb = std::sqrt(double(b[0]) * b[0] + double(b[1]) * b[1] + double(b[2]) * b[2]);
    const double c = dot / (la * lb);
    return std::acos(c > 1 ? 1 : c < -1 ? -1 : c);
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
    width_ = day_.empty() ? 0 : width;
    height_ = day_.empty() ? 0 : height;
}

void LitEarthTexture::bind(GLuint name, const float sun[3], uint32_t flags, GLint minFilter) {
    loadMaps(flags);
    glBindTexture(GL_TEXTURE_2D, name);
    if (width_ == 0 || (lit_ && AngleBetween(sun, sun_) <= tolerance_)) return;
    UploadMipmaps(LitEarthMap(day_.data(), lights_.empty() ? nullptr : lights_.data(), width_, height_, sun),
                  width_, height_, GL_RGB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                    minFilter == GL_LINEAR_MIPMAP_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    for (int i = 0; i < 3; ++i) sun_[i] = sun[i];
    lit_ = true;
}
