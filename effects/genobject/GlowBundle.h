#pragma once

#include "GenShape.h"
#include "Tentacle.h"
#include "Texture.h"
#include "Vertex.h"

#include <memory>
#include <vector>

// Eight tentacles round a small sphere, drawn small into the corner of the frame, copied into a
// texture and shown as a stack of added squares: a glow that zooms out of the bundle. The copy
// wipes the frame, so whatever lower layers drew is gone. "StartShake" shakes it sideways,
// "StopShake" stills it.
class GlowBundle : public GenShape {
public:
    static constexpr int tubeCount = 8;
    static constexpr int targetSize = 256;
    static const Tentacle::Shape tubeShape;

    GlowBundle();
    ~GlowBundle() override;

    void draw() override;
    void trigger(const std::string& triggerId) override;

    // One frame: the shared phases move on and every tube is rebuilt.
    void advance(float delta);

    const std::vector<Tentacle>& getTubes() const { return tubes; }
    float getShake() const { return shake; }
    // Empty until the first frame.
    const std::vector<Vertex>& getSphere() const { return sphere; }

private:
    void drawBundle() const;
    void drawGlow() const;

    std::vector<Tentacle> tubes;
    std::vector<Vertex> sphere;
    // Made on the first draw, which has a GL context.
    std::unique_ptr<Texture> target;
    float shake = 0.0f;
};
