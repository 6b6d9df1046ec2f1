#include "ui/SkinGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinButtonFaces, PressedBeatsHoverAndStripsRoundDown) {
    const FaceStrip strip = FacesOf(300, 40);
    EXPECT_EQ(strip.faceWidth, 100);
    EXPECT_EQ(strip.faceHeight, 40);
    EXPECT_EQ(FaceOffset(strip, false, false), 0) << "normal (also focused or disabled)";
    EXPECT_EQ(FaceOffset(strip, true, false), 100) << "pressed";
    EXPECT_EQ(FaceOffset(strip, true, true), 100) << "pressed even while hovering";
    EXPECT_EQ(FaceOffset(strip, false, true), 200) << "hover";
    // 922 columns: three faces of 307, the last column never shown.
    const FaceStrip wide = FacesOf(922, 40);
    EXPECT_EQ(wide.faceWidth, 307);
    EXPECT_EQ(FaceOffset(wide, false, true) + wide.faceWidth, 921);
}

// A 200 x 100 group box, its caption 60 x 14 pixels padded, on a system with 2-pixel edges and
// 1-pixel borders.
TEST(RoundedGroupBoxLayout, OutlinesAndCaptionForEachEdgeAndAlignment) {
    const SystemEdges system = {2, 2, 1, 1};
    const SkinRect box = {0, 0, 200, 100};
    struct Case {
        const char* what;
        unsigned edges;
        CaptionAlignment alignment;
        SkinRect outline;
        int textLine, textStart;
    } cases[] = {
        {"plain, left", 0, CaptionAlignment::Left, {0, 7, 200, 100}, 7, 10},
        {"plain, right", 0, CaptionAlignment::Right, {0, 7, 200, 100}, 7, 130},
        {"plain, centred", 0, CaptionAlignment::Centre, {0, 7, 200, 100}, 7, 70},
        {"modal frame", kEdgeModalFrame, CaptionAlignment::Left, {3, 11, 196, 96}, 11, 13},
        {"client edge", kEdgeClient, CaptionAlignment::Left, {2, 10, 197, 97}, 10, 12},
        {"client edge and modal frame", kEdgeModalFrame | kEdgeClient, CaptionAlignment::Left,
         {5, 14, 194, 93}, 14, 15},
        {"static edge", kEdgeStatic, CaptionAlignment::Left, {1, 9, 198, 98}, 9, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GroupBoxLayout l = LayoutGroupBox(box, c.edges, system, c.alignment, 60, 14);
        EXPECT_EQ(l.outline.left, c.outline.left);
        EXPECT_EQ(l.outline.top, c.outline.top);
        EXPECT_EQ(l.outline.right, c.outline.right);
        EXPECT_EQ(l.outline.bottom, c.outline.bottom);
        EXPECT_EQ(l.textLine, c.textLine);
        EXPECT_EQ(l.textStart, c.textStart);
        EXPECT_EQ(l.textEnd, c.textStart + 60);
    }
}

TEST(RoundedGroupBoxLayout, AnEmptyCaptionStillCutsAGap) {
    EXPECT_EQ(PaddedCaption(""), "  ");
    EXPECT_EQ(PaddedCaption("Credits"), " Credits ");
}

TEST(DialogBackground, DarkBandBannerAndLightBody) {
    const DialogBands b = BandsOf(400, 300, 221);
    EXPECT_EQ(b.band.right, 400);
    EXPECT_EQ(b.band.bottom, 26);
    EXPECT_EQ(b.banner.right, 221);
    EXPECT_EQ(b.banner.bottom, 26);
    EXPECT_EQ(b.body.top, 26);
    EXPECT_EQ(b.body.bottom, 300);
    const DialogBands narrow = BandsOf(150, 20, 221);  // smaller than its banner
    EXPECT_EQ(narrow.banner.right, 150);
    EXPECT_EQ(narrow.band.bottom, 20);
    EXPECT_EQ(narrow.body.top, 20);
    EXPECT_EQ(narrow.body.bottom, 20) << "no body";
}

TEST(DialogDragging, OnlyByTheTopBand) {
    EXPECT_TRUE(InDragBand(10, 0, 300, 26));
    EXPECT_TRUE(InDragBand(299, 25, 300, 26));
    EXPECT_FALSE(InDragBand(10, 26, 300, 26)) << "the body";
    EXPECT_TRUE(InDragBand(10, 46, 300, 47)) << "a taller band";
    EXPECT_FALSE(InDragBand(-1, 5, 300, 26));
    EXPECT_FALSE(InDragBand(300, 5, 300, 26));
}

}  // namespace
