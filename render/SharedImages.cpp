#include "render/SharedImages.h"

#include "app/ProgramFiles.h"
#include "platform/FolderTrustReading.h"
#include "platform/ProgramPath.h"
#include "platform/WideText.h"

#include <windows.h>

namespace {

using LoadImageFunction = const unsigned char* (*)(uint32_t, int32_t*, int32_t*);

std::string& Folder() {
    static std::string folder;
    return folder;
}

// The library's loader, found once; the library stays loaded for the rest of the run.
LoadImageFunction Loader() {
    static LoadImageFunction loader = [] {
        const bool named = !Folder().empty();
        const std::string path = named ? Folder() + "SVShared.dll" : FileBesideProgram(ProgramPath(), "SVShared.dll");
        if (named && !ProgramFileIsTrusted(path)) return LoadImageFunction(nullptr);
        HMODULE library = LoadLibraryW(WideFromUtf8(path).c_str());
        if (library == nullptr) return LoadImageFunction(nullptr);
        return reinterpret_cast<LoadImageFunction>(reinterpret_cast<void*>(GetProcAddress(library, "svLoadImage")));
    }();
    return loader;
}

}  // namespace

void SetSharedImagesFolder(const std::string& folder) { Folder() = folder; }

const unsigned char* LoadSharedImage(uint32_t image, int32_t* width, int32_t* height) {
    const LoadImageFunction load = Loader();
    return load != nullptr ? load(image, width, height) : nullptr;
}
