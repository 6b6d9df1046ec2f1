// The brushes of the skinned look, shared by every skinned dialog and window of the process.
#pragma once

#include "ui/SkinColours.h"

// Made on first use (on the user-interface thread) and kept until the process ends.
const SkinBrushes& SharedSkinBrushes();
