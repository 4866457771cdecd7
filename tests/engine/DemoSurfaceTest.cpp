#include "DemoSurface.h"

#include "GLTest.h"
#include "RecordingEffect.h"
#include "ScriptText.h"

#include <GL/gl.h>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

const PixelRect glowTarget{0, 0, 256, 256};

TEST(DemoSurface, ScalesTheDemosPixelsToTheLargest4To3PictureThatFitsCentred) {
    const DemoSurface own;
    EXPECT_EQ(own.picture(), (PixelRect{0, 0, 640, 480}));
    EXPECT_EQ(own.place(glowTarget), glowTarget);
    EXPECT_EQ(own.scale(), 1.0f);

    const DemoSurface twice(1280, 960);
    EXPECT_EQ(twice.picture(), (PixelRect{0, 0, 1280, 960}));
    EXPECT_EQ(twice.place(glowTarget), (PixelRect{0, 0, 512, 512}));
    EXPECT_EQ(twice.place({0, 0, 128, 128}), (PixelRect{0, 0, 256, 256}));
    EXPECT_EQ(twice.scale(), 2.0f);

    // Wider than 4:3: bars left and right. Taller: above and below.
    const DemoSurface wide(1920, 1080);
    EXPECT_EQ(wide.picture(), (PixelRect{240, 0, 1440, 1080}));
    EXPECT_EQ(wide.place(glowTarget), (PixelRect{240, 0, 576, 576}));
    EXPECT_EQ(wide.place({0, 0, 640, 480}), wide.picture());
    const DemoSurface tall(640, 960);
    EXPECT_EQ(tall.picture(), (PixelRect{0, 240, 640, 480}));
    EXPECT_EQ(tall.place({320, 240, 10, 10}), (PixelRect{320, 480, 10, 10}));
}

TEST(DemoSurface, PlacesEdgesSoThatRectanglesThatMeetStillMeetAndNoneVanishes) {
    const DemoSurface odd(1001, 751);
    const PixelRect left = odd.place({0, 0, 320, 480});
    const PixelRect right = odd.place({320, 0, 320, 480});
    EXPECT_EQ(left.x + left.width, right.x);
    EXPECT_EQ(right.x + right.width, odd.picture().x + odd.picture().width);

    const DemoSurface tiny(16, 12);
    EXPECT_EQ(tiny.place({0, 0, 1, 1}).width, 1);
    EXPECT_EQ(tiny.place({0, 0, 1, 1}).height, 1);
    EXPECT_EQ(DemoSurface(0, -5).picture(), (PixelRect{0, 0, 1, 1}));
}

// A window drawing on a surface of its own size, with an effect that reports what it is handed.
class SurfaceWindow : public GLTest {
protected:
    void open(int width, int height) {
        ASSERT_TRUE(demo->createWindow(false, dialogs, SurfaceRequest{width, height}));
        probe = std::make_unique<RecordingEffect>("Probe", log);
        loadScript(effectRecord("probe", "Probe", 1, "0", "0", "10"));
    }
    void TearDown() override {
        probe.reset();
        GLTest::TearDown();
    }

    std::vector<std::string> log;
    std::unique_ptr<RecordingEffect> probe;
};

TEST_F(SurfaceWindow, EffectsSeeTheDemosSizeAndProjectionWhilePixelsScale) {
    ASSERT_NO_FATAL_FAILURE(open(1280, 960));
    std::array<GLint, 4> viewport{};
    GLfloat lineWidth = 0.0f, pointSize = 0.0f;
    std::array<GLfloat, 16> projection{};
    probe->onRender = [&] {
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        glGetFloatv(GL_LINE_WIDTH, &lineWidth);
        glGetFloatv(GL_POINT_SIZE, &pointSize);
        glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    };
    demo->renderFrame();
    EXPECT_EQ(probe->getWidth(), 640);
    EXPECT_EQ(probe->getHeight(), 480);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 1280, 960));
    EXPECT_EQ(lineWidth, 2.0f);
    EXPECT_EQ(pointSize, 2.0f);
    EXPECT_NEAR(projection[5] / projection[0], 640.0 / 480.0, 1e-5);
}

TEST_F(SurfaceWindow, BarsBesideTheAreaStayBlackWhateverReachesThem) {
    ASSERT_NO_FATAL_FAILURE(open(800, 480));
    std::array<GLint, 4> viewport{};
    probe->onRender = [&] {
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        // What a wide line at the picture's edge might do, at its worst.
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    demo->renderFrame();
    EXPECT_THAT(viewport, ElementsAre(80, 0, 640, 480));
    EXPECT_THAT(pixel(79, 240), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(80, 240), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(719, 0), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(720, 479), ElementsAre(0, 0, 0));
}

} // namespace
