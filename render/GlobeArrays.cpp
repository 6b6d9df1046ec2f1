#include "render/GlobeArrays.h"

#include <cstddef>

using std::size_t;

namespace {

class ArraySink : public MeshSink {
public:
    std::vector<float> *positions, *normals, *texCoords;
    int strips = 0, vertices = 0;
    void beginStrip() override { ++strips; }
    void vertex(float s, float t, const float point[3], const float normal[3]) override {
        texCoords->insert(texCoords->end(), {s, t});
        positions->insert(positions->end(), point, point + 3);
        normals->insert(normals->end(), normal, normal + 3);
        ++vertices;
    }
    void endStrip() override {}
};

}  // namespace

GlobeArrays::GlobeArrays(const GlobeMesh& mesh) : mesh_(mesh) {
    ArraySink sink;
    sink.positions = &positions_;
    sink.normals = &normals_;
    sink.texCoords = &texCoords_;
    mesh.drawGlobe(sink);
    strips_ = sink.strips;
    stripLength_ = sink.strips > 0 ? sink.vertices / sink.strips : 0;
}
