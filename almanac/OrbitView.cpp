#include "almanac/OrbitView.h"

#include "platform/Dpi.h"
#include "render/GlyphFont.h"
#include "render/ResourceBitmaps.h"
#include "res/resource.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

const char kClassName[] = "Solvane - OrbitWindow";
constexpr UINT kFrameMs = 50;
constexpr COLORREF kLineColour = RGB(64, 64, 64);
constexpr int kLinePoints = 180;

// A bitmap resource of the program as a map sized for `pixelsAcross`; plain white when it is
// missing, so that the balls still show lit.
SurfaceMap ResourceMap(int id, double pixelsAcross) {
    int width = 0, height = 0;
    const unsigned char* pixels = loadResourceBitmap(id, &width, &height);
    return pixels != nullptr ? MapForPixels(pixels, width, height, pixelsAcross) : SurfaceMap{{255, 255, 255}, 1, 1};
}

}  // namespace

bool OrbitView::create(HWND parent, int x, int y, int width, int height, int coveredTop) {
    coveredTop_ = coveredTop;
    if (!registerClass(kClassName, CS_OWNDC | CS_HREDRAW | CS_VREDRAW)) return false;
    return Window::create(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width,
                          height, parent);
}

bool OrbitView::onCreate() {
    // An oval with its top rows cut off (what lies there stays the parent's), and a small one
    // around the phase inset at the bottom right.
    RECT client;
    GetClientRect(hwnd(), &client);
    GdiRegion shape(CreateEllipticRgn(0, 0, client.right, client.bottom));
    const GdiRegion below(CreateRectRgn(0, coveredTop_, client.right, client.bottom));
    CombineRgn(shape.get(), shape.get(), below.get(), RGN_AND);
    // (its corner at 250, 140 of the view's 310 x 200 at 96 DPI)
    const GdiRegion inset(
        CreateEllipticRgn(client.right * 250 / 310, client.bottom * 140 / 200, client.right, client.bottom));
    CombineRgn(shape.get(), shape.get(), inset.get(), RGN_OR);
    if (SetWindowRgn(hwnd(), shape.get(), TRUE)) shape.release();  // the window owns the region now

    dc_ = WindowDC(hwnd());
    makePicture(client.right, client.bottom);
    frameTimer_ = timeSetEvent(kFrameMs, 100, onFrameTimer, reinterpret_cast<DWORD_PTR>(hwnd()),
                               TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (frameTimer_ != 0) ++RunningFrameTimers();
    return true;
}

int& OrbitView::RunningFrameTimers() {
    static int running = 0;  // counted on the user-interface thread only
    return running;
}

// Only posts: the drawing happens on the window's own thread. The timer is killed
// synchronously, so no call comes after the window has gone.
void CALLBACK OrbitView::onFrameTimer(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    PostMessageA(reinterpret_cast<HWND>(window), kFrameDue, 0, 0);
}

// The frame's bitmap, the kept background, the maps sized for the balls and the label's font,
// for a view of width x height. False (nothing kept) when the bitmap cannot be made.
bool OrbitView::makePicture(int width, int height) {
    releasePicture();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    memoryDC_ = MemoryDC::CompatibleWith(dc_.get());
    if (memoryDC_.get()) frame_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!frame_) {
        releasePicture();
        return false;
    }
    frameSelection_ = SelectedObject(memoryDC_.get(), frame_.get());
    canvas_ = {static_cast<uint8_t*>(bits), width, height};

    // The background: black, and the grey orbit line in the orbit's plane.
    const UINT dpi = WindowDpi(hwnd());
    RECT all = {0, 0, width, height};
    FillRect(memoryDC_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    POINT line[kLinePoints + 1];
    for (int i = 0; i <= kLinePoints; ++i) {
        const ViewDisc p = OrbitPointOnView(kOrbitScene, 360.0f * i / kLinePoints, kOrbitScene.orbitRadius, 0, width, height);
        line[i] = {LONG(std::floor(p.x)), LONG(std::floor(p.y))};  // the pixel the point falls in
    }
    {
        const GdiPen pen(CreatePen(PS_SOLID, ScaledToDpi(1, dpi), kLineColour));
        const SelectedObject penSelection(memoryDC_.get(), pen.get());
        Polyline(memoryDC_.get(), line, kLinePoints + 1);
    }
    GdiFlush();
    line_.assign(canvas_.pixels, canvas_.pixels + size_t(width) * height * 4);

    // The maps at about a texel a pixel: the Earth's width is its ball's circumference, the
    // face's the inset square's side.
    const double earthDiameter = 2 * EarthOnView(kOrbitScene, width, height).radius;
    balls_ = std::make_unique<OrbitPainter>(
        kOrbitScene, width, height, ResourceMap(IDB_EARTH_MAP, 3.14159265358979 * earthDiameter),
        ResourceMap(IDB_MOON_FACE, 3.2 * OrbitInsetOnView(kOrbitScene, width, height).radius));

    LOGFONTA font = ArialFont(ScaledToDpi(13, dpi), FW_BOLD);
    font.lfQuality = ANTIALIASED_QUALITY;
    labelFont_.reset(CreateFontIndirectA(&font));
    TEXTMETRICA metrics = {};
    {
        const SelectedObject fontSelection(memoryDC_.get(), labelFont_.get());
        GetTextMetricsA(memoryDC_.get(), &metrics);
    }
    labelBaseline_ = height - 2 * (metrics.tmAscent - metrics.tmInternalLeading);  // two capitals up
    return true;
}

void OrbitView::releasePicture() {
    frameSelection_.reset();
    frame_.reset();
    memoryDC_.reset();
    labelFont_.reset();
    canvas_ = {};
    line_.clear();
    background_.clear();
    balls_.reset();
    shownLabel_ = -1;
    moonWas_ = {};
}

void OrbitView::onDestroy() {
    if (frameTimer_ != 0) {
        timeKillEvent(frameTimer_);
        --RunningFrameTimers();
    }
    frameTimer_ = 0;
    releasePicture();
    dc_.reset();
}

// The background anew: the line and `label` under it.
void OrbitView::labelBackground(const char* label) {
    GdiFlush();
    std::memcpy(canvas_.pixels, line_.data(), line_.size());
    {
        const SelectedObject fontSelection(memoryDC_.get(), labelFont_.get());
        SetBkMode(memoryDC_.get(), TRANSPARENT);
        SetTextColor(memoryDC_.get(), RGB(255, 255, 255));
        SetTextAlign(memoryDC_.get(), TA_CENTER | TA_BASELINE);
        TextOutA(memoryDC_.get(), canvas_.width / 2, labelBaseline_, label, int(std::strlen(label)));
    }
    GdiFlush();
    background_.assign(canvas_.pixels, canvas_.pixels + line_.size());
}

// The label for the angles now, seen or not. It is also the window's text, for screen readers.
void OrbitView::followLabel() {
    const int index = labels_.nearest(angles_.moon + 180);
    if (index != label_) SetWindowTextA(hwnd(), OrbitPhaseLabel(index));
    label_ = index;
}

// The frame for the angles now, drawn in the bitmap; true when the whole frame changed (the
// first frame, a new label, or frames gone by unseen), else only the balls' boxes did.
bool OrbitView::drawFrame() {
    const bool whole = label_ != shownLabel_ || stale_;
    if (label_ != shownLabel_) {
        labelBackground(OrbitPhaseLabel(label_));
        shownLabel_ = label_;
    }
    if (whole) {
        std::memcpy(canvas_.pixels, background_.data(), background_.size());
    } else {
        restore(balls_->earthBox());
        restore(balls_->insetBox());
        restore(moonWas_);
    }
    balls_->draw(canvas_, angles_);
    moonWas_ = balls_->moonBox(angles_.moon);
    stale_ = false;
    return whole;
}

// The background again in `box`, where the last frame drew.
void OrbitView::restore(const PixelBox& box) {
    for (int y = box.top; y < box.bottom; ++y) {
        const size_t at = (size_t(y) * canvas_.width + box.left) * 4;
        std::memcpy(canvas_.pixels + at, background_.data() + at, size_t(box.right - box.left) * 4);
    }
}

void OrbitView::copyToWindow(const PixelBox& box) {
    BitBlt(dc_.get(), box.left, box.top, box.right - box.left, box.bottom - box.top, memoryDC_.get(), box.left, box.top,
           SRCCOPY);
}

// The animation's next frame: drawn, and copied to the window where it changed. While nobody
// can see the window, the animation only moves on, and the frame is drawn when it is seen.
void OrbitView::showNextFrame() {
    followLabel();
    if (canvas_.pixels == nullptr) return;
    if (!parent_.seen()) {
        stale_ = true;
    } else {
        const PixelBox moonWas = moonWas_;
        if (drawFrame()) {
            copyToWindow({0, 0, canvas_.width, canvas_.height});
        } else {
            copyToWindow(balls_->earthBox());
            copyToWindow(balls_->insetBox());
            copyToWindow(Union(moonWas, moonWas_));
        }
    }
    AdvanceOrbit(angles_);
}

// The frame shown last (the first one when none has been), whole.
void OrbitView::paint() {
    PAINTSTRUCT paint;
    BeginPaint(hwnd(), &paint);
    if (canvas_.pixels == nullptr) {
        FillRect(paint.hdc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        if (label_ < 0) followLabel();
        if (shownLabel_ < 0 || stale_) drawFrame();
        copyToWindow({0, 0, canvas_.width, canvas_.height});
    }
    EndPaint(hwnd(), &paint);
}

bool OrbitView::onEraseBackground(HDC) { return true; }

void OrbitView::onSize(int width, int height, UINT) {
    if (width != canvas_.width || height != canvas_.height) {
        makePicture(width, height);
    }
}

LRESULT OrbitView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case kFrameDue: {
        DropQueuedCopies(hwnd(), kFrameDue);  // frames that fell due meanwhile are drawn once
        showNextFrame();
        return 0;
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}
