#pragma once

#include "GenShape.h"
#include "Vertex.h"

#include <memory>
#include <string_view>
#include <vector>

// A cube of side 4 made of 4 x 4 cells a face, drawn small into the bottom left corner of the
// frame. A point wanders about inside it, and whatever part of the cube lies beyond the point
// is pushed in by one unit. "Move" sets it sinking.
class BlobCube : public GenShape {
public:
    static constexpr int cells = 4;
    static constexpr std::string_view move = "Move";
    static constexpr int quadsPerFace = cells * cells;
    static constexpr int faceCount = 6;
    static constexpr int viewportSize = 128;

    BlobCube();

    void draw() override;
    std::unique_ptr<GenShape> clone() const override { return std::make_unique<BlobCube>(*this); }
    std::size_t heapBytes() const override { return quads.capacity() * sizeof(Vertex); }
    void trigger(const std::string& triggerId) override;

    // One frame: the wandering point moves on and pushes the cube in; the cube sinks.
    void advance(float delta);

    // Four corners per quad, face after face (+x, -x, +y, -y, +z, -z); each corner at rest in
    // its position and pushed in its second triple.
    const std::vector<Vertex>& getQuads() const { return quads; }

    // Where the wandering point stands now, shared by every cube of the program.
    static Vertex wanderingPoint();

    // What every cube of the program advances, and what "Move" sets: a new cube goes on
    // sinking from where the last one was. The cube's quads are all that is its own.
    struct Shared {
        float wander = 0.0f;
        float spin = 0.0f;
        float height = 0.0f;
        float sink = 0.0f;
    };
    static Shared shared;

private:
    void buildFaces();

    std::vector<Vertex> quads;
};
