// The parametric sphere of every globe: triangle strips from pole to pole, each vertex with a
// texture coordinate and either a normal or a grey level from a light direction.
#pragma once

// Receives the vertices of a mesh (OpenGL immediate mode, or a test).
class MeshSink {
public:
    virtual ~MeshSink() = default;
    virtual void beginStrip() = 0;
    // Texture coordinate (s, t), then the normal or the grey colour, then the point.
    virtual void vertex(float s, float t, const float point[3], const float normal[3]) = 0;
    virtual void greyVertex(float s, float t, const float point[3], float grey) = 0;
    virtual void endStrip() = 0;
};

// Grey level of a vertex with unit normal n lit from unit direction light:
// (n . light + 0.15) x gain, at most 1, at least `floor` (also for NaN).
float GreyLevel(const float n[3], const float light[3], float gain, float floor);

class GlobeMesh {
public:
    // `stacksLess1` is one less than the number of latitude bands.
    GlobeMesh(int stacksLess1, int slices, float radius)
        : slices_(slices), stacks_(stacksLess1 + 1), radius_(radius) {}

    int slices() const { return slices_; }
    int stacks() const { return stacks_; }
    float radius() const { return radius_; }

    // The point at mesh longitude and latitude (degrees): +y north, longitude 0 on +x and 90
    // on -z.
    void surfacePoint(double longitude, double latitude, float out[3]) const;

    // Emits the sphere: with `light` each vertex gets the grey level of GreyLevel, without it
    // the vertex normal.
    void drawGlobe(MeshSink& sink, const float* light, float gain, float floor) const;

private:
    void emit(MeshSink& sink, float s, float t, const float point[3], const float* light,
              float gain, float floor) const;
    int slices_;
    int stacks_;
    float radius_;
};
