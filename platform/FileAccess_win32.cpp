#include "platform/FileAccess.h"

#include <windows.h>

namespace {

// Another process (the screen saver reading the options, say) may hold the file for a moment.
constexpr int kSharingRetries = 10;
constexpr DWORD kSharingRetryMs = 50;

bool IsTransientSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

HANDLE OpenForReadingUnshared(const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (GetLastError() != ERROR_SHARING_VIOLATION || attempt == kSharingRetries) return file;
        Sleep(kSharingRetryMs);
    }
}

bool MoveReplacing(const std::string& from, const std::string& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        if (!IsTransientSharingError(GetLastError()) || attempt == kSharingRetries) return false;
        Sleep(kSharingRetryMs);
    }
}

// The system's text for an error code, without its line break.
std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length > 0 ? std::string(text, length) : "Error " + std::to_string(error);
    if (text != nullptr) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

}  // namespace

FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size) {
    HANDLE file = OpenForReadingUnshared(path);
    if (file == INVALID_HANDLE_VALUE) return FileReadResult::Missing;
    FileReadResult result = FileReadResult::WrongSize;
    LARGE_INTEGER fileSize = {};
    DWORD read = 0;
    if (GetFileSizeEx(file, &fileSize) && static_cast<ULONGLONG>(fileSize.QuadPart) == size &&
        ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr) && read == size) {
        result = FileReadResult::Read;
    }
    CloseHandle(file);
    return result;
}

bool ReplaceFileAtomically(const std::string& path,
                           const std::function<bool(const FileChunkWriter& write)>& produce,
                           std::string* failure) {
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (failure != nullptr) *failure = SystemErrorText(GetLastError());
        return false;
    }
    const FileChunkWriter write = [file](const void* data, std::size_t size) {
        DWORD written = 0;
        return size <= MAXDWORD && WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
    };
    bool complete = produce(write) && FlushFileBuffers(file);
    complete = CloseHandle(file) && complete;
    if (complete && MoveReplacing(temporary, path)) return true;
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    if (failure != nullptr) *failure = SystemErrorText(error);
    return false;
}
