// The text of an INI file as the per-user settings file uses it: UTF-8 (a byte-order mark is
// skipped), "[Section]" lines, "Key=Value" lines, and ";" or "#" comments. Names compare
// without regard to case, as Windows' own INI functions do; the first of two equal keys counts.
// The file is edited line by line: every line the edits do not touch (comments, blank lines,
// keys and sections the program does not know, lines it cannot read) is written out again as
// it stands.
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

struct IniSection {
    std::string name;  // as first spelled
    int line = 0;      // of its first header, 1-based
};

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The keys with their values, in file order (of two equal keys only the first).
    const std::vector<IniEntry>& entries() const { return entries_; }
    // Lines that are neither blank, a comment, a section nor a key with a value (no "=", an
    // empty key or section name, a key before any section, bytes that are not UTF-8): skipped.
    const std::vector<int>& damagedLines() const { return damagedLines_; }
    // The sections in file order, each once.
    const std::vector<IniSection>& sections() const { return sections_; }

    // The value of `key` in `section`; none when the file has no such key.
    const IniEntry* find(std::string_view section, std::string_view key) const;

    // Sets the key's value: the key's line is replaced, or a new one goes at the end of its
    // section, or the section is added at the end of the file. Line breaks and other control
    // characters in the value become spaces, and blanks around it go (reading trims them).
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Takes away the key (every line of it) from the section.
    void remove(std::string_view section, std::string_view key);
    // Takes away the section's lines, from each header of it to its last key or line that could
    // not be read; blank lines and comments after that stay (they lead to what follows).
    void removeSection(std::string_view section);
    // Takes the section's lines out of this file, as removeSection does, and gives them back as
    // a file of their own.
    IniFile takeSection(std::string_view section);
    // Gives the section's headers a new name; what they hold stays.
    void renameSection(std::string_view from, std::string_view to);
    // Puts the lines of `piece` before the line `line` (1-based; past the end: at the end).
    void insert(int line, const IniFile& piece);

    int lineCount() const { return int(lines_.size()); }
    // The file as UTF-8 with CRLF line ends (and the byte-order mark when it had one).
    std::string text() const;

private:
    struct Block {
        std::size_t first, last;  // line indexes, inclusive
    };
    void index();
    std::vector<Block> blocksOf(std::string_view section) const;
    void eraseBlocks(const std::vector<Block>& blocks);

    enum class LineKind { Other, Header, BadHeader, Key, Damaged };
    struct LineRole {
        LineKind kind = LineKind::Other;
        std::string section, key;  // a header's own name; the section a key lies in
    };
    std::vector<std::string> lines_;  // as they stand, without their line ends
    std::vector<LineRole> roles_;
    bool byteOrderMark_ = false;
    std::vector<IniEntry> entries_;
    std::vector<int> damagedLines_;
    std::vector<IniSection> sections_;
};

inline IniFile ParseIni(std::string_view text) { return IniFile(text); }

// Reads the file at `path` as it is on disk; a missing file is an empty one. False when the
// file is there but could not be read, or is larger than any settings file (1 MiB), with the
// system's reason in `failure` when given.
bool ReadIniText(const std::string& path, std::string& text, std::string* failure = nullptr);

// Reads and parses the file at `path` (UTF-8), as ReadIniText.
bool ReadIniFile(const std::string& path, IniFile& file);

// A switch: "1" is on, "0" (or no such key) is off; any other value is none, for the caller to
// report like a damaged line.
std::optional<bool> IniSwitch(const IniFile& file, std::string_view section, std::string_view key);
