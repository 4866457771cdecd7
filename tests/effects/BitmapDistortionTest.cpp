#include "BitmapDistortion.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

using DistortionRun = PictureScene;
using GridPoint = BitmapDistortion::GridPoint;

constexpr float sixtieth = 1.0f / 60.0f;

TEST_F(DistortionRun, ReadsOnlyCompleteParameterGroupsAndAgainAtEveryInit) {
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    // The third number alone is not read: its group needs the fourth as well.
    swirl.setup(640, 480, {2.9f, 30.0f, 7.0f}, {}, 1);
    swirl.init();
    EXPECT_EQ(swirl.getMode(), 2);
    EXPECT_EQ(swirl.getRadius(), 30.0f);
    EXPECT_EQ(swirl.getSinFactor(), 0.3f);
    EXPECT_EQ(swirl.getCosFactor(), 0.5f);
    EXPECT_EQ(swirl.getSpeed(), 2.0f);

    swirl.setup(640, 480, {-1.5f, 40.0f, 0.1f, 0.2f, 3.0f, 1.0f, 2.0f, 5.0f}, {}, 1);
    swirl.init();
    EXPECT_EQ(swirl.getMode(), -1);
    EXPECT_EQ(swirl.getSinFactor(), 0.1f);
    EXPECT_EQ(swirl.getCosFactor(), 0.2f);
    EXPECT_EQ(swirl.getSpeed(), 3.0f);
    EXPECT_EQ(swirl.getScaleU(), 1.0f);
    EXPECT_EQ(swirl.getScaleV(), 2.0f);
    EXPECT_EQ(swirl.getCentreX(), 0.0f);

    // A shorter list at the next init brings the defaults back.
    swirl.setup(640, 480, {0, 10, 0, 0, 0, 0, 0, 6, -7}, {}, 1);
    swirl.init();
    EXPECT_EQ(swirl.getCentreX(), 6.0f);
    EXPECT_EQ(swirl.getCentreY(), -7.0f);
    swirl.setup(640, 480, {}, {}, 1);
    swirl.init();
    EXPECT_EQ(swirl.getMode(), 0);
    EXPECT_EQ(swirl.getRadius(), 100.0f);
    EXPECT_EQ(swirl.getScaleU(), 4.0f);
    EXPECT_EQ(swirl.getCentreX(), 0.0f);
    EXPECT_EQ(swirl.getCentreY(), 0.0f);
}

TEST_F(DistortionRun, LaysItsGridFiveUnitsApartAtItsFixedDepth) {
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    swirl.setup(640, 480, {0, 500}, {}, 1);
    swirl.init();
    const std::vector<GridPoint>& grid = swirl.gridPoints();
    ASSERT_EQ(grid.size(), 400u);
    EXPECT_EQ(grid[0].x, -50.0f);
    EXPECT_EQ(grid[0].y, -50.0f);
    EXPECT_EQ(grid[19].x, 45.0f);
    EXPECT_EQ(grid[20].y, -45.0f);
    EXPECT_EQ(grid[399].x, 45.0f);
    EXPECT_EQ(grid[399].y, 45.0f);
    EXPECT_FLOAT_EQ(grid[399].restU, 0.95f);
    EXPECT_FLOAT_EQ(grid[399].restV, 0.95f);
    for (const GridPoint& point : grid)
        ASSERT_EQ(point.z, -110.0f);
}

// Around the origin with radius 50 and the swirl not yet turned (angle 0: no twist, cosine 1,
// sine 0), one point in from the circle's left edge.
TEST_F(DistortionRun, SwirlsInsideTheCircleByItsModeAndRestsFromItsEdgeOut) {
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    const GridPoint edge{-50.0f, 0.0f, -110.0f, 0.0f, 0.5f};
    const GridPoint inside{-45.0f, 0.0f, -110.0f, 0.05f, 0.5f};
    const auto coord = [&](float mode, const GridPoint& point) {
        swirl.setup(640, 480, {mode, 50.0f}, {}, 1);
        swirl.init();
        const BitmapDistortion::TexCoord at = swirl.texCoord(point, sixtieth);
        return std::array<float, 2>{at.u, at.v};
    };
    EXPECT_EQ(swirl.getAngle(), 0.0f);
    for (float mode : {0.0f, 2.0f, 3.0f})
        EXPECT_THAT(coord(mode, edge), ElementsAre(0.0f, 0.5f)) << mode;
    // u = fU / 256 x 4 + 0.5, likewise v.
    const auto near = [](float fU, float fV) {
        using ::testing::FloatEq;
        return ElementsAre(FloatEq(fU / 64.0f + 0.5f), FloatEq(fV / 64.0f + 0.5f));
    };
    EXPECT_THAT(coord(0.0f, inside), near(-90.0f, 0.0f));
    EXPECT_THAT(coord(1.0f, inside), near(-90.0f, 0.0f));
    EXPECT_THAT(coord(2.0f, inside), near(-90.0f, -45.0f));
    EXPECT_THAT(coord(3.0f, inside), near(-45.0f, 0.0f));
    // Only the grid's first point turns the swirl on.
    EXPECT_EQ(swirl.getAngle(), 0.0f);
}

TEST_F(DistortionRun, EachObjectTurnsItsOwnSwirlOncePerFrameAndKeepsItAcrossInits) {
    BitmapDistortion& first = add<BitmapDistortion>("BitmapDistortion");
    BitmapDistortion& second = add<BitmapDistortion>("BitmapDistortion2");
    writePicture("source/Data/256/a000.jpg", gradientImage(64, 64));
    loadScript(effectRecord("a", "BitmapDistortion", 1, "0", "0", "9") +
               effectRecord("b", "BitmapDistortion2", 2, "0", "0", "9", "", "0 100 0.3 0.5 6") +
               effectRecord("again", "BitmapDistortion", 1, "1", "1", "9"));
    frames(3);
    EXPECT_NEAR(first.getAngle(), 3 * sixtieth * 2.0f, 1e-5f);
    EXPECT_NEAR(second.getAngle(), 3 * sixtieth * 6.0f, 1e-5f);
    const float before = first.getAngle();
    clock->set(1.0f);
    frames(1);
    EXPECT_GT(first.getAngle(), before);
}

TEST_F(DistortionRun, SetAlphaNeedsThreeValuesAndItsExactName) {
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    EXPECT_EQ(swirl.getAlpha(), 1.0f);
    swirl.trigger("SetAlpha", {0.2f, 0.4f});
    swirl.trigger("setalpha", {0.2f, 0.4f, 1.0f});
    swirl.trigger("Alpha", {0.2f, 0.4f, 1.0f});
    EXPECT_EQ(swirl.getAlpha(), 1.0f);
    swirl.trigger("SetAlpha", {0.2f, 0.4f, 1.0f, 9.0f});
    EXPECT_EQ(swirl.getAlpha(), 0.2f);
    EXPECT_EQ(swirl.getAlphaTarget(), 0.4f);
    EXPECT_EQ(swirl.getAlphaSpeed(), 1.0f);
    // Init brings the picture back to opaque, the speed stays.
    swirl.init();
    EXPECT_EQ(swirl.getAlpha(), 1.0f);
    EXPECT_EQ(swirl.getAlphaTarget(), 1.0f);
    EXPECT_EQ(swirl.getAlphaSpeed(), 1.0f);
}

// Radius 0 leaves every point at rest: the picture over the whole square view, its first row at
// the bottom, short of the right and top edges by the grid's last step.
TEST_F(DistortionRun, WithoutASwirlLaysThePictureBottomRowFirstOverTheView) {
    add<BitmapDistortion>("BitmapDistortion");
    writePicture("split.jpg", topAndBottom(64, {250, 0, 0}, {0, 0, 250}));
    loadScript(effectRecord("still", "BitmapDistortion", 1, "0", "0", "9", "split.jpg", "0 0"));
    frames(2);
    keepFrame("bitmapdistortion-still");
    const std::array<int, 3> red{250, 0, 0}, blue{0, 0, 250};
    for (int x : {0, 320, 630}) {
        EXPECT_THAT(pixel(x, 0), NearColour(red, 4)) << x;
        EXPECT_THAT(pixel(x, 200), NearColour(red, 4)) << x;
        EXPECT_THAT(pixel(x, 280), NearColour(blue, 4)) << x;
        EXPECT_THAT(pixel(x, 472), NearColour(blue, 4)) << x;
        EXPECT_THAT(pixel(x, 479), ElementsAre(0, 0, 0)) << x;
    }
    EXPECT_THAT(pixel(639, 100), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(639, 400), ElementsAre(0, 0, 0));
}

// Over an opaque green: white at alpha 1 down by 1.5 per second; -1 exactly draws it opaque.
TEST_F(DistortionRun, FadesWithoutAClampAndDrawsOpaqueAtAlphaMinusOne) {
    add<Fader>("Fader");
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    writePicture("white.jpg", solidImage(64, 64, 250, 250, 250));
    loadScript(
        backdrop(0.0f, 0.4f, 0.0f) +
        effectRecord("fade", "BitmapDistortion", 1, "0", "0", "9", "white.jpg", "0 0") +
        triggerRecord("out", "BitmapDistortion", "SetAlpha", false, "0", "0", "0", "1 0 -1.5"));
    frames(20);
    EXPECT_NEAR(swirl.getAlpha(), 0.5f, 1e-4f);
    EXPECT_THAT(centre(), NearColour(std::array<int, 3>{125, 176, 125}, 3));
    frames(40);
    EXPECT_NEAR(swirl.getAlpha(), -0.5f, 1e-4f);
    EXPECT_THAT(centre(), ElementsAre(0, 102, 0));

    swirl.trigger("SetAlpha", {-1.0f, -1.0f, 0.0f});
    frames(1);
    EXPECT_THAT(centre(), NearColour(std::array<int, 3>{250, 250, 250}, 3));
    swirl.trigger("SetAlpha", {-1.0f, 0.0f, 0.0f});
    frames(1);
    EXPECT_THAT(centre(), NearColour(std::array<int, 3>{250, 250, 250}, 3));
    swirl.trigger("SetAlpha", {-0.99f, -0.99f, 0.0f});
    frames(1);
    EXPECT_THAT(centre(), ElementsAre(0, 102, 0));
}

TEST_F(DistortionRun, NonFiniteOrHugeValuesDrawWithoutHarm) {
    BitmapDistortion& swirl = add<BitmapDistortion>("BitmapDistortion");
    writePicture("source/Data/256/a000.jpg", gradientImage(64, 64));
    loadScript(effectRecord("a", "BitmapDistortion", 1, "0", "0", "9"));
    frames(1);
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (float value : {nan, infinity, -infinity, 3e38f, -3e38f}) {
        swirl.setup(640, 480, std::vector<float>(9, value), {}, 1);
        swirl.init();
        swirl.trigger("SetAlpha", {value, value, value});
        frames(2);
        EXPECT_EQ(swirl.gridPoints().size(), 400u);
    }
    swirl.setup(640, 480, {}, {}, 1);
    swirl.init();
    frames(1);
    EXPECT_GT(litPixels(), 640 * 480 / 2);
}

} // namespace
