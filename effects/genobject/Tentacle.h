#pragma once

#include "Vertex.h"

#include <array>
#include <cstddef>
#include <vector>

// One tube of a bundle: a spline through seven control points fanning out from the centre,
// rings swept along its samples and a tip at the last control point.
class Tentacle {
public:
    static constexpr int controlCount = 7;

    struct Shape {
        int samplesPerSegment;
        int rings;
        int ringPoints;
        float angleStep;
        // The radius of a ring's point, given the ring, the point and the ripple's phase there.
        float (*radius)(int ring, int point, float phase);
        // How far the ripple's phase moves on from one ring to the next.
        float phaseStep;
    };

    explicit Tentacle(const Shape& shape);

    // The control points of the tube at `angle` around the bundle, bent by `twist`.
    void bend(float angle, float twist);
    // Samples, rings and tip from the control points, the ripple at `phase` on the first ring;
    // answers the phase after the last, where the next tube's ripple goes on. Texture
    // coordinates are set on the tube's first build only.
    float build(float phase = 0.0f);
    // Quads between consecutive rings, then a fan of triangles out to the tip, front faces
    // outward. Sets no colour.
    void draw() const;

    const std::array<Vertex, controlCount>& getControls() const { return controls; }
    const std::vector<Vertex>& getSamples() const { return samples; }
    // rings x ringPoints ring points, ring after ring, then the tip.
    const std::vector<Vertex>& getPoints() const { return points; }
    bool isTextured() const { return !firstBuild; }
    // The memory the tube holds besides itself, in bytes.
    std::size_t heapBytes() const {
        return (samples.capacity() + points.capacity()) * sizeof(Vertex);
    }

private:
    const Vertex& point(int ring, int k) const;

    Shape shape;
    std::array<Vertex, controlCount> controls;
    std::vector<Vertex> samples;
    std::vector<Vertex> points;
    bool firstBuild = true;
};

inline std::size_t tentacleBytes(const std::vector<Tentacle>& tubes) {
    std::size_t bytes = tubes.capacity() * sizeof(Tentacle);
    for (const Tentacle& tube : tubes)
        bytes += tube.heapBytes();
    return bytes;
}
