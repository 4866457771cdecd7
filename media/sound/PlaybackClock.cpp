#include "PlaybackClock.h"

#include <algorithm>
#include <cmath>

namespace {

// The estimate closes its distance to the measured position over this time; long against the
// jitter of block deliveries, short against a device whose real rate differs from its nominal one.
constexpr double correctionSeconds = 0.1;
// The slope stays within this share of the nominal rate, so one late block cannot make a jump.
constexpr double maxSlopeChange = 0.1;
// A device that stalled this long, or an estimate this far off, starts over from the measurement.
constexpr double stallSeconds = 0.5;
constexpr double maxErrorSeconds = 0.2;
// A device fills its buffer in a burst when it starts; its real rate is measured only from this
// long after the start, and over at least `rateWindowSeconds` before it replaces the nominal one.
constexpr double settleSeconds = 0.25;
constexpr double rateWindowSeconds = 0.5;
// The estimate aims this far behind the measured position: jitter then bends the line before it
// meets the end of the audio handed over, instead of flattening it there.
constexpr double marginSeconds = 0.001;

} // namespace

PlaybackClock::PlaybackClock(double rate, double latencyFrames)
    : rate(rate), latency(latencyFrames), slope(rate) {}

void PlaybackClock::anchor(double frame, double now) {
    anchorFrame = std::max(frame, lastReading);
    anchorTime = now;
    slope = rate;
    deviceRate = rate;
    startTime = now;
    rateMeasured = false;
    anchored = true;
}

void PlaybackClock::handed(std::int64_t frames, double now) {
    handedTotal += frames;
    const double measured = static_cast<double>(handedTotal) - latency - rate * marginSeconds;
    const bool stalled = anchored && now - lastBlockTime > stallSeconds;
    lastBlockTime = now;
    if (!anchored || stalled) {
        anchor(measured, now);
        return;
    }
    const double predicted = anchorFrame + (now - anchorTime) * slope;
    const double error = measured - predicted;
    if (std::abs(error) > rate * maxErrorSeconds) {
        anchor(measured, now);
        return;
    }
    // A device never runs exactly at its nominal rate; without its real rate the line would
    // settle a constant distance off the measurement.
    if (!rateMeasured && now - startTime >= settleSeconds) {
        firstMeasured = measured;
        firstTime = now;
        rateMeasured = true;
    } else if (rateMeasured && now - firstTime >= rateWindowSeconds) {
        deviceRate = std::clamp((measured - firstMeasured) / (now - firstTime),
                                rate * (1.0 - maxSlopeChange), rate * (1.0 + maxSlopeChange));
    }
    // Continue the line from where it is now; only its slope follows the measurement.
    anchorFrame = predicted;
    anchorTime = now;
    const double change =
        std::clamp(error / (rate * correctionSeconds), -maxSlopeChange, maxSlopeChange);
    slope = deviceRate + rate * change;
}

double PlaybackClock::heard(double now) {
    if (!anchored) {
        return lastReading;
    }
    double estimate = anchorFrame + std::max(0.0, now - anchorTime) * slope;
    estimate = std::min(estimate, static_cast<double>(handedTotal));
    lastReading = std::max({lastReading, estimate, 0.0});
    return lastReading;
}
