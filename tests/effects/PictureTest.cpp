#include "Picture.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <GL/gl.h>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

using PictureRun = PictureScene;

// One object set up again and again, each init starting afresh, each first frame reading the
// parameters.
TEST_F(PictureRun, DissolvesOnlyWithFourValuesAndTurnsItsTestRoundOnMinusOne) {
    struct Case {
        const char* parameters;
        bool dissolving;
        unsigned int test;
    };
    const Case cases[] = {
        {"-2 0.2 9", false, GL_LESS},
        {"-2 0.2 9 0.01 -1", true, GL_GREATER},
        {"-2 0.2 9 0.01", true, GL_LESS},
        {"-2 0.2 9 0.01 1", true, GL_LESS},
        // A mode is truncated toward zero.
        {"-2 0.2 9 0.01 -1.75", true, GL_GREATER},
        {"-2 0.2 9 0.01 -0.5", true, GL_LESS},
    };
    Picture& picture = add<Picture>("Picture1");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    std::string records;
    for (int i = 0; i < std::ssize(cases); ++i) {
        const std::string time = std::to_string(i);
        records += effectRecord("set" + time, "Picture1", 1, time, time, time + ".5", "",
                                cases[i].parameters);
    }
    loadScript(records);
    for (int i = 0; i < std::ssize(cases); ++i) {
        SCOPED_TRACE(cases[i].parameters);
        clock->set(static_cast<float>(i));
        frames(1);
        EXPECT_EQ(picture.getZ(), -2.0f);
        EXPECT_EQ(picture.isDissolving(), cases[i].dissolving);
        EXPECT_EQ(picture.thresholdTest(), cases[i].test);
    }
}

TEST_F(PictureRun, MovesItsThresholdPerSixtiethOfASecondOnlyWhileDissolving) {
    Picture& dissolving = add<Picture>("Picture1");
    Picture& still = add<Picture>("Picture2");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("a", "Picture1", 1, "0", "0", "9", "", "-1.2 0.2 5 0.01") +
               effectRecord("b", "Picture2", 1, "0", "0", "9", "", "-1.2 0.2 5"));
    frames(1);
    // One frame at a sixtieth of a second: one step of 0.01; p[2] plays no part.
    EXPECT_FLOAT_EQ(dissolving.getThreshold(), 0.21f);
    dissolving.moveThreshold(0.5f);
    EXPECT_FLOAT_EQ(dissolving.getThreshold(), 0.51f);
    const float before = still.getThreshold();
    still.moveThreshold(0.5f);
    EXPECT_EQ(still.getThreshold(), before);
}

TEST_F(PictureRun, EveryTriggerMovesItInDepthByItsFirstNumberIfItHasOne) {
    Picture& first = add<Picture>("Picture1");
    Picture& second = add<Picture>("Picture2");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("a", "Picture1", 1, "0", "0", "9") +
               effectRecord("b", "Picture2", 1, "0", "0", "9", "", "-3") +
               triggerRecord("empty", "Picture1", "Push", false, "0", "0", "0") +
               triggerRecord("back", "Picture2", "Anything", false, "0", "0", "0", "-0.5 4") +
               triggerRecord("forth", "Picture2", "push", false, "0", "0", "0", "0.25"));
    frames(1);
    EXPECT_EQ(first.getZ(), -1.2f);
    // The triggers came before the first frame set z from the parameters.
    EXPECT_EQ(second.getZ(), -3.0f);
    second.trigger("Later", {-0.5f, 4.0f});
    EXPECT_EQ(second.getZ(), -3.5f);
    second.trigger("Later", {});
    EXPECT_EQ(second.getZ(), -3.5f);
}

// Opaque, red above and blue below, over the whole view or only the middle.
TEST_F(PictureRun, JustOverfillsTheViewAtItsDefaultDepthAndCoversTheCentreFurtherBack) {
    add<Picture>("Picture1");
    add<Picture>("Picture2");
    writePicture("picture.jpg", topAndBottom(64, {250, 0, 0}, {0, 0, 250}));
    loadScript(effectRecord("near", "Picture1", 1, "0", "0", "1") +
               effectRecord("far", "Picture2", 1, "0", "2", "9", "", "-3"));
    frames(1);
    keepFrame("picture-default-depth");
    expectWholeViewUpright(250);

    clock->set(2.0f);
    frames(1);
    keepFrame("picture-far");
    expectMiddleOnlyUpright(250);
}

TEST_F(PictureRun, LetsWhatLiesBeneathThroughItsBlack) {
    add<Fader>("Fader");
    add<Picture>("Picture1");
    writePicture("keyed.jpg", leftAndRight(64, {0, 0, 0}, {0, 0, 200}));
    loadScript(backdrop(0.0f, 0.4f, 0.0f) +
               effectRecord("picture", "Picture1", 1, "0", "0", "9", "keyed.jpg"));
    frames(1);
    EXPECT_THAT(pixel(160, 240), ElementsAre(0, 102, 0));
    EXPECT_THAT(pixel(480, 240), NearColour(std::array<int, 3>{0, 0, 200}, 2));
}

// Dissolving, the picture is its brightness alone: black wherever it passes the threshold,
// which rises by 0.01 a frame. The left half is dark (60), the right half bright (200).
class PictureDissolve : public PictureScene {
protected:
    void play(const std::string& parameters) {
        add<Fader>("Fader");
        add<Picture>("Picture1");
        writePicture("mask.jpg", leftAndRight(64, {60, 60, 60}, {200, 200, 200}));
        loadScript(backdrop(0.0f, 0.4f, 0.0f) +
                   effectRecord("mask", "Picture1", 1, "0", "0", "9", "mask.jpg", parameters));
    }
    std::array<int, 3> dark() const { return pixel(160, 240); }
    std::array<int, 3> bright() const { return pixel(480, 240); }
};

TEST_F(PictureDissolve, CoversTheDarkestPartsFirst) {
    play("-1.2 0 0 0.01");
    frames(10);
    EXPECT_THAT(dark(), ElementsAre(0, 102, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 102, 0));
    // Threshold 0.4: the dark half (0.24) is below it, the bright half (0.78) not yet.
    frames(30);
    keepFrame("picture-dissolve-dark-first");
    EXPECT_THAT(dark(), ElementsAre(0, 0, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 102, 0));
    frames(50);
    EXPECT_THAT(dark(), ElementsAre(0, 0, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 0, 0));
}

TEST_F(PictureDissolve, TurnedRoundUncoversTheDarkestPartsFirst) {
    play("-1.2 0 0 0.01 -1");
    frames(10);
    EXPECT_THAT(dark(), ElementsAre(0, 0, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 0, 0));
    frames(30);
    keepFrame("picture-dissolve-turned-round");
    EXPECT_THAT(dark(), ElementsAre(0, 102, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 0, 0));
    frames(50);
    EXPECT_THAT(dark(), ElementsAre(0, 102, 0));
    EXPECT_THAT(bright(), ElementsAre(0, 102, 0));
}

} // namespace
