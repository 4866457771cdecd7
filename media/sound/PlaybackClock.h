#pragma once

#include <cstdint>

// Estimates which device frame is being heard right now. The device takes audio in blocks, so the
// count of frames handed over moves in jumps; between two blocks the estimate runs on a monotonic
// clock, and each new block only bends the slope of that line a little instead of moving it, so
// that readings taken every frame of the picture advance in even steps.
//
// Guarantees: readings never decrease, and never pass the frames handed to the device.
// Times are seconds on a monotonic clock, passed in so that the estimate is reproducible.
class PlaybackClock {
public:
    // `latencyFrames`: how many handed frames are still waiting to be heard right after a block
    // has been handed over.
    PlaybackClock(double rate, double latencyFrames);

    // The device took `frames` more frames at `now` (the moment it asked for them).
    void handed(std::int64_t frames, double now);
    // The device frame being heard at `now`.
    double heard(double now);
    std::int64_t handedFrames() const { return handedTotal; }

private:
    void anchor(double frame, double now);

    double rate;
    double latency;
    std::int64_t handedTotal = 0;
    bool anchored = false;
    double anchorTime = 0.0;
    double anchorFrame = 0.0;
    double slope = 0.0;
    double deviceRate = 0.0;
    double startTime = 0.0;
    bool rateMeasured = false;
    double firstMeasured = 0.0;
    double firstTime = 0.0;
    double lastBlockTime = 0.0;
    double lastReading = 0.0;
};
