#include "BorderImage.h"

#include "PictureScene.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using BorderImageRun = PictureScene;

// The row's middle on screen: 5 units in front of the eye.
int row(float y) {
    const float halfHeight = 5.0f * std::tan(22.5f * 3.14159265f / 180.0f);
    return static_cast<int>(std::lround(240.0f + y / halfHeight * 240.0f));
}

// From -1 towards 1 at 2 a second in steps of 0.3: it stops at the first step past 1.
TEST_F(BorderImageRun, MovesTowardsItsTargetAndStopsAtTheFirstStepPastIt) {
    BorderImage& tiles = add<BorderImage>("BorderImage1");
    tiles.init();
    tiles.trigger("MoveBars", {1.0f});
    tiles.trigger("movebars", {1.0f, 2.0f});
    tiles.moveRow(0.15f);
    EXPECT_EQ(tiles.getY(), -1.0f);
    tiles.trigger("MoveBars", {1.0f, 2.0f});
    for (int step = 0; step < 10; ++step)
        tiles.moveRow(0.15f);
    EXPECT_NEAR(tiles.getY(), 1.1f, 1e-5f);
    tiles.trigger("MoveBars", {0.0f, -4.0f});
    tiles.moveRow(0.25f);
    EXPECT_NEAR(tiles.getY(), 0.1f, 1e-5f);
    tiles.moveRow(0.25f);
    EXPECT_NEAR(tiles.getY(), -0.9f, 1e-5f);
    tiles.moveRow(0.25f);
    EXPECT_NEAR(tiles.getY(), -0.9f, 1e-5f);
    tiles.init();
    EXPECT_EQ(tiles.getY(), -1.0f);
    EXPECT_EQ(tiles.getTargetY(), -1.0f);
}

// Half of the picture's colour over black, as a band 0.3 high at the row's height, while the
// scroll wraps within one tile.
TEST_F(BorderImageRun, DrawsItsBandAtItsHeight) {
    writePicture("band.jpg", solidImage(32, 16, 200, 100, 40));
    add<BorderImage>("BorderImage2");
    loadScript(effectRecord("band", "BorderImage2", 1, "0", "0", "9", "band.jpg", "1"));
    for (int frame = 0; frame < 30; ++frame) {
        runFrames(1);
        ASSERT_GE(BorderImage::scrollX(), -4.0f);
        ASSERT_LT(BorderImage::scrollX(), -3.0f);
    }
    const std::array<int, 3> half{100, 50, 20};
    for (int x : {5, 200, 320, 500, 634}) {
        EXPECT_THAT(pixel(x, row(1.0f)), NearColour(half, 3)) << x;
        EXPECT_THAT(pixel(x, row(1.0f) + 12), NearColour(half, 3)) << x;
        EXPECT_THAT(pixel(x, row(1.0f) + 22), ElementsAre(0, 0, 0)) << x;
        EXPECT_THAT(pixel(x, row(1.0f) - 22), ElementsAre(0, 0, 0)) << x;
        EXPECT_THAT(pixel(x, 240), ElementsAre(0, 0, 0)) << x;
    }
}

TEST_F(BorderImageRun, AHeightOrMoveOutOfRangeOnlyTakesTheRowAway) {
    writePicture("band.jpg", solidImage(32, 16, 200, 100, 40));
    const float inf = std::numeric_limits<float>::infinity();
    for (float height : {std::nanf(""), inf, 1e30f}) {
        BorderImage& tiles = add<BorderImage>("Odd");
        tiles.setup(640, 480, {height}, {"band.jpg"}, 1);
        tiles.init();
        tiles.trigger("MoveBars", {std::nanf(""), inf});
        glClear(GL_COLOR_BUFFER_BIT);
        tiles.render();
        tiles.render();
        EXPECT_EQ(litPixels(), 0) << height;
    }
}

} // namespace
