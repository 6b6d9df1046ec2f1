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
    void greyVertex(float, float, const float*, float) override {}
    void endStrip() override {}
};

}  // namespace

GlobeArrays::GlobeArrays(const GlobeMesh& mesh) : mesh_(mesh) {
    ArraySink sink;
    sink.positions = &positions_;
    sink.normals = &normals_;
    sink.texCoords = &texCoords_;
    mesh.drawGlobe(sink, nullptr, 1.0f, 0.0f);
    strips_ = sink.strips;
    stripLength_ = sink.strips > 0 ? sink.vertices / sink.strips : 0;
}

void GlobeArrays::greys(const float light[3], float gain, float floor, std::vector<float>& rgb) const {
    const size_t count = normals_.size() / 3;
    rgb.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const float g = GreyLevel(&normals_[3 * i], light, gain, floor);
        rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = g;
    }
}
