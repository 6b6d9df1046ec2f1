#include "location/Utf8Text.h"

namespace {

// Letters laid out as capital and small in turn: the capital at even (or odd) code points.
bool IsPairCapital(uint32_t c, uint32_t first, uint32_t last) {
    return c >= first && c <= last && (c - first) % 2 == 0;
}

}  // namespace

bool NextCodePoint(std::string_view text, std::size_t& i, uint32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return false;
    }
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    i += length;
    return c >= kSmallest[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

bool IsUtf8(std::string_view text) {
    uint32_t c = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!NextCodePoint(text, i, c)) return false;
    }
    return true;
}

uint32_t FoldCase(uint32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    // Latin-1 and Latin Extended-A.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if (IsPairCapital(c, 0x100, 0x12F) || IsPairCapital(c, 0x132, 0x137) ||
        IsPairCapital(c, 0x139, 0x148) || IsPairCapital(c, 0x14A, 0x177) ||
        IsPairCapital(c, 0x179, 0x17E)) {
        return c + 1;
    }
    // Latin Extended-B: the pairs and the capitals of open o, African d and schwa.
    if (c == 0x186) return 0x254;
    if (c == 0x189) return 0x256;
    if (c == 0x18F) return 0x259;
    if (IsPairCapital(c, 0x1CD, 0x1DC) || IsPairCapital(c, 0x1DE, 0x1EF) ||
        IsPairCapital(c, 0x1F8, 0x21F) || IsPairCapital(c, 0x222, 0x233)) {
        return c + 1;
    }
    // Greek.
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 32;
    if (c == 0x3C2) return 0x3C3;
    // Cyrillic.
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c == 0x4C0) return 0x4CF;
    if (IsPairCapital(c, 0x460, 0x481) || IsPairCapital(c, 0x48A, 0x4BF) ||
        IsPairCapital(c, 0x4C1, 0x4CE) || IsPairCapital(c, 0x4D0, 0x52F)) {
        return c + 1;
    }
    // Armenian.
    if (c >= 0x531 && c <= 0x556) return c + 48;
    // Latin Extended Additional (Vietnamese, Welsh, ...).
    if (c == 0x1E9E) return 0xDF;
    if (IsPairCapital(c, 0x1E00, 0x1E95) || IsPairCapital(c, 0x1EA0, 0x1EFF)) return c + 1;
    return c;
}
