#include "PlaybackClock.h"

#include "PositionHistory.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr double rate = 44100.0;
constexpr int block = 1024;

TEST(PositionHistory, MapsTheHeardDeviceFrameToTheStreamFrame) {
    PositionHistory history;
    EXPECT_EQ(history.positionAt(5000.0, 42), 42); // nothing played yet
    // The stream joins at device frame 2048 and plays two blocks, pauses one, plays one more
    // and ends 100 frames into the block after.
    history.record(2048, 0, block);
    history.record(3072, 1024, block);
    history.record(5120, 2048, block);
    history.record(6144, 3072, 100);
    EXPECT_EQ(history.positionAt(0.0, 0), 0);
    EXPECT_EQ(history.positionAt(2048.0, 0), 0);
    EXPECT_EQ(history.positionAt(2560.7, 0), 512);
    EXPECT_EQ(history.positionAt(4096.0, 0), 2048); // paused: holds
    EXPECT_EQ(history.positionAt(5000.0, 0), 2048);
    EXPECT_EQ(history.positionAt(5121.0, 0), 2049);
    EXPECT_EQ(history.positionAt(6200.0, 0), 3128);
    EXPECT_EQ(history.positionAt(1e9, 0), 3172); // ended: holds at the end
    history.clear();
    EXPECT_EQ(history.positionAt(1e9, 0), 0);
}

TEST(PositionHistory, KeepsTheNewestBlocksWhenFull) {
    PositionHistory history;
    for (int i = 0; i < 100; ++i) {
        history.record(i * block, i * block, block);
    }
    EXPECT_EQ(history.positionAt(99.5 * block, 0), static_cast<std::int64_t>(99.5 * block));
    // Older than anything kept: the oldest kept frame, never a later one.
    EXPECT_EQ(history.positionAt(0.0, 0), 36 * block);
}

// Readings at 60 per second against a simulated device, compared with what it really plays.
struct SimulatedRun {
    double worstLag = 0.0;       // frames between the reading and what the device plays
    double worstStepError = 0.0; // seconds between a clock step and the wall clock's step
    bool decreased = false;
    bool ahead = false;
};

// A device with a queue: it asks for a block while the one before is still queued (two blocks of
// latency), on schedule at a rate `drift` off its nominal one, but the request is served up to
// `jitter` seconds late. It plays what it was given at its own pace.
SimulatedRun queuedDevice(double drift, double jitter, unsigned seed) {
    PlaybackClock clock(rate, 2 * block);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> lateness(0.0, jitter);
    const double blockSeconds = block / (rate * (1.0 + drift));
    double nextBlock = 0.0;
    double served = lateness(random);
    std::int64_t handed = 0;
    double previousReading = 0.0;
    SimulatedRun run;
    for (int frame = 0; frame < 600; ++frame) {
        const double now = frame / 60.0;
        while (served <= now) {
            clock.handed(block, served);
            handed += block;
            nextBlock += blockSeconds;
            served = nextBlock + lateness(random);
        }
        const double reading = clock.heard(now);
        run.decreased |= reading < previousReading;
        run.ahead |= reading > static_cast<double>(handed);
        if (now > 0.5) {
            const double playing = now * rate * (1.0 + drift) - block;
            run.worstLag = std::max(run.worstLag, std::abs(playing - reading));
            const double step = (reading - previousReading) / rate;
            run.worstStepError = std::max(run.worstStepError, std::abs(step - 1.0 / 60.0));
        }
        previousReading = reading;
    }
    return run;
}

// SDL's dummy device: it takes a block, sleeps for about a block's time, and takes the next one;
// the block it took is what plays until then. Its sleeps run `drift` off and vary by `jitter`.
SimulatedRun sleepingDevice(double drift, double jitter, unsigned seed) {
    PlaybackClock clock(rate, block);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> lateness(0.0, jitter);
    std::vector<double> times{0.0};
    while (times.back() < 11.0) {
        times.push_back(times.back() + block / (rate * (1.0 + drift)) + lateness(random));
    }
    std::size_t next = 0;
    double previousReading = 0.0;
    SimulatedRun run;
    for (int frame = 0; frame < 600; ++frame) {
        const double now = frame / 60.0;
        while (times[next] <= now) {
            clock.handed(block, times[next]);
            ++next;
        }
        const double reading = clock.heard(now);
        run.decreased |= reading < previousReading;
        run.ahead |= reading > static_cast<double>(next * block);
        if (now > 0.5) {
            const double into = (now - times[next - 1]) / (times[next] - times[next - 1]);
            const double playing = (static_cast<double>(next - 1) + into) * block;
            run.worstLag = std::max(run.worstLag, std::abs(playing - reading));
            const double step = (reading - previousReading) / rate;
            run.worstStepError = std::max(run.worstStepError, std::abs(step - 1.0 / 60.0));
        }
        previousReading = reading;
    }
    return run;
}

TEST(PlaybackClock, ReadingsRiseSmoothlyAndFollowTheDevice) {
    struct Case {
        double drift;
        double jitter;
    };
    for (Case each : {Case{0.0, 0.0}, Case{0.005, 0.001}, Case{-0.01, 0.003}, Case{0.02, 0.002}}) {
        SCOPED_TRACE(testing::Message() << "drift " << each.drift << " jitter " << each.jitter);
        SimulatedRun queued = queuedDevice(each.drift, each.jitter, 7);
        EXPECT_FALSE(queued.decreased);
        EXPECT_FALSE(queued.ahead);
        // Within 5 ms of the device, and every step within 1.5 ms of the wall clock's.
        EXPECT_LT(queued.worstLag, 0.005 * rate);
        EXPECT_LT(queued.worstStepError, 0.0015);
    }
    for (Case each : {Case{0.0, 0.0}, Case{0.005, 0.0002}, Case{-0.01, 0.0005}}) {
        SCOPED_TRACE(testing::Message() << "drift " << each.drift << " jitter " << each.jitter);
        SimulatedRun sleeping = sleepingDevice(each.drift, each.jitter, 11);
        EXPECT_FALSE(sleeping.decreased);
        EXPECT_FALSE(sleeping.ahead);
        EXPECT_LT(sleeping.worstLag, 0.005 * rate);
        EXPECT_LT(sleeping.worstStepError, 0.0015);
    }
}

TEST(PlaybackClock, NeverPassesTheAudioHandedOver) {
    PlaybackClock clock(rate, 2 * block);
    EXPECT_EQ(clock.heard(0.0), 0.0); // before any audio
    for (int i = 0; i < 10; ++i) {
        clock.handed(block, i * block / rate);
    }
    // The device stops asking: the estimate runs on to the last frame handed, and stops there.
    EXPECT_LE(clock.heard(1.0), 10.0 * block);
    EXPECT_EQ(clock.heard(5.0), 10.0 * block);
    // After the stall it carries on from there without going back.
    clock.handed(block, 6.0);
    EXPECT_GE(clock.heard(6.0), 10.0 * block);
    EXPECT_LE(clock.heard(6.0), 11.0 * block);
    EXPECT_EQ(clock.handedFrames(), 11 * block);
}

TEST(PlaybackClock, EarlyBlocksDoNotPushTheReadingBack) {
    PlaybackClock clock(rate, block);
    clock.handed(block, 0.0);
    clock.handed(block, 0.001); // a burst: the device fills its buffer at start
    clock.handed(block, 0.002);
    double last = 0.0;
    for (int i = 0; i < 100; ++i) {
        double reading = clock.heard(0.002 + i * 0.001);
        EXPECT_GE(reading, last);
        last = reading;
    }
}

} // namespace
