#include "OfflineDemo.h"

#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TempFolder.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

namespace {

// Paints the top quarter of the picture red.
void paintTopQuarter() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.75f);
    glVertex2f(1.0f, 0.75f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
}

TEST(OfflineDemo, ReadsFramesBackTopRowFirst) {
    TempFolder folder;
    folder.write("demoscript.scr", recordTypes + effectRecord("top", "Top", 1, "0", "0", "9"));
    OfflineDemo demo(ClockMode::Free, 10);
    std::vector<std::string> log;
    RecordingEffect top("Top", log);
    top.onRender = paintTopQuarter;
    demo.load("demoscript.scr");
    demo.drawFrame();
    const Image frame = demo.readPixels();
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    EXPECT_EQ(frame.at(320, 0)[0], 255);
    EXPECT_EQ(frame.at(320, 119)[0], 255);
    EXPECT_EQ(frame.at(320, 120)[0], 0);
    EXPECT_EQ(frame.at(320, 479)[0], 0);
    EXPECT_EQ(demo.frameAudio().size(), 4410u * 2);
}

} // namespace
