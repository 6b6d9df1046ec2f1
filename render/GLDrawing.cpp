#include "render/GLDrawing.h"

#include "render/GridLines.h"

namespace {

class ImmediateSink : public MeshSink {
public:
    void beginStrip() override { glBegin(GL_TRIANGLE_STRIP); }
    void vertex(float s, float t, const float point[3], const float normal[3]) override {
        glTexCoord2f(s, t);
        glNormal3fv(normal);
        glVertex3fv(point);
    }
    void greyVertex(float s, float t, const float point[3], float grey) override {
        glTexCoord2f(s, t);
        glColor3f(grey, grey, grey);
        glVertex3fv(point);
    }
    void endStrip() override { glEnd(); }
};

void DrawStrips(const std::vector<LineStrip>& strips) {
    for (const LineStrip& strip : strips) {
        glBegin(GL_LINE_STRIP);
        for (const auto& p : strip) glVertex3fv(p.data());
        glEnd();
    }
}

}  // namespace

void drawGlobeGL(const GlobeMesh& globe, const float* light, float gain, float floor) {
    ImmediateSink sink;
    globe.drawGlobe(sink, light, gain, floor);
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
