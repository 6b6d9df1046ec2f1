#include "almanac/OrbitView.h"

#include "platform/Dpi.h"
#include "render/GLDrawing.h"
#include "render/GlobeArrays.h"
#include "render/ResourceBitmaps.h"
#include "render/TextDrawing.h"
#include "render/ViewContext.h"
#include "res/resource.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

const char kClassName[] = "Solvane - OrbitWindow";
constexpr UINT kFrameMs = 50;
enum { kTextureEarth, kTextureMoonFace, kTextureHalves };

}  // namespace

bool OrbitView::create(HWND parent, int x, int y, int width, int height, int coveredTop) {
    coveredTop_ = coveredTop;
    if (!registerClass(kClassName, CS_OWNDC | CS_HREDRAW | CS_VREDRAW)) return false;
    return Window::create(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width,
                          height, parent);
}

bool OrbitView::onCreate() {
    // An oval with its top rows cut off (what lies there stays the parent's), and a small one at
    // the bottom right around the phase inset.
    RECT client;
    GetClientRect(hwnd(), &client);
    HRGN shape = CreateEllipticRgn(0, 0, client.right, client.bottom);
    HRGN below = CreateRectRgn(0, coveredTop_, client.right, client.bottom);
    CombineRgn(shape, shape, below, RGN_AND);
    DeleteObject(below);
    // (its corner at 250, 140 of the view's 310 x 200 at 96 DPI)
    HRGN inset = CreateEllipticRgn(client.right * 250 / 310, client.bottom * 140 / 200, client.right, client.bottom);
    CombineRgn(shape, shape, inset, RGN_OR);
    DeleteObject(inset);
    SetWindowRgn(hwnd(), shape, TRUE);  // the window owns the region now

    dc_ = GetDC(hwnd());
    if (CreateViewContext(target_, dc_, hardware_) != nullptr) buildScene();
    frameTimer_ = timeSetEvent(kFrameMs, 100, onFrameTimer, reinterpret_cast<DWORD_PTR>(hwnd()),
                               TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    if (frameTimer_ != 0) ++RunningFrameTimers();
    return true;
}

int& OrbitView::RunningFrameTimers() {
    static int running = 0;  // counted on the user-interface thread only
    return running;
}

// Only invalidates: the drawing happens on the window's own thread. A last call may come just
// after the window has gone, which is harmless.
void CALLBACK OrbitView::onFrameTimer(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    InvalidateRect(reinterpret_cast<HWND>(window), nullptr, FALSE);
}

void OrbitView::buildScene() {
    glClearColor(0, 0, 0, 0);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    earth_ = glGenLists(3);
    moon_ = earth_ + 1;
    orbit_ = earth_ + 2;
    // Balls meshed for their size on the view: every vertex is lit and transformed 20 times a
    // second. The Moon's list also draws the inset's larger one (a tenth of the view's height).
    RECT client;
    GetClientRect(hwnd(), &client);
    const OrbitScene& scene = kOrbitScene;
    const double earthPixels = EarthOnView(scene, client.right, client.bottom).radius;
    const double moonPixels = std::max(double(client.bottom) / 10,
                                       OrbitPointOnView(scene, 270, scene.moonPath, scene.moonRadius, client.right,
                                                        client.bottom).radius);
    glNewList(earth_, GL_COMPILE);
    drawGlobeGL(GlobeArrays(GlobeMeshForPixels(earthPixels, scene.earthRadius)));
    glEndList();
    glNewList(moon_, GL_COMPILE);
    drawGlobeGL(GlobeArrays(GlobeMeshForPixels(moonPixels, scene.moonRadius)));
    glEndList();
    glNewList(orbit_, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    const float r = kOrbitScene.lineRadius;
    for (float a = 0; a < 6.283184f; a += 0.1f) glVertex3f(r * std::cos(a), 0, r * std::sin(a));
    glVertex3f(r, 0, 0);
    glEnd();
    glEndList();

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat none[4] = {0, 0, 0, 0}, diffuse[4] = {1, 1, 1, 0}, specular[4] = {0.4f, 0.4f, 0.5f, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(3, textures_);
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureEarth]);
    textureFromResource(IDB_EARTH_MAP, GL_LINEAR, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureMoonFace]);
    textureFromResource(IDB_MOON_FACE, GL_LINEAR, GL_REPEAT);
    // Half white, half black: the Moon's lit and dark halves.
    const GLubyte halves[2] = {255, 0};
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureHalves]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 2, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, halves);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glBindTexture(GL_TEXTURE_2D, 0);
    // The label at the window's DPI, its glyphs drawn twice as large from 150 % on.
    labelScale_ = float(WindowDpi(hwnd())) / float(kBaseDpi);
    const int zoom = labelScale_ >= 1.5f ? 2 : 1;
    glyphs_.build(ArialFont(13 * zoom, FW_BOLD), zoom);
}

void OrbitView::onDestroy() {
    if (frameTimer_ != 0) {
        timeKillEvent(frameTimer_);
        --RunningFrameTimers();
    }
    frameTimer_ = 0;
    if (target_.context() != nullptr && target_.makeCurrent(nullptr)) {
        glyphs_.destroy();
        glDeleteLists(earth_, 3);
        glDeleteTextures(3, textures_);
    }
    target_.destroy();
    ReleaseDC(hwnd(), dc_);
    dc_ = nullptr;
}

void OrbitView::drawLabel() {
    const int index = labels_.nearest(angles_.moon + 180);
    const std::string label = OrbitPhaseLabel(index);
    // The label is also the window's text, for screen readers.
    if (index != shownLabel_) SetWindowTextA(hwnd(), label.c_str());
    shownLabel_ = index;
    const GlyphMetrics& m = glyphs_.metrics();
    float width = 0;
    for (unsigned char c : label) width += labelScale_ * m.advance[c];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-width_ / 2.0, width_ / 2.0, -height_ / 2.0, height_ / 2.0, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    drawText(glyphs_, -width / 2, 2 * labelScale_ * m.height['P'] - height_ / 2.0f, labelScale_, label);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void OrbitView::paint() {
    if (target_.context() == nullptr || !target_.makeCurrent(nullptr)) {
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(dc_, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ValidateRect(hwnd(), nullptr);
        return;
    }
    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const OrbitScene& scene = kOrbitScene;
    gluPerspective(scene.fieldOfView, double(width_) / height_, 1, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -scene.cameraDistance);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    const GLfloat light[4] = {-1, 0, 0.2f, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, light);

    glPushMatrix();
    glTranslatef(0, scene.lift, 0);
    glRotatef(scene.tilt, 1, 0, 0);  // seen from a little above the orbit
    glPushMatrix();
    glRotatef(-23.5f, 0, 0, 1);  // the axial tilt
    glRotatef(angles_.earth, 0, 1, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureEarth]);
    glColor3f(1, 1, 1);
    glCallList(earth_);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glTranslatef(0, scene.planeRise, 0);
    glDisable(GL_LIGHTING);
    glColor3f(0.25f, 0.25f, 0.25f);
    glCallList(orbit_);
    glEnable(GL_LIGHTING);
    glRotatef(angles_.moon, 0, 1, 0);
    glTranslatef(scene.moonPath, 0, 0);
    glColor3f(1, 1, 1);
    glCallList(moon_);
    glPopMatrix();

    // The inset: the phase as seen from the Earth, the face multiplied over it.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3.875, 3.875, -2.5, 2.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3.12f, -1.8f, 0);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureHalves]);
    glPushMatrix();
    glRotatef(180 - angles_.moon, 0, 1, 0);
    glCallList(moon_);
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureMoonFace]);
    drawSquare(0.8f);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);

    drawLabel();
    target_.present(dc_);
    AdvanceOrbit(angles_);
    ValidateRect(hwnd(), nullptr);
}

LRESULT OrbitView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        width_ = LOWORD(lParam) > 0 ? LOWORD(lParam) : 1;
        height_ = HIWORD(lParam) > 0 ? HIWORD(lParam) : 1;
        if (target_.context() != nullptr) target_.resize(width_, height_);
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
