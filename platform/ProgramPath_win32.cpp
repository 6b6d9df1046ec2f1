#include "platform/ProgramPath.h"

#include "platform/WideText.h"

#include <windows.h>

std::string ProgramPath() {
    // The buffer grows until the whole path fits, however long.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) return Utf8FromWide(path.data(), length);
        if (path.size() >= 32768) return std::string();
        path.resize(path.size() * 2);
    }
}
