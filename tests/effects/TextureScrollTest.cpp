#include "TextureScroll.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <gmock/gmock.h>

namespace {

using TextureScrollRun = PictureScene;

// Over an opaque green, the layer adds its whole colour: its own alpha of 0.5 plays no part.
TEST_F(TextureScrollRun, AddsItsOwnPictureOverTheWholeView) {
    add<Fader>("Fader");
    add<TextureScroll>("TextureScroll");
    writePicture("source/data/256/clouds.jpg", solidImage(32, 32, 60, 30, 90));
    writePicture("other.jpg", solidImage(32, 32, 250, 250, 250));
    loadScript(backdrop(0.0f, 0.4f, 0.0f) +
               effectRecord("clouds", "TextureScroll", 1, "0", "0", "9", "other.jpg"));
    const float start = TextureScroll::scrollOffset();
    frames(2);
    keepFrame("texturescroll");
    const std::array<int, 3> sum{60, 132, 90};
    for (auto [x, y] : {std::pair{320, 240}, {0, 0}, {639, 479}, {0, 479}, {639, 0}})
        EXPECT_THAT(pixel(x, y), NearColour(sum, 3)) << x << ", " << y;
    // 1.2 picture widths per second, two frames at a sixtieth of a second.
    EXPECT_NEAR(TextureScroll::scrollOffset() - start, 0.04f, 1e-5f);
}

} // namespace
