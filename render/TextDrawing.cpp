#include "render/TextDrawing.h"

#include "render/TimeDisplayLayout.h"

void drawText(const GlyphFont& glyphs, float x, float top, float scale, const std::string& text) {
    const float bottom = top - scale * glyphs.cellSize(), side = scale * 32;
    for (unsigned char c : text) {
        if (!HasGlyph(c)) continue;
        glBindTexture(GL_TEXTURE_2D, glyphs.texture(c));
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(x, top);
        glTexCoord2f(0, 0);
        glVertex2f(x, bottom);
        glTexCoord2f(1, 0);
        glVertex2f(x + side, bottom);
        glTexCoord2f(1, 1);
        glVertex2f(x + side, top);
        glEnd();
        x += scale * glyphs.metrics().advance[c];
    }
}

void drawSquare(float a) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-a, -a);
    glTexCoord2f(1, 0);
    glVertex2f(a, -a);
    glTexCoord2f(1, 1);
    glVertex2f(a, a);
    glTexCoord2f(0, 1);
    glVertex2f(-a, a);
    glEnd();
}

void drawTimeDisplay(const GlyphFont& glyphs, GLuint panelTexture, const UserOptions& options,
                     const AstroState& state, int width, int height, float dpiScale) {
    const TimeDisplayText text = MakeTimeDisplayText(options, state);
    if (text.timeLine.empty()) {
        glDisable(GL_BLEND);
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-width, width, -height, height, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const TimeDisplayLayout layout = LayoutTimeDisplay(text, glyphs.metrics(), width, height, dpiScale);
    glBindTexture(GL_TEXTURE_2D, panelTexture);
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(layout.panelLeft, layout.panelTop);
    glVertex2f(layout.panelLeft, layout.panelBottom);
    glVertex2f(layout.panelRight, layout.panelBottom);
    glVertex2f(layout.panelRight, layout.panelTop);
    glEnd();
    glColor4ub(0, 255, 0, 255);
    drawText(glyphs, layout.timeLeft, layout.timeTop, 1.5f * layout.scale, text.timeLine);
    if (text.hasLabel) drawText(glyphs, layout.labelLeft, layout.labelTop, 1.5f * layout.scale, text.labelLine);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
