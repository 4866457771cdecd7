#include "FramePacer.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Nanoseconds = FramePacer::Nanoseconds;

// A clock that moves only when it is read (a spin costs 10 us a look) or slept on (sleeps
// wake up `oversleep` late, as a busy scheduler makes them); the frames' own work is added by
// the test.
class FakeTime {
public:
    Nanoseconds oversleep = 0ns;
    Nanoseconds time = 1s;
    std::vector<Nanoseconds> sleeps;

    FramePacer pacer(double rate) {
        return FramePacer(
            rate,
            [this] {
                time += 10us;
                return time;
            },
            [this](Nanoseconds slept) {
                sleeps.push_back(slept);
                time += slept + oversleep;
            });
    }
};

TEST(FramePacer, PacesAtTheRefreshRateAndAt60HzWhenItIsUnknown) {
    FakeTime clock;
    EXPECT_EQ(clock.pacer(0).getPeriod(), 16666667ns);
    EXPECT_EQ(clock.pacer(-5).getPeriod(), 16666667ns);
    EXPECT_EQ(clock.pacer(75).getPeriod(), 13333333ns);
}

// Frames of varying cost, and sleeps that wake up late by less than the spin time: every frame
// ends its wait on its own moment of a fixed schedule, never before it and never drifting.
TEST(FramePacer, EndsEachWaitOnAFixedScheduleWhateverTheSleepsAndFramesCost) {
    FakeTime clock;
    clock.oversleep = 900us;
    FramePacer pacer = clock.pacer(60);
    pacer.waitForNextFrame();
    const Nanoseconds start = clock.time;
    const Nanoseconds costs[] = {1ms, 8ms, 15ms, 16ms, 0ms, 12ms};
    for (int frame = 1; frame <= 60; ++frame) {
        clock.time += costs[frame % 6];
        pacer.waitForNextFrame();
        const Nanoseconds due = start + frame * pacer.getPeriod();
        ASSERT_GE(clock.time, due) << "frame " << frame;
        ASSERT_LT(clock.time, due + 50us) << "frame " << frame;
    }
    // The spin takes the last stretch; the rest is slept.
    for (Nanoseconds slept : clock.sleeps)
        EXPECT_LE(slept, pacer.getPeriod() - FramePacer::spinTime);
}

// A frame a little late is followed at once by the next on the old schedule; one more than a
// frame late starts the schedule afresh rather than letting a burst of frames catch up.
TEST(FramePacer, LateFramesNeitherWaitNorBurst) {
    FakeTime clock;
    FramePacer pacer = clock.pacer(50);
    pacer.waitForNextFrame();
    const Nanoseconds start = clock.time;

    clock.time += 25ms;
    pacer.waitForNextFrame();
    EXPECT_LT(clock.time, start + 25ms + 50us);
    pacer.waitForNextFrame();
    EXPECT_GE(clock.time, start + 40ms);
    EXPECT_LT(clock.time, start + 40ms + 50us);

    clock.time += 100ms;
    const Nanoseconds late = clock.time;
    pacer.waitForNextFrame();
    EXPECT_LT(clock.time, late + 50us);
    pacer.waitForNextFrame();
    EXPECT_GE(clock.time, late + 20ms);
    EXPECT_LT(clock.time, late + 20ms + 50us);
}

} // namespace
