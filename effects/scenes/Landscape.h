#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

// A low flight over a terrain of 32 x 32 points, the same on every run, with its reflection
// through the origin hanging above it like a cave ceiling. Always its own picture; no
// parameters, no triggers. The flight moves a fixed step per drawn frame.
class Landscape : public SavableEffect<Landscape> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    static constexpr std::string_view picture = "\\source\\data\\256\\clouds2.jpg";
    static constexpr int columns = 32;
    static constexpr int rows = 32;
    static constexpr int pointCount = columns * rows;
    // The ground's flat parts.
    static constexpr float groundLevel = -4.0f;

    explicit Landscape(const std::string& name) : SavableEffect(name) {}

    // Culling, the depth test and its clear value and function, the nicest perspective: set
    // outside the engine's save and restore, they hold for everything drawn afterwards.
    void init() override;
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // The terrain's heights, row by row, from the shared generator seeded afresh, so nothing
    // drawn from it before changes them.
    static std::vector<float> terrainHeights();

    // Empty until the first frame.
    const std::vector<Vertex>& grid() const { return vertices; }

    // How far the flight has come; one for the whole program, and it only grows.
    static float cameraPosition();
    static void setCameraPosition(float z);

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float cameraZ = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(vertices) + vectorBytes(heights); }

private:
    void build();
    void drawPass(float sign) const;

    std::vector<Vertex> vertices;
    std::vector<float> heights;
    // Null until the first frame.
    const Texture* texture = nullptr;
};
