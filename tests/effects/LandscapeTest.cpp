#include "Landscape.h"

#include "PictureScene.h"
#include "Random.h"
#include "ScriptText.h"

#include <GL/gl.h>

#include <gmock/gmock.h>

namespace {

TEST(LandscapeTerrain, IsTheSameWhateverWasDrawnBeforeAndFlatAtItsBorder) {
    const std::vector<float> first = Landscape::terrainHeights();
    seedRandom(7);
    for (int i = 0; i < 1000; ++i)
        nextRandom();
    EXPECT_EQ(Landscape::terrainHeights(), first);

    ASSERT_EQ(first.size(), 1024u);
    int hills = 0;
    for (int k = 0; k < 32; ++k) {
        for (int l = 0; l < 32; ++l) {
            const float height = first[32 * k + l];
            const bool border = k == 0 || k == 31 || l == 0 || l == 31;
            if (border) {
                EXPECT_EQ(height, 0.0f) << k << ", " << l;
            }
            // Levelled below half a unit; the smoothing keeps every hill under the peak.
            EXPECT_TRUE(height == 0.0f || (height >= 0.5f && height < 5.0f)) << height;
            hills += height > 0.0f;
        }
    }
    // Islands of hills on flat ground, neither all flat nor all hills.
    EXPECT_GT(hills, 100);
    EXPECT_LT(hills, 900);
    // Smoothed in place: the third point of the second row takes its left neighbour already
    // smoothed; the one above is on the border.
    seedRandom(100);
    std::vector<float> raw(1024);
    for (float& height : raw)
        height = rand01() * 5.0f;
    const float left = (raw[65] + raw[34]) * 0.25f;
    const float expected = (raw[66] + raw[35] + left) * 0.25f;
    EXPECT_FLOAT_EQ(first[34], expected < 0.5f ? 0.0f : expected);
}

class LandscapeRun : public PictureScene {
protected:
    void SetUp() override {
        PictureScene::SetUp();
        Landscape::setCameraPosition(0.0f);
    }
};

TEST_F(LandscapeRun, LaysItsGridOverThirtyUnitsWithItsBorderOnTheGround) {
    Landscape& land = add<Landscape>("Landscape");
    writePicture("source/data/256/clouds2.jpg", gradientImage(64, 64));
    loadScript(effectRecord("land", "Landscape", 1, "0", "0", "9"));
    EXPECT_TRUE(land.grid().empty());
    frames(2);
    EXPECT_FLOAT_EQ(Landscape::cameraPosition(), 0.06f);
    const std::vector<Vertex>& grid = land.grid();
    ASSERT_EQ(grid.size(), 1024u);
    EXPECT_EQ(grid[0].x, -15.0f);
    EXPECT_EQ(grid[0].z, -15.0f);
    EXPECT_EQ(grid[1023].x, 14.0625f);
    EXPECT_EQ(grid[1023].z, 14.0625f);
    EXPECT_EQ(grid[1023].u, 31.0f / 32.0f);
    EXPECT_EQ(grid[32].v, 1.0f / 32.0f);
    const std::vector<float> heights = Landscape::terrainHeights();
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(grid[i].y, heights[i] - 4.0f);
    for (int k : {0, 31})
        for (int l = 0; l < 32; ++l)
            ASSERT_EQ(grid[32 * k + l].y, -4.0f);
}

// A picture red on the left, blue on the right: the ground shows it as it is, the ceiling turned
// about, and the two meet in a dark band at the horizon beyond the terrain's far edge.
TEST_F(LandscapeRun, ShowsTheGroundBelowAndItsReflectionAbove) {
    add<Landscape>("Landscape");
    writePicture("source/data/256/clouds2.jpg", leftAndRight(64, {250, 0, 0}, {0, 0, 250}));
    writePicture("other.jpg", solidImage(64, 64, 0, 250, 0));
    loadScript(effectRecord("land", "Landscape", 1, "0", "0", "9", "other.jpg", "3"));
    frames(1);
    keepFrame("landscape");
    const std::array<int, 3> red{250, 0, 0}, blue{0, 0, 250};
    EXPECT_THAT(pixel(40, 5), NearColour(red, 8));
    EXPECT_THAT(pixel(600, 5), NearColour(blue, 8));
    EXPECT_THAT(pixel(40, 474), NearColour(blue, 8));
    EXPECT_THAT(pixel(600, 474), NearColour(red, 8));
    EXPECT_THAT(pixel(320, 240), ::testing::ElementsAre(0, 0, 0));
}

TEST_F(LandscapeRun, ShowsNothingOnceTheFlightHasPassedTheTerrain) {
    add<Landscape>("Landscape");
    writePicture("source/data/256/clouds2.jpg", solidImage(64, 64, 200, 200, 200));
    loadScript(effectRecord("land", "Landscape", 1, "0", "0", "9"));
    frames(1);
    EXPECT_GT(litPixels(), 640 * 480 / 2);
    // About 1,170 frames in: the far edge has gone behind the viewer.
    Landscape::setCameraPosition(35.2f);
    frames(1);
    EXPECT_EQ(litPixels(), 0);
}

// Culling and the depth settings made when it is set up stay for what is drawn after it.
TEST_F(LandscapeRun, LeavesItsSettingsInForceFromItsInitTime) {
    add<Landscape>("Landscape");
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    loadScript(effectRecord("land", "Landscape", 1, "0", "5", "9"));
    frames(1);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LEQUAL);
    // Not started yet: nothing drawn, the flight where it stood.
    EXPECT_EQ(Landscape::cameraPosition(), 0.0f);
}

} // namespace
