// The Windows bitmap file of a 24-bit picture: "BM" header, 40-byte information header,
// bottom-up rows of blue, green, red padded to four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Bytes of one padded row of `width` pixels.
uint32_t BitmapRowBytes(int width);

// Writes a width x height picture as a bitmap file at `path`, replacing the previous file only
// once the new one is complete. The picture is given as rows of blue-green-red-x pixels (four
// bytes each, the fourth dropped): `bottomRow` is the bottom row and each row above it lies
// `rowStride` bytes further on (negative for top-down pictures). False when writing failed;
// the previous file is then untouched. `keepGoing`, when given, is asked between batches of
// rows: false abandons the file (the program is ending).
bool WriteBitmapFile(const std::string& path, int width, int height, const uint8_t* bottomRow,
                     std::ptrdiff_t rowStride, const std::function<bool()>& keepGoing = nullptr);
