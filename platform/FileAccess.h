// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <string>

enum class FileReadResult {
    Missing,    // absent, or could not be opened
    WrongSize,  // opened, but its size is not the expected one; nothing was read
    Read,       // exactly the expected bytes were read
};

// Reads a file that must be exactly `size` bytes long into `buffer`, opened without sharing.
FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size);

// Writes `data` to a temporary file beside `path`, flushes it to disk, then replaces `path`
// with it in one step. On failure `path` is left as it was and false is returned.
bool ReplaceFileAtomically(const std::string& path, const void* data, std::size_t size);
