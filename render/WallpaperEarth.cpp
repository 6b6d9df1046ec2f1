#include "render/WallpaperEarth.h"

#include "app/UserOptions.h"
#include "render/GLDrawing.h"
#include "render/MoonPhaseImage.h"
#include "render/ReadPixels.h"

#include <GL/glu.h>

namespace {

constexpr int kMoonPictureSize = 64;

// A memory DC with a w x h 32-bit DIB and an OpenGL context on it. (Wine's OpenGL writes
// 4-byte pixels even into 24-bit DIBs; 32 bits work the same everywhere.)
class OffscreenSurface {
public:
    bool create(int width, int height) {
        BITMAPINFOHEADER header = {sizeof(header)};
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = DWORD(width * height * 4);
        header.biXPelsPerMeter = header.biYPelsPerMeter = 2952;
        HDC desktop = GetDC(GetDesktopWindow());
        dc_ = CreateCompatibleDC(desktop);
        ReleaseDC(GetDesktopWindow(), desktop);
        void* bits = nullptr;
        dib_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                nullptr, 0);
        if (dib_ == nullptr) return false;
        previous_ = static_cast<HBITMAP>(SelectObject(dc_, dib_));
        PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 32;
        pfd.cRedBits = 8;
        pfd.cGreenBits = 8;
        pfd.cDepthBits = 32;
        const int format = ChoosePixelFormat(dc_, &pfd);
        if (format == 0 || !SetPixelFormat(dc_, format, &pfd)) return false;
        context_ = wglCreateContext(dc_);
        return context_ != nullptr && wglMakeCurrent(dc_, context_);
    }
    ~OffscreenSurface() {
        wglMakeCurrent(nullptr, nullptr);
        if (context_ != nullptr) wglDeleteContext(context_);
        if (dib_ != nullptr) {
            SelectObject(dc_, previous_);
            DeleteObject(dib_);
        }
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    HGLRC context() const { return context_; }

private:
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr, previous_ = nullptr;
    HGLRC context_ = nullptr;
};

void SetWallpaperState(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(5, double(width) / height, 1, 2100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -2000);
    glClearColor(0, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glPointSize(3);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          RecursiveLock& optionsLock, HDC dc, HGLRC context) {
    if (inputs.displayFlags & kShowMoon) {
        const std::vector<uint8_t> moon =
            renderMoonPhaseImage(inputs.julianDate, kMoonPictureSize, optionsLock);
        wglMakeCurrent(dc, context);
        glBindTexture(GL_TEXTURE_2D, resources.textures[kTextureMoon]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kMoonPictureSize, kMoonPictureSize, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, moon.data());
    }
    DrawEarthScene(resources, inputs, optionsLock);
    glDisable(GL_BLEND);
    glFinish();
}

std::vector<uint8_t> WallpaperRenderer::render(const WallpaperRequest& request,
                                               RecursiveLock& optionsLock) {
    const int w = request.width, h = request.height;
    OffscreenSurface surface;
    if (!surface.create(w, h)) return {};
    SetWallpaperState(w, h);

    GLuint textures[kEarthTextureCount] = {};
    glGenTextures(7, textures);
    initTextures(textures, true, MapsShownWith(request.scene.displayFlags));
    const GLuint grid = glGenLists(3);
    buildGridLists(grid);
    const double nearSide[4] = {0, 0, 1, 0};
    glClipPlane(GL_CLIP_PLANE0, nearSide);
    glEnable(GL_CLIP_PLANE0);
    const GlobeArrays globe(GlobeMesh(51, 81, 80.0f));

    glClear(GL_COLOR_BUFFER_BIT);
    SceneInputs inputs = request.scene;
    inputs.spinAngle = angle_;
    const SceneResources resources = {textures, grid, 0, &globe};
    renderWallpaperEarth(resources, inputs, optionsLock, surface.dc(), surface.context());
    if (inputs.viewpoint == kViewTickingGlobe || inputs.viewpoint == kViewSpinningGlobe) {
        angle_ += 5;
        if (angle_ > 360) angle_ = 5;
    }
    glColor3ub(255, 255, 255);

    std::vector<uint8_t> pixels = ReadPixelsBgr(w, h);
    glDeleteLists(grid, 3);
    glDeleteTextures(7, textures);
    return pixels;
}
