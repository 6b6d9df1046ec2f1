#include "app/IniFile.h"

#include "platform/FileAccess.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Well-formed UTF-8 without control characters other than tabs.
bool IsCleanUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = uint8_t(text[i]);
        if (byte < 0x80) {
            if (byte < 0x20 && byte != '\t' && byte != '\r') return false;
            ++i;
            continue;
        }
        const int extra = byte >= 0xF0 && byte <= 0xF4 ? 3 : byte >= 0xE0 && byte <= 0xEF ? 2 : byte >= 0xC2 && byte < 0xE0 ? 1 : -1;
        if (extra < 0 || i + std::size_t(extra) >= text.size()) return false;
        uint32_t code = byte & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = uint8_t(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

}  // namespace

const IniEntry* IniFile::find(std::string_view section, std::string_view key) const {
    for (const IniEntry& entry : entries) {
        if (SameName(entry.section, section) && SameName(entry.key, key)) return &entry;
    }
    return nullptr;
}

IniFile ParseIni(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    IniFile file;
    std::string section;
    bool inSection = false;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (!IsCleanUtf8(line)) {
            file.damagedLines.push_back(number);
        } else if (line.front() == '[') {
            const std::string_view name = Trimmed(line.substr(1, line.size() - 1 - (line.back() == ']')));
            inSection = line.size() > 1 && line.back() == ']' && !name.empty();
            if (inSection) section = std::string(name);
            else file.damagedLines.push_back(number);
        } else {
            const std::size_t equals = line.find('=');
            const std::string_view key = Trimmed(line.substr(0, equals));
            if (equals == std::string_view::npos || key.empty() || !inSection) {
                file.damagedLines.push_back(number);
            } else if (file.find(section, key) == nullptr) {
                file.entries.push_back({section, std::string(key), std::string(Trimmed(line.substr(equals + 1))), number});
            }
        }
    }
    return file;
}

std::optional<bool> IniSwitch(const IniFile& file, std::string_view section, std::string_view key) {
    const IniEntry* entry = file.find(section, key);
    if (entry == nullptr || entry->value == "0") return false;
    if (entry->value == "1") return true;
    return std::nullopt;
}

bool ReadIniFile(const std::string& path, IniFile& file) {
    file = IniFile();
    if (!FileExists(path)) return true;
    std::FILE* stream = OpenFileForReading(path);
    if (stream == nullptr) return false;
    // Read a piece at a time: a settings file is a few hundred bytes, and nothing larger than
    // any settings file is taken in whole.
    constexpr std::size_t kLimit = 1 << 20;
    std::string text;
    char piece[4096];
    std::size_t read = 0;
    while (text.size() <= kLimit && (read = std::fread(piece, 1, sizeof piece, stream)) > 0) text.append(piece, read);
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed || text.size() > kLimit) return false;
    file = ParseIni(text);
    return true;
}
