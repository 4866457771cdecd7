#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

// A textured sphere that bulges wherever either of two moving copies of a small sphere pushes
// out of it, with a faint additive wire over it; it slides in from the left and stops. No
// parameters, no triggers; the first data string names the picture.
class BlobSphere : public SavableEffect<BlobSphere> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    static constexpr std::string_view defaultPicture = "\\source\\data\\256\\texture.jpg";

    explicit BlobSphere(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // One frame's slide: a step to the right while still left of the limit.
    void slide(float delta);
    // One frame's bulge, without drawing: the copies move on and each large-sphere vertex's
    // second triple becomes the outermost of it and the two copies' matching vertices.
    void blobStep(float delta);

    float getX() const { return x; }
    const std::vector<Vertex>& largeSphere() const { return large; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float spin = 0.0f;
        // The two phases that carry the copies of the small sphere round.
        float phaseA = 0.0f;
        float phaseB = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(large) + vectorBytes(small); }

private:
    // On the first frame: the picture and both spheres.
    void load();
    void drawSolid() const;
    void drawWire() const;

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    // Same depth, so the same count: vertex i of one matches vertex i of the other.
    std::vector<Vertex> large;
    std::vector<Vertex> small;
    float x = -5.0f;
    float xLimit = -1.0f;
    float xSpeed = 0.1f;
};
