// Text and squares drawn with textures: the time display and the wallpaper's overlay.
#pragma once

#include "render/GlyphFont.h"

#include <string>

class RecursiveLock;
struct AstroState;
struct UserOptions;

// Draws `text` with the glyph textures from x, its top at `top`, each cell scale x 32 units.
void drawText(const GlyphFont& glyphs, float x, float top, float scale, const std::string& text);

// One textured square of half-size a around the origin.
void drawSquare(float a);

// The highlighted time in green on the translucent blue panel, over a window of the given
// size. Expects blending and texturing on.
void drawTimeDisplay(const GlyphFont& glyphs, GLuint panelTexture, const UserOptions& options,
                     const AstroState& state, int width, int height, float dpiScale = 1);
