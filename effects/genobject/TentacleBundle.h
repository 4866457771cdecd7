#pragma once

#include "GenShape.h"
#include "Tentacle.h"

#include <vector>

// Sixteen tapering tentacles fanning out from a centre and twisting, the bundle swaying far
// out in front of the view. "StartMove" sets it drifting sideways.
class TentacleBundle : public GenShape {
public:
    static constexpr int tubeCount = 16;
    static const Tentacle::Shape tubeShape;

    TentacleBundle();

    void draw() override;
    void trigger(const std::string& triggerId) override;

    // One frame: the shared phases move on and every tube is rebuilt.
    void advance(float delta);

    const std::vector<Tentacle>& getTubes() const { return tubes; }
    float getX() const { return x; }
    float getZ() const { return z; }

    // The twist of all bundles of the program, in radians.
    static float twistPhase();

private:
    std::vector<Tentacle> tubes;
    float x = 0.0f;
    float z = -20.0f;
    float xSpeed = 0.0f;
    float zSpeed = 0.0f;
};
