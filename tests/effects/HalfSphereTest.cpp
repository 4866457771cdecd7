#include "HalfSphere.h"

#include "ScriptText.h"
#include "SphereRun.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// Twelve units away, the domes' axis stands upright with the pole hanging far below the view:
// the open end's rim lies about 46 pixels below the centre, 0.83 units wide on either side,
// and the cup narrows downwards. Always its own picture, whatever the data says.
TEST_F(SphereRun, TheDomesHangBelowTheCentreOpenEndUp) {
    add<HalfSphere>("HalfSphere");
    writePicture("temp/orang101.jpg", solidImage(32, 32, 250, 160, 40));
    writePicture("other.jpg", solidImage(32, 32, 40, 40, 250));
    loadScript(effectRecord("domes", "HalfSphere", 1, "0", "0", "99", "other.jpg"));
    frames(5);
    keepFrame("halfsphere");
    const std::array<int, 3> orange{250, 160, 40};
    for (auto [x, y] : {std::pair{320, 180}, {300, 180}, {340, 180}, {320, 100}, {320, 10}})
        EXPECT_THAT(pixel(x, y), NearColour(orange, 6)) << x << ", " << y;
    for (auto [x, y] : {std::pair{320, 240},
                        {320, 205},
                        {250, 180},
                        {390, 180},
                        {290, 10},
                        {350, 10},
                        {100, 100}})
        EXPECT_THAT(pixel(x, y), ElementsAre(0, 0, 0)) << x << ", " << y;
}

TEST_F(SphereRun, HalfSphereDrawsOnThroughWildClockSteps) {
    add<HalfSphere>("HalfSphere");
    loadScript(effectRecord("domes", "HalfSphere", 1, "0", "0", "9"));
    wildFrames();
    EXPECT_EQ(static_cast<HalfSphere*>(effects.back().get())->domes().size(), 512u);
}

} // namespace
