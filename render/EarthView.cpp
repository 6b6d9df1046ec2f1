#include "render/EarthView.h"

#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "app/WorldSettings.h"
#include "platform/Dpi.h"
#include "platform/RecursiveLock.h"
#include "render/EarthScene.h"
#include "render/GLDrawing.h"
#include "render/GlobeReuse.h"
#include "render/MoonPhaseImage.h"
#include "render/TextureArithmetic.h"
#include "render/TextDrawing.h"
#include "render/ViewContext.h"
#include "res/resource.h"

#include <GL/glu.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

// The glyphs are drawn twice as large from 150 % on, so that the time display stays sharp.
int GlyphZoom(float dpiScale) { return dpiScale >= 1.5f ? 2 : 1; }

const char kClassName[] = "SolvaneEarthView";
// The camera: 5 degrees of view from 1900 units, on a globe of radius 80.
constexpr double kCameraDistance = 1900, kHalfFieldRadians = 2.5 * 3.14159265358979 / 180;
constexpr float kGlobeRadius = 80.0f;

// The globe's radius on a view: the field of view spans the smaller side.
double GlobeRadiusPixels(int width, int height) {
    return kGlobeRadius / (kCameraDistance * std::tan(kHalfFieldRadians)) * std::min(width, height) / 2;
}
constexpr int kMoonPictureSize = 64;

// Spin state of the ticking and spinning globe, and the drag orientation: one per process.
struct ViewState {
    float spinAngle = 180.0f;
    LARGE_INTEGER spinClock = {}, frequency = {};
    bool counterRead = false;
    bool firstInit = true;
    DragOrientation drag;
};
ViewState viewState;

}  // namespace

DragOrientation& SharedDragOrientation() { return viewState.drag; }

bool EarthView::create(HWND parent, int x, int y, int width, int height, const char* className,
                       const char* title) {
    if (className == nullptr) className = kClassName;
    if (!registerClass(className, CS_OWNDC | CS_DBLCLKS)) return false;
    return Window::create(0, className, title, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                          x, y, width, height, parent);
}

namespace {

bool& HardwareFailed() {
    static bool failed = false;
    return failed;
}

}  // namespace

bool HardwareFailedThisRun() { return HardwareFailed(); }

bool EarthView::wantsHardware() const { return model_.options.useHardware3D == 1 && !HardwareFailed(); }

namespace {

// A few points of the view away from the time display, in OpenGL's rows (bottom up).
std::vector<POINT> ProbePoints(int width, int height) {
    return {{width / 2, height * 3 / 4}, {width / 3, height * 2 / 3}, {width * 2 / 3, height * 2 / 3},
            {width / 4, height * 7 / 8}, {width * 3 / 4, height * 7 / 8}};
}

bool Near(COLORREF a, const uint8_t rgb[3]) {
    return std::abs(int(GetRValue(a)) - rgb[0]) <= 24 && std::abs(int(GetGValue(a)) - rgb[1]) <= 24 &&
           std::abs(int(GetBValue(a)) - rgb[2]) <= 24;
}

}  // namespace

// Some drivers (wine's in a virtual desktop, say) accept an accelerated context for a child
// window and draw, but nothing reaches the screen, which keeps showing what lay beneath. The
// screen is compared with the frame at a few points, where the view is not covered.
void EarthView::checkHardwareFrame() {
    std::vector<POINT> points = ProbePoints(width_, height_);
    std::vector<std::array<uint8_t, 3>> drawn(points.size());
    glReadBuffer(GL_FRONT);
    for (std::size_t i = 0; i < points.size(); ++i) {
        glReadPixels(points[i].x, points[i].y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, drawn[i].data());
    }
    glReadBuffer(GL_BACK);
    WindowDC screen(nullptr);
    int checked = 0, matched = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        POINT at = {points[i].x, height_ - 1 - points[i].y};
        ClientToScreen(hwnd(), &at);
        if (WindowFromPoint(at) != hwnd()) continue;  // covered there: no evidence
        ++checked;
        matched += Near(GetPixel(screen.get(), at.x, at.y), drawn[i].data());
    }
    screen.reset();
    if (checked < 3) return;
    if (matched * 2 > checked) {
        hardwareShown_ = true;
    } else if (++hardwareMisses_ >= 2) {
        HardwareFailed() = true;
        if (model_.hardwareFailed) {
            model_.hardwareFailed();
        } else {
            fallBackToSoftware();
        }
    }
}

void EarthView::fallBackToSoftware() {
    onDestroyContext();
    // A window's pixel format cannot change once set: the software view draws off screen.
    if (target_.createOffscreen(windowDC_.get(), 1, 1, 32, 16, 0, 0) != nullptr) {
        initOpenGL();
        target_.resize(width_, height_);
        target_.makeCurrent(nullptr);
        setProjection();
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

bool EarthView::onCreate() {
    windowDC_ = WindowDC(hwnd());
    CreateViewContext(target_, windowDC_.get(), wantsHardware());
    if (target_.context() != nullptr) initOpenGL();
    return true;
}

void EarthView::initOpenGL() {
    SetFixedEarthState();
    listBase_ = glGenLists(4);
    globe_.reset();
    buildGlobe();
    buildGridLists(listBase_ + 1);
    glGenTextures(kEarthTextureCount, textures_);
    initTextures(textures_, false);
    buildGlyphs();
    glColor3f(1, 1, 1);
    glClearColor(0, 0, 0, 1);
    moonTextureDate_ = 0;
    litEarth_.forget();
    solarShadow_.forget();
    globeKept_ = false;
    if (viewState.firstInit) {
        std::lock_guard<RecursiveLock> hold(model_.stateLock);
        viewState.drag.turnHalf();
        viewState.firstInit = false;
    }
}

void EarthView::buildGlobe() {
    const GlobeMesh mesh = GlobeMeshForPixels(GlobeRadiusPixels(width_, height_), kGlobeRadius);
    if (globe_ && globe_->mesh().slices() == mesh.slices()) return;
    globe_ = std::make_unique<GlobeArrays>(mesh);
    glNewList(listBase_, GL_COMPILE);
    drawGlobeGL(*globe_);
    glEndList();
}

void EarthView::onDestroyContext() {
    if (target_.context() != nullptr) {
        target_.makeCurrent(nullptr);
        glDeleteLists(listBase_, 4);
        globe_.reset();
        glyphs_.destroy();
        placeMarks_.destroy();
        glDeleteTextures(kEarthTextureCount, textures_);
    }
    target_.destroy();
    globeKept_ = false;
}

void EarthView::onDestroy() {
    onDestroyContext();
    windowDC_.reset();
}

void EarthView::setProjection() {
    SetEarthCamera(width_, height_, 2000, float(kCameraDistance));
    litEarth_.setTolerance(0.25 / GlobeRadiusPixels(width_, height_));
    solarShadow_.setTolerance(0.25 / GlobeRadiusPixels(width_, height_));
}

void EarthView::paint() {
    drawFrame(true);
    ValidateRect(hwnd(), nullptr);
}

void EarthView::showTime() {
    // Ticks queued while the thread was busy draw once.
    DropQueuedCopies(hwnd(), kShowTimeMessage);
    // A part waiting to be painted is drawn whole, at the current time, by WM_PAINT.
    if (GetUpdateRect(hwnd(), nullptr, FALSE)) return;
    drawFrame(false);
}

void EarthView::drawFrame(bool whole) {
    if (model_.readsClock) {
        std::lock_guard<RecursiveLock> hold(model_.stateLock);
        UpdateAstroState(model_.astro, model_.options, model_.clock, false);
    }
    if (target_.context() != nullptr && target_.makeCurrent(nullptr)) {
        glEnable(GL_CLIP_PLANE0);
        const PixelRows changed = renderFrame();
        glDisable(GL_CLIP_PLANE0);
        if (whole) {
            target_.present(windowDC_.get());
        } else {
            target_.presentRows(windowDC_.get(), changed.first, changed.count);
        }
        if (target_.hardware() && !target_.offscreen() && !hardwareShown_ && !HardwareFailed()) {
            checkHardwareFrame();
        }
    } else if (whole) {
        // Without OpenGL the view is black, not whatever the screen held there before.
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(windowDC_.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
}

// Drawn anew every half day, and every couple of minutes while the Earth's shadow lies on it.
void EarthView::refreshMoonTexture(double julianDate) {
    constexpr double kShadowStepDays = 2.0 / 1440;
    const double since = std::fabs(julianDate - moonTextureDate_);
    if (since <= kShadowStepDays) return;
    if (since <= 0.5) {
        if (std::fabs(julianDate - moonShadowLook_) <= kShadowStepDays) return;
        moonShadowLook_ = julianDate;
        const bool shadowed = MoonShadowedAt(julianDate, model_.stateLock);
        if (!shadowed && !moonShadowed_) return;
        moonShadowed_ = shadowed;
    } else {
        moonShadowed_ = MoonShadowedAt(julianDate, model_.stateLock);
    }
    const std::vector<uint8_t> moon =
        renderMoonPhaseImage(julianDate, kMoonPictureSize, model_.stateLock);
    if (!target_.makeCurrent(nullptr)) return;
    glBindTexture(GL_TEXTURE_2D, textures_[kTextureMoon]);
    UploadMipmaps(moon, kMoonPictureSize, kMoonPictureSize, GL_RGBA);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    moonTextureDate_ = julianDate;
}

void EarthView::advanceSpin(int viewpoint, int spinSpeed) {
    if (viewpoint == kViewTickingGlobe) {
        viewState.spinAngle = TickAngle(viewState.spinAngle);
    } else if (viewpoint == kViewSpinningGlobe) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const double elapsed = double(now.QuadPart - viewState.spinClock.QuadPart) / viewState.frequency.QuadPart;
        viewState.spinAngle = SpinAngle(viewState.spinAngle, elapsed, spinSpeed);
        QueryPerformanceCounter(&viewState.spinClock);
    }
}

// The time display's glyphs, in the current context, for the window's DPI.
void EarthView::buildGlyphs() {
    const int zoom = GlyphZoom(float(WindowDpi(hwnd())) / float(kBaseDpi));
    glyphs_.destroy();
    glyphs_.build(ArialFont(28 * zoom, FW_BOLD), zoom);
}

PixelRows EarthView::renderFrame() {
    if (!viewState.counterRead) {
        QueryPerformanceFrequency(&viewState.frequency);
        QueryPerformanceCounter(&viewState.spinClock);
        viewState.counterRead = true;
    }
    SceneInputs in;
    AstroState astro;
    UserOptions options;
    {
        std::lock_guard<RecursiveLock> hold(model_.stateLock);
        astro = model_.astro;
        options = model_.options;
        in = SceneOf(astro, options, model_.world != nullptr && model_.world->twilightBands);
        viewState.drag.matrix(in.drag);
    }
    in.spinAngle = viewState.spinAngle;

    // The kept pixels serve only where this frame's time display goes (it may have just been
    // turned on or off).
    // The time display follows the window's DPI; its glyphs are drawn anew for a new one.
    const float dpiScale = float(WindowDpi(hwnd())) / float(kBaseDpi);
    if (GlyphZoom(dpiScale) != glyphs_.zoom()) buildGlyphs();
    const TimeDisplayText text = MakeTimeDisplayText(options, astro);
    const TimeDisplayLayout layout = LayoutTimeDisplay(text, glyphs_.metrics(), width_, height_, dpiScale);
    const PixelRows rows = TimeDisplayRows(text, layout, glyphs_.cellSize(), height_);
    // The place labels keep off the time display's rows over its width (overlay units are two
    // to a pixel), a few pixels to spare.
    ViewRect timeDisplayBox = {};
    if (rows.count > 0) {
        const float spare = 4 * dpiScale;
        timeDisplayBox = {(std::min(layout.panelLeft, layout.timeLeft) + width_) / 2 - spare, float(rows.first),
                          (layout.panelRight + width_) / 2 + spare, float(rows.first + rows.count)};
    }
    std::vector<PlaceMark> marks = model_.places ? model_.places() : std::vector<PlaceMark>();
    PixelRows changed = rows;
    if (globeKept_ && rows.first == keptRows_.first && rows.count == keptRows_.count && marks == marks_ &&
        GlobeStillTrue(keptGlobe_, in, GlobeRadiusPixels(width_, height_))) {
        restoreUnderTimeDisplay();
    } else {
        marks_ = std::move(marks);
        drawGlobe(in, rows, timeDisplayBox);
        changed = {0, height_};
    }
    advanceSpin(options.viewpoint, options.spinSpeed);
    drawTimeDisplay(glyphs_, textures_[kTexturePanel], options, astro, width_, height_, dpiScale);
    glColor3ub(255, 255, 255);
    glDisable(GL_BLEND);
    return changed;
}

void EarthView::drawGlobe(const SceneInputs& in, const PixelRows& rows, const ViewRect& timeDisplayBox) {
    glClear(GL_COLOR_BUFFER_BIT);
    refreshMoonTexture(in.julianDate);
    const PlaceMarksOnScene places = {&placeMarks_, &marks_, timeDisplayBox,
                                      float(WindowDpi(hwnd())) / float(kBaseDpi)};
    const SceneResources resources = {textures_, listBase_ + 1, listBase_, globe_.get(), &litEarth_, &solarShadow_, &places};
    DrawEarthScene(resources, in, model_.stateLock);
    // A turning globe is never reused.
    globeKept_ = target_.offscreen() && in.viewpoint != kViewTickingGlobe &&
                 in.viewpoint != kViewSpinningGlobe;
    if (!globeKept_) return;
    keptGlobe_ = in;
    keptRows_ = rows;
    underTimeDisplay_.resize(size_t(width_) * keptRows_.count * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (keptRows_.count > 0) {
        glReadPixels(0, keptRows_.first, width_, keptRows_.count, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                     underTimeDisplay_.data());
    }
}

// Puts the kept globe's pixels back where the last time display was drawn.
void EarthView::restoreUnderTimeDisplay() {
    if (keptRows_.count == 0) return;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_CLIP_PLANE0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width_, 0, height_, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, keptRows_.first);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(width_, keptRows_.count, GL_BGRA_EXT, GL_UNSIGNED_BYTE, underTimeDisplay_.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    // As the globe's drawing leaves it for the time display.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3ub(255, 255, 255);
}

void EarthView::endDrag() {
    if (!dragging_) return;
    dragging_ = false;
    if (GetCapture() == hwnd()) ReleaseCapture();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void EarthView::onMouse(UINT message, WPARAM buttons, int x, int y) {
    if (model_.options.viewpoint != kViewMouseDrag) return;
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_DRAG)));
        SetCapture(hwnd());
        lastMouse_ = {x, y};
        dragging_ = true;
        break;
    case WM_LBUTTONUP:
        endDrag();
        break;
    case WM_MOUSEMOVE:
        if (!dragging_) break;
        // The button went up where this window could not see it.
        if (!(buttons & MK_LBUTTON)) {
            endDrag();
            break;
        }
        {
            std::lock_guard<RecursiveLock> hold(model_.stateLock);
            viewState.drag.drag(x - lastMouse_.x, y - lastMouse_.y);
        }
        lastMouse_ = {x, y};
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    }
}

bool EarthView::onEraseBackground(HDC) { return true; }

void EarthView::onSize(int width, int height, UINT) {
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    if (target_.context() != nullptr) {
        if (!target_.resize(width_, height_) && target_.offscreen()) {
            // No memory for the new size: the view goes on at the size of the bitmap it has.
            width_ = std::max(target_.width(), 1);
            height_ = std::max(target_.height(), 1);
        }
        target_.makeCurrent(nullptr);
        setProjection();
        buildGlobe();
        globeKept_ = false;
    }
}

LRESULT EarthView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case kShowTimeMessage:
        showTime();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        onMouse(message, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_CAPTURECHANGED:
        // Alt-Tab, a pop-up or another window took the mouse: the drag is over.
        if (HWND(lParam) != hwnd()) endDrag();
        break;
    case WM_LBUTTONDBLCLK:
        SendMessageA(GetParent(hwnd()), WM_LBUTTONDBLCLK, wParam, 0);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && target_.context() != nullptr) {
            target_.makeCurrent(nullptr);
        } else if (!wParam) {
            wglMakeCurrent(nullptr, nullptr);
        }
        break;
    }
    return Window::handleMessage(message, wParam, lParam);
}
