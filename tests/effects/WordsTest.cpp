#include "Words.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

using WordsRun = PictureScene;

// The first word lies right of and above the centre, 48 to 72 pixels a side as it bobs; the
// second, wholly black here, is cut out entirely. Blending is on with the blend function left
// as it was, so the white half replaces what lies beneath and the black half leaves it be.
TEST_F(WordsRun, CutsTheBlackOutOfItsOwnTwoPictures) {
    add<Fader>("Fader");
    add<Words>("Words");
    writePicture("see.jpg", leftAndRight(64, {0, 0, 0}, {250, 250, 250}));
    writePicture("my.jpg", solidImage(64, 64, 0, 0, 0));
    writePicture("other.jpg", solidImage(64, 64, 0, 0, 250));
    loadScript(backdrop(0.0f, 0.4f, 0.0f) +
               effectRecord("words", "Words", 1, "0", "0", "9", "other.jpg other.jpg"));
    for (int frame = 0; frame < 3; ++frame) {
        demo->renderFrame();
        EXPECT_THAT(pixel(330, 250), ElementsAre(0, 102, 0));
        EXPECT_GT(pixel(362, 250)[0], 240);
        EXPECT_THAT(pixel(300, 250), ElementsAre(0, 102, 0));
        EXPECT_THAT(pixel(362, 230), ElementsAre(0, 102, 0));
    }
    keepFrame("words");
}

} // namespace
