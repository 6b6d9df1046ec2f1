#include "ui/SkinBrushes.h"

#include "platform/HandleOwners.h"

namespace {

struct OwnedSkinBrushes {
    GdiBrush light{CreateSolidBrush(kSkinBody)};
    GdiBrush dark{CreateSolidBrush(kSkinBand)};
    SkinBrushes brushes = {light.get(), dark.get()};
};

}  // namespace

const SkinBrushes& SharedSkinBrushes() {
    static const OwnedSkinBrushes owned;
    return owned.brushes;
}
