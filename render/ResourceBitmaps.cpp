#include "render/ResourceBitmaps.h"

#include "platform/BitmapResource.h"
#include "res/resource.h"

#include <windows.h>

#include <GL/gl.h>

#include <vector>

const unsigned char* loadResourceBitmap(int id, int* width, int* height) {
    return BitmapResourcePixels(GetModuleHandleA(nullptr), id, width, height);
}

void swapRedBlue(unsigned char* pixels, int width, int height) {
    for (int i = 0, n = width * height; i < n; ++i) {
        const unsigned char blue = pixels[3 * i];
        pixels[3 * i] = pixels[3 * i + 2];
        pixels[3 * i + 2] = blue;
    }
}

bool textureFromResource(int id, int filter, int wrap) {
    int width = 0, height = 0;
    const unsigned char* pixels = loadResourceBitmap(id, &width, &height);
    if (pixels == nullptr) return false;
    std::vector<unsigned char> rgb(pixels, pixels + width * height * 3);
    swapRedBlue(rgb.data(), width, height);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return true;
}

namespace {
int moonSurfaceBitmap = IDB_MOON_FACE;
}  // namespace

int MoonSurfaceBitmap() { return moonSurfaceBitmap; }

void SetMoonSurfaceBitmap(int id) { moonSurfaceBitmap = id; }
