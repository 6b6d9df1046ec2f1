// UTF-8 text of place names: decoding code points, and comparing names without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Decodes the UTF-8 sequence at `i` into `c` and moves `i` past it. False (and `i` moved one
// byte on) for a malformed sequence: a bad lead or continuation byte, a cut sequence, an overlong
// form, a surrogate or a value above U+10FFFF.
bool NextCodePoint(std::string_view text, std::size_t& i, uint32_t& c);

// Whether all of `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// The lower-case form of `c` for the letters of the scripts place names are written in (Latin
// with its extensions, Greek, Cyrillic, Armenian); any other code point unchanged. Dotted
// capital I folds to i, final sigma to sigma, capital sharp s to sharp s.
uint32_t FoldCase(uint32_t c);
