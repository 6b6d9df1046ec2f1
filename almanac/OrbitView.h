// The animated lunar month of the Lunar Phases window: the textured Earth turning on its
// tilted axis, the Moon going round it on a grey circle, an inset of the phase the Moon then
// shows from the Earth, and its name. About 20 frames a second; the angles carry on where
// they stopped when the window is opened again.
//
// Drawn without OpenGL: the line and the label stay in a kept background, the balls are drawn
// pixel by pixel over a copy of it, and only where they were and are is copied to the window.
#pragma once

#include "almanac/OrbitAnimation.h"
#include "almanac/OrbitPicture.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"
#include "platform/WindowVisibility.h"

#include <mmsystem.h>

#include <memory>
#include <vector>

class OrbitView : public Window {
public:
    // `angles` and `labels` outlive the view: the animation resumes from them. While `parent`
    // (which outlives the view too) cannot be seen, frames only move the animation on.
    OrbitView(OrbitAngles& angles, PhaseLabelTracker& labels, const WindowVisibility& parent)
        : angles_(angles), labels_(labels), parent_(parent) {}
    // `coveredTop`: the view's top rows that it leaves to the parent (the banner above it).
    bool create(HWND parent, int x, int y, int width, int height, int coveredTop);
    // How many orbit views' frame timers run now, in the whole process.
    static int runningFrameTimers() { return RunningFrameTimers(); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onEraseBackground(HDC) override;
    void onSize(int width, int height, UINT kind) override;

private:
    static constexpr UINT kFrameDue = WM_APP + 1;  // posted by the frame timer
    static void CALLBACK onFrameTimer(UINT id, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR);
    static int& RunningFrameTimers();
    void paint();
    bool makePicture(int width, int height);
    void releasePicture();
    void followLabel();
    bool drawFrame();
    void showNextFrame();
    void labelBackground(const char* label);
    void restore(const PixelBox& box);
    void copyToWindow(const PixelBox& box);

    OrbitAngles& angles_;
    PhaseLabelTracker& labels_;
    const WindowVisibility& parent_;
    WindowDC dc_;
    MemoryDC memoryDC_;  // the frame being drawn, in `frame_`
    GdiBitmap frame_;
    SelectedObject frameSelection_;
    PixelCanvas canvas_;               // the frame's pixels
    std::vector<uint8_t> line_;        // black and the orbit line
    std::vector<uint8_t> background_;  // that and the label: copied under every frame
    std::unique_ptr<OrbitPainter> balls_;
    GdiFont labelFont_;
    int labelBaseline_ = 0;  // pixels from the top
    UINT frameTimer_ = 0;
    int label_ = -1;       // the label for the angles now
    int shownLabel_ = -1;  // the label in the background, -1 before the first frame
    PixelBox moonWas_;     // where the Moon was drawn last
    bool stale_ = false;   // frames went by unseen: the bitmap is not the animation's now
    int coveredTop_ = 0;
};
