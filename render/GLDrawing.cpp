#include "render/GLDrawing.h"

#include "astro/AstroConstants.h"
#include "render/GridLines.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void DrawStrips(const std::vector<LineStrip>& strips) {
    for (const LineStrip& strip : strips) {
        glBegin(GL_LINE_STRIP);
        for (const auto& p : strip) glVertex3fv(p.data());
        glEnd();
    }
}

}  // namespace

void drawGlobeGL(const GlobeArrays& globe) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, globe.positions().data());
    glTexCoordPointer(2, GL_FLOAT, 0, globe.texCoords().data());
    glNormalPointer(GL_FLOAT, 0, globe.normals().data());
    for (int strip = 0; strip < globe.strips(); ++strip) {
        glDrawArrays(GL_TRIANGLE_STRIP, strip * globe.stripLength(), globe.stripLength());
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void SetFixedEarthState() {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glPointSize(3);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void SetEarthCamera(int width, int height, double farPlane, float distance) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A field of 5 degrees across the smaller side: the globe fits a tall window as a wide one.
    const double aspect = double(width) / std::max(height, 1);
    const double fieldY =
        aspect >= 1 ? 5.0 : 2 * std::atan(std::tan(2.5 * astro::kDegToRad) / aspect) * astro::kRadToDeg;
    gluPerspective(fieldY, aspect, 1, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -distance);
    const double nearSide[4] = {0, 0, 1, 0};
    glClipPlane(GL_CLIP_PLANE0, nearSide);
}

void buildGridLists(GLuint first) {
    const GridLines lines = MakeGridLines();
    glNewList(first, GL_COMPILE);
    DrawStrips(lines.grid);
    glEndList();
    glNewList(first + 1, GL_COMPILE);
    glLineWidth(1.5f);
    DrawStrips(lines.equator);
    glLineWidth(1.0f);
    glEndList();
    glNewList(first + 2, GL_COMPILE);
    DrawStrips(lines.tropics);
    glEndList();
}
