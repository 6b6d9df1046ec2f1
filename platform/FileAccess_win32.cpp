#include "platform/FileAccess.h"

#include "platform/FailureTrace.h"
#include "platform/HandleOwners.h"
#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <windows.h>

#include <random>

namespace {

// Another process (an editor or a backup program, say) may hold the file for a moment.
// Readers share reading and deleting, so that they never hold up the rename of a writer.
constexpr int kSharingRetries = 10;
constexpr DWORD kSharingRetryMs = 50;
// Tries at new random names before a write gives up on making its temporary file.
constexpr int kTemporaryNameTries = 16;

bool IsTransientSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

HANDLE OpenForReading(const std::wstring& path) {
    for (int attempt = 0;; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (!IsTransientSharingError(GetLastError()) || attempt == kSharingRetries) return file;
        Sleep(kSharingRetryMs);
    }
}

bool MoveReplacing(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        if (!IsTransientSharingError(GetLastError()) || attempt == kSharingRetries) return false;
        Sleep(kSharingRetryMs);
    }
}

// Makes the folder that holds `path` when it is missing.
void MakeParentFolder(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator == 0) return;
    CreateDirectoryW(path.substr(0, separator).c_str(), nullptr);
}

}  // namespace

FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size,
                                   std::string* failure) {
    const FileHandle file(OpenForReading(WideFromUtf8(path)));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileReadResult::Missing;
        TraceFailure("CreateFile " + path, error);
        if (failure != nullptr) *failure = SystemErrorText(error);
        return FileReadResult::Unreadable;
    }
    FileReadResult result = FileReadResult::WrongSize;
    LARGE_INTEGER fileSize = {};
    DWORD read = 0;
    if (GetFileSizeEx(file.get(), &fileSize) && static_cast<ULONGLONG>(fileSize.QuadPart) == size &&
        ReadFile(file.get(), buffer, static_cast<DWORD>(size), &read, nullptr) && read == size) {
        result = FileReadResult::Read;
    }
    return result;
}

std::FILE* OpenFileForReading(const std::string& path) {
    return _wfopen(WideFromUtf8(path).c_str(), L"rb");
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReplaceFileAtomically(const std::string& path,
                           const std::function<bool(const FileChunkWriter& write)>& produce,
                           std::string* failure) {
    const std::wstring target = WideFromUtf8(path);
    MakeParentFolder(target);
    std::random_device random;
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < kTemporaryNameTries; ++attempt) {
        temporary = WideFromUtf8(TemporaryFileName(path, random()));
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        TraceFailure("CreateFile " + Utf8FromWide(temporary));
        if (failure != nullptr) *failure = SystemErrorText(GetLastError());
        return false;
    }
    const FileChunkWriter write = [file](const void* data, std::size_t size) {
        DWORD written = 0;
        return size <= MAXDWORD && WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
    };
    bool complete = produce(write) && FlushFileBuffers(file);
    complete = CloseHandle(file) && complete;
    if (complete && MoveReplacing(temporary, target)) return true;
    const DWORD error = GetLastError();
    TraceFailure("writing " + path, error);
    DeleteFileW(temporary.c_str());
    if (failure != nullptr) *failure = SystemErrorText(error);
    return false;
}
