#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

class VertexBatch;

// Two nested domes, stretched along their axis into a long hanging cup, spinning about that
// axis: the outer dome shows its outside, the inner one its inside, and a rim closes the gap
// between their open edges. Always its own picture; no parameters, no triggers.
class HalfSphere : public SavableEffect<HalfSphere> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    static constexpr std::string_view picture = "\\temp\\orang101.jpg";
    // Rings from the pole to the open edge, and points on each ring.
    static constexpr int rings = 8;
    static constexpr int ringPoints = 32;
    static constexpr int domeVertices = rings * ringPoints;
    static constexpr float outerRadius = 2.8f;
    static constexpr float innerRadius = 2.7f;

    explicit HalfSphere(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // The spin about the domes' axis in degrees, shared by the whole program.
    static float spin();
    // The outer dome's vertices, then the inner dome's; filled anew every frame.
    const std::vector<Vertex>& domes() const { return vertices; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float angle = 90.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(vertices); }

private:
    void buildDomes();
    void drawDome(VertexBatch& batch, int first) const;
    void drawRim(VertexBatch& batch) const;
    void emit(VertexBatch& batch, int index) const;

    // Null until the first frame.
    const Texture* texture = nullptr;
    std::vector<Vertex> vertices;
};
