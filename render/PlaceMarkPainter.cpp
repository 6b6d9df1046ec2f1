#include "render/PlaceMarkPainter.h"

#include "platform/HandleOwners.h"
#include "platform/WideText.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMostTextureSide = 2048;
// Pixels of dark rim round each letter, so that labels read over any map.
constexpr int kRim = 1;

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

// White letters from GDI's grey coverage, with a dark rim where a letter is near.
void CoverageToLabels(const uint32_t* bgr, int width, int height, std::vector<uint8_t>& rgba) {
    rgba.assign(std::size_t(width) * height * 4, 0);
    auto coverage = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        const uint32_t p = bgr[std::size_t(y) * width + x];
        return std::max({int(p & 0xff), int((p >> 8) & 0xff), int((p >> 16) & 0xff)});
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int c = coverage(x, y);
            int rim = 0;
            for (int dy = -kRim; dy <= kRim; ++dy) {
                for (int dx = -kRim; dx <= kRim; ++dx) rim = std::max(rim, coverage(x + dx, y + dy));
            }
            const int alpha = std::max(c, rim * 3 / 4);
            uint8_t* out = &rgba[(std::size_t(y) * width + x) * 4];
            const uint8_t grey = alpha == 0 ? 0 : uint8_t(255 * c / alpha);
            out[0] = out[1] = out[2] = grey;
            out[3] = uint8_t(alpha);
        }
    }
}

}  // namespace

bool PlaceMarkPainter::buildTexture(const std::vector<std::string>& texts, int fontPixels) {
    texts_ = texts;
    fontPixels_ = fontPixels;
    extents_.assign(texts.size(), LabelExtent{});
    rowTops_.assign(texts.size(), 0);
    MemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    LOGFONTW description = {};
    description.lfHeight = -fontPixels;
    description.lfWeight = FW_BOLD;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = ANTIALIASED_QUALITY;
    std::wcscpy(description.lfFaceName, L"Arial");
    GdiFont font(CreateFontIndirectW(&description));
    std::vector<std::wstring> wide;
    int width = 1, height = 0;
    {
        SelectedObject selection(dc.get(), font.get());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            wide.push_back(WideFromUtf8(texts[i]));
            SIZE size = {};
            GetTextExtentPoint32W(dc.get(), wide[i].c_str(), int(wide[i].size()), &size);
            const int w = std::min(int(size.cx) + 2 * kRim, kMostTextureSide), h = int(size.cy) + 2 * kRim;
            if (height + h > kMostTextureSide) break;  // more than a texture holds: markers only
            extents_[i] = {float(w), float(h)};
            rowTops_[i] = height;
            width = std::max(width, w);
            height += h;
        }
    }
    textureWidth_ = PowerOfTwoAtLeast(width);
    textureHeight_ = PowerOfTwoAtLeast(std::max(height, 1));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = textureWidth_;
    info.bmiHeader.biHeight = -textureHeight_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        extents_.assign(texts.size(), LabelExtent{});
        return false;
    }
    std::memset(bits, 0, std::size_t(textureWidth_) * textureHeight_ * 4);
    {
        SelectedObject bitmapSelection(dc.get(), bitmap.get());
        SelectedObject fontSelection(dc.get(), font.get());
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), RGB(255, 255, 255));
        for (std::size_t i = 0; i < wide.size(); ++i) {
            if (extents_[i].width > 0) TextOutW(dc.get(), kRim, rowTops_[i] + kRim, wide[i].c_str(), int(wide[i].size()));
        }
        GdiFlush();
    }
    std::vector<uint8_t> rgba;
    CoverageToLabels(static_cast<const uint32_t*>(bits), textureWidth_, textureHeight_, rgba);
    if (texture_ == 0) glGenTextures(1, &texture_);
    glPushAttrib(GL_TEXTURE_BIT);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth_, textureHeight_, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopAttrib();
    return true;
}

void PlaceMarkPainter::draw(const std::vector<PlaceMark>& marks, float globeRadius, const ViewRect& keepClear,
                            float dpiScale) {
    if (marks.empty()) return;
    ViewProjection view;
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, view.modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, view.projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    view.width = float(viewport[2]);
    view.height = float(viewport[3]);
    const PlaceMarkSizes sizes = PlaceMarkSizesFor(dpiScale);

    std::vector<std::string> texts;
    texts.reserve(marks.size());
    for (const PlaceMark& mark : marks) texts.push_back(PlaceLabelText(mark));
    if (texts != texts_ || sizes.fontPixels != fontPixels_ || texture_ == 0) buildTexture(texts, sizes.fontPixels);
    const std::vector<PlacedMark> placed = LayoutPlaceLabels(marks, extents_, view, globeRadius, keepClear, sizes);
    if (placed.empty()) return;

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, view.width, 0, view.height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // A yellow dot in a dark ring.
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_POINT_SMOOTH);
    struct Dot {
        float size;
        GLubyte red, green, blue;
    };
    for (const Dot& dot : {Dot{sizes.markerSize + 2, 30, 20, 0}, Dot{sizes.markerSize, 255, 214, 40}}) {
        glPointSize(dot.size);
        glColor3ub(dot.red, dot.green, dot.blue);
        glBegin(GL_POINTS);
        for (const PlacedMark& mark : placed) glVertex2f(mark.at.x, mark.at.y);
        glEnd();
    }

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3ub(255, 255, 255);
    glBegin(GL_QUADS);
    for (const PlacedMark& mark : placed) {
        if (!mark.labelled) continue;
        const LabelExtent& extent = extents_[mark.index];
        const float s1 = extent.width / textureWidth_;
        const float tTop = float(rowTops_[mark.index]) / textureHeight_;
        const float tBottom = (rowTops_[mark.index] + extent.height) / textureHeight_;
        const ViewRect& box = mark.label;
        glTexCoord2f(0, tBottom);
        glVertex2f(box.left, box.bottom);
        glTexCoord2f(s1, tBottom);
        glVertex2f(box.right, box.bottom);
        glTexCoord2f(s1, tTop);
        glVertex2f(box.right, box.top);
        glTexCoord2f(0, tTop);
        glVertex2f(box.left, box.top);
    }
    glEnd();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void PlaceMarkPainter::destroy() {
    if (texture_ != 0) glDeleteTextures(1, &texture_);
    forget();
}

void PlaceMarkPainter::forget() {
    texture_ = 0;
    texts_.clear();
    fontPixels_ = 0;
}
