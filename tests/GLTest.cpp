#include "GLTest.h"

#include "PngFile.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <cstdlib>

namespace {

constexpr int frameWidth = 640;
constexpr int frameHeight = 480;

} // namespace

void GLTest::SetUp() {
    // Headless everywhere, also where a display is at hand.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    folder = std::make_unique<TempFolder>();
    demo = std::make_unique<DemoSystem>();
    ASSERT_TRUE(demo->createWindow(false, dialogs));
    auto manual = std::make_unique<ManualClock>();
    clock = manual.get();
    demo->setClock(std::move(manual));
}

void GLTest::TearDown() {
    demo.reset();
    folder.reset();
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front();
}

void GLTest::loadScript(const std::string& records) {
    folder->write("demoscript.scr", recordTypes + records);
    demo->loadTimeline("demoscript.scr");
}

// The offscreen surface has a single buffer, so after the swap it still holds the frame.
std::array<int, 3> GLTest::pixel(int x, int y) const {
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

void GLTest::keepFrame(const std::string& name) const {
    const char* folderName = std::getenv("REELPLAY_TEST_FRAMES");
    if (!folderName)
        return;
    Image picture(frameWidth, frameHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    picture.rows = RowOrder::BottomUp;
    writePng(std::string(folderName) + "/" + name + ".png", picture);
}
