#include "almanac/IlluminationView.h"

#include "astro/AstroState.h"
#include "astro/EclipseGeometry.h"
#include "platform/RecursiveLock.h"
#include "render/LunarEclipseShadow.h"
#include "render/MoonPhaseImage.h"

#include "render/GLDrawing.h"
#include "render/GlobeArrays.h"
#include "render/ResourceBitmaps.h"
#include "render/TextDrawing.h"
#include "render/ViewContext.h"
#include "res/resource.h"

#include <GL/glu.h>

#include <mutex>
#include <vector>

namespace {

const char kClassName[] = "Solvane - Illumination";
constexpr UINT_PTR kRepaintTimer = 101;
constexpr UINT kRepaintMs = 5 * 60 * 1000;
constexpr UINT kEclipseRepaintMs = 60 * 1000;
// The ball: its radius and distance from the eye, and the view's angle.
constexpr double kBallRadius = 0.4, kBallDistance = 1.63, kViewDegrees = 30;
// The shadow's picture, multiplied over the view.
constexpr int kShadowSize = 256;

}  // namespace

bool IlluminationView::create(HWND parent, int x, int y, int size) {
    if (!registerClass(kClassName, CS_OWNDC | CS_HREDRAW | CS_VREDRAW)) return false;
    return Window::create(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, size,
                          size, parent);
}

bool IlluminationView::onCreate() {
    dc_ = WindowDC(hwnd());
    if (CreateViewContext(target_, dc_.get(), false) != nullptr) {
        glClearColor(0, 0, 0, 0);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor3f(1, 1, 1);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glGenTextures(1, &shadow_);
        glGenTextures(1, &face_);
        glBindTexture(GL_TEXTURE_2D, face_);
        textureFromResource(IDB_MOON_FACE_LARGE, GL_LINEAR, GL_REPEAT);
        sphere_ = glGenLists(1);
        glNewList(sphere_, GL_COMPILE);
        drawGlobeGL(GlobeArrays(GlobeMesh(43, 63, float(kBallRadius))));
        glEndList();
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const GLfloat ambient[4] = {0.15f, 0.15f, 0.15f, 0.15f}, diffuse[4] = {1, 1, 1, 0},
                      specular[4] = {0.94f, 0.94f, 1.0f, 0};
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    }
    RECT client;
    GetClientRect(hwnd(), &client);
    // Round: the corners show the window behind. The window owns the region once it is set.
    SetWindowRgn(hwnd(), CreateEllipticRgn(0, 0, client.right, client.bottom), TRUE);
    SetTimer(hwnd(), kRepaintTimer, kRepaintMs, nullptr);
    return true;
}

void IlluminationView::onDestroy() {
    KillTimer(hwnd(), kRepaintTimer);
    if (target_.context() != nullptr && target_.makeCurrent(nullptr)) {
        glDeleteLists(sphere_, 1);
        glDeleteTextures(1, &face_);
        glDeleteTextures(1, &shadow_);
    }
    target_.destroy();
    dc_.reset();
}

void IlluminationView::paint() {
    PAINTSTRUCT ps;
    BeginPaint(hwnd(), &ps);
    PhaseTable table;
    PhaseSelection selection;
    PrepareToday(inputs_, &table, &selection);
    if (target_.context() != nullptr && target_.makeCurrent(nullptr)) {
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(kViewDegrees, double(width_) / height_, 1, 6500);
        glMatrixMode(GL_MODELVIEW);
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        // A light from the viewer's side turned by the phase angle: full Moon at 0 degrees.
        glPushMatrix();
        glRotated(selection.phaseAngle, 0, 1, 0);
        glLightfv(GL_LIGHT0, GL_POSITION, selection.lightPosition);
        glPopMatrix();
        glTranslatef(0, 0, -float(kBallDistance));
        glDisable(GL_TEXTURE_2D);
        glCallList(sphere_);

        // The face multiplied over the lit ball.
        const float w = float(width_) / 2, h = float(height_) / 2;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(-w, w, -h, h);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, face_);
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        drawSquare(w);  // both sides from the width: the face stays round
        const bool eclipse = drawLunarEclipse();
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glDisable(GL_BLEND);
        target_.present(dc_.get());
        SetTimer(hwnd(), kRepaintTimer, eclipse ? kEclipseRepaintMs : kRepaintMs, nullptr);
    } else {
        FillRect(dc_.get(), &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EndPaint(hwnd(), &ps);
}

// The shadow of now (the phase is today's noon's, but an eclipse lasts only hours), drawn as a
// picture of factors over the square the face fills, multiplied as the face is.
bool IlluminationView::drawLunarEclipse() {
    LunarShadow shadow;
    {
        std::lock_guard<RecursiveLock> hold(inputs_.lock);
        shadow = EarthShadowAt(inputs_.astro.julianDate);
    }
    if (!LunarEclipseOn(shadow)) return false;
    std::vector<uint8_t> factors(std::size_t(kShadowSize) * kShadowSize * 4, 255);
    ShadeLunarEclipse(factors.data(), kShadowSize, BallDiscRadius(kShadowSize, kBallRadius, kBallDistance, kViewDegrees),
                      shadow);
    glBindTexture(GL_TEXTURE_2D, shadow_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kShadowSize, kShadowSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, factors.data());
    drawSquare(float(width_) / 2);
    return true;
}

bool IlluminationView::onEraseBackground(HDC) { return true; }

void IlluminationView::onTimer(UINT_PTR id) {
    if (id == kRepaintTimer) InvalidateRect(hwnd(), nullptr, FALSE);
}

void IlluminationView::onSize(int width, int height, UINT) {
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    if (target_.context() != nullptr) target_.resize(width_, height_);
}

LRESULT IlluminationView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paint();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
