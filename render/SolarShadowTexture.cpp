#include "render/SolarShadowTexture.h"

#include "render/EarthTextures.h"
#include "render/SolarEclipseShadow.h"

#include <cmath>

namespace {

constexpr double kEarthRadiusKm = 6378.137;
// The shadow's soft edges may move further than the terminator's sharp detail before it shows.
constexpr double kToleranceFactor = 8;
// Fine enough for the umbra's edge (about a third of a degree); the rest of the shadow is smooth.
constexpr int kWidth = 1024, kHeight = 512;

// The shadow axis's offset from the Earth's centre, across the Sun's direction, in km: where the
// shadow falls, in the Earth's frame.
void ShadowAxis(const EclipseSky& sky, double out[3]) {
    const double sunLength = std::sqrt(sky.sun[0] * sky.sun[0] + sky.sun[1] * sky.sun[1] + sky.sun[2] * sky.sun[2]);
    double along = 0;
    for (int i = 0; i < 3; ++i) along += sky.moon[i] * sky.sun[i] / sunLength;
    for (int i = 0; i < 3; ++i) out[i] = sky.moon[i] - along * sky.sun[i] / sunLength;
}

}  // namespace

void SolarShadowTexture::bind(GLuint name, const EclipseSky& sky, GLint minFilter) {
    glBindTexture(GL_TEXTURE_2D, name);
    double axis[3];
    ShadowAxis(sky, axis);
    const double moved = std::hypot(axis[0] - axis_[0], axis[1] - axis_[1], axis[2] - axis_[2]);
    if (made_ && moved <= tolerance_ * kToleranceFactor * kEarthRadiusKm) return;
    UploadMipmaps(SolarEclipseLightMap(kWidth, kHeight, sky), kWidth, kHeight, GL_RGB);
    SetMapParameters(minFilter);
    for (int i = 0; i < 3; ++i) axis_[i] = axis[i];
    made_ = true;
}
