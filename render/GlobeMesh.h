// The parametric sphere of every globe: triangle strips from pole to pole, each vertex with a
// texture coordinate and a normal.
#pragma once

// Receives the vertices of a mesh (OpenGL immediate mode, or a test).
class MeshSink {
public:
    virtual ~MeshSink() = default;
    virtual void beginStrip() = 0;
    // Texture coordinate (s, t), the point and its unit normal.
    virtual void vertex(float s, float t, const float point[3], const float normal[3]) = 0;
    virtual void endStrip() = 0;
};

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

    // Emits the sphere.
    void drawGlobe(MeshSink& sink) const;

private:
    void emit(MeshSink& sink, float s, float t, const float point[3]) const;
    int slices_;
    int stacks_;
    float radius_;
};

// The mesh of `radius` for a globe shown `radiusPixels` across its radius: fine enough that its
// outline departs from a circle by at most a quarter of a pixel (between 24 and 180 slices, half
// as many bands). A finer mesh only costs time: every vertex is transformed each frame.
GlobeMesh GlobeMeshForPixels(double radiusPixels, float radius);
