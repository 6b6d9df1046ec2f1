#include "render/BitmapFile.h"

#include "platform/FileAccess.h"

#include <algorithm>
#include <array>
#include <vector>

using std::size_t;

namespace {

constexpr size_t kHeaderBytes = 54;
constexpr uint32_t kPixelsPerMetre = 2952;
// Rows are encoded and written a batch at a time, so the file needs no buffer of its own size.
constexpr size_t kBatchBytes = 256 * 1024;

void Put16(uint8_t* out, uint32_t v) {
    out[0] = uint8_t(v & 0xff);
    out[1] = uint8_t((v >> 8) & 0xff);
}

void Put32(uint8_t* out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out + 2, v >> 16);
}

std::array<uint8_t, kHeaderBytes> FileHeader(int width, int height) {
    const uint32_t image = BitmapRowBytes(width) * uint32_t(height);
    std::array<uint8_t, kHeaderBytes> h = {'B', 'M'};
    Put32(&h[2], uint32_t(kHeaderBytes) + image);
    Put32(&h[10], uint32_t(kHeaderBytes));
    Put32(&h[14], 40);
    Put32(&h[18], uint32_t(width));
    Put32(&h[22], uint32_t(height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    Put32(&h[34], image);
    Put32(&h[38], kPixelsPerMetre);
    Put32(&h[42], kPixelsPerMetre);
    return h;
}

// One file row (padding bytes left as they are) from a row of four-byte pixels.
void EncodeRow(const uint8_t* bgra, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x, bgra += 4, out += 3) {
        out[0] = bgra[0], out[1] = bgra[1], out[2] = bgra[2];
    }
}

}  // namespace

uint32_t BitmapRowBytes(int width) { return (uint32_t(width) * 3 + 3) / 4 * 4; }

bool WriteBitmapFile(const std::string& path, int width, int height, const uint8_t* bottomRow,
                     std::ptrdiff_t rowStride, const std::function<bool()>& keepGoing) {
    return WriteBitmapFileInBands(
        path, width, height, [&](int) { return BitmapBand{bottomRow, rowStride, height}; }, keepGoing);
}

bool WriteBitmapFileInBands(const std::string& path, int width, int height,
                            const std::function<BitmapBand(int firstRow)>& nextBand,
                            const std::function<bool()>& keepGoing) {
    if (width <= 0 || height <= 0) return false;
    return ReplaceFileAtomically(path, [&](const FileChunkWriter& write) {
        const std::array<uint8_t, kHeaderBytes> header = FileHeader(width, height);
        if (!write(header.data(), header.size())) return false;
        const size_t row = BitmapRowBytes(width);
        const int batchRows = int(std::max<size_t>(1, kBatchBytes / row));
        std::vector<uint8_t> batch(row * size_t(std::min(batchRows, height)), 0);
        for (int done = 0; done < height;) {
            const BitmapBand band = nextBand(done);
            const int bandRows = std::min(band.rows, height - done);
            if (band.bottomRow == nullptr || bandRows <= 0) return false;
            for (int y = 0; y < bandRows; y += batchRows) {
                if (keepGoing && !keepGoing()) return false;
                const int rows = std::min(batchRows, bandRows - y);
                for (int k = 0; k < rows; ++k) {
                    EncodeRow(band.bottomRow + (y + k) * band.rowStride, width, &batch[size_t(k) * row]);
                }
                if (!write(batch.data(), size_t(rows) * row)) return false;
            }
            done += bandRows;
        }
        return true;
    });
}
