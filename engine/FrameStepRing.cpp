#include "FrameStepRing.h"

void FrameStepRing::record(float reading) {
    const float step = reading - lastReading;
    lastReading = reading;
    writeIndex = (writeIndex + 1) % size;
    steps[writeIndex] = step;
    // Summed afresh each time, so an old step cannot linger as rounding error.
    float sum = 0.0f;
    for (float entry : steps)
        sum += entry;
    mean = sum * 0.05f;
}
