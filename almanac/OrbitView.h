// The animated lunar month of the Lunar Phases window: the textured Earth turning on its
// tilted axis, the Moon going round it inside a grey circle, an inset of the phase the Moon then
// shows from the Earth, and its name. About 20 frames a second; the angles carry on where
// they stopped when the window is opened again.
#pragma once

#include "almanac/OrbitAnimation.h"
#include "platform/Window.h"
#include "render/GLTarget.h"
#include "render/GlyphFont.h"

#include <mmsystem.h>

class OrbitView : public Window {
public:
    // `angles` and `labels` outlive the view: the animation resumes from them.
    OrbitView(bool hardware, OrbitAngles& angles, PhaseLabelTracker& labels)
        : hardware_(hardware), angles_(angles), labels_(labels) {}
    // `coveredTop`: the view's top rows that it leaves to the parent (the banner above it).
    bool create(HWND parent, int x, int y, int width, int height, int coveredTop);
    // How many orbit views' frame timers run now, in the whole process.
    static int runningFrameTimers() { return RunningFrameTimers(); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;

private:
    static void CALLBACK onFrameTimer(UINT id, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR);
    static int& RunningFrameTimers();
    void buildScene();
    void paint();
    void drawLabel();

    bool hardware_;
    OrbitAngles& angles_;
    PhaseLabelTracker& labels_;
    HDC dc_ = nullptr;
    GLTarget target_;
    GlyphFont glyphs_;
    float labelScale_ = 1;  // the window's DPI over 96
    GLuint earth_ = 0, moon_ = 0, orbit_ = 0;
    GLuint textures_[3] = {};
    UINT frameTimer_ = 0;
    int width_ = 1, height_ = 1;
    int shownLabel_ = -1;  // the label last drawn
    int coveredTop_ = 0;
};
