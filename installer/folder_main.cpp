// solvane-folder.exe: Setup's helper for the install folder, run by the installer (as the
// administrator it runs as) from its own temporary folder.
//
//   solvane-folder.exe check|take-over fresh|upgrade SHIPPED_LIST FOLDER
//
// SHIPPED_LIST names the files the installer writes, one path relative to the folder a line.
// The exit status is a TakeOverStatus; what it names (a path, an owner, a reason) is written
// to the standard output as UTF-16 text.
#include "installer/InstallFolderTakeOver.h"

#include "platform/HandleOwners.h"
#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

void Say(const std::string& text) {
    const std::wstring wide = WideFromUtf8(text);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, wide.data(), DWORD(wide.size()), &written, nullptr);
        return;
    }
    const std::wstring marked = L"\xFEFF" + wide;  // the byte order mark: the reader knows it for UTF-16
    WriteFile(out, marked.data(), DWORD(marked.size() * sizeof(wchar_t)), &written, nullptr);
}

// The whole file as text; false when it cannot be read.
bool ReadList(const std::wstring& path, std::string& text) {
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    bool read = GetFileSizeEx(file.get(), &size) && size.QuadPart < (1 << 20);
    if (read) {
        text.resize(size_t(size.QuadPart));
        DWORD got = 0;
        read = ReadFile(file.get(), text.data(), DWORD(text.size()), &got, nullptr) && got == text.size();
    }
    return read;
}

int Run(int count, wchar_t** arguments) {
    const std::wstring action = count == 5 ? arguments[1] : L"";
    const std::wstring kind = count == 5 ? arguments[2] : L"";
    if ((action != L"check" && action != L"take-over") || (kind != L"fresh" && kind != L"upgrade")) {
        Say("usage: solvane-folder.exe check|take-over fresh|upgrade SHIPPED_LIST FOLDER");
        return int(TakeOverStatus::Failed);
    }
    std::string list;
    if (!ReadList(arguments[3], list)) {
        Say(Utf8FromWide(std::wstring(arguments[3])) + ": " + SystemErrorText(GetLastError()));
        return int(TakeOverStatus::Failed);
    }
    const ShippedFiles shipped = ShippedFiles::FromList(list);
    const std::string folder = Utf8FromWide(std::wstring(arguments[4]));
    const InstallKind installKind = kind == L"fresh" ? InstallKind::Fresh : InstallKind::Upgrade;
    const TakeOverResult result = action == L"check" ? CheckInstallFolder(folder, installKind, shipped)
                                                     : TakeOverInstallFolder(folder, installKind, shipped);
    Say(result.detail);
    return int(result.status);
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return int(TakeOverStatus::Failed);
    const int status = Run(count, arguments);
    LocalFree(arguments);
    return status;
}
