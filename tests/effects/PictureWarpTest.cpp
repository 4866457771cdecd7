#include "PictureWarp.h"

#include "Picture.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <cmath>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

using PictureWarpRun = PictureScene;

TEST_F(PictureWarpRun, ReadsItsDepthOnEachFirstFrameAndMovesItOnAnyTriggerWithANumber) {
    PictureWarp& warp = add<PictureWarp>("PictureWarp");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("bare", "PictureWarp", 1, "0", "0", "1") +
               triggerRecord("empty", "PictureWarp", "Push", false, "0", "0", "0") +
               effectRecord("far", "PictureWarp", 1, "2", "2", "9", "", "-3 7"));
    frames(1);
    EXPECT_EQ(warp.getZ(), -1.2f);
    warp.trigger("anything", {-1.0f, 5.0f});
    EXPECT_EQ(warp.getZ(), -2.2f);
    clock->set(2.0f);
    frames(1);
    EXPECT_EQ(warp.getZ(), -3.0f);
}

// Seven columns across a unit square, bottom then top, the picture upright.
TEST_F(PictureWarpRun, BuildsItsStripOnTheFirstFrameAndWavesAroundIt) {
    PictureWarp& warp = add<PictureWarp>("PictureWarp");
    EXPECT_TRUE(warp.getStrip().empty());
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("warp", "PictureWarp", 1, "0", "0", "9"));
    frames(1);
    const std::vector<Vertex>& strip = warp.getStrip();
    ASSERT_EQ(strip.size(), 14u);
    for (int i = 0; i < 7; ++i) {
        const Vertex& bottom = strip[2 * i];
        const Vertex& top = strip[2 * i + 1];
        EXPECT_FLOAT_EQ(bottom.x, -0.5f + i / 6.0f);
        EXPECT_EQ(top.x, bottom.x);
        EXPECT_EQ(bottom.y, -0.5f);
        EXPECT_EQ(top.y, 0.5f);
        EXPECT_EQ(bottom.u, top.u);
        EXPECT_EQ(bottom.v, 1.0f);
        EXPECT_EQ(top.v, 0.0f);
    }
    EXPECT_EQ(strip.back().u, 1.0f);

    const std::vector<Vertex> before = strip;
    for (int frame = 0; frame < 50; ++frame)
        warp.wave(0.1f);
    int moved = 0;
    for (std::size_t k = 0; k < strip.size(); ++k) {
        EXPECT_LE(std::abs(strip[k].bx - strip[k].x), 0.2f + 1e-6f);
        EXPECT_LE(std::abs(strip[k].by - strip[k].y), 0.3f + 1e-6f);
        EXPECT_LE(std::abs(strip[k].bz - strip[k].z), 0.4f + 1e-6f);
        moved += strip[k].bx != before[k].bx;
    }
    EXPECT_EQ(moved, 14);
}

// Culling, left on by a Picture set up earlier, must not drop the strip's quads.
TEST_F(PictureWarpRun, ShowsItsPictureInTheMiddleWithBlackCutOut) {
    add<Picture>("Picture1");
    add<PictureWarp>("PictureWarp");
    writePicture("picture.jpg", solidImage(16, 16, 200, 200, 200));
    writePicture("flag.jpg", leftAndRight(64, {0, 0, 0}, {0, 200, 0}));
    loadScript(effectRecord("culling", "Picture1", 1, "0", "5", "6") +
               effectRecord("warp", "PictureWarp", 1, "0", "0", "9", "flag.jpg", "-3"));
    frames(20);
    keepFrame("picturewarp");
    EXPECT_GT(litPixels(), 8000);
    EXPECT_GT(pixel(380, 240)[1], 150);
    EXPECT_THAT(pixel(260, 240), ElementsAre(0, 0, 0));
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {0, 479}, {639, 0}})
        EXPECT_THAT(pixel(x, y), ElementsAre(0, 0, 0));
}

} // namespace
