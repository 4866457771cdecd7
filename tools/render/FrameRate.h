#pragma once

#include <cstdint>
#include <string>

// Frames a second as a ratio of whole numbers, as video rates are written (30000/1001), so that
// frame times, the sound of each frame and a video's time base stay exact: frame n is at
// n x den / num seconds.
class FrameRate {
public:
    // A whole number of frames a second; implicit, since most rates are.
    FrameRate(long whole = 60) : FrameRate(whole, 1) {}
    // Reduced to lowest terms; both must be positive.
    FrameRate(long num, long den);

    long num() const { return numerator; }
    long den() const { return denominator; }
    double perSecond() const { return static_cast<double>(numerator) / denominator; }
    // "60", "30000/1001".
    std::string text() const;

    // The time of frame `frame`.
    double seconds(long frame) const {
        return static_cast<double>(frame) * denominator / numerator;
    }
    // The first frame at `seconds` or after, a whisker before counting as on it (times written
    // in decimals rarely land exactly on a frame).
    long firstFrameFrom(double seconds) const;
    // Whole seconds from frame 0 to frame `frame`.
    std::int64_t wholeSeconds(long frame) const;
    // Sample frames at `sampleRate` before frame `frame`, rounded down: the sound of frame n
    // is samples [before(n), before(n + 1)), with no drift whatever the rate.
    std::int64_t samplesBefore(long frame, int sampleRate) const;

private:
    long numerator;
    long denominator;
};
