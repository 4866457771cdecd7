#include "GLTest.h"

#include "ScriptText.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <png.h>
#include <vector>

namespace {

constexpr int frameWidth = 640;
constexpr int frameHeight = 480;

void writePng(const std::string& path, const std::vector<unsigned char>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, frameWidth, frameHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        // GL's rows run bottom up, a picture's top down.
        for (int row = frameHeight - 1; row >= 0; --row)
            png_write_row(png, rgb.data() + static_cast<std::size_t>(row) * frameWidth * 3);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

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
    std::vector<unsigned char> rgb(static_cast<std::size_t>(frameWidth) * frameHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frameWidth, frameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    writePng(std::string(folderName) + "/" + name + ".png", rgb);
}
