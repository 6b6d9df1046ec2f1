// The two notices with a "don't tell me again" check box: full screen and close to tray.
#pragma once

#include "ui/SkinColours.h"

#include <windows.h>

// Shows notice `id` modally over `owner`; true when the user checked its check box.
bool ShowNotice(HWND owner, int id, const SkinBrushes& brushes);
