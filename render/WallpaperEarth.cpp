#include "render/WallpaperEarth.h"

#include "app/UserOptions.h"
#include "platform/HandleOwners.h"
#include "platform/RecursiveLock.h"
#include "render/BitmapFile.h"
#include "render/GLDrawing.h"
#include "render/LunarEclipseShadow.h"
#include "render/MoonPhaseImage.h"
#include "render/ResourceBitmaps.h"
#include "render/TextDrawing.h"
#include "res/resource.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kMoonPictureSize = 64;

constexpr float kPhaseIconHalf = 30;
constexpr float kPhaseTextScale = 0.65f;

int PhaseBitmap(int phase) {
    static const int kBitmaps[4] = {IDB_NEW_MOON_ICON, IDB_FIRST_QUARTER_ICON, IDB_MOON_FACE,
                                    IDB_LAST_QUARTER_ICON};
    return kBitmaps[phase & 3];
}

// The Moon's phases in the corners: icon, name above it, local date below it.
// How much larger the phases and texts are drawn: as the screen's DPI asks, though no larger
// than a picture of 800 pixels across has them (a small picture keeps its corners apart).
float DecorationScale(const WallpaperRequest& request) {
    return std::clamp(std::min(float(request.dpi) / 96.0f, float(request.width) / 800.0f), 1.0f, 4.0f);
}

// The full Moon's icon with the Earth's shadow of `eclipse` over it; empty when the icon is not
// square.
std::vector<uint8_t> EclipsedFullMoonIcon(const unsigned char* bgr, int width, int height, const LunarShadow& eclipse) {
    if (width != height) return {};
    std::vector<uint8_t> rgba(std::size_t(width) * height * 4, 255);
    for (std::size_t i = 0, n = std::size_t(width) * height; i < n; ++i) {
        for (int k = 0; k < 3; ++k) rgba[4 * i + k] = bgr[3 * i + 2 - k];
    }
    ShadeMoonPicture(rgba.data(), width, eclipse);
    return rgba;
}

// `eclipse`: the Earth's shadow during a lunar eclipse, laid over the full Moon's icon.
void DrawMoonPhases(const WallpaperRequest& request, GLuint iconTexture, const LunarShadow* eclipse) {
    // Sized for the screen's DPI, the glyphs drawn twice as large from 150 % on.
    const float s = DecorationScale(request);
    const int zoom = s >= 1.5f ? 2 : 1;
    GlyphFont glyphs;
    glyphs.build(ArialFont(19 * zoom, FW_BOLD), zoom);
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
    // Spread over the part of the picture the taskbar leaves (y counts up from the bottom).
    const float left = float(request.coveredLeft), bottom = float(request.coveredBottom);
    const float across = w - left - float(request.coveredRight), up = h - bottom - float(request.coveredTop);
    const float centres[4][2] = {{left + 0.1f * across, bottom + 0.8f * up}, {left + 0.9f * across, bottom + 0.8f * up},
                                 {left + 0.1f * across, bottom + 0.2f * up}, {left + 0.9f * across, bottom + 0.2f * up}};
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
            const std::vector<uint8_t> eclipsed = eclipse != nullptr && (corner.phase & 3) == 2
                                                      ? EclipsedFullMoonIcon(icon, iconWidth, iconHeight, *eclipse)
                                                      : std::vector<uint8_t>();
            if (eclipsed.empty()) {
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, iconWidth, iconHeight, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, icon);
            } else {
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, iconWidth, iconHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             eclipsed.data());
            }
        }
        glPushMatrix();
        glTranslatef(x, y, 0);
        drawSquare(kPhaseIconHalf * s);
        glPopMatrix();
        const float textScale = kPhaseTextScale * s;
        const float nameWidth = LineWidth(corner.name, glyphs.metrics()) / 1.5f;
        drawText(glyphs, x - nameWidth * textScale / 2, y + (1.5f * capital + 15) * s, textScale, corner.name);
        const float labelWidth = LineWidth(corner.label, glyphs.metrics()) / 1.5f;
        drawText(glyphs, x - labelWidth * textScale / 2, y - 15 * s - textScale * capital, textScale, corner.label);
    }
    glDisable(GL_BLEND);
    glyphs.destroy();
}

// The bottom-corner texts in white bold Arial, drawn by GDI over the finished picture, whose
// rows from `firstRow` up fill the bottom-left corner of the surface.
void DrawCornerTexts(const WallpaperRequest& request, const GLTarget& surface, int firstRow) {
    if (request.leftText.empty() && request.rightText.empty()) return;
    HDC dc = surface.memoryDC();
    const float s = DecorationScale(request);
    const LOGFONTA description = ArialFont(int(std::lround(20 * s)), FW_BOLD);
    GdiFont font(CreateFontIndirectA(&description));
    SelectedObject selection(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    // Just above the taskbar, a few pixels in from the sides it leaves.
    const int margin = int(std::lround(4 * s));
    const int bottom = surface.height() + firstRow - request.coveredBottom - margin;
    SIZE size = {};
    GetTextExtentPoint32A(dc, request.leftText.c_str(), int(request.leftText.size()), &size);
    TextOutA(dc, request.coveredLeft + margin, bottom - size.cy, request.leftText.c_str(),
             int(request.leftText.size()));
    GetTextExtentPoint32A(dc, request.rightText.c_str(), int(request.rightText.size()), &size);
    TextOutA(dc, request.width - request.coveredRight - margin - size.cx, bottom - size.cy,
             request.rightText.c_str(), int(request.rightText.size()));
    GdiFlush();
}

// The state every picture starts from (the Moon's picture and the corners change it).
void SetWallpaperState(int width, int height) {
    SetEarthCamera(width, height, 2100, 2000);
    glClearColor(0, 0, 0, 1);
    SetFixedEarthState();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CLIP_PLANE0);
}

}  // namespace

void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          const std::vector<uint8_t>& moonPicture, RecursiveLock& engineLock) {
    if (inputs.displayFlags & kShowMoon) {
        glBindTexture(GL_TEXTURE_2D, resources.textures[kTextureMoon]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kMoonPictureSize, kMoonPictureSize, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, moonPicture.data());
    }
    DrawEarthScene(resources, inputs, engineLock);
    glDisable(GL_BLEND);
}

WallpaperRenderer::WallpaperRenderer() : globe_(GlobeMesh(51, 81, 80.0f)) {}

bool WallpaperRenderer::prepare(int width, int height, unsigned maps) {
    if (target_.context() == nullptr) {
        const int surfaceWidth = std::max(width, reservedWidth_), surfaceRows = std::max(height, reservedRows_);
        if (target_.createOffscreen(nullptr, surfaceWidth, surfaceRows, 32, 32, 0, 0) == nullptr) return false;
        glGenTextures(kEarthTextureCount, textures_);
        initTextures(textures_, true, maps);
        maps_ = maps;
        grid_ = glGenLists(3);
        buildGridLists(grid_);
        return true;
    }
    if (!target_.makeCurrent(nullptr)) return false;
    // A larger surface serves as it is: the picture fills its bottom-left corner. One grown
    // both ways stays within a band's bytes, else it takes just this picture's size.
    if (target_.width() < width || target_.height() < height) {
        int grownWidth = std::max(width, target_.width()), grownHeight = std::max(height, target_.height());
        if (std::size_t(grownWidth) * std::size_t(grownHeight) * 4 > kWallpaperBandBytes) {
            grownWidth = width, grownHeight = height;
        }
        if (!target_.resize(grownWidth, grownHeight)) return false;
    }
    if (maps != maps_) initTextures(textures_, true, maps);
    maps_ = maps;
    return true;
}

bool WallpaperRenderer::reserve(int width, int rows) {
    width = std::max(width, kMoonPictureSize), rows = std::max(rows, kMoonPictureSize);
    reservedWidth_ = reservedRows_ = 0;
    if (std::size_t(width) * std::size_t(rows) * 4 > kWallpaperBandBytes) return true;  // picture by picture
    reservedWidth_ = width, reservedRows_ = rows;
    if (target_.context() == nullptr || (target_.width() == width && target_.height() == rows)) return true;
    return target_.makeCurrent(nullptr) && target_.resize(width, rows);
}

void WallpaperRenderer::release() {
    target_.destroy();
    placeMarks_.forget();
    std::fill(std::begin(textures_), std::end(textures_), 0);
    grid_ = 0;
    maps_ = 0;
    reservedWidth_ = reservedRows_ = 0;
    litEarth_.release();
    solarShadow_.forget();
}

void WallpaperRenderer::turn(int viewpoint) {
    if (viewpoint == kViewTickingGlobe || viewpoint == kViewSpinningGlobe) {
        angle_ += 5;
        if (angle_ > 360) angle_ = 5;
    }
}

WallpaperPicture WallpaperRenderer::render(const WallpaperRequest& request, RecursiveLock& engineLock) {
    return renderBand(request, engineLock, 0, request.height);
}

WallpaperPicture WallpaperRenderer::renderBand(const WallpaperRequest& request, RecursiveLock& engineLock,
                                               int firstRow, int rows) {
    const int w = request.width, h = request.height;
    if (!prepare(std::max(w, kMoonPictureSize), std::max(rows, kMoonPictureSize),
                 MapsShownWith(request.scene.displayFlags))) {
        return {};
    }
    // The Moon sprite's picture, drawn first in a corner of the same surface: a second context
    // would cost as much as the whole frame.
    std::vector<uint8_t> moonPicture;
    if (request.scene.displayFlags & kShowMoon) {
        moonPicture = moonPhaseImageInCurrentContext(request.scene.julianDate, kMoonPictureSize, engineLock);
    }
    SetWallpaperState(w, h);
    // The whole picture's frame, lying `firstRow` rows below the surface: its band shows.
    glViewport(0, -firstRow, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
    SceneInputs inputs = request.scene;
    inputs.spinAngle = angle_;
    const PlaceMarksOnScene places = {&placeMarks_, &request.places, {}, float(request.dpi) / 96.0f};
    const SceneResources resources = {textures_, grid_, 0, &globe_, &litEarth_, &solarShadow_, &places};
    renderWallpaperEarth(resources, inputs, moonPicture, engineLock);
    glColor3ub(255, 255, 255);

    if (request.moonPhases) {
        LunarShadow shadow;
        {
            std::lock_guard<RecursiveLock> hold(engineLock);
            shadow = EarthShadowAt(request.scene.julianDate);
        }
        DrawMoonPhases(request, textures_[kTextureMoonPhases], LunarEclipseOn(shadow) ? &shadow : nullptr);
    }
    // One finish for everything: each one copies the whole frame into the DIB.
    glFinish();
    GdiFlush();
    DrawCornerTexts(request, target_, firstRow);
    return {target_.pixels(), std::ptrdiff_t(target_.width()) * 4, w, rows};
}

int WallpaperBandRows(int width, int height) {
    return std::min(height, std::max(1, int(kWallpaperBandBytes / (4 * std::size_t(std::max(width, 1))))));
}

bool WriteWallpaperFile(WallpaperRenderer& renderer, const WallpaperRequest& request, RecursiveLock& engineLock,
                        const std::string& path, const std::function<bool()>& keepGoing) {
    const int bandRows = WallpaperBandRows(request.width, request.height);
    const auto band = [&](int firstRow) {
        const int rows = std::min(bandRows, request.height - firstRow);
        const WallpaperPicture drawn = renderer.renderBand(request, engineLock, firstRow, rows);
        return BitmapBand{drawn.bottomRow, drawn.rowStride, rows};
    };
    return WriteBitmapFileInBands(path, request.width, request.height, band, keepGoing);
}
