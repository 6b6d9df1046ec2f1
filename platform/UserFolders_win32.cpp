#include "platform/UserFolders.h"

#include "platform/WideText.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path)) && path[0] != L'\0') {
        folder = Utf8FromWide(path, wcslen(path)) + "\\";
    }
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::string RoamingDataFolder() { return KnownFolder(FOLDERID_RoamingAppData); }

std::string LocalDataFolder() { return KnownFolder(FOLDERID_LocalAppData); }
