#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <array>
#include <string_view>
#include <vector>

class VertexBatch;

// The inside of a textured cube turning round the viewer, who sits near its centre: every
// face carries the picture. No parameters; the first data string names the picture.
// "ReverseAngle" turns the spin the other way.
class InCube : public SavableEffect<InCube> {
public:
    static constexpr std::string_view reverseAngle = "ReverseAngle";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers, {{reverseAngle}}};
    static constexpr std::string_view defaultPicture = "\\textures\\ss013.jpg";
    // Quads along each side of a face.
    static constexpr int subdivision = 1;

    explicit InCube(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's turn, without drawing.
    void turn(float delta);

    // The cube's angle in degrees, shared by the whole program.
    static float angle();
    // Back to the start, for tests that need it.
    static void resetAngle();
    float getDirection() const { return direction; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float spin = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const {
        std::size_t bytes = 0;
        for (const Face& face : faces)
            bytes += vectorBytes(face);
        return bytes;
    }

private:
    // A face's (n + 1) x (n + 1) grid of vertices, row by row.
    using Face = std::vector<Vertex>;

    void buildFaces();
    void drawFace(VertexBatch& batch, const Face& face) const;

    const Texture* texture = nullptr;
    // Empty until the first frame.
    std::array<Face, 6> faces;
    float direction = 1.0f;
};
