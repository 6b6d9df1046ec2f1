// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

enum class FileReadResult {
    Missing,    // absent, or could not be opened
    WrongSize,  // opened, but its size is not the expected one; nothing was read
    Read,       // exactly the expected bytes were read
};

// Reads a file that must be exactly `size` bytes long into `buffer`, opened without sharing.
FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size);

// Appends bytes to the file being written; false when they could not all be written.
using FileChunkWriter = std::function<bool(const void* data, std::size_t size)>;

// Writes what `produce` hands to its writer (piece by piece, so a large file needs no buffer
// of its full size) to a temporary file beside `path`, flushes it to disk, then replaces
// `path` with it in one step. When `produce` or any write fails, `path` is left as it was
// and false is returned, with the system's reason in `failure` when given.
bool ReplaceFileAtomically(const std::string& path,
                           const std::function<bool(const FileChunkWriter& write)>& produce,
                           std::string* failure = nullptr);

// The same for bytes already in memory.
inline bool ReplaceFileAtomically(const std::string& path, const void* data, std::size_t size,
                                  std::string* failure = nullptr) {
    return ReplaceFileAtomically(
        path, [&](const FileChunkWriter& write) { return write(data, size); }, failure);
}
