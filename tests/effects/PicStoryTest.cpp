#include "PicStory.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

using PicStoryScene = PictureScene;

TEST_F(PicStoryScene, FadesTowardsItsTargetClampedToZeroAndOne) {
    PicStory& story = add<PicStory>("PicStory1");
    story.init();
    EXPECT_EQ(story.getAlpha(), 0.0f);
    story.fade(0.5f);
    EXPECT_FLOAT_EQ(story.getAlpha(), 0.5f);
    // The last step passes the target of 0.8 and is stopped only by the clamp.
    story.fade(0.7f);
    EXPECT_EQ(story.getAlpha(), 1.0f);
    story.fade(0.5f);
    EXPECT_EQ(story.getAlpha(), 1.0f);

    story.trigger("AlphaOut", {});
    EXPECT_EQ(story.getAlpha(), 0.8f);
    EXPECT_EQ(story.getAlphaTarget(), 0.0f);
    EXPECT_EQ(story.getAlphaSpeed(), -1.5f);
    story.fade(0.5f);
    EXPECT_FLOAT_EQ(story.getAlpha(), 0.05f);
    story.fade(0.5f);
    EXPECT_EQ(story.getAlpha(), 0.0f);

    // A clock that ran back turns the step round; the clamp still holds.
    story.init();
    story.fade(-0.25f);
    EXPECT_EQ(story.getAlpha(), 0.0f);
}

TEST_F(PicStoryScene, TriggersReachOnlyTheNamedObjectAndOnlyAlphaOutCounts) {
    PicStory& first = add<PicStory>("PicStory1");
    PicStory& second = add<PicStory>("PicStory2");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("a", "PicStory1", 1, "0", "0", "9") +
               effectRecord("b", "PicStory2", 2, "0", "0", "9") +
               triggerRecord("out", "PicStory2", "AlphaOut", false, "0", "0", "0", "5 5") +
               triggerRecord("case", "PicStory1", "alphaout", false, "0", "0", "0") +
               triggerRecord("other", "PicStory1", "FadeOut", false, "0", "0", "0"));
    frames(1);
    EXPECT_EQ(first.getAlphaTarget(), 0.8f);
    EXPECT_EQ(first.getAlphaSpeed(), 1.0f);
    EXPECT_EQ(second.getAlphaTarget(), 0.0f);
    EXPECT_EQ(second.getAlphaSpeed(), -1.5f);
}

TEST_F(PicStoryScene, ReadsItsPositionOnlyFromCompleteGroupsAndAgainAfterEachInit) {
    PicStory& partial = add<PicStory>("PicStory1");
    PicStory& bare = add<PicStory>("PicStory2");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("a", "PicStory1", 1, "0", "0", "9", "", "-2.5 0.3") +
               effectRecord("b", "PicStory2", 1, "0", "0", "9") +
               effectRecord("again", "PicStory1", 1, "1", "1", "9", "", "-2 0.25 -0.5 7"));
    frames(1);
    EXPECT_EQ(partial.getZ(), -2.5f);
    EXPECT_EQ(partial.getX(), 0.0f);
    EXPECT_EQ(partial.getY(), 0.0f);
    EXPECT_EQ(bare.getZ(), -1.2f);
    // Set once the first frame has read them: later parameter changes need a new init.
    clock->set(1.0f);
    frames(1);
    EXPECT_EQ(partial.getZ(), -2.0f);
    EXPECT_EQ(partial.getX(), 0.25f);
    EXPECT_EQ(partial.getY(), -0.5f);
}

// A picture red above and blue below, seen through the whole view or only in the middle.
TEST_F(PicStoryScene, JustOverfillsTheViewAtItsDefaultDepthAndCoversTheCentreFurtherBack) {
    add<PicStory>("PicStory1");
    add<PicStory>("PicStory2");
    writePicture("picture.jpg", topAndBottom(64, {250, 0, 0}, {0, 0, 250}));
    loadScript(effectRecord("near", "PicStory1", 1, "0", "0", "1") +
               effectRecord("far", "PicStory2", 1, "0", "2", "9", "", "-3"));
    frames(60);
    keepFrame("picstory-default-depth");
    // At rest a little past alpha 0.8.
    expectWholeViewUpright(204);

    // Till the far one has been on for as long.
    runFrames(180);
    keepFrame("picstory-far");
    expectMiddleOnlyUpright(204);
}

TEST_F(PicStoryScene, PlacesItsCentreAtXAndY) {
    add<PicStory>("PicStory1");
    writePicture("shifted.jpg", solidImage(16, 16, 250, 250, 250));
    loadScript(effectRecord("right", "PicStory1", 1, "0", "0", "9", "shifted.jpg", "-3 0.6 -0.3"));
    frames(60);
    // The centre lands at 320 + 0.6 / 1.243 x 320 and 240 - 0.3 / 1.243 x 240.
    EXPECT_GT(pixel(474, 182)[0], 150);
    EXPECT_GT(pixel(580, 182)[0], 150);
    EXPECT_THAT(pixel(320, 240), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(474, 300), ElementsAre(0, 0, 0));
}

// Over an opaque green the picture adds its colour at its alpha; its black half adds nothing.
TEST_F(PicStoryScene, AddsItsColourWhereItIsNotBlack) {
    add<Fader>("Fader");
    add<PicStory>("PicStory1");
    writePicture("picture.jpg", leftAndRight(64, {0, 0, 0}, {0, 0, 200}));
    loadScript(backdrop(0.0f, 0.4f, 0.0f) + effectRecord("story", "PicStory1", 1, "0", "0", "9"));
    frames(60);
    keepFrame("picstory-keyed");
    EXPECT_THAT(pixel(160, 240), ElementsAre(0, 102, 0));
    // alpha has come to rest one step past its target of 0.8.
    EXPECT_THAT(pixel(480, 240), NearColour(std::array<int, 3>{0, 102, 163}, 2));
}

TEST_F(PicStoryScene, FadesInAFrameAtATimeAndOutOnAlphaOut) {
    PicStory& story = add<PicStory>("PicStory1");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("story", "PicStory1", 1, "0", "0", "9"));
    // The clock stands: a sixtieth of a second per frame.
    frames(30);
    EXPECT_THAT(centre(), NearColour(std::array<int, 3>{100, 100, 100}, 2));
    frames(30);
    const std::array<int, 3> rested = centre();
    EXPECT_THAT(rested, NearColour(std::array<int, 3>{163, 163, 163}, 2));
    frames(5);
    EXPECT_EQ(centre(), rested);

    // From 0.8 down by 1.5 per second: gone after 32 frames, and it stays gone.
    story.trigger("AlphaOut", {});
    frames(16);
    EXPECT_THAT(centre(), NearColour(std::array<int, 3>{80, 80, 80}, 2));
    frames(17);
    EXPECT_THAT(centre(), ElementsAre(0, 0, 0));
    EXPECT_EQ(story.getAlpha(), 0.0f);
}

} // namespace
