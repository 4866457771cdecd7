// Saving and restoring the engine's state between frames: the timeline's place and the active
// effects, the effects' own and class-wide state, the clock's steps and the GL settings that last
// from frame to frame.

#include "DemoSnapshot.h"
#include "SavableEffect.h"
#include "ScriptText.h"
#include "TimelineRun.h"

#include <GL/gl.h>
#include <optional>
#include <stdexcept>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// Counts its frames, its own and those of its whole class, and keeps the last trigger's number.
class Counter : public SavableEffect<Counter> {
public:
    using SavableEffect::SavableEffect;
    void init() override { own = 0; }
    void render() override {
        ++own;
        ++programWide.frames;
    }
    void trigger(const std::string&, const std::vector<float>& numbers) override {
        if (!numbers.empty())
            value = numbers[0];
    }

    struct ProgramWide {
        int frames = 0;
    };
    static ProgramWide programWide;
    int own = 0;
    float value = 0.0f;
};

Counter::ProgramWide Counter::programWide;

// The timeline's two recording effects, and two counters of one class.
class DemoState : public TimelineRun {
protected:
    void SetUp() override {
        TimelineRun::SetUp();
        counter.emplace("Counter");
        other.emplace("Other");
        Counter::programWide = {};
    }

    void TearDown() override {
        counter.reset();
        other.reset();
        TimelineRun::TearDown();
    }

    std::optional<Counter> counter;
    std::optional<Counter> other;
};

TEST_F(DemoState, TheTimelineGoesOnFromWhereItWasSaved) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "10") +
               effectRecord("h", "High", 2, "2", "2", "6") +
               triggerRecord("t", "High", "Go", false, "3", "0", "0"));
    frameAt(0.0f);
    frameAt(1.0f);
    const DemoSnapshot saved = demo->saveState();
    EXPECT_EQ(saved.time(), 1.0);
    EXPECT_THAT(frameAt(4.0f),
                ElementsAre("High init", "High trigger Go", "Low render", "High render"));
    frameAt(7.0f);
    EXPECT_THAT(demo->getActiveEffects(), ElementsAre(&*low));

    demo->restoreState(saved);
    EXPECT_THAT(demo->getActiveEffects(), ElementsAre(&*low));
    EXPECT_THAT(frameAt(1.5f), ElementsAre("Low render"));
    EXPECT_THAT(frameAt(4.0f),
                ElementsAre("High init", "High trigger Go", "Low render", "High render"));
    // Twice: the snapshot is not used up.
    demo->restoreState(saved);
    EXPECT_THAT(frameAt(4.0f),
                ElementsAre("High init", "High trigger Go", "Low render", "High render"));
}

TEST_F(DemoState, EffectsGetTheirOwnAndTheirClasssStateBack) {
    loadScript(effectRecord("c", "Counter", 3, "0", "0", "10", "a.jpg", "1 2") +
               effectRecord("o", "Other", 4, "0", "0", "10") +
               triggerRecord("t", "Counter", "Set", false, "2", "0", "0", "7") +
               effectRecord("again", "Counter", 5, "3", "3", "10", "b.jpg", "9"));
    frameAt(0.0f);
    frameAt(1.0f);
    const DemoSnapshot saved = demo->saveState();
    frameAt(2.0f);
    frameAt(3.0f);
    EXPECT_EQ(counter->value, 7.0f);
    EXPECT_EQ(counter->getLayer(), 5);

    demo->restoreState(saved);
    EXPECT_EQ(counter->own, 2);
    EXPECT_EQ(other->own, 2);
    EXPECT_EQ(Counter::programWide.frames, 4);
    EXPECT_EQ(counter->value, 0.0f);
    EXPECT_EQ(counter->getLayer(), 3);
    EXPECT_THAT(counter->getParameters(), ElementsAre(1.0f, 2.0f));
    EXPECT_THAT(counter->getData(), ElementsAre("a.jpg"));
    EXPECT_GT(saved.byteSize(), sizeof(DemoSnapshot));
}

TEST_F(DemoState, TheFrameStepsAndTheLastingGLSettingsComeBack) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "10"));
    for (float t = 0.0f; t < 1.0f; t += 0.05f)
        frameAt(t);
    const DemoSnapshot saved = demo->saveState();
    const float delta = demo->getFrameDelta();
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);

    // Settings made outside an effect's frame, as set-ups make them, stay until restored.
    for (float t = 1.0f; t < 2.0f; t += 0.01f)
        frameAt(t);
    low->setAspect(3.0f);
    glClearColor(0.2f, 0.4f, 0.6f, 0.8f);
    glEnable(GL_CULL_FACE);
    ASSERT_NE(demo->getFrameDelta(), delta);

    demo->restoreState(saved);
    EXPECT_EQ(demo->getFrameDelta(), delta);
    GLfloat restored[16];
    glGetFloatv(GL_PROJECTION_MATRIX, restored);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(restored[i], projection[i]) << i;
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    EXPECT_EQ(clearColour[0], 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(DemoState, ASnapshotOfAnEarlierTimelineIsRefused) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "10"));
    frameAt(1.0f);
    const DemoSnapshot saved = demo->saveState();
    loadScript(effectRecord("h", "High", 1, "0", "0", "10"));
    EXPECT_THROW(demo->restoreState(saved), std::invalid_argument);
}

} // namespace
