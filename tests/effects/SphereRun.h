#pragma once

#include "PictureScene.h"

#include <limits>

// The sphere, cube and star effects played through the engine.
class SphereRun : public PictureScene {
protected:
    // Frames with the clock leaping back and forth by huge and infinite amounts, all before 9 s
    // so that the effect stays on: every frame step the effects see is absurd or not finite.
    // They must draw on regardless.
    void wildFrames() {
        const float huge = std::numeric_limits<float>::max();
        const float infinite = std::numeric_limits<float>::infinity();
        for (float time : {0.0f, -huge, 5.0f, -infinite, 8.0f, 8.5f}) {
            clock->set(time);
            frames(2);
        }
    }
};
