// The wallpaper's Earth: one frame drawn without a window into an off-screen bitmap of any
// size, with the best texture quality.
#pragma once

#include "render/EarthScene.h"
#include "render/EarthTextures.h"
#include "render/GLTarget.h"
#include "render/GlobeArrays.h"
#include "render/LitEarthTexture.h"
#include "render/SolarShadowTexture.h"
#include "render/PlaceMark.h"
#include "render/PlaceMarkPainter.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class RecursiveLock;

// One of the four Moon-phase corners: the phase and its two texts.
struct PhaseCorner {
    int phase;
    std::string name;   // "Full Moon"
    std::string label;  // local calendar date, "Dec 24"
};

// What one wallpaper picture shows (a snapshot taken under the options lock).
struct WallpaperRequest {
    int width, height;
    SceneInputs scene;  // its spinAngle is ignored: the wallpaper keeps its own
    bool moonPhases = false;
    PhaseCorner corners[4] = {};  // upper left, upper right, lower left, lower right
    std::string leftText, rightText;  // bottom corners; empty for none
    // The picture's edges the taskbar covers, in picture pixels: the corners keep clear of them
    // (the globe stays in the picture's middle).
    int coveredLeft = 0, coveredTop = 0, coveredRight = 0, coveredBottom = 0;
    int dpi = 96;  // the screen's: the phases, texts and place labels are sized for it
    std::vector<PlaceMark> places;  // marked on the globe
};

// A finished picture: width x height pixels of blue, green, red and an unused byte, rows
// `rowStride` bytes apart from the bottom one up. Valid until the renderer draws again or
// is destroyed.
struct WallpaperPicture {
    const uint8_t* bottomRow = nullptr;  // null when no off-screen context could be made
    std::ptrdiff_t rowStride = 0;
    int width = 0, height = 0;
};

// Draws wallpaper pictures on the thread that owns it. The off-screen surface, its context
// and the Earth textures are made for the first picture and kept for the next ones until
// released (the surface grown when a picture needs more, the textures made anew when the
// maps shown change): the pictures of one renewal share them.
class WallpaperRenderer {
public:
    WallpaperRenderer();

    WallpaperPicture render(const WallpaperRequest& request, RecursiveLock& engineLock);
    // The band of `rows` rows of the same picture starting `firstRow` rows above its bottom: a
    // large picture drawn a band at a time needs a surface of one band only. The bands equal
    // the whole picture's rows.
    WallpaperPicture renderBand(const WallpaperRequest& request, RecursiveLock& engineLock, int firstRow, int rows);

    // The wallpaper's own turn of the ticking and spinning globe: 180 degrees at first, five
    // more at each renewal (all the pictures of one renewal show the globe alike).
    float angle() const { return angle_; }
    void turn(int viewpoint);
    // Sizes the surface for the largest band of a renewal (now, or when it is made), so that
    // each of its pictures is drawn on it (in its bottom-left corner) without making a surface
    // of its own.
    bool reserve(int width, int rows);
    // Lets go of the surface, its context with the textures, and the maps: nothing of them is
    // held between renewals. The turn stays; the next picture makes them anew.
    void release();

private:
    // Makes the surface current at the picture's size, first making it and the textures when
    // needed. The context (and with it the textures and lists) goes with the target.
    bool prepare(int width, int height, unsigned maps);

    GLTarget target_;
    int reservedWidth_ = 0, reservedRows_ = 0;
    unsigned maps_ = 0;
    GLuint textures_[kEarthTextureCount] = {};
    GLuint grid_ = 0;
    const GlobeArrays globe_;
    LitEarthTexture litEarth_;
    SolarShadowTexture solarShadow_;
    PlaceMarkPainter placeMarks_;
    float angle_ = 180.0f;
};

// A large picture is drawn a band of at most this many bytes of surface at a time (a picture
// 1920 pixels wide whole), so that no buffer of the whole picture is needed.
constexpr std::size_t kWallpaperBandBytes = std::size_t(64) << 20;
// The rows of one such band of a picture `width` x `height`.
int WallpaperBandRows(int width, int height);

// Draws `request` a band at a time and writes it as a bitmap file at `path`, replacing the old
// file only once the new one is whole; false when it could not be drawn or written.
// `keepGoing`, when given, is asked between rows: false abandons the file.
bool WriteWallpaperFile(WallpaperRenderer& renderer, const WallpaperRequest& request, RecursiveLock& engineLock,
                        const std::string& path, const std::function<bool()>& keepGoing = nullptr);

// Draws the wallpaper frame into the current context (the caller has set the projection,
// cleared, and enabled clip plane 0), with the Moon sprite showing `moonPicture` (64 x 64 RGBA).
void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          const std::vector<uint8_t>& moonPicture, RecursiveLock& engineLock);
