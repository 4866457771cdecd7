#include "HalfSphere.h"

#include "ScriptText.h"
#include "SphereRun.h"

#include <GL/gl.h>
#include <vector>

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

// How many layers of the domes cover each pixel (row by row from the bottom) in one frame
// seen through a narrow window of the same eye (the frustum from `bottom` to `top` at distance
// 1, as wide as the view's 4 : 3), with every fragment of a picture of grey `level` added onto
// what lies beneath and no depth test.
std::vector<int> domeLayers(DemoSystem& demo, float bottom, float top, int level) {
    const float halfWidth = (top - bottom) * 2.0f / 3.0f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-halfWidth, halfWidth, bottom, top, 1.0, 250.0);
    glMatrixMode(GL_MODELVIEW);
    // Left as another effect's set-up leaves them for those that do not set them.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    demo.renderFrame();
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<int> layers(640 * 480);
    for (std::size_t i = 0; i < layers.size(); ++i)
        layers[i] = (rgb[i * 3] + level / 2) / level;
    return layers;
}

// The eye looks down into the cup's open end from just above its rim. The rim's near half is
// the lip in front: zoomed in on it, the band between the outer and the inner dome's edges is
// covered twice, by the lip and by the cup's far wall beyond it. The rim's far half is seen
// from behind and culled: zoomed in on the far lip, only the far wall covers it.
TEST_F(SphereRun, TheRimFacesOutOfTheOpenEndItsNearHalfDrawnItsFarHalfCulled) {
    add<HalfSphere>("HalfSphere");
    constexpr int level = 60;
    writePicture("temp/orang101.jpg", solidImage(32, 32, level, level, level));
    loadScript(effectRecord("domes", "HalfSphere", 1, "0", "0", "99"));
    frames(1);

    // From the lip's outer edge, 0.0852 below the line of sight at distance 1, to its inner
    // edge, 0.0819 below: rows 104 to 368 of the window.
    const std::vector<int> nearLip = domeLayers(*demo, -0.0865f, -0.0805f, level);
    keepFrame("halfsphere-near-lip");
    for (int row : {115, 236, 355}) {
        for (int column : {0, 320, 639})
            EXPECT_EQ(nearLip[row * 640 + column], 2) << row << ", " << column;
    }
    // Above the lip the far wall alone.
    EXPECT_EQ(nearLip[420 * 640 + 320], 1);

    // The far lip, from its outer edge 0.0742 below to its inner edge 0.0717 below: rows 133
    // to 355.
    const std::vector<int> farLip = domeLayers(*demo, -0.0757f, -0.0703f, level);
    keepFrame("halfsphere-far-lip");
    for (int row : {145, 236, 345}) {
        for (int column : {0, 320, 639})
            EXPECT_EQ(farLip[row * 640 + column], 1) << row << ", " << column;
    }
    EXPECT_EQ(farLip[420 * 640 + 320], 0);
}

TEST_F(SphereRun, HalfSphereDrawsOnThroughWildClockSteps) {
    add<HalfSphere>("HalfSphere");
    loadScript(effectRecord("domes", "HalfSphere", 1, "0", "0", "9"));
    wildFrames();
    EXPECT_EQ(static_cast<HalfSphere*>(effects.back().get())->domes().size(), 512u);
}

} // namespace
