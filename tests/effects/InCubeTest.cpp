#include "InCube.h"

#include "DemoSystem.h"
#include "ScriptText.h"
#include "SphereRun.h"

#include <gmock/gmock.h>

namespace {

TEST(InCube, ReverseAngleTurnsTheSpinRoundAndTwiceBringsItBack) {
    DemoSystem demo;
    InCube cube("InCube");
    InCube::resetAngle();
    const float start = InCube::angle();
    for (int frame = 0; frame < 30; ++frame)
        cube.turn(1.0f / 60.0f);
    EXPECT_NEAR(InCube::angle() - start, 30.0f, 1e-3f);
    cube.trigger("reverseAngle", {});
    cube.trigger("ReverseAngle", {});
    EXPECT_EQ(cube.getDirection(), -1.0f);
    for (int frame = 0; frame < 30; ++frame)
        cube.turn(1.0f / 60.0f);
    EXPECT_NEAR(InCube::angle(), start, 1e-3f);
    cube.trigger("ReverseAngle", {1e30f});
    EXPECT_EQ(cube.getDirection(), 1.0f);
    cube.turn(1.0f / 60.0f);
    EXPECT_NEAR(InCube::angle() - start, 1.0f, 1e-3f);
}

// Seen from inside, the cube's faces fill the whole view at every angle it turns through.
TEST_F(SphereRun, InsideTheCubeEveryPixelShowsThePicture) {
    add<InCube>("InCube");
    writePicture("walls.jpg", solidImage(32, 32, 200, 120, 40));
    loadScript(effectRecord("cube", "InCube", 1, "0", "0", "99", "walls.jpg"));
    const std::array<int, 3> walls{200, 120, 40};
    for (int step = 0; step < 6; ++step) {
        frames(step == 0 ? 1 : 17);
        for (int x = 0; x < 640; x += 71) {
            for (int y = 0; y < 480; y += 53)
                EXPECT_THAT(pixel(x, y), NearColour(walls, 4)) << x << ", " << y;
        }
        EXPECT_THAT(pixel(639, 479), NearColour(walls, 4));
    }
    keepFrame("incube");
}

TEST_F(SphereRun, InCubeDrawsOnThroughWildClockSteps) {
    add<InCube>("InCube");
    loadScript(effectRecord("cube", "InCube", 1, "0", "0", "9") +
               triggerRecord("turn", "InCube", "ReverseAngle", false, "0", "0", "0", "1e38 -1e38"));
    wildFrames();
}

} // namespace
