#include "app/IniFile.h"

#include "platform/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A value as a line can hold it: control characters become spaces, and the blanks reading
// would trim go.
std::string OneLineValue(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (uint8_t(c) < 0x20 || c == 0x7F) c = ' ';
    }
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return line.substr(first, line.find_last_not_of(' ') - first + 1);
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

IniFile::IniFile(std::string_view text) {
    byteOrderMark_ = text.substr(0, 3) == "\xEF\xBB\xBF";
    if (byteOrderMark_) text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
    }
    index();
}

void IniFile::index() {
    entries_.clear();
    damagedLines_.clear();
    sections_.clear();
    roles_.assign(lines_.size(), LineRole());
    std::string section;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const int number = int(i) + 1;
        const std::string_view line = Trimmed(lines_[i]);
        LineRole& role = roles_[i];
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        role.kind = LineKind::Damaged;
        if (inSection) role.section = section;
        if (!IsCleanUtf8(line)) {
            damagedLines_.push_back(number);
        } else if (line.front() == '[') {
            const std::string_view name = Trimmed(line.substr(1, line.size() - 1 - (line.back() == ']')));
            inSection = line.size() > 1 && line.back() == ']' && !name.empty();
            if (inSection) {
                section = std::string(name);
                role = {LineKind::Header, section, ""};
                const bool known = std::any_of(sections_.begin(), sections_.end(),
                                               [&](const IniSection& s) { return SameName(s.name, name); });
                if (!known) sections_.push_back({section, number});
            } else {
                role = {LineKind::BadHeader, "", ""};
                damagedLines_.push_back(number);
            }
        } else {
            const std::size_t equals = line.find('=');
            const std::string_view key = Trimmed(line.substr(0, equals));
            if (equals == std::string_view::npos || key.empty() || !inSection) {
                damagedLines_.push_back(number);
            } else {
                role = {LineKind::Key, section, std::string(key)};
                if (find(section, key) == nullptr) {
                    entries_.push_back({section, std::string(key), std::string(Trimmed(line.substr(equals + 1))), number});
                }
            }
        }
    }
}

const IniEntry* IniFile::find(std::string_view section, std::string_view key) const {
    for (const IniEntry& entry : entries_) {
        if (SameName(entry.section, section) && SameName(entry.key, key)) return &entry;
    }
    return nullptr;
}

// Each header of the section, to the last line after it that is a key or a damaged line,
// before the next header.
std::vector<IniFile::Block> IniFile::blocksOf(std::string_view section) const {
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (roles_[i].kind != LineKind::Header || !SameName(roles_[i].section, section)) continue;
        Block block{i, i};
        for (std::size_t j = i + 1; j < lines_.size(); ++j) {
            const LineKind kind = roles_[j].kind;
            if (kind == LineKind::Header || kind == LineKind::BadHeader) break;
            if (kind != LineKind::Other) block.last = j;
        }
        blocks.push_back(block);
    }
    return blocks;
}

void IniFile::eraseBlocks(const std::vector<Block>& blocks) {
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        lines_.erase(lines_.begin() + std::ptrdiff_t(block->first), lines_.begin() + std::ptrdiff_t(block->last) + 1);
    }
    index();
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + OneLineValue(value);
    if (const IniEntry* entry = find(section, key)) {
        lines_[std::size_t(entry->line) - 1] = entry->key + line.substr(key.size());
    } else if (const std::vector<Block> blocks = blocksOf(section); !blocks.empty()) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(blocks.back().last) + 1, line);
    } else {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(line);
    }
    index();
}

void IniFile::remove(std::string_view section, std::string_view key) {
    for (std::size_t i = lines_.size(); i-- > 0;) {
        const LineRole& role = roles_[i];
        if (role.kind == LineKind::Key && SameName(role.section, section) && SameName(role.key, key)) {
            lines_.erase(lines_.begin() + std::ptrdiff_t(i));
        }
    }
    index();
}

void IniFile::removeSection(std::string_view section) { eraseBlocks(blocksOf(section)); }

IniFile IniFile::takeSection(std::string_view section) {
    const std::vector<Block> blocks = blocksOf(section);
    IniFile piece;
    for (const Block& block : blocks) {
        piece.lines_.insert(piece.lines_.end(), lines_.begin() + std::ptrdiff_t(block.first),
                            lines_.begin() + std::ptrdiff_t(block.last) + 1);
    }
    piece.index();
    eraseBlocks(blocks);
    return piece;
}

void IniFile::renameSection(std::string_view from, std::string_view to) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (roles_[i].kind == LineKind::Header && SameName(roles_[i].section, from)) lines_[i] = "[" + std::string(to) + "]";
    }
    index();
}

void IniFile::insert(int line, const IniFile& piece) {
    const std::size_t at = std::min(std::size_t(std::max(line - 1, 0)), lines_.size());
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), piece.lines_.begin(), piece.lines_.end());
    index();
}

std::string IniFile::text() const {
    std::string text = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

std::optional<bool> IniSwitch(const IniFile& file, std::string_view section, std::string_view key) {
    const IniEntry* entry = file.find(section, key);
    if (entry == nullptr || entry->value == "0") return false;
    if (entry->value == "1") return true;
    return std::nullopt;
}

bool ReadIniText(const std::string& path, std::string& text, std::string* failure) {
    text.clear();
    if (!FileExists(path)) return true;
    std::FILE* stream = OpenFileForReading(path);
    if (stream == nullptr) {
        if (failure) *failure = std::strerror(errno);
        return false;
    }
    // Read a piece at a time: a settings file is a few hundred bytes, and nothing larger than
    // any settings file is taken in whole.
    constexpr std::size_t kLimit = 1 << 20;
    char piece[4096];
    std::size_t read = 0;
    while (text.size() <= kLimit && (read = std::fread(piece, 1, sizeof piece, stream)) > 0) text.append(piece, read);
    const bool failed = std::ferror(stream) != 0;
    const int error = failed ? errno : EFBIG;
    std::fclose(stream);
    if (!failed && text.size() <= kLimit) return true;
    if (failure) *failure = std::strerror(error);
    text.clear();
    return false;
}

bool ReadIniFile(const std::string& path, IniFile& file) {
    std::string text;
    const bool read = ReadIniText(path, text);
    file = IniFile(text);
    return read;
}
