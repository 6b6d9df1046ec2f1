#include "render/ResourceBitmaps.h"

#include <windows.h>

#include <GL/gl.h>

#include <vector>

const unsigned char* loadResourceBitmap(int id, int* width, int* height) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    if (loaded == nullptr) return nullptr;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return static_cast<const unsigned char*>(LockResource(loaded)) + sizeof(BITMAPINFOHEADER);
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
