#include "Fader.h"

#include "GLTest.h"
#include "NearColour.h"
#include "ScriptText.h"

#include <cmath>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// The fader on a high layer over a black frame, driven through the timeline.
class FaderRun : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        fader.emplace("Fader");
    }
    void TearDown() override {
        fader.reset();
        GLTest::TearDown();
    }

    // The fader active from 0, with `triggers` (DemoTrigger records) to drive it.
    void play(const std::string& triggers) {
        loadScript(effectRecord("fade", "Fader", 10, "0", "0", "1000") + triggers);
    }

    std::array<int, 3> frame() {
        demo->renderFrame();
        return centre();
    }

    static int channel(float alpha, float colour) {
        return static_cast<int>(std::lround(255.0f * std::clamp(alpha, 0.0f, 1.0f) * colour));
    }

    std::optional<Fader> fader;
};

TEST_F(FaderRun, DrawsNothingBeforeItsFirstTrigger) {
    play(triggerRecord("later", "Fader", "Go", false, "5", "0", "0"));
    for (int i = 0; i < 3; ++i)
        EXPECT_THAT(frame(), ElementsAre(0, 0, 0));
    EXPECT_TRUE(fader->isFinished());
}

TEST_F(FaderRun, LaysItsColourOverTheFrameAStepPerFrame) {
    play(triggerRecord("in", "Fader", "In", false, "0", "0", "0", "0 1 0.02 1 0.5 0"));
    // The clock stands, so each frame steps by 0.02 at a sixtieth of a second per frame.
    const float step = 0.016666668f * 0.02f * 60.0f;
    float alpha = 0.0f;
    for (int n = 1; n <= 60; ++n) {
        alpha += step;
        const std::array<int, 3> expected{channel(alpha, 1.0f), channel(alpha, 0.5f), 0};
        ASSERT_THAT(frame(), NearColour(expected, 1)) << "frame " << n;
        if (n == 25)
            keepFrame("fader-half-orange");
    }
    EXPECT_FLOAT_EQ(fader->getAlpha(), alpha);
    // Past its target it goes on, opaque, until its stop time.
    EXPECT_FALSE(fader->isFinished());
    EXPECT_THAT(pixel(0, 0), ElementsAre(255, 128, 0));
}

TEST_F(FaderRun, FadesOutOfWhiteForAnyOtherNumberOfValues) {
    play(triggerRecord("none", "Fader", "A", false, "0", "0", "0") +
         triggerRecord("five", "Fader", "B", false, "0", "0", "0", "0 1 0.5 1 0") +
         triggerRecord("seven", "Fader", "C", false, "0", "0", "0", "0 1 0.5 1 0 0 0"));
    EXPECT_THAT(frame(), ElementsAre(252, 252, 252));
    for (int n = 2; n < 50; ++n)
        frame();
    EXPECT_THAT(frame(), NearColour(std::array<int, 3>{128, 128, 128}, 1));
    for (int n = 51; n < 120; ++n)
        frame();
    // Below zero and on: invisible, never exactly at its target.
    EXPECT_THAT(frame(), ElementsAre(0, 0, 0));
    EXPECT_LT(fader->getAlpha(), 0.0f);
    EXPECT_FALSE(fader->isFinished());
}

TEST_F(FaderRun, StopsOnlyWhenItsAlphaLandsExactlyOnTheTarget) {
    // Twenty readings 0.25 s apart make the frame step exactly 0.25; 0.25 x 0.0625 x 60 is
    // 0.9375 exactly, so the first step lands on the target.
    play(triggerRecord("land", "Fader", "Land", false, "5", "0", "0", "0 0.9375 0.0625 0 0 1"));
    for (int n = 1; n < 20; ++n) {
        clock->set(0.25f * static_cast<float>(n));
        demo->renderFrame();
    }
    clock->set(5.0f);
    EXPECT_THAT(frame(), ElementsAre(0, 0, channel(0.9375f, 1.0f)));
    EXPECT_TRUE(fader->isFinished());
    clock->set(5.25f);
    EXPECT_THAT(frame(), ElementsAre(0, 0, 0));
}

TEST_F(FaderRun, HoldsStillAtSpeedZeroUnlessAlreadyOnTarget) {
    play(triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0", "0.5 0.4 0 0 1 0"));
    for (int n = 0; n < 5; ++n)
        EXPECT_THAT(frame(), ElementsAre(0, 128, 0));
    // A new trigger restarts the fade from its own values, here already on target: one frame.
    fader->trigger("Anything", {0.5f, 0.5f, 0.0f, 1.0f, 0.0f, 0.0f});
    EXPECT_THAT(frame(), ElementsAre(128, 0, 0));
    EXPECT_THAT(frame(), ElementsAre(0, 0, 0));
}

} // namespace
