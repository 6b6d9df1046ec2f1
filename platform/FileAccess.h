// Whole-file reads, crash-safe whole-file writes and the few other file operations the
// programs need. Paths are UTF-8; the Windows build opens them with the wide calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

enum class FileReadResult {
    Missing,     // neither the file nor, perhaps, its folder exists
    Unreadable,  // it may exist, but could not be opened (locked, denied, ...)
    WrongSize,   // opened, but its size is not the expected one; nothing was read
    Read,        // exactly the expected bytes were read
};

// Reads a file that must be exactly `size` bytes long into `buffer`. Others may read it at
// the same time; a file being written by another program is waited for a moment. The
// system's reason for an Unreadable file goes to `failure` when given.
FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size,
                                   std::string* failure = nullptr);

// Opens a file for reading in binary mode, as std::fopen(path, "rb") would; null on failure.
std::FILE* OpenFileForReading(const std::string& path);

// Whether a file (not a folder) is at `path`.
bool FileExists(const std::string& path);

// Appends bytes to the file being written; false when they could not all be written.
using FileChunkWriter = std::function<bool(const void* data, std::size_t size)>;

// The name of a temporary file beside `path` for one write: "<path>.<8 hex digits>.new".
inline std::string TemporaryFileName(const std::string& path, uint32_t tag) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.new", unsigned(tag));
    return path + suffix;
}

// Writes what `produce` hands to its writer (piece by piece, so a large file needs no buffer
// of its full size) to a temporary file beside `path`, flushes it to disk, then replaces
// `path` with it in one step. Each write makes a new temporary file of its own (a random
// name, created only where none is), so that writers of the same file at the same time
// neither fail for each other nor put each other's unfinished files in place. The file's folder is made when it is missing (one level). When
// `produce` or any write fails, `path` is left as it was and false is returned, with the
// system's reason in `failure` when given.
bool ReplaceFileAtomically(const std::string& path,
                           const std::function<bool(const FileChunkWriter& write)>& produce,
                           std::string* failure = nullptr);

// The same for bytes already in memory.
inline bool ReplaceFileAtomically(const std::string& path, const void* data, std::size_t size,
                                  std::string* failure = nullptr) {
    return ReplaceFileAtomically(
        path, [&](const FileChunkWriter& write) { return write(data, size); }, failure);
}
