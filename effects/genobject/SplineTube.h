#pragma once

#include "GenShape.h"
#include "Vertex.h"

#include <array>
#include <memory>
#include <vector>

// One tube along a spline through seven points, the middle one swinging from side to side, its
// thickness rippling three times round; rolled about the view's axis.
class SplineTube : public GenShape {
public:
    static constexpr int controlCount = 7;
    static constexpr int samplesPerSegment = 10;
    static constexpr int ringPoints = 32;
    // A ring at every sample that has one after it to face.
    static constexpr int ringCount = (controlCount - 3) * samplesPerSegment - 1;

    SplineTube();

    void draw() override;
    std::unique_ptr<GenShape> clone() const override { return std::make_unique<SplineTube>(*this); }
    std::size_t heapBytes() const override {
        return (samples.capacity() + points.capacity()) * sizeof(Vertex);
    }

    // One frame (counted per frame, not timed): the swinging point and the ripple move on and the
    // tube is rebuilt.
    void advance();

    const std::array<Vertex, controlCount>& getControls() const { return controls; }
    // ringCount x ringPoints, ring after ring.
    const std::vector<Vertex>& getPoints() const { return points; }

    // The roll of all spline tubes of the program, in degrees.
    static float rollAngle();

    // What every spline tube of the program advances: a new one goes on where the last one stood.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct Shared {
        // Counted per frame.
        float swing = 0.0f;
        float thickPhase = 0.0f;
        float roll = 90.0f;
    };
    static Shared shared;

private:
    std::array<Vertex, controlCount> controls;
    std::vector<Vertex> samples;
    std::vector<Vertex> points;
};
