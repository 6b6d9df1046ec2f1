// A globe mesh's vertices kept in arrays, so that a whole strip goes to OpenGL in one call.
#pragma once

#include "render/GlobeMesh.h"

#include <vector>

class GlobeArrays {
public:
    explicit GlobeArrays(const GlobeMesh& mesh);

    const GlobeMesh& mesh() const { return mesh_; }
    int strips() const { return strips_; }
    int stripLength() const { return stripLength_; }
    const std::vector<float>& positions() const { return positions_; }  // x, y, z
    const std::vector<float>& normals() const { return normals_; }      // unit x, y, z
    const std::vector<float>& texCoords() const { return texCoords_; }  // s, t

private:
    GlobeMesh mesh_;
    int strips_ = 0;
    int stripLength_ = 0;
    std::vector<float> positions_, normals_, texCoords_;
};
