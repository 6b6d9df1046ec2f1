#include "render/ViewContext.h"

#include <GL/gl.h>

HGLRC CreateViewContext(GLTarget& target, HDC windowDC, bool hardware) {
    if (hardware) return target.createForWindow(windowDC, 16, 16, 0, 0, 1);
    OSVERSIONINFOA version = {sizeof(version)};
    GetVersionExA(&version);
    if (version.dwMajorVersion == 5 && version.dwMinorVersion == 0) {
        return target.createOffscreen(windowDC, 1, 1, 32, 16, 0, 0);
    }
    if (HGLRC context = target.createSoftwareForWindow(windowDC, 16, 16, 0, 0, 1)) return context;
    return target.createOffscreen(windowDC, 1, 1, 32, 16, 0, 0);
}

namespace {

std::string GLText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

OpenGLDriverNames DriverOfViewContext(bool hardware) {
    OpenGLDriverNames names;
    // A window of its own: a pixel format, once set, stays with the window for good.
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return names;
    HGLRC previousContext = wglGetCurrentContext();
    HDC previousDC = wglGetCurrentDC();
    {
        WindowDC dc(window);
        GLTarget target;
        if (CreateViewContext(target, dc.get(), hardware) != nullptr) {
            names = {GLText(GL_VENDOR), GLText(GL_RENDERER), GLText(GL_VERSION)};
        }
    }
    DestroyWindow(window);
    if (previousContext != nullptr) wglMakeCurrent(previousDC, previousContext);
    return names;
}
