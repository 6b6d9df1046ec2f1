#include "imagelib/SVShared.h"

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
    const WORD id = kResources[image];
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(libraryInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    *width = info.bmWidth;
    *height = info.bmHeight;
    HRSRC resource = FindResourceA(libraryInstance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource != nullptr ? LoadResource(libraryInstance, resource) : nullptr;
    if (loaded == nullptr) return nullptr;
    return static_cast<const unsigned char*>(LockResource(loaded)) + sizeof(BITMAPINFOHEADER);
}
