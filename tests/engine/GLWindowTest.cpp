#include "DemoSystem.h"
#include "GLTest.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cmath>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

using Window = GLTest;

TEST_F(Window, StartsWithTheDefaultViewportAndPerspective) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 640, 480));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);

    float projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double zNear = 0.1f, zFar = 200.0;
    EXPECT_NEAR(projection[0], f * 480.0 / 640.0, 1e-5);
    EXPECT_NEAR(projection[5], f, 1e-5);
    EXPECT_NEAR(projection[10], (zFar + zNear) / (zNear - zFar), 1e-5);
    EXPECT_NEAR(projection[14], 2 * zFar * zNear / (zNear - zFar), 1e-5);
    EXPECT_THAT(modelview, ElementsAre(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    EXPECT_FALSE(demo->getWindow().isFullscreen());
}

TEST_F(Window, TakesAZeroHeightAsOne) {
    demo->getWindow().resize(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 640, 1));
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5] / projection[0], 640.0, 1e-3);
}

TEST_F(Window, IsTitledDemoSystemUntilRetitled) {
    EXPECT_EQ(demo->getWindow().getTitle(), "DemoSystem");
    demo->setTitle("Quillion - Ostrafine - 2002");
    EXPECT_EQ(demo->getWindow().getTitle(), "Quillion - Ostrafine - 2002");
}

TEST_F(Window, TearsDownOnceAndQuietlyAfterwards) {
    GLWindow& window = demo->getWindow();
    window.destroy();
    EXPECT_FALSE(window.isOpen());
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    window.destroy();
    window.swapBuffers();
    window.setTitle("nobody sees this");
    EXPECT_EQ(window.getTitle(), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

// The offscreen display lists no 640 x 480 mode, so a fullscreen window must ask.
TEST(FullscreenWindow, AsksAndEndsWhenWindowedModeIsRefused) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    RecordingDialogs refuse(false);
    DemoSystem demo;
    EXPECT_FALSE(demo.createWindow(true, refuse));
    EXPECT_THAT(refuse.asked, ElementsAre("Zorv GL: The Requested Fullscreen Mode Is Not "
                                          "Supported By\nYour Video Card. Use Windowed Mode "
                                          "Instead?"));
    EXPECT_THAT(refuse.shown, ElementsAre("ERROR: Program Will Now Close."));
    EXPECT_FALSE(demo.getWindow().isOpen());
}

TEST(FullscreenWindow, GoesOnInAWindowWithTheCursorShownWhenAccepted) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    RecordingDialogs accept(true);
    DemoSystem demo;
    ASSERT_TRUE(demo.createWindow(true, accept));
    EXPECT_EQ(accept.asked.size(), 1u);
    EXPECT_TRUE(accept.shown.empty());
    EXPECT_TRUE(demo.getWindow().isOpen());
    EXPECT_FALSE(demo.getWindow().isFullscreen());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ElementsAre(0, 0, 640, 480));
}

} // namespace
