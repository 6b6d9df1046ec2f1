#include "render/TwilightBands.h"

namespace {

// The level from each edge on (the day side before the first).
struct BandEdge {
    double depression;  // degrees
    float level;
};
constexpr BandEdge kEdges[] = {{0, 0.5f}, {6, 0.32f}, {12, 0.19f}, {18, 0.0f}};
constexpr double kEdgeWidth = 0.8;  // degrees, half of it each side of an edge (kTwilightBandsFrom, To)

// 0 below -1/2, 1 above 1/2, a smooth S between (flat at both ends).
double SmoothStep(double x) {
    const double t = x + 0.5;
    if (t <= 0) return 0;
    if (t >= 1) return 1;
    return t * t * (3 - 2 * t);
}

}  // namespace

float TwilightBandLevel(double depression) {
    if (!(depression > kTwilightBandsFrom && depression < kTwilightBandsTo)) return 0;
    double level = 0, before = 0;
    for (const BandEdge& edge : kEdges) {
        level += (edge.level - before) * SmoothStep((depression - edge.depression) / kEdgeWidth);
        before = edge.level;
    }
    return float(level);
}
