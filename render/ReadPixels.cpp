#include "render/ReadPixels.h"

#include <windows.h>

#include <GL/gl.h>

std::vector<uint8_t> ReadPixelsBgr(int width, int height) {
    const size_t count = size_t(width) * height;
    std::vector<uint8_t> rgba(count * 4), bgr(count * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, rgba.data());
    for (size_t i = 0; i < count; ++i) {
        bgr[3 * i] = rgba[4 * i];
        bgr[3 * i + 1] = rgba[4 * i + 1];
        bgr[3 * i + 2] = rgba[4 * i + 2];
    }
    return bgr;
}
