#include "Border.h"

#include "PictureScene.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using BorderRun = PictureScene;

// Where a point of the bars' plane lands: 18 units in front of the eye, raised by 7.
int column(float x) {
    const float halfWidth = 18.0f * std::tan(22.5f * 3.14159265f / 180.0f) * 640.0f / 480.0f;
    return static_cast<int>(std::lround(320.0f + x / halfWidth * 320.0f));
}

TEST_F(BorderRun, KeepsItsLayoutWhenSetUpWithOnlyAStyle) {
    Border& border = add<Border>("Border");
    border.setup(640, 480, {1.0f}, {}, 1);
    border.init();
    EXPECT_EQ(border.getStyle(), 1);
    EXPECT_FALSE(border.isHorizontal());
    border.setup(640, 480, {2.0f, 1.0f}, {}, 1);
    border.init();
    EXPECT_TRUE(border.isHorizontal());
    border.setup(640, 480, {1.0f}, {}, 1);
    border.init();
    EXPECT_EQ(border.getStyle(), 1);
    EXPECT_TRUE(border.isHorizontal());
    border.setup(640, 480, {1.0f, 0.5f}, {}, 1);
    border.init();
    EXPECT_FALSE(border.isHorizontal());
}

// Style 2 upright: the bar across the middle of the view reaches h to the right and f to the
// left of the centre line, each at the phase of the frame that drew it.
TEST_F(BorderRun, DrawsTheMiddleBarToItsLengthsAtTheFramesPhase) {
    add<Border>("Border");
    loadScript(effectRecord("bars", "Border", 1, "0", "0", "9"));
    for (int frame = 0; frame < 3; ++frame) {
        const float t = Border::phase() + 0.1f;
        frames(1);
        ASSERT_NEAR(Border::phase(), t, 1e-5f);
        // Bar 200 covers the plane's y from 0 to 0.04: the row just above the middle.
        const float h = std::cos(200.0f / 30.0f + t / 2.0f) + std::sin(t + 10.0f) + 2.0f;
        const float f = std::sin(200.0f / 35.0f + t / 3.0f) + std::cos(t + 200.0f / 15.0f) + 2.0f;
        const std::array<int, 3> half{128, 128, 128};
        EXPECT_THAT(pixel(column(h - 0.15f), 240), NearColour(half, 2)) << t;
        EXPECT_THAT(pixel(column(h + 0.15f), 240), ::testing::ElementsAre(0, 0, 0)) << t;
        EXPECT_THAT(pixel(column(-f + 0.15f), 240), NearColour(half, 2)) << t;
        EXPECT_THAT(pixel(column(-f - 0.15f), 240), ::testing::ElementsAre(0, 0, 0)) << t;
    }
}

TEST_F(BorderRun, DrawsNothingForAStyleThatMakesNoSense) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float style : {std::nanf(""), inf, 1e30f, 3.0f}) {
        Border& border = add<Border>("Odd");
        border.setup(640, 480, {style, std::nanf("")}, {}, 1);
        border.init();
        glClear(GL_COLOR_BUFFER_BIT);
        border.render();
        EXPECT_EQ(litPixels(), 0) << style;
    }
}

} // namespace
