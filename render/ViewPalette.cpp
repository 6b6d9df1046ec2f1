#include "render/ViewPalette.h"

#include "render/FormatPalette.h"

#include <vector>

HPALETTE RealizeFormatPalette(const GLTarget& target, HDC windowDC) {
    // The format is set on the memory DC when the target renders off screen.
    HDC formatDC = target.offscreen() ? target.memoryDC() : windowDC;
    if (formatDC == nullptr || windowDC == nullptr) return nullptr;
    const int format = GetPixelFormat(formatDC);
    PIXELFORMATDESCRIPTOR pfd = {sizeof pfd};
    if (format == 0 || DescribePixelFormat(formatDC, format, sizeof pfd, &pfd) == 0) return nullptr;
    if (!(pfd.dwFlags & PFD_NEED_PALETTE)) return nullptr;
    const std::vector<PaletteColour> colours = FormatPaletteColours(
        {pfd.cColorBits, pfd.cRedBits, pfd.cRedShift, pfd.cGreenBits, pfd.cGreenShift, pfd.cBlueBits, pfd.cBlueShift});
    if (colours.empty()) return nullptr;
    // LOGPALETTE declares one entry; the rest follow it in the same block.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        logical->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, colours[i].flags};
    }
    HPALETTE palette = CreatePalette(logical);
    if (palette == nullptr) return nullptr;
    SelectPalette(windowDC, palette, FALSE);
    RealizePalette(windowDC);
    return palette;
}

void ReleaseFormatPalette(HDC windowDC, HPALETTE& palette) {
    if (palette == nullptr) return;
    if (windowDC != nullptr) SelectPalette(windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteObject(palette);
    palette = nullptr;
}
