#include "ui/SkinBrushes.h"

namespace {

struct OwnedSkinBrushes {
    SkinBrushes brushes = {CreateSolidBrush(kSkinBody), CreateSolidBrush(kSkinBand)};
    ~OwnedSkinBrushes() {
        if (brushes.light != nullptr) DeleteObject(brushes.light);
        if (brushes.dark != nullptr) DeleteObject(brushes.dark);
    }
};

}  // namespace

const SkinBrushes& SharedSkinBrushes() {
    static OwnedSkinBrushes owned;
    return owned.brushes;
}
