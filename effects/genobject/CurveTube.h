#pragma once

#include "GenShape.h"
#include "Vertex.h"

#include <memory>
#include <vector>

// A tube wound round a closed curve that breathes in and out, its thickness rippling along it.
class CurveTube : public GenShape {
public:
    static constexpr int ringCount = 63;
    static constexpr int ringPoints = 32;

    CurveTube();

    void draw() override;
    std::unique_ptr<GenShape> clone() const override { return std::make_unique<CurveTube>(*this); }
    std::size_t heapBytes() const override {
        return (path.capacity() + points.capacity()) * sizeof(Vertex);
    }

    // One frame: the shared phases move on and the tube is rebuilt.
    void advance(float delta);

    // The centres of the rings, one a ring, on the curve as it stands.
    const std::vector<Vertex>& getPath() const { return path; }
    // ringCount x ringPoints, ring after ring, mirrored in depth.
    const std::vector<Vertex>& getPoints() const { return points; }

    // Only the program's first tube update gives the points texture coordinates; tubes built
    // after it keep theirs at zero. Tests set the program back to its start.
    static bool firstBuildPending();
    static void resetFirstBuild();

    // What every curve tube of the program advances: a new one goes on where the last one stood.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct Shared {
        float pathPhase = 0.0f;
        float ringPhase = 0.0f;
        bool firstBuild = true;
    };
    static Shared shared;

private:
    std::vector<Vertex> path;
    std::vector<Vertex> points;
};
