// The text of an INI file as the per-user settings file uses it: UTF-8 (a byte-order mark is
// skipped), "[Section]" lines, "Key=Value" lines, and ";" or "#" comments. Names compare
// without regard to case, as Windows' own INI functions do; the first of two equal keys counts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    int line = 0;  // 1-based
};

struct IniFile {
    std::vector<IniEntry> entries;  // in file order
    // Lines that are neither blank, a comment, a section nor a key with a value (no "=", an
    // empty key or section name, a key before any section, bytes that are not UTF-8): skipped.
    std::vector<int> damagedLines;

    // The value of `key` in `section`; none when the file has no such key.
    const IniEntry* find(std::string_view section, std::string_view key) const;
};

IniFile ParseIni(std::string_view text);

// Reads and parses the file at `path` (UTF-8); a missing file is an empty one. False when the
// file is there but could not be read, or is larger than any settings file (1 MiB).
bool ReadIniFile(const std::string& path, IniFile& file);

// A switch: "1" is on, "0" (or no such key) is off; any other value is none, for the caller to
// report like a damaged line.
std::optional<bool> IniSwitch(const IniFile& file, std::string_view section, std::string_view key);
