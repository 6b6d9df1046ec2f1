// The Windows bitmap file of a 24-bit picture: "BM" header, 40-byte information header,
// bottom-up rows of blue, green, red padded to four bytes.
#pragma once

#include <cstdint>
#include <vector>

// Bytes of one padded row of `width` pixels.
uint32_t BitmapRowBytes(int width);

// The whole file for a width x height picture whose rows (bottom row first) are given packed,
// 3 x width bytes each, blue-green-red.
std::vector<uint8_t> EncodeBitmapFile(int width, int height, const uint8_t* packedRows);
