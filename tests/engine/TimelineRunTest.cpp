#include "TimelineRun.h"

#include "Effect.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <cmath>
#include <optional>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(TimelineRun, DrawsActiveEffectsByLayerAndEqualLayersInStartOrder) {
    RecordingEffect later("Later", log);
    loadScript(effectRecord("h", "High", 3, "0", "0", "10") +
               effectRecord("l", "Low", 1, "0", "0", "10") +
               effectRecord("x", "Later", 3, "0", "1", "10"));
    EXPECT_THAT(frameAt(0),
                ElementsAre("High init", "Low init", "Later init", "Low render", "High render"));
    EXPECT_THAT(frameAt(1), ElementsAre("Low render", "High render", "Later render"));
    EXPECT_THAT(demo->getActiveEffects(), ElementsAre(&*low, &*high, &later));
}

TEST_F(TimelineRun, SetsEffectsUpBeforeInitWithTheWindowSizeAndTheirOwnPerspective) {
    loadScript(effectRecord("h", "High", 4, "0", "1", "2", "a.jpg", "0.5 2"));
    frameAt(0);
    EXPECT_EQ(high->getLayer(), 4);
    EXPECT_EQ(high->getWidth(), 640);
    EXPECT_EQ(high->getHeight(), 480);
    EXPECT_THAT(high->getParameters(), ElementsAre(0.5f, 2.0f));
    EXPECT_THAT(high->getData(), ElementsAre("a.jpg"));
    EXPECT_EQ(high->getAspect(), 640.0f / 480.0f);

    // Outside any effect the projection is that of the effect set up last.
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double zNear = 0.1f, zFar = 250.0;
    EXPECT_NEAR(m[0], f / (640.0 / 480.0), 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (zFar + zNear) / (zNear - zFar), 1e-5);
    EXPECT_NEAR(m[14], 2 * zFar * zNear / (zNear - zFar), 1e-5);
    EXPECT_EQ(m[11], -1.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(TimelineRun, WaitsForEachEventAndDrawsUpToTheLastFrameBeforeStop) {
    loadScript(effectRecord("h", "High", 1, "1", "1", "5"));
    EXPECT_THAT(frameAt(0.99f), IsEmpty());
    EXPECT_THAT(frameAt(1.0f), ElementsAre("High init", "High render"));
    EXPECT_THAT(frameAt(4.99f), ElementsAre("High render"));
    EXPECT_THAT(frameAt(5.0f), IsEmpty());
}

TEST_F(TimelineRun, StandsAtZeroUntilTheMusicRuns) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "9") +
               effectRecord("h", "High", 1, "0.5", "0.5", "9"));
    EXPECT_THAT(frame(), ElementsAre("Low init", "Low render"));
    EXPECT_THAT(frame(), ElementsAre("Low render"));
}

TEST_F(TimelineRun, ALateFrameRunsEveryEventItMissedInOrder) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "9") +
               effectRecord("h", "High", 2, "1", "2", "5") +
               triggerRecord("t", "Low", "Flash", true, "3", "5", "1", "7"));
    frameAt(0.9f);
    EXPECT_THAT(frameAt(7.0f), ElementsAre("High init", "Low trigger Flash 7.000000",
                                           "Low trigger Flash 7.000000", "Low render"));
}

TEST_F(TimelineRun, AStopBeforeItsStartLeavesTheEffectActive) {
    loadScript(effectRecord("h", "High", 1, "0", "2", "1"));
    EXPECT_THAT(frameAt(1.5f), ElementsAre("High init"));
    EXPECT_THAT(frameAt(100.0f), ElementsAre("High render"));
}

TEST_F(TimelineRun, TwoRecordsOfOneEffectDrawItTwiceAndEachStopRemovesOne) {
    loadScript(effectRecord("a", "Low", 1, "0", "0", "2") +
               effectRecord("b", "Low", 1, "0", "1", "3"));
    EXPECT_THAT(frameAt(0), ElementsAre("Low init", "Low init", "Low render"));
    EXPECT_THAT(frameAt(1), ElementsAre("Low render", "Low render"));
    EXPECT_THAT(frameAt(2), ElementsAre("Low render"));
    EXPECT_THAT(frameAt(3), IsEmpty());
}

TEST_F(TimelineRun, DeliversTriggersWhateverTheEffectsState) {
    loadScript(triggerRecord("early", "High", "Go", false, "0", "0", "0", "1") +
               effectRecord("h", "High", 1, "0", "1", "2") +
               triggerRecord("late", "High", "Again", false, "3", "0", "0"));
    EXPECT_THAT(frameAt(0), ElementsAre("High trigger Go 1.000000", "High init"));
    EXPECT_THAT(frameAt(3), ElementsAre("High trigger Again"));
}

TEST_F(TimelineRun, NeverRunsAnEventTwiceWhenTheClockGoesBack) {
    loadScript(effectRecord("l", "Low", 1, "0", "0", "9") +
               triggerRecord("t", "Low", "Beat", false, "2", "0", "0") +
               triggerRecord("u", "Low", "Later", false, "4", "0", "0"));
    frameAt(3);
    EXPECT_THAT(frameAt(0), ElementsAre("Low render"));
    EXPECT_THAT(frameAt(3.5f), ElementsAre("Low render"));
    EXPECT_THAT(frameAt(4), ElementsAre("Low trigger Later", "Low render"));
}

} // namespace
