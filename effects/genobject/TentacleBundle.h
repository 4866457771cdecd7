#pragma once

#include "GenShape.h"
#include "Tentacle.h"

#include <memory>
#include <string_view>
#include <vector>

// Sixteen tapering tentacles fanning out from a centre and twisting, the bundle swaying far
// out in front of the view. "StartMove" sets it drifting sideways.
class TentacleBundle : public GenShape {
public:
    static constexpr int tubeCount = 16;
    static constexpr std::string_view startMove = "StartMove";
    static const Tentacle::Shape tubeShape;

    TentacleBundle();

    void draw() override;
    std::unique_ptr<GenShape> clone() const override {
        return std::make_unique<TentacleBundle>(*this);
    }
    std::size_t heapBytes() const override { return tentacleBytes(tubes); }
    void trigger(const std::string& triggerId) override;

    // One frame: the shared phases and place move on and every tube is rebuilt.
    void advance(float delta);

    const std::vector<Tentacle>& getTubes() const { return tubes; }

    // What every bundle of the program advances, and what "StartMove" sets: the two objects
    // showing bundles move one bundle, and a new bundle goes on where the last one stood. Only
    // the tubes' first-build flags are the bundle's own.
    struct Shared {
        float twist = 0.0f;
        float sway = 0.0f;
        float roll = 0.0f;
        float x = 0.0f;
        float z = -20.0f;
        float xSpeed = 0.0f;
        float zSpeed = 0.0f;
    };
    static Shared shared;

private:
    std::vector<Tentacle> tubes;
};
