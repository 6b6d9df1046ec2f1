#include "render/SolarShadowTexture.h"

#include "astro/EclipseConstants.h"
#include "render/EarthTextures.h"
#include "render/SolarEclipseShadow.h"

namespace {

// The shadow's soft edges may move further than the terminator's sharp detail before it shows.
constexpr double kToleranceFactor = 8;
// Fine enough for the umbra's edge (about a third of a degree); the rest of the shadow is smooth.
constexpr int kWidth = 1024, kHeight = 512;

// The shadow axis's offset from the Earth's centre, across the Sun's direction, in km: where the
// shadow falls, in the Earth's frame.
Vector3 ShadowAxis(const EclipseSky& sky) {
    const Vector3 sun = Vector3(sky.sun).unit(), moon(sky.moon);
    return moon - sun * moon.dot(sun);
}

}  // namespace

void SolarShadowTexture::bind(GLuint name, const EclipseSky& sky, GLint minFilter) {
    glBindTexture(GL_TEXTURE_2D, name);
    const Vector3 axis = ShadowAxis(sky);
    if (made_ && (axis - axis_).length() <= tolerance_ * kToleranceFactor * eclipse::kEarthRadiusKm) return;
    UploadMipmaps(SolarEclipseLightMap(kWidth, kHeight, sky), kWidth, kHeight, GL_RGB);
    SetMapParameters(minFilter);
    axis_ = axis;
    made_ = true;
}
