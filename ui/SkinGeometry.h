// The arithmetic of the skinned look, without windows: which face of a button strip shows,
// where a rounded group box draws its outlines and caption, and the bands of a dialog.
#pragma once

#include <string>

struct SkinRect {
    int left, top, right, bottom;
};

// A strip of three faces side by side: normal, pressed, hover.
struct FaceStrip {
    int faceWidth, faceHeight;
};
// Columns beyond three whole faces are never shown.
inline FaceStrip FacesOf(int stripWidth, int stripHeight) { return {stripWidth / 3, stripHeight}; }
// The left edge of the face to show: pressed whenever the button is down, else hover while the
// mouse is over it, else normal. Focus and disabled states show the normal face.
inline int FaceOffset(const FaceStrip& strip, bool pressed, bool hover) {
    return pressed ? strip.faceWidth : hover ? 2 * strip.faceWidth : 0;
}

// The caption as a group box shows it: one space before and after, so that even an empty
// caption cuts a short gap in the outline.
inline std::string PaddedCaption(const std::string& caption) { return " " + caption + " "; }

enum GroupBoxEdges : unsigned {
    kEdgeModalFrame = 1,  // WS_EX_DLGMODALFRAME
    kEdgeClient = 2,      // WS_EX_CLIENTEDGE
    kEdgeStatic = 4,      // WS_EX_STATICEDGE
};
enum class CaptionAlignment { Left, Centre, Right };

// The system's edge and border sizes.
struct SystemEdges {
    int edgeWidth, edgeHeight, borderWidth, borderHeight;
};

struct GroupBoxLayout {
    SkinRect outline;       // the outer outline runs from (left, top + textHeight / 2) to (right, bottom)
    int textLine;           // y of the caption's middle
    int textStart, textEnd;  // x of the padded caption
};

// Where a group box of `window` (its rectangle in its own client coordinates) draws, for a
// padded caption `textWidth` x `textHeight` pixels.
GroupBoxLayout LayoutGroupBox(SkinRect window, unsigned edges, const SystemEdges& system,
                              CaptionAlignment alignment, int textWidth, int textHeight);

// The height of a dialog's dark band, which holds its banner.
constexpr int kBannerBandHeight = 26;

struct DialogBands {
    SkinRect band;    // dark, across the whole width
    SkinRect banner;  // the banner picture, at the top left
    SkinRect body;    // the light body below the band
};
DialogBands BandsOf(int clientWidth, int clientHeight, int bannerWidth, int bandHeight = kBannerBandHeight);

// Whether a press at (x, y) in the client area drags the dialog: inside its top band of
// `dragHeight` pixels.
inline bool InDragBand(int x, int y, int clientWidth, int dragHeight) {
    return x >= 0 && x < clientWidth && y >= 0 && y < dragHeight;
}
