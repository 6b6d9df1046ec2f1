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

// A band of a picture: `rows` rows, the bottom one at `bottomRow`, each row above it
// `rowStride` bytes further on; a null `bottomRow` when it could not be drawn.
struct BitmapBand {
    const uint8_t* bottomRow = nullptr;
    std::ptrdiff_t rowStride = 0;
    int rows = 0;
};

// The same for a picture drawn a band at a time, from the bottom up, so that no buffer of the
// whole picture is needed: `nextBand` draws the band starting `firstRow` rows above the bottom
// (at most the rows still missing, at least one), valid until it is called again.
bool WriteBitmapFileInBands(const std::string& path, int width, int height,
                            const std::function<BitmapBand(int firstRow)>& nextBand,
                            const std::function<bool()>& keepGoing = nullptr);
