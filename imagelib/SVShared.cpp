#include "imagelib/SVShared.h"

#include "platform/BitmapResource.h"

#include <windows.h>

namespace {

HINSTANCE libraryInstance = nullptr;

// Resource numbers by image number (images 3 and 4 cross over).
constexpr WORD kResources[] = {101, 102, 103, 105, 104};

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) libraryInstance = instance;
    return TRUE;
}

const unsigned char* svLoadImage(uint32_t image, int32_t* width, int32_t* height) {
    if (image >= sizeof kResources / sizeof kResources[0]) return nullptr;
    int w = 0, h = 0;
    const unsigned char* pixels = BitmapResourcePixels(libraryInstance, kResources[image], &w, &h);
    if (pixels == nullptr) return nullptr;
    // Either size may be left unasked for.
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    return pixels;
}
