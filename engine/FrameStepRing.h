#pragma once

#include <array>

// The clock's steps over the last 20 frames and their mean, by which effects animate at the
// speed the music plays whatever the frame rate.
class FrameStepRing {
public:
    static constexpr int size = 20;
    // What the mean step reads as while the clock stands still: 60 frames per second.
    static constexpr float stillDelta = 1.0f / 60.0f;

    void record(float reading);
    // The mean step, or `stillDelta` when the mean is exactly 0.
    float delta() const { return mean != 0.0f ? mean : stillDelta; }

private:
    std::array<float, size> steps{};
    int writeIndex = 0;
    float lastReading = 0.0f;
    float mean = 0.0f;
};
