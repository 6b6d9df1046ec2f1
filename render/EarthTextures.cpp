#include "render/EarthTextures.h"

#include "app/UserOptions.h"
#include "imagelib/SVShared.h"
#include "render/SharedImages.h"
#include "render/GLTarget.h"
#include "render/ResourceBitmaps.h"
#include "render/TextureArithmetic.h"
#include "res/resource.h"

#include <GL/glext.h>

#include <cstdio>
#include <vector>

namespace {

void SetFilters(GLint minFilter, GLint magFilter, GLint wrap) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

GLint MagnificationFor(GLint minFilter) {
    if (minFilter == GL_LINEAR_MIPMAP_LINEAR) return GL_LINEAR;
    if (minFilter == GL_NEAREST_MIPMAP_NEAREST) return GL_NEAREST;
    return minFilter;
}

void UploadSprite(const unsigned char* bgr, int width, int height, GLint filter) {
    const std::vector<uint8_t> rgba = SpriteRgba(bgr, width, height);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    SetFilters(filter, filter, GL_CLAMP);
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

}  // namespace

bool textureFromImage(unsigned image, GLint minFilter, GLint wrap) {
    int32_t width = 0, height = 0;
    const unsigned char* pixels = LoadSharedImage(image, &width, &height);
    if (pixels == nullptr) return false;
    std::vector<unsigned char> rgb(pixels, pixels + size_t(width) * height * 3);
    swapRedBlue(rgb.data(), width, height);
    UploadMipmaps(std::move(rgb), width, height, GL_RGB);
    SetFilters(minFilter, MagnificationFor(minFilter), wrap);
    return true;
}

unsigned MapsShownWith(uint32_t flags) {
    unsigned maps = (flags & kSimulatedClouds) ? kMapClouds : kMapDay;
    if ((flags & kShowNightShadow) && (flags & kUrbanLighting)) maps |= kMapLights;
    return maps;
}

void initTextures(const GLuint names[kEarthTextureCount], bool best, unsigned maps) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const bool high = isCurrentContextAccelerated() || best;
    const GLint mipmap = high ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    const GLint single = high ? GL_LINEAR : GL_NEAREST;

    if (maps & kMapDay) {
        glBindTexture(GL_TEXTURE_2D, names[kTextureDay]);
        textureFromImage(kImageEarthDay, mipmap, GL_REPEAT);
    }
    if (maps & kMapLights) {
        glBindTexture(GL_TEXTURE_2D, names[kTextureLights]);
        textureFromImage(kImageCityLights, mipmap, GL_REPEAT);
    }

    int32_t width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, names[kTextureSun]);
    if (const unsigned char* sun = LoadSharedImage(kImageSun, &width, &height)) {
        UploadSprite(sun, width, height, single);
    }
    glBindTexture(GL_TEXTURE_2D, names[kTextureMoon]);
    int moonWidth = 0, moonHeight = 0;
    if (const unsigned char* moon = loadResourceBitmap(MoonSurfaceBitmap(), &moonWidth, &moonHeight)) {
        UploadSprite(moon, moonWidth, moonHeight, single);
    }

    glBindTexture(GL_TEXTURE_2D, names[kTextureClouds]);
    int32_t cloudWidth = 0, cloudHeight = 0;
    const unsigned char* clouds = LoadSharedImage(kImageClouds, &cloudWidth, &cloudHeight);
    const unsigned char* day = LoadSharedImage(kImageEarthDay, &width, &height);
    if ((maps & kMapClouds) && clouds != nullptr && day != nullptr) {
        std::vector<uint8_t> composite = CloudsComposite(clouds, cloudWidth, cloudHeight, day, width, height);
        if (!composite.empty()) {
            UploadMipmaps(std::move(composite), width, height, GL_RGB);
            SetFilters(mipmap, MagnificationFor(mipmap), GL_REPEAT);
        } else {
            // Clouds of another size than the day image: the day image without clouds.
            textureFromImage(kImageEarthDay, mipmap, GL_REPEAT);
        }
    }

    glBindTexture(GL_TEXTURE_2D, names[kTexturePanel]);
    // Dark enough that the green time stands out over ice and cloud.
    const unsigned char panel[4] = {0, 0, 72, 170};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, panel);
    SetFilters(GL_NEAREST, GL_NEAREST, GL_REPEAT);

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
}

void UploadMipmaps(std::vector<uint8_t> pixels, int width, int height, GLenum format) {
    const int channels = format == GL_RGBA ? 4 : 3;
    const GLint internal = format == GL_RGBA ? GL_RGBA8 : GL_RGB8;
    for (int level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, internal, width, height, 0, format, GL_UNSIGNED_BYTE,
                     pixels.data());
        if (width == 1 && height == 1) break;
        pixels = HalveImage(pixels, width, height, channels);
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
}

void SetMapParameters(GLint minFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, minFilter == GL_LINEAR_MIPMAP_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, PoleWrap());
}
