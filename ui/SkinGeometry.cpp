#include "ui/SkinGeometry.h"

#include <algorithm>

GroupBoxLayout LayoutGroupBox(SkinRect r, unsigned edges, const SystemEdges& system,
                              CaptionAlignment alignment, int textWidth, int textHeight) {
    const auto shrink = [&r](int dx, int dy) {
        r.left += dx, r.right -= dx, r.top += dy, r.bottom -= dy;
    };
    if (edges & kEdgeModalFrame) {
        shrink(2 * system.edgeWidth, 2 * system.edgeHeight);
        r.left -= 1;
    }
    if (edges & kEdgeClient) {
        shrink(system.edgeWidth + 1, system.edgeHeight + 1);
        r.left -= 1;
        if (edges & kEdgeModalFrame) r.right += 1;
    }
    if (edges & kEdgeStatic) {
        shrink(2 * system.borderWidth, 2 * system.borderHeight);
        r.left -= 1;
    }
    GroupBoxLayout layout;
    layout.outline = {r.left, r.top + textHeight / 2, r.right, r.bottom};
    layout.textLine = r.top + textHeight / 2;
    switch (alignment) {
    case CaptionAlignment::Left:
        layout.textStart = r.left + 10;
        break;
    case CaptionAlignment::Right:
        layout.textStart = r.right - 10 - textWidth;
        break;
    case CaptionAlignment::Centre:
        layout.textStart = r.left + (r.right - r.left - textWidth) / 2;
        break;
    }
    layout.textEnd = layout.textStart + textWidth;
    return layout;
}

DialogBands BandsOf(int clientWidth, int clientHeight, int bannerWidth, int bandHeight) {
    const int band = std::min(bandHeight, std::max(clientHeight, 0));
    return {{0, 0, clientWidth, band},
            {0, 0, std::min(bannerWidth, clientWidth), band},
            {0, band, clientWidth, std::max(clientHeight, band)}};
}
