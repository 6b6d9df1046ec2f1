// The child window that shows the live globe with OpenGL.
#pragma once

#include "platform/HandleOwners.h"
#include "platform/Window.h"
#include "render/EarthTextures.h"
#include "render/GLTarget.h"
#include "render/GlobeArrays.h"
#include "render/GlyphFont.h"
#include "render/LitEarthTexture.h"
#include "render/SolarShadowTexture.h"
#include "render/PlaceMarkPainter.h"
#include "render/SceneInputs.h"
#include "render/TimeDisplayLayout.h"
#include "render/Viewpoint.h"

#include <functional>
#include <memory>
#include <vector>

class CivilClock;
class RecursiveLock;
struct AstroState;
struct UserOptions;
struct WorldSettings;

// The program state the view draws, guarded by `stateLock` (which guards the astronomy
// engine's caches as well).
struct EarthViewModel {
    const UserOptions& options;
    AstroState& astro;
    RecursiveLock& stateLock;
    CivilClock& clock;
    // Whether each frame reads the clock into `astro` first; false where another part (the
    // clock's tick) does it once for every window that shows the time.
    bool readsClock = true;
    // Called (once per run) when an accelerated context drew nothing the user could see; the
    // view then asks for software formats only. Unset: the view goes over to off-screen
    // software drawing in place, without a word.
    std::function<void()> hardwareFailed;
    // The places to mark on the globe now (asked once a frame); unset or empty: none.
    std::function<std::vector<PlaceMark>()> places;
    // The display choices kept beside the options (the twilight bands), read under `stateLock`;
    // null: their defaults.
    const WorldSettings* world = nullptr;
};

// Whether an accelerated context of this run has failed to reach the screen.
bool HardwareFailedThisRun();

class EarthView : public Window {
public:
    explicit EarthView(const EarthViewModel& model) : model_(model) {}
    // Posted (from any thread) when the time to show has changed: the view draws what changed
    // and shows only that, or the whole frame where the globe must be drawn again.
    static constexpr UINT kShowTimeMessage = WM_APP + 0x160;

    // A child of `parent`; the window class and title are the clock's unless given.
    bool create(HWND parent, int x, int y, int width, int height, const char* className = nullptr,
                const char* title = "");

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onEraseBackground(HDC) override;
    void onSize(int width, int height, UINT kind) override;
    const EarthViewModel& model() const { return model_; }
    // The window's own DC and the OpenGL target drawing into it, once created.
    HDC windowDC() const { return windowDC_.get(); }
    const GLTarget& target() const { return target_; }
    // Whether the view asks for an accelerated pixel format: the clock's for a stored 1.
    virtual bool wantsHardware() const;
    // Draws the time of now: only the time display where the kept globe still stands.
    void showTime();

private:
    void initOpenGL();
    // The globe's mesh and list for the view's size.
    void buildGlobe();
    // After an accelerated frame: whether the screen shows what OpenGL drew.
    void checkHardwareFrame();
    void fallBackToSoftware();
    void onDestroyContext();
    void setProjection();
    void paint();
    void drawFrame(bool whole);
    // Draws the frame; the rows it changed (OpenGL's, from the bottom).
    PixelRows renderFrame();
    void buildGlyphs();
    void drawGlobe(const SceneInputs& in, const PixelRows& timeDisplayRows, const ViewRect& timeDisplayBox);
    void restoreUnderTimeDisplay();
    void refreshMoonTexture(double julianDate);
    void advanceSpin(int viewpoint, int spinSpeed);
    void onMouse(UINT message, WPARAM buttons, int x, int y);
    void endDrag();

    EarthViewModel model_;
    WindowDC windowDC_;
    GLTarget target_;
    int width_ = 1, height_ = 1;
    GLuint listBase_ = 0;
    GLuint textures_[kEarthTextureCount] = {};
    std::unique_ptr<GlobeArrays> globe_;
    LitEarthTexture litEarth_;
    SolarShadowTexture solarShadow_;
    GlyphFont glyphs_;
    PlaceMarkPainter placeMarks_;
    double moonTextureDate_ = 0;
    // Whether the Earth's shadow lies on the Moon's picture, and when that was last looked at.
    bool moonShadowed_ = false;
    double moonShadowLook_ = 0;
    // The globe of the last full frame and the pixels under the time display in it: while the
    // globe stays true, the once-a-second frames only redraw the time display (off screen,
    // where the frame's pixels persist).
    bool globeKept_ = false;
    SceneInputs keptGlobe_ = {};
    std::vector<PlaceMark> marks_;  // this frame's, kept with the globe
    PixelRows keptRows_;
    std::vector<uint8_t> underTimeDisplay_;
    bool dragging_ = false;
    POINT lastMouse_ = {};
    // An accelerated context is watched until the screen has once shown what it drew; two
    // frames that never reached the screen send the view over to software drawing.
    bool hardwareShown_ = false;
    int hardwareMisses_ = 0;
};

// The drag orientation (kept for the life of the process, read under the options lock).
DragOrientation& SharedDragOrientation();
