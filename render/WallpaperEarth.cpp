#include "render/WallpaperEarth.h"

#include "app/UserOptions.h"
#include "render/GLDrawing.h"
#include "platform/GdiSurface.h"
#include "render/MoonPhaseImage.h"
#include "render/OffscreenSurface.h"
#include "render/ReadPixels.h"
#include "render/ResourceBitmaps.h"
#include "render/TextDrawing.h"

#include <GL/glu.h>

#include <algorithm>

namespace {

constexpr int kMoonPictureSize = 64;

constexpr float kPhaseIconHalf = 30;
constexpr float kPhaseTextScale = 0.65f;

int PhaseBitmap(int phase) {
    static const int kBitmaps[4] = {143, 144, 142, 145};
    return kBitmaps[phase & 3];
}

// The Moon's phases in the corners: icon, name above it, local date below it.
void DrawMoonPhases(const WallpaperRequest& request, GLuint iconTexture) {
    GlyphFont glyphs;
    glyphs.build(ArialFont(19, FW_BOLD));
    const float w = float(request.width), h = float(request.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CLIP_PLANE0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3ub(255, 255, 255);
    const float centres[4][2] = {{0.1f * w, 0.8f * h}, {0.9f * w, 0.8f * h},
                                 {0.1f * w, 0.2f * h}, {0.9f * w, 0.2f * h}};
    const float capital = glyphs.metrics().height[static_cast<unsigned char>('A')];
    for (int k = 0; k < 4; ++k) {
        const PhaseCorner& corner = request.corners[k];
        const float x = centres[k][0], y = centres[k][1];
        glBindTexture(GL_TEXTURE_2D, iconTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        int iconWidth = 0, iconHeight = 0;
        if (const unsigned char* icon = loadResourceBitmap(PhaseBitmap(corner.phase), &iconWidth, &iconHeight)) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, iconWidth, iconHeight, 0, GL_BGR_EXT,
                         GL_UNSIGNED_BYTE, icon);
        }
        glPushMatrix();
        glTranslatef(x, y, 0);
        drawSquare(kPhaseIconHalf);
        glPopMatrix();
        const float nameWidth = LineWidth(corner.name, glyphs.metrics()) / 1.5f;
        drawText(glyphs, x - nameWidth * kPhaseTextScale / 2, y + 1.5f * capital + 15,
                 kPhaseTextScale, corner.name);
        const float labelWidth = LineWidth(corner.label, glyphs.metrics()) / 1.5f;
        drawText(glyphs, x - labelWidth * kPhaseTextScale / 2, y - 15 - kPhaseTextScale * capital,
                 kPhaseTextScale, corner.label);
    }
    glDisable(GL_BLEND);
    glFinish();
    glyphs.destroy();
}

// The bottom-corner texts in white bold Arial, drawn by GDI over the finished picture.
void DrawCornerTexts(const WallpaperRequest& request, std::vector<uint8_t>& pixels) {
    if (request.leftText.empty() && request.rightText.empty()) return;
    const int w = request.width, h = request.height;
    BITMAPINFOHEADER header = DibHeader(w, h, 32);
    HDC dc = ScreenCompatibleDC();
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr) {
        DeleteDC(dc);
        return;
    }
    HGDIOBJ previousBitmap = SelectObject(dc, dib);
    uint8_t* bgra = static_cast<uint8_t*>(bits);
    const size_t count = size_t(w) * h;
    for (size_t i = 0; i < count; ++i) {
        bgra[4 * i] = pixels[3 * i], bgra[4 * i + 1] = pixels[3 * i + 1], bgra[4 * i + 2] = pixels[3 * i + 2];
    }
    const LOGFONTA description = ArialFont(20, FW_BOLD);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SIZE size = {};
    GetTextExtentPoint32A(dc, request.leftText.c_str(), int(request.leftText.size()), &size);
    TextOutA(dc, 0, h - size.cy, request.leftText.c_str(), int(request.leftText.size()));
    GetTextExtentPoint32A(dc, request.rightText.c_str(), int(request.rightText.size()), &size);
    TextOutA(dc, w - size.cx, h - size.cy, request.rightText.c_str(), int(request.rightText.size()));
    GdiFlush();
    for (size_t i = 0; i < count; ++i) {
        pixels[3 * i] = bgra[4 * i], pixels[3 * i + 1] = bgra[4 * i + 1], pixels[3 * i + 2] = bgra[4 * i + 2];
    }
    SelectObject(dc, previousFont);
    DeleteObject(font);
    SelectObject(dc, previousBitmap);
    DeleteObject(dib);
    DeleteDC(dc);
}

void SetWallpaperState(int width, int height) {
    SetEarthCamera(width, height, 2100, 2000);
    glClearColor(0, 0, 0, 1);
    SetFixedEarthState();
}

}  // namespace

void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          const std::vector<uint8_t>& moonPicture, RecursiveLock& optionsLock) {
    if (inputs.displayFlags & kShowMoon) {
        glBindTexture(GL_TEXTURE_2D, resources.textures[kTextureMoon]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kMoonPictureSize, kMoonPictureSize, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, moonPicture.data());
    }
    DrawEarthScene(resources, inputs, optionsLock);
    glDisable(GL_BLEND);
    glFinish();
}

std::vector<uint8_t> WallpaperRenderer::render(const WallpaperRequest& request,
                                               RecursiveLock& optionsLock) {
    const int w = request.width, h = request.height;
    OffscreenSurface surface;
    if (!surface.create(std::max(w, kMoonPictureSize), std::max(h, kMoonPictureSize))) return {};
    // The Moon sprite's picture, drawn first in the same context: a second context would cost
    // as much as the whole frame.
    std::vector<uint8_t> moonPicture;
    if (request.scene.displayFlags & kShowMoon) {
        moonPicture = moonPhaseImageInCurrentContext(request.scene.julianDate, kMoonPictureSize, optionsLock);
    }
    SetWallpaperState(w, h);

    GLuint textures[kEarthTextureCount] = {};
    glGenTextures(8, textures);
    initTextures(textures, true, MapsShownWith(request.scene.displayFlags));
    const GLuint grid = glGenLists(3);
    buildGridLists(grid);
    glEnable(GL_CLIP_PLANE0);
    const GlobeArrays globe(GlobeMesh(51, 81, 80.0f));

    glClear(GL_COLOR_BUFFER_BIT);
    SceneInputs inputs = request.scene;
    inputs.spinAngle = angle_;
    const SceneResources resources = {textures, grid, 0, &globe};
    renderWallpaperEarth(resources, inputs, moonPicture, optionsLock);
    if (inputs.viewpoint == kViewTickingGlobe || inputs.viewpoint == kViewSpinningGlobe) {
        angle_ += 5;
        if (angle_ > 360) angle_ = 5;
    }
    glColor3ub(255, 255, 255);

    if (request.moonPhases) DrawMoonPhases(request, textures[7]);
    std::vector<uint8_t> pixels = ReadPixelsBgr(w, h);
    DrawCornerTexts(request, pixels);
    glDeleteLists(grid, 3);
    glDeleteTextures(8, textures);
    return pixels;
}
