#pragma once

#include "GenShape.h"
#include "Tentacle.h"
#include "Texture.h"
#include "Vertex.h"

#include <memory>
#include <string_view>
#include <vector>

// Eight tentacles round a small sphere, drawn small into the corner of the frame, copied into a
// texture and shown as a stack of added squares: a glow that zooms out of the bundle. The copy
// wipes the frame, so whatever lower layers drew is gone. "StartShake" shakes it sideways,
// "StopShake" stills it.
class GlowBundle : public GenShape {
public:
    static constexpr int tubeCount = 8;
    static constexpr std::string_view startShake = "StartShake";
    static constexpr std::string_view stopShake = "StopShake";
    static constexpr int targetSize = 256;
    static const Tentacle::Shape tubeShape;

    GlowBundle();

    void draw() override;
    std::unique_ptr<GenShape> clone() const override { return std::make_unique<GlowBundle>(*this); }
    std::size_t heapBytes() const override {
        return tentacleBytes(tubes) + sphere.capacity() * sizeof(Vertex);
    }
    void trigger(const std::string& triggerId) override;

    // One frame: the shared phases move on and every tube is rebuilt.
    void advance(float delta);

    const std::vector<Tentacle>& getTubes() const { return tubes; }
    // Empty until the first frame.
    const std::vector<Vertex>& getSphere() const { return sphere; }

    // What every glow bundle of the program advances, apart from the tentacle bundle's own, and
    // what the shake triggers set: a new bundle shakes on as the last one did. The tubes' first-
    // build flags, the sphere and the render target are the bundle's own.
    struct Shared {
        float twist = 0.0f;
        float sway = 0.0f;
        float roll = 0.0f;
        float shake = 0.0f;
    };
    static Shared shared;

private:
    void drawBundle() const;
    void drawGlow() const;

    std::vector<Tentacle> tubes;
    std::vector<Vertex> sphere;
    // Made on the first draw, which has a GL context. Copies of the bundle share it: every frame
    // fills it before it is shown. The last owner deletes the GL texture.
    std::shared_ptr<Texture> target;
};
