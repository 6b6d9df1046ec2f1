#include "render/GlobeMesh.h"

#include "render/MatrixMath.h"

#include <algorithm>
#include <cmath>

void GlobeMesh::surfacePoint(double longitude, double latitude, float out[3]) const {
    const double lon = longitude * 0.017453292519943295, lat = latitude * 0.017453292519943295;
    out[0] = float(radius_ * std::cos(lat) * std::cos(lon));
    out[1] = float(radius_ * std::sin(lat));
    out[2] = float(-radius_ * std::cos(lat) * std::sin(lon));
}

void GlobeMesh::emit(MeshSink& sink, float s, float t, const float point[3]) const {
    float n[3] = {point[0], point[1], point[2]};
    normalize(n);
    sink.vertex(s, t, point, n);
}

void GlobeMesh::drawGlobe(MeshSink& sink) const {
    const int M = slices_, N = stacks_;
    const float ds = 1.0f / M, dt = 1.0f / N;
    const double dLon = 360.0 / M, dLat = 180.0 / N;
    const float north[3] = {0, radius_, 0}, south[3] = {0, -radius_, 0};
    float p[3], q[3];
    auto band = [&](double lat1, double lat2, float t1, float t2, const float* pole1,
                    const float* pole2) {
        sink.beginStrip();
        for (int i = 0; i <= M; ++i) {
            const float s = i < M ? i * ds : 1.0f;
            const double lon = i < M ? i * dLon : 0.0;
            if (pole1 == nullptr) surfacePoint(lon, lat1, p);
            emit(sink, s, t1, pole1 != nullptr ? pole1 : p);
            if (pole2 == nullptr) surfacePoint(lon, lat2, q);
            emit(sink, s, t2, pole2 != nullptr ? pole2 : q);
        }
        sink.endStrip();
    };
    band(90, 90 - dLat, 1, 1 - dt, north, nullptr);
    for (int g = 1; g <= N - 2; ++g) {
        band(90 - g * dLat, 90 - (g + 1) * dLat, 1 - g * dt, 1 - (g + 1) * dt, nullptr, nullptr);
    }
    band(dLat - 90, -90, dt, 0, nullptr, south);
}

GlobeMesh GlobeMeshForPixels(double radiusPixels, float radius) {
    // A chord of angle a stands (1 - cos(a / 2)) x radius inside the circle.
    constexpr double kPi = 3.14159265358979323846, kLargestGapPixels = 0.25;
    const double halfAngle = radiusPixels > kLargestGapPixels ? std::acos(1 - kLargestGapPixels / radiusPixels) : kPi;
    const int slices = std::clamp(int(std::ceil(kPi / halfAngle)), 24, 180);
    return GlobeMesh((slices + 1) / 2 - 1, slices, radius);
}
