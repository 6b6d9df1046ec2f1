#include "render/MoonPhaseImage.h"

#include "astro/MoonPhase.h"
#include "platform/RecursiveLock.h"
#include "render/EarthTextures.h"
#include "render/GLDrawing.h"
#include "render/GLTarget.h"
#include "render/LunarEclipseShadow.h"
#include "render/ReadPixels.h"
#include "render/ResourceBitmaps.h"
#include "render/TextureArithmetic.h"
#include "res/resource.h"

#include <GL/glu.h>

#include <cmath>
#include <mutex>

namespace {

// The ball of DrawMoon: its radius, its distance from the eye and the view's angle.
constexpr double kBallRadius = 0.4, kBallDistance = 1.78, kViewDegrees = 30;


// Draws the lit Moon into the bottom-left size x size corner of the current surface, touching
// no pixel outside it: first the ball, untextured and lit from the phase angle's side, then
// the Moon's face multiplied over it. The face goes into a texture of its own, so that no
// texture of the caller is overwritten.
void DrawMoon(int size, double phaseAngle) {
    glViewport(0, 0, size, size);
    glScissor(0, 0, size, size);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CLIP_PLANE0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kViewDegrees, 1, 1, 5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat ambient[4] = {0.4f, 0.4f, 0.4f, 0}, diffuse[4] = {1, 1, 1, 0},
                  specular[4] = {0.94f, 0.94f, 1.0f, 0};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glColor3f(1, 1, 1);
    const GlobeArrays ball(GlobeMesh(43, 63, float(kBallRadius)));

    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glPushMatrix();
    glRotated(phaseAngle, 0, 1, 0);
    const GLfloat position[4] = {0, 0, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glTranslatef(0, 0, -float(kBallDistance));
    glRotatef(90, 0, 1, 0);
    drawGlobeGL(ball);
    glDisable(GL_LIGHTING);

    GLuint face = 0;
    glGenTextures(1, &face);
    glBindTexture(GL_TEXTURE_2D, face);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    textureFromResource(MoonSurfaceBitmap(), GL_LINEAR, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, size, 0, size);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(float(size), 0);
    glTexCoord2f(1, 1);
    glVertex2f(float(size), float(size));
    glTexCoord2f(0, 1);
    glVertex2f(0, float(size));
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &face);
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

std::vector<uint8_t> moonPhaseImageInCurrentContext(double julianDate, int size,
                                                    RecursiveLock& engineLock) {
    double phaseAngle;
    LunarShadow shadow;
    {
        std::lock_guard<RecursiveLock> hold(engineLock);
        phaseAngle = MoonPhaseAngle(julianDate);
        shadow = EarthShadowAt(julianDate);
    }
    std::vector<uint8_t> image = moonPictureForPhaseAngle(phaseAngle, size);
    ShadeMoonPicture(image.data(), size, shadow);
    return image;
}

double BallDiscRadius(int size, double ballRadius, double distance, double viewDegrees) {
    const double halfView = viewDegrees / 2 * 3.14159265358979323846 / 180;
    return size / 2.0 * std::tan(std::asin(ballRadius / distance)) / std::tan(halfView);
}

void ShadeMoonPicture(uint8_t* pixels, int size, const LunarShadow& shadow) {
    ShadeLunarEclipse(pixels, size, BallDiscRadius(size, kBallRadius, kBallDistance, kViewDegrees), shadow);
}

LunarShadow EarthShadowAt(double julianDate) { return LunarShadowAt(EclipseSkyAt(julianDate)); }

bool MoonShadowedAt(double julianDate, RecursiveLock& engineLock) {
    std::lock_guard<RecursiveLock> hold(engineLock);
    return LunarEclipseOn(EarthShadowAt(julianDate));
}

std::vector<uint8_t> moonPictureForPhaseAngle(double phaseAngle, int size) {
    DrawMoon(size, phaseAngle);
    const std::vector<uint8_t> bgr = ReadPixelsBgr(size, size);
    std::vector<uint8_t> image(size_t(size) * size * 4, 0);
    for (size_t i = 0, n = size_t(size) * size; i < n; ++i) MoonImagePixel(&bgr[3 * i], &image[4 * i]);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

std::vector<uint8_t> renderMoonPhaseImage(double julianDate, int size, RecursiveLock& engineLock) {
    GLTarget target;  // a memory DC like the screen's (no reference DC)
    if (target.createOffscreen(nullptr, size, size, 32, 32, 0, 0) == nullptr) {
        return std::vector<uint8_t>(size_t(size) * size * 4, 0);
    }
    return moonPhaseImageInCurrentContext(julianDate, size, engineLock);
}
