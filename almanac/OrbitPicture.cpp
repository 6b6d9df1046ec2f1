#include "almanac/OrbitPicture.h"

#include "render/TextureArithmetic.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846, kRadians = kPi / 180;

// The inset lies in a flat frame of the view, 7.75 units wide and 5 high about its centre: the
// phase ball, of the Moon's radius, centred at (kInsetX, kInsetY), and the face's square
// 2 * kFaceHalf across on it.
constexpr double kFlatHalfWidth = 3.875, kFlatHalfHeight = 2.5;
constexpr double kInsetX = 3.12, kInsetY = -1.8, kFaceHalf = 0.8;

struct Vec3 {
    double x, y, z;
};

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Normalized(const Vec3& v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0 ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

// A rotation: `v` turned is the rows' dot products with it.
struct Turn {
    Vec3 rows[3];
    Vec3 operator()(const Vec3& v) const { return {Dot(rows[0], v), Dot(rows[1], v), Dot(rows[2], v)}; }
};

// Turns by `degrees` counter-clockwise about an axis, seen from the axis's positive end.
Turn TurnAboutX(double degrees) {
    const double c = std::cos(degrees * kRadians), s = std::sin(degrees * kRadians);
    return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
Turn TurnAboutZ(double degrees) {
    const double c = std::cos(degrees * kRadians), s = std::sin(degrees * kRadians);
    return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

struct Colour {
    double blue, green, red;  // 0 to 255
};

// The map's colour at (s, t), both 0 to 1 (t from the bottom), blended from the four nearest
// texels; s wraps round, t stops at the edges.
Colour Sample(const SurfaceMap& map, double s, double t) {
    const double u = (s - std::floor(s)) * map.width - 0.5;
    const double v = std::clamp(t * map.height - 0.5, 0.0, map.height - 1.0);
    const int u0 = int(std::floor(u)), y0 = int(v);
    const double fu = u - u0, fv = v - y0;
    const int x0 = u0 < 0 ? u0 + map.width : u0, x1 = x0 + 1 < map.width ? x0 + 1 : 0;
    const int y1 = std::min(y0 + 1, map.height - 1);
    const uint8_t* row0 = &map.bgr[size_t(y0) * map.width * 3];
    const uint8_t* row1 = &map.bgr[size_t(y1) * map.width * 3];
    const uint8_t *a = row0 + x0 * 3, *b = row0 + x1 * 3, *c = row1 + x0 * 3, *d = row1 + x1 * 3;
    double out[3];
    for (int k = 0; k < 3; ++k) {
        out[k] = (a[k] + (b[k] - a[k]) * fu) * (1 - fv) + (c[k] + (d[k] - c[k]) * fu) * fv;
    }
    return {out[0], out[1], out[2]};
}

// Lays `colour` over the canvas's pixel (x, y), `cover` of it (0 to 1).
void Blend(PixelCanvas& canvas, int x, int y, const Colour& colour, double cover) {
    uint8_t* p = canvas.pixels + (size_t(y) * canvas.width + x) * 4;
    if (cover >= 1) {
        p[0] = uint8_t(colour.blue + 0.5), p[1] = uint8_t(colour.green + 0.5), p[2] = uint8_t(colour.red + 0.5);
        return;
    }
    const double keep = 1 - cover;
    p[0] = uint8_t(p[0] * keep + colour.blue * cover + 0.5);
    p[1] = uint8_t(p[1] * keep + colour.green * cover + 0.5);
    p[2] = uint8_t(p[2] * keep + colour.red * cover + 0.5);
}

// The pixels of a width x height view that a disc may touch, a pixel's margin round it.
PixelBox BoxAround(const ViewDisc& disc, int width, int height) {
    return {std::max(0, int(std::floor(disc.x - disc.radius - 1))), std::max(0, int(std::floor(disc.y - disc.radius - 1))),
            std::min(width, int(std::ceil(disc.x + disc.radius + 2))), std::min(height, int(std::ceil(disc.y + disc.radius + 2)))};
}

// Visits the pixels of a width x height view that show the ball of `radius` about `centre`
// (the camera's frame) as the scene's camera sees it: each pixel's ray is met with the ball,
// and `visit(x, y, cover, normal)` learns how much of the pixel the ball covers (at the rim, by
// how far in the ray passes) and which way the ball's surface faces there.
template <class Visit>
void ForEachBallPixel(const OrbitScene& scene, int width, int height, const EyePoint& eyeCentre, double radius,
                      const Visit& visit) {
    const PixelBox box = BoxAround(ProjectToView(scene, eyeCentre, radius, width, height), width, height);
    const Vec3 centre{eyeCentre.x, eyeCentre.y, eyeCentre.z};
    const double f = 1 / std::tan(scene.fieldOfView / 2 * kRadians);
    const double aspect = double(width) / height;
    const double centreSquared = Dot(centre, centre);
    const double pixelSize = std::sqrt(centreSquared) * 2 / (f * height);  // at the ball's distance
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const Vec3 ray = Normalized({(2 * (x + 0.5) / width - 1) * aspect / f, (1 - 2 * (y + 0.5) / height) / f, -1});
            const double along = Dot(centre, ray);
            const double missSquared = std::max(0.0, centreSquared - along * along);
            const double miss = std::sqrt(missSquared);  // how far the ray passes from the centre
            const double cover = std::clamp((radius - miss) / pixelSize + 0.5, 0.0, 1.0);
            if (cover <= 0) continue;
            const double distance = miss < radius ? along - std::sqrt(radius * radius - missSquared) : along;
            visit(x, y, cover,
                  Normalized({ray.x * distance - centre.x, ray.y * distance - centre.y, ray.z * distance - centre.z}));
        }
    }
}

Vec3 LightOf(const OrbitScene& scene) { return Normalized({scene.lightX, scene.lightY, scene.lightZ}); }

}  // namespace

PixelBox Union(const PixelBox& a, const PixelBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

SurfaceMap MapForPixels(const uint8_t* bgr, int width, int height, double pixelsAcross) {
    SurfaceMap map{std::vector<uint8_t>(bgr, bgr + size_t(width) * height * 3), width, height};
    while (map.width > 1 && map.width / 2 >= pixelsAcross) {
        map.bgr = HalveImage(map.bgr, map.width, map.height, 3);
        map.width /= 2;
        map.height = std::max(1, map.height / 2);
    }
    return map;
}

ViewDisc OrbitInsetOnView(const OrbitScene& scene, int width, int height) {
    const double unit = height / (2 * kFlatHalfHeight);
    return {(kInsetX + kFlatHalfWidth) / (2 * kFlatHalfWidth) * width,
            (kFlatHalfHeight - kInsetY) / (2 * kFlatHalfHeight) * height, scene.moonRadius * unit};
}

OrbitPainter::OrbitPainter(const OrbitScene& scene, int width, int height, SurfaceMap earthMap, SurfaceMap face)
    : scene_(scene), width_(width), height_(height), earthMap_(std::move(earthMap)) {
    // The Earth: tilted with the scene and on its own tilted axis; the two turns back take a
    // direction of the camera's frame to the map's at the Earth's angle 0.
    const Vec3 light = LightOf(scene);
    const Turn untilt = TurnAboutX(-scene.tilt), unlean = TurnAboutZ(23.5);
    const int mapWidth = earthMap_.width, mapHeight = earthMap_.height;
    ForEachBallPixel(scene, width, height, EarthInEye(scene), scene.earthRadius,
                     [&](int x, int y, double cover, const Vec3& normal) {
                         const Vec3 ground = unlean(untilt(normal));
                         double longitude = std::atan2(-ground.z, ground.x) / (2 * kPi);
                         if (longitude < 0) longitude += 1;
                         const double latitude = std::asin(std::clamp(ground.y, -1.0, 1.0)) / kPi + 0.5;
                         const double v = std::clamp(latitude * mapHeight - 0.5, 0.0, mapHeight - 1.0);
                         const int row = int(v);
                         earth_.push_back({x, y, float(cover), float(std::max(0.0, Dot(normal, light))),
                                           float(longitude), row * mapWidth,
                                           std::min(row + 1, mapHeight - 1) * mapWidth, float(v - row)});
                     });
    earthBox_ = BoxAround(EarthOnView(scene, width, height), width, height);

    // The inset, seen flat: a unit ball scaled to the view, and the face's square over it.
    const ViewDisc at = OrbitInsetOnView(scene, width, height);
    const double unitX = width / (2 * kFlatHalfWidth), unitY = height / (2 * kFlatHalfHeight);
    const double radiusX = scene.moonRadius * unitX, radiusY = scene.moonRadius * unitY;
    const double rim = std::min(radiusX, radiusY);
    insetBox_ = BoxAround({at.x, at.y, std::max(radiusX, radiusY)}, width, height);
    for (int y = insetBox_.top; y < insetBox_.bottom; ++y) {
        for (int x = insetBox_.left; x < insetBox_.right; ++x) {
            const double dx = (x + 0.5 - at.x) / radiusX, dy = (at.y - y - 0.5) / radiusY;
            const double fromCentre = std::sqrt(dx * dx + dy * dy);
            const double cover = std::clamp((1 - fromCentre) * rim + 0.5, 0.0, 1.0);
            if (cover <= 0) continue;
            const Colour c = Sample(face, (dx * scene.moonRadius + kFaceHalf) / (2 * kFaceHalf),
                                    (dy * scene.moonRadius + kFaceHalf) / (2 * kFaceHalf));
            InsetPixel p{x, y, float(cover), float(c.blue), float(c.green), float(c.red), {}, {}};
            // Four points of the pixel, for a smooth terminator.
            // Points past the rim are taken just inside it, where the side facing the viewer
            // decides, as on the rest of the ball (on the rim itself the full Moon's terminator
            // would split them by rounding).
            for (int k = 0; k < 4; ++k) {
                double px = dx + (k % 2 ? 0.25 : -0.25) / radiusX, py = dy + (k / 2 ? 0.25 : -0.25) / radiusY;
                const double out = std::sqrt(px * px + py * py) / 0.999;
                if (out > 1) px /= out, py /= out;
                p.across[k] = float(px);
                p.depth[k] = float(std::sqrt(1 - px * px - py * py));
            }
            inset_.push_back(p);
        }
    }
}

PixelBox OrbitPainter::moonBox(float angle) const {
    return BoxAround(OrbitPointOnView(scene_, angle, scene_.orbitRadius, scene_.moonRadius, width_, height_), width_, height_);
}

void OrbitPainter::drawEarth(PixelCanvas& canvas, float angle) const {
    // Turned by `angle` about its axis, the Earth shows at each pixel the map `angle` further
    // west, blended from the four nearest texels.
    const float turn = angle / 360;
    const int width = earthMap_.width;
    const uint8_t* texels = earthMap_.bgr.data();
    for (const EarthPixel& p : earth_) {
        float longitude = p.longitude - turn;
        if (longitude < 0) longitude += 1;
        const float u = longitude * width - 0.5f;
        int x0 = int(u + 1) - 1;  // rounded down
        const float across = u - x0;
        if (x0 < 0) x0 += width;
        const int x1 = x0 + 1 < width ? x0 + 1 : 0;
        const uint8_t *a = texels + (p.row0 + x0) * 3, *b = texels + (p.row0 + x1) * 3;
        const uint8_t *c = texels + (p.row1 + x0) * 3, *d = texels + (p.row1 + x1) * 3;
        float out[3];
        for (int k = 0; k < 3; ++k) {
            const float above = a[k] + (b[k] - a[k]) * across, below = c[k] + (d[k] - c[k]) * across;
            out[k] = (above + (below - above) * p.belowShare) * p.light;
        }
        Blend(canvas, p.x, p.y, {out[0], out[1], out[2]}, p.cover);
    }
}

void OrbitPainter::drawMoon(PixelCanvas& canvas, float angle) const {
    const Vec3 light = LightOf(scene_);
    ForEachBallPixel(scene_, canvas.width, canvas.height, OrbitPointInEye(scene_, angle, scene_.orbitRadius),
                     scene_.moonRadius, [&](int x, int y, double cover, const Vec3& normal) {
                         const double l = 255 * std::max(0.0, Dot(normal, light));
                         Blend(canvas, x, y, {l, l, l}, cover);
                     });
}

void OrbitPainter::drawInset(PixelCanvas& canvas, float angle) const {
    // Turned as the Moon is seen from the Earth, the half that faces away from the viewer
    // (-z after the turn about the vertical) is the lit one.
    const double turn = (angle - 180) * kRadians, c = std::cos(turn), s = std::sin(turn);
    for (const InsetPixel& p : inset_) {
        int lit = 0;
        for (int k = 0; k < 4; ++k) lit += -p.across[k] * s + p.depth[k] * c < 0;
        const double sunlit = lit / 4.0;
        Blend(canvas, p.x, p.y, {p.blue * sunlit, p.green * sunlit, p.red * sunlit}, p.cover);
    }
}

void OrbitPainter::draw(PixelCanvas& canvas, const OrbitAngles& angles) const {
    const bool moonBehind = OrbitPointInEye(scene_, angles.moon, scene_.orbitRadius).z < EarthInEye(scene_).z;
    if (moonBehind) drawMoon(canvas, angles.moon);
    drawEarth(canvas, angles.earth);
    if (!moonBehind) drawMoon(canvas, angles.moon);
    drawInset(canvas, angles.moon);
}
