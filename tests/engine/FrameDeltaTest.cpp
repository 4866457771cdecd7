#include "DemoSystem.h"
#include "Effect.h"
#include "ManualClock.h"

#include <gtest/gtest.h>

namespace {

class FrameDelta : public ::testing::Test {
protected:
    void SetUp() override {
        auto manual = std::make_unique<ManualClock>();
        clock = manual.get();
        demo.setClock(std::move(manual));
    }

    float readingAt(float seconds) {
        clock->set(seconds);
        return demo.currentTime();
    }

    DemoSystem demo;
    ManualClock* clock = nullptr;
};

TEST_F(FrameDelta, IsASixtiethWhileNoMusicRuns) {
    EXPECT_EQ(frameDelta(), 0.016666668f);
    EXPECT_EQ(demo.currentTime(), 0.0f);
    EXPECT_EQ(demo.currentTime(), 0.0f);
    EXPECT_EQ(frameDelta(), 0.016666668f);
}

TEST_F(FrameDelta, RisesOverTwentyFramesToTheClockStep) {
    for (int frame = 1; frame <= 25; ++frame) {
        const float reading = readingAt(0.02f * static_cast<float>(frame));
        EXPECT_FLOAT_EQ(reading, 0.02f * frame);
        EXPECT_NEAR(frameDelta(), 0.001f * std::min(frame, 20), 1e-6f) << "frame " << frame;
    }
}

TEST_F(FrameDelta, TakesAClockThatGoesBackIntoTheMeanForTwentyFrames) {
    for (int frame = 1; frame <= 20; ++frame)
        readingAt(10.0f + 0.02f * frame);
    readingAt(0.0f);
    EXPECT_LT(frameDelta(), 0.0f);
    for (int frame = 1; frame < 20; ++frame) {
        readingAt(0.02f * frame);
        EXPECT_LT(frameDelta(), 0.0f) << "frame " << frame;
    }
    readingAt(0.4f);
    EXPECT_NEAR(frameDelta(), 0.02f, 1e-6f);
}

TEST_F(FrameDelta, IsASixtiethAgainWhenTheClockStandsStillForTwentyFrames) {
    readingAt(3.0f);
    for (int frame = 0; frame < 19; ++frame) {
        readingAt(3.0f);
        EXPECT_NE(frameDelta(), 0.016666668f);
    }
    readingAt(3.0f);
    EXPECT_EQ(frameDelta(), 0.016666668f);
}

} // namespace
