#include "render/Viewpoint.h"

#include "app/UserOptions.h"
#include "render/MatrixMath.h"

namespace {

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void RotateInPlace(const float m[16], float v[3]) {
    float out[3];
    rotateVector(m, v, out);
    for (int i = 0; i < 3; ++i) v[i] = out[i];
}

// out = a followed (on the right) by a rotation about y.
void ThenRotateY(const float* a, float degrees, float out[16]) {
    float r[16];
    rotationMatrix(degrees, 0, 1, 0, r);
    if (a == nullptr) {
        for (int i = 0; i < 16; ++i) out[i] = r[i];
    } else {
        multiplyMatrix(a, r, out);
    }
}

// The globe seen over a place: tilted by its latitude, turned by its longitude.
void OverPlace(float latitude, float longitude, float out[16]) {
    float tilt[16];
    rotationMatrix(latitude, 1, 0, 0, tilt);
    ThenRotateY(tilt, 90 - longitude, out);
}

}  // namespace

void DragOrientation::matrix(float out[16]) const {
    float x[3];
    Cross(up, forward, x);
    const float* columns[4] = {x, up, forward, offset};
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < 3; ++i) out[c * 4 + i] = columns[c][i];
        out[c * 4 + 3] = c == 3 ? 1.0f : 0.0f;
    }
}

void DragOrientation::drag(int dx, int dy) {
    float r[16];
    rotationMatrix(dy * 0.5f, 1, 0, 0, r);
    RotateInPlace(r, forward);
    RotateInPlace(r, up);
    rotationMatrix(dx * 0.5f, 0, 1, 0, r);
    RotateInPlace(r, forward);
    RotateInPlace(r, up);
}

void DragOrientation::turnHalf() {
    float r[16];
    rotationMatrix(180, up[0], up[1], up[2], r);
    RotateInPlace(r, forward);
}

void DragOrientation::lookOver(float latitude, float longitude) {
    float over[16];
    OverPlace(latitude, longitude, over);
    // The matrix's second and third columns; the first is their cross product.
    for (int i = 0; i < 3; ++i) {
        up[i] = over[4 + i];
        forward[i] = over[8 + i];
    }
}

void ViewpointMatrix(const ViewInputs& in, float out[16]) {
    switch (in.viewpoint) {
    case kViewFromMoon:
        ThenRotateY(in.moonInverse, in.theta + 180, out);
        break;
    case kViewOverHome:
        OverPlace(in.homeLatitude, in.homeLongitude, out);
        break;
    case kViewOverSunrise:
        ThenRotateY(in.sunInverse, in.theta - 90, out);
        break;
    case kViewOverSunset:
        ThenRotateY(in.sunInverse, in.theta + 90, out);
        break;
    case kViewTickingGlobe:
    case kViewSpinningGlobe:
        rotationMatrix(in.spinAngle, 0, 1, 0, out);
        break;
    case kViewMouseDrag:
        for (int i = 0; i < 16; ++i) out[i] = in.drag[i];
        break;
    default:
        ThenRotateY(in.sunInverse, in.theta + 180, out);
        break;
    }
}

float TickAngle(float angle) {
    angle += 1;
    return angle > 360 ? 1.0f : angle;
}

float SpinAngle(float angle, double elapsedSeconds, int speed) {
    angle += float(elapsedSeconds * speed * 1.4);
    return angle > 360 ? speed * 0.033333335f : angle;
}
