#include "render/ViewPalette.h"

#include "render/FormatPalette.h"

#include <vector>

GdiPalette RealizeFormatPalette(const GLTarget& target, HDC windowDC) {
    // The format is set on the memory DC when the target renders off screen.
    HDC formatDC = target.offscreen() ? target.memoryDC() : windowDC;
    if (formatDC == nullptr || windowDC == nullptr) return {};
    const int format = GetPixelFormat(formatDC);
    PIXELFORMATDESCRIPTOR pfd = {sizeof pfd};
    if (format == 0 || DescribePixelFormat(formatDC, format, sizeof pfd, &pfd) == 0) return {};
    if (!(pfd.dwFlags & PFD_NEED_PALETTE)) return {};
    const std::vector<PaletteColour> colours = FormatPaletteColours(
        {pfd.cColorBits, pfd.cRedBits, pfd.cRedShift, pfd.cGreenBits, pfd.cGreenShift, pfd.cBlueBits, pfd.cBlueShift});
    if (colours.empty()) return {};
    // LOGPALETTE declares one entry; the rest follow it in the same block.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        logical->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, colours[i].flags};
    }
    GdiPalette palette(CreatePalette(logical));
    if (!palette) return {};
    SelectPalette(windowDC, palette.get(), FALSE);
    RealizePalette(windowDC);
    return palette;
}

void ReleaseFormatPalette(HDC windowDC, GdiPalette& palette) {
    if (!palette) return;
    if (windowDC != nullptr) SelectPalette(windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    palette.reset();
}
