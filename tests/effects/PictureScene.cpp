#include "PictureScene.h"

#include "ScriptText.h"

#include <GL/gl.h>
#include <sstream>

void PictureScene::TearDown() {
    // The effects go while the DemoSystem they registered with still exists.
    effects.clear();
    GLTest::TearDown();
}

void PictureScene::writePicture(const std::string& name, const RgbImage& image) const {
    const std::vector<std::uint8_t> bytes = encodeJpeg(image);
    folder->write(name, std::string(bytes.begin(), bytes.end()));
}

void PictureScene::frames(int count) {
    for (int i = 0; i < count; ++i)
        demo->renderFrame();
}

void PictureScene::runFrames(int count) {
    for (int i = 0; i < count; ++i) {
        clock->set(static_cast<float>(++clockFrames) / 60.0f);
        demo->renderFrame();
    }
}

std::string PictureScene::backdrop(float red, float green, float blue) {
    std::ostringstream colour;
    // Alpha 1 at speed 0 never reaches its target 0: the colour stays.
    colour << "1 0 0 " << red << " " << green << " " << blue;
    return effectRecord("backdrop", "Fader", 0, "0", "0", "1000") +
           triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0", colour.str());
}

int PictureScene::litPixels() const {
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int lit = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        lit += (rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0;
    return lit;
}

void PictureScene::expectWholeViewUpright(int level) const {
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}}) {
        const std::array<int, 3> corner = pixel(x, y);
        EXPECT_GT(corner[0] + corner[2], level * 3 / 4) << x << ", " << y;
    }
    const std::array<int, 3> red{level, 0, 0}, blue{0, 0, level};
    EXPECT_THAT(pixel(10, 469), NearColour(red, 3));
    EXPECT_THAT(pixel(629, 469), NearColour(red, 3));
    EXPECT_THAT(pixel(10, 10), NearColour(blue, 3));
    EXPECT_THAT(pixel(629, 10), NearColour(blue, 3));
}

void PictureScene::expectMiddleOnlyUpright(int level) const {
    EXPECT_THAT(pixel(320, 280), NearColour(std::array<int, 3>{level, 0, 0}, 3));
    EXPECT_THAT(pixel(320, 200), NearColour(std::array<int, 3>{0, 0, level}, 3));
    // The picture spans 320 +- 129 across and 240 +- 97 up and down.
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {150, 240}, {490, 240}, {320, 120}})
        EXPECT_THAT(pixel(x, y), ::testing::ElementsAre(0, 0, 0)) << x << ", " << y;
}

namespace {

RgbImage split(int size, bool across, Rgb first, Rgb second) {
    RgbImage image{size, size, std::vector<std::uint8_t>(std::size_t(size) * size * 3)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool inFirst = (across ? y : x) < size / 2;
            const Rgb& colour = inFirst ? first : second;
            std::copy(colour.begin(), colour.end(), &image.pixels[(std::size_t(y) * size + x) * 3]);
        }
    }
    return image;
}

} // namespace

RgbImage leftAndRight(int size, Rgb left, Rgb right) {
    return split(size, false, left, right);
}

RgbImage topAndBottom(int size, Rgb top, Rgb bottom) {
    return split(size, true, top, bottom);
}
