#include "render/EarthScene.h"

#include "app/UserOptions.h"
#include "astro/Ephemeris.h"
#include "astro/Reduce.h"
#include "platform/RecursiveLock.h"
#include "astro/Eclipses.h"
#include "render/GLDrawing.h"
#include "render/MatrixMath.h"
#include "render/SolarEclipseShadow.h"
#include "render/Viewpoint.h"

#include <cmath>
#include <mutex>

namespace {

struct Directions {
    float sun[3], moon[3];
    float sunFrame[16], sunInverse[16], moonFrame[16], moonInverse[16];
    EclipseSky sky = {};
    bool solarEclipse = false;  // the Moon's shadow falls on the Earth
};

// Apparent direction of a body as OpenGL coordinates (x, z, -y of the equator of date).
void BodyDirection(double jd, int body, float out[3]) {
    double place[6];
    Reduce(jd, body, kApparentGeocentric, place);
    out[0] = float(place[0]);
    out[1] = float(place[2]);
    out[2] = float(-place[1]);
}

// The Moon's shadow can reach the Earth only with the Moon within about 1.6 degrees of the Sun
// seen from the Earth's centre; the cosine of a little more.
constexpr float kSolarEclipseCosine = 0.99939f;  // 2 degrees

float CosineBetween(const float a[3], const float b[3]) {
    const float dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    return dot / std::sqrt((a[0] * a[0] + a[1] * a[1] + a[2] * a[2]) * (b[0] * b[0] + b[1] * b[1] + b[2] * b[2]));
}

// Also whether the Moon's shadow falls on the Earth, and where.
Directions ReduceSunAndMoon(double jd, RecursiveLock& lock) {
    Directions d;
    std::lock_guard<RecursiveLock> hold(lock);
    BodyDirection(jd, kSun, d.sun);
    lookAtFrame(d.sun, d.sunFrame);
    invertMatrix(d.sunFrame, d.sunInverse);
    BodyDirection(jd, kMoon, d.moon);
    lookAtFrame(d.moon, d.moonFrame);
    invertMatrix(d.moonFrame, d.moonInverse);
    if (CosineBetween(d.sun, d.moon) > kSolarEclipseCosine) {
        d.sky = EclipseSkyAt(jd);
        d.solarEclipse = SolarEclipseOnEarth(d.sky);
    }
    return d;
}

void CallGlobe(const SceneResources& r) {
    if (r.globeList != 0) {
        glCallList(r.globeList);
    } else {
        drawGlobeGL(*r.globe);
    }
}

void SetClipPlane(const double plane[4]) {
    glClipPlane(GL_CLIP_PLANE1, plane);
    glEnable(GL_CLIP_PLANE1);
}

void Negate(double plane[4]) {
    for (int i = 0; i < 4; ++i) plane[i] = -plane[i];
}

// The bound map's filter, for the maps a frame makes itself.
GLint BoundMapFilter() {
    GLint filter = GL_NEAREST_MIPMAP_NEAREST;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

// Binds the maps lit for this Sun, filtered as the bound day map is.
void BindLitEarth(const SceneResources& r, const float se[3], uint32_t flags, NightShading shading) {
    r.litEarth->bind(r.textures[kTextureLitEarth], se, flags, shading, BoundMapFilter());
}

// Depth beyond the terminator's plane (units of the 80-unit globe) where the soft shadow's city
// lights begin: about 6 degrees, past the civil twilight band.
constexpr double kLightsDepth = 8.5;

// Night shadow, soft or sharp, with city lights and the twilight bands; leaves `plane` keeping
// the night side.
void DrawShadowPasses(const SceneResources& r, uint32_t flags, bool bands, const float se[3], double plane[4]) {
    if (flags & kRealisticTerminator) {
        BindLitEarth(r, se, flags, bands ? NightShading::kSoftWithBands : NightShading::kSoft);
        glColor3ub(255, 255, 255);
        CallGlobe(r);
        const double night[4] = {-se[0], -se[1], -se[2], -kLightsDepth};
        for (int i = 0; i < 4; ++i) plane[i] = night[i];
        return;
    }
    glColor3ub(255, 255, 255);
    const double day[4] = {se[0], se[1], se[2], 1.0};
    for (int i = 0; i < 4; ++i) plane[i] = day[i];
    SetClipPlane(plane);
    CallGlobe(r);
    Negate(plane);
    SetClipPlane(plane);
    if (bands) {
        BindLitEarth(r, se, flags, NightShading::kSharpBands);
    } else {
        glColor3ub(24, 24, 32);
    }
    CallGlobe(r);
    if (flags & kUrbanLighting) {
        if (bands) {  // as with the soft shadow, the civil band is left without lights
            const double lights[4] = {-se[0], -se[1], -se[2], -kLightsDepth};
            SetClipPlane(lights);
        }
        glBindTexture(GL_TEXTURE_2D, r.textures[kTextureLights]);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
        glColor3ub(255, 255, 255);
        CallGlobe(r);
        glDisable(GL_BLEND);
    }
    glDisable(GL_CLIP_PLANE1);
}

// The Moon's shadow of a solar eclipse over the globe as drawn, whatever its night shadow: the
// globe once more, its colours multiplied by the light the shadow leaves (filtered as `filter`).
void DrawSolarEclipseShadow(const SceneResources& r, const EclipseSky& sky, GLint filter) {
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    r.solarShadow->bind(r.textures[kTextureSolarShadow], sky, filter);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glColor3ub(255, 255, 255);
    CallGlobe(r);
    glPopAttrib();
}

void DrawLines(const SceneResources& r, const GLubyte grid[3], const GLubyte equator[3],
               const GLubyte tropics[3]) {
    glColor3ubv(grid);
    glCallList(r.gridLists);
    glColor3ubv(equator);
    glCallList(r.gridLists + 1);
    glColor3ubv(tropics);
    glCallList(r.gridLists + 2);
}

void DrawMarkers(const SceneResources& r, const SceneInputs& in, double plane[4]) {
    const uint32_t flags = in.displayFlags;
    if (!(flags & (kHighlightHome | kShowGrid))) return;
    glDisable(GL_TEXTURE_2D);
    if (flags & kHighlightHome) {
        // A red dot in a dark ring, about 1/70 of the view's height across (5 pixels at least),
        // just above the surface so that the globe does not cut it.
        float home[3];
        r.globe->mesh().surfacePoint(in.homeLongitude + 180.0, in.homeLatitude, home);
        for (float& c : home) c *= 1.01f;
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const float size = std::max(5.0f, float(viewport[3]) / 70.0f);
        glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_COLOR_BUFFER_BIT);
        glEnable(GL_POINT_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glPointSize(size + 2);
        glColor3ub(40, 0, 0);
        glBegin(GL_POINTS);
        glVertex3fv(home);
        glEnd();
        glPointSize(size);
        glColor3ub(255, 32, 32);
        glBegin(GL_POINTS);
        glVertex3fv(home);
        glEnd();
        glPopAttrib();
    }
    static const GLubyte kDayGrid[3] = {0, 0, 0}, kDayEquator[3] = {224, 0, 0},
                         kDayTropics[3] = {32, 32, 192};
    if ((flags & kShowGrid) && (flags & kShowNightShadow)) {
        static const GLubyte kNightGrid[3] = {32, 32, 32}, kNightEquator[3] = {64, 0, 0},
                             kNightTropics[3] = {16, 16, 64};
        SetClipPlane(plane);
        DrawLines(r, kNightGrid, kNightEquator, kNightTropics);
        Negate(plane);
        SetClipPlane(plane);
        DrawLines(r, kDayGrid, kDayEquator, kDayTropics);
        glDisable(GL_CLIP_PLANE1);
    } else if (flags & kShowGrid) {
        DrawLines(r, kDayGrid, kDayEquator, kDayTropics);
    }
    glEnable(GL_TEXTURE_2D);
}

// A sprite on the globe's surface at the point under `frame`'s z axis.
void DrawSprite(GLuint texture, float theta, const float frame[16], float half) {
    glPushMatrix();
    glRotatef(180 - theta, 0, 1, 0);
    glMultMatrixf(frame);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(1, 0);
    glVertex3f(half, -half, 80);
    glTexCoord2f(1, 1);
    glVertex3f(half, half, 80);
    glTexCoord2f(0, 1);
    glVertex3f(-half, half, 80);
    glTexCoord2f(0, 0);
    glVertex3f(-half, -half, 80);
    glEnd();
    glPopMatrix();
}

}  // namespace

void DrawEarthScene(const SceneResources& r, const SceneInputs& in, RecursiveLock& engineLock) {
    const uint32_t flags = in.displayFlags;
    Directions d = ReduceSunAndMoon(in.julianDate, engineLock);
    const float theta = float(15.0 * in.siderealHours);
    float toEarth[16], se[3];
    rotationMatrix(180 - theta, 0, 1, 0, toEarth);
    rotateVector(toEarth, d.sun, se);

    glPushMatrix();
    float view[16];
    const ViewInputs viewInputs = {in.viewpoint, theta, d.sunInverse, d.moonInverse,
                                   in.homeLatitude, in.homeLongitude, in.drag, in.spinAngle};
    ViewpointMatrix(viewInputs, view);
    glMultMatrixf(view);

    glBindTexture(GL_TEXTURE_2D, r.textures[(flags & kSimulatedClouds) ? kTextureClouds : kTextureDay]);
    const GLint filter = BoundMapFilter();
    double plane[4] = {-se[0], -se[1], -se[2], -1.0};
    if (flags & kShowNightShadow) {
        DrawShadowPasses(r, flags, in.twilightBands, se, plane);
    } else {
        glColor3ub(255, 255, 255);
        CallGlobe(r);
    }
    if (d.solarEclipse) DrawSolarEclipseShadow(r, d.sky, filter);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawMarkers(r, in, plane);
    glColor3ub(255, 255, 255);
    if (flags & kShowSun) DrawSprite(r.textures[kTextureSun], theta, d.sunFrame, 8);
    if (flags & kShowMoon) DrawSprite(r.textures[kTextureMoon], theta, d.moonFrame, 4);
    if (r.places != nullptr && r.places->marks != nullptr) {
        r.places->painter->draw(*r.places->marks, r.globe->mesh().radius(), r.places->keepClear, r.places->dpiScale);
    }
    glPopMatrix();
}
