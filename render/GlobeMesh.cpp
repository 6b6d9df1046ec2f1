#include "render/GlobeMesh.h"

#include "render/MatrixMath.h"

#include <cmath>

float GreyLevel(const float n[3], const float light[3], float gain, float floor) {
    float g = (n[0] * light[0] + n[1] * light[1] + n[2] * light[2] + 0.15f) * gain;
    if (g > 1) g = 1;
    if (!(g >= floor)) g = floor;
    return g;
}

void GlobeMesh::surfacePoint(double longitude, double latitude, float out[3]) const {
    const double lon = longitude * 0.017453292519943295, lat = latitude * 0.017453292519943295;
    out[0] = float(radius_ * std::cos(lat) * std::cos(lon));
    out[1] = float(radius_ * std::sin(lat));
    out[2] = float(-radius_ * std::cos(lat) * std::sin(lon));
}

void GlobeMesh::emit(MeshSink& sink, float s, float t, const float point[3], const float* light,
                     float gain, float floor) const {
    float n[3] = {point[0], point[1], point[2]};
    normalize(n);
    if (light != nullptr) {
        sink.greyVertex(s, t, point, GreyLevel(n, light, gain, floor));
    } else {
        sink.vertex(s, t, point, n);
    }
}

void GlobeMesh::drawGlobe(MeshSink& sink, const float* light, float gain, float floor) const {
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
            emit(sink, s, t1, pole1 != nullptr ? pole1 : p, light, gain, floor);
            if (pole2 == nullptr) surfacePoint(lon, lat2, q);
            emit(sink, s, t2, pole2 != nullptr ? pole2 : q, light, gain, floor);
        }
        sink.endStrip();
    };
    band(90, 90 - dLat, 1, 1 - dt, north, nullptr);
    for (int g = 1; g <= N - 2; ++g) {
        band(90 - g * dLat, 90 - (g + 1) * dLat, 1 - g * dt, 1 - (g + 1) * dt, nullptr, nullptr);
    }
    band(dLat - 90, -90, dt, 0, nullptr, south);
}
