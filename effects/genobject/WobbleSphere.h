#pragma once

#include "GenShape.h"
#include "Vertex.h"

#include <memory>
#include <vector>

// A unit sphere whose points bulge out along x in a wave running over it.
class WobbleSphere : public GenShape {
public:
    static constexpr int depth = 4;

    void draw() override;
    std::unique_ptr<GenShape> clone() const override {
        return std::make_unique<WobbleSphere>(*this);
    }
    std::size_t heapBytes() const override { return sphere.capacity() * sizeof(Vertex); }

    // One frame (counted per frame, not timed): the wave moves on. The sphere is built on the
    // first.
    void advance();

    // Each vertex at rest in its position, displaced in its second triple; empty until the
    // first frame.
    const std::vector<Vertex>& getSphere() const { return sphere; }

    // What every wobbling sphere of the program advances: a new one goes on where the last one
    // stood. Kept in one struct, so that saving the demo's state takes all of it.
    struct Shared {
        // Counted per frame.
        float wave = 0.0f;
    };
    static Shared shared;

private:
    std::vector<Vertex> sphere;
};
