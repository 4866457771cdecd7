#include "GenObject.h"

#include "Fader.h"
#include "PictureScene.h"
#include "ScriptText.h"
#include "genobject/BlobCube.h"
#include "genobject/CurveTube.h"
#include "genobject/GlowBundle.h"
#include "genobject/SplineTube.h"
#include "genobject/Tentacle.h"
#include "genobject/TentacleBundle.h"
#include "genobject/WobbleSphere.h"

#include <GL/gl.h>
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

class GenObjectRun : public PictureScene {
protected:
    // The object set up with `parameters` and a plain light picture, as its Init event would.
    GenObject& made(const std::string& name, const std::vector<float>& parameters) {
        writePicture("stone.jpg", solidImage(16, 16, 200, 200, 200));
        GenObject& object = add<GenObject>(name);
        object.setup(640, 480, parameters, {"stone.jpg"}, 1);
        object.init();
        return object;
    }

    // Lit pixels of the frame inside and outside the square from the bottom left corner.
    std::pair<int, int> litInAndOutOfCorner(int side) const {
        std::vector<unsigned char> rgb(640 * 480 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        std::pair<int, int> lit{0, 0};
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const unsigned char* p = &rgb[(std::size_t(y) * 640 + x) * 3];
                if ((p[0] | p[1] | p[2]) == 0)
                    continue;
                (x < side && y < side ? lit.first : lit.second) += 1;
            }
        }
        return lit;
    }

    template <typename Shape>
    static const Shape* shapeOf(const GenObject& object) {
        return dynamic_cast<const Shape*>(object.getShape());
    }
};

TEST_F(GenObjectRun, TheFirstNumberPicksTheShapeAndAnythingUnknownIsTheCube) {
    GenObject& object = made("GenObject", {});
    EXPECT_EQ(object.getKind(), 5);
    EXPECT_NE(shapeOf<GlowBundle>(object), nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float cube : {0.0f, 6.0f, -1.0f, 5.9f - 6.0f, nan, inf, -inf, 1e30f}) {
        object.setup(640, 480, {cube}, {}, 1);
        object.init();
        EXPECT_NE(shapeOf<BlobCube>(object), nullptr) << cube;
    }
    // Truncated toward zero: 1.9 is still the curve.
    object.setup(640, 480, {1.9f, 4.0f}, {}, 1);
    object.init();
    EXPECT_NE(shapeOf<CurveTube>(object), nullptr);
    object.setup(640, 480, {2.0f}, {}, 1);
    object.init();
    EXPECT_NE(shapeOf<TentacleBundle>(object), nullptr);
    object.setup(640, 480, {3.0f}, {}, 1);
    object.init();
    EXPECT_NE(shapeOf<SplineTube>(object), nullptr);
    object.setup(640, 480, {4.0f}, {}, 1);
    object.init();
    EXPECT_NE(shapeOf<WobbleSphere>(object), nullptr);

    // Drawn before any init, it makes its object first.
    GenObject& uninitialised = add<GenObject>("GenObject2");
    uninitialised.setup(640, 480, {3.0f}, {}, 1);
    uninitialised.render();
    EXPECT_NE(shapeOf<SplineTube>(uninitialised), nullptr);
}

// A trigger with nothing to receive it is lost, and each init starts a fresh object.
TEST_F(GenObjectRun, TriggersReachTheCurrentObjectOnlyAndOnlyTheKindThatKnowsThem) {
    GenObject& object = add<GenObject>("GenObject");
    object.trigger("Move", {});
    EXPECT_EQ(object.getShape(), nullptr);
    object.setup(640, 480, {0.0f}, {}, 1);
    object.init();
    object.render();
    EXPECT_EQ(shapeOf<BlobCube>(object)->getHeight(), 0.0f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    object.trigger("StartMove", {nan, 1e30f});
    object.trigger("StartShake", {});
    object.render();
    EXPECT_EQ(shapeOf<BlobCube>(object)->getHeight(), 0.0f);
    object.trigger("Move", {nan});
    object.render();
    EXPECT_LT(shapeOf<BlobCube>(object)->getHeight(), 0.0f);
    object.init();
    EXPECT_EQ(shapeOf<BlobCube>(object)->getHeight(), 0.0f);

    object.setup(640, 480, {}, {}, 1);
    object.init();
    object.trigger("StartShake", {});
    EXPECT_EQ(shapeOf<GlowBundle>(object)->getShake(), 100.0f);
}

// Through the engine: the trigger reaches the object while it waits for its start time.
TEST_F(GenObjectRun, ATriggerBeforeTheStartReachesTheObjectMadeAtInit) {
    GenObject& object = add<GenObject>("GenObject2");
    loadScript(effectRecord("bundle", "GenObject2", 1, "0", "0.2", "9", "", "2") +
               triggerRecord("go", "GenObject2", "StartMove", false, "0.02", "0", "0"));
    runFrames(6);
    ASSERT_NE(shapeOf<TentacleBundle>(object), nullptr);
    EXPECT_EQ(shapeOf<TentacleBundle>(object)->getX(), 0.0f);
    runFrames(20);
    EXPECT_GT(shapeOf<TentacleBundle>(object)->getX(), 0.0f);
}

TEST_F(GenObjectRun, ACurveTubeAfterTheProgramsFirstOneIsNeverTextured) {
    CurveTube::resetFirstBuild();
    GenObject& first = made("GenObject", {1.0f});
    GenObject& second = made("GenObject2", {1.0f});
    first.render();
    second.render();
    const auto& textured = shapeOf<CurveTube>(first)->getPoints();
    const auto& bare = shapeOf<CurveTube>(second)->getPoints();
    EXPECT_NE(textured[40].u, 0.0f);
    EXPECT_EQ(bare[40].u, 0.0f);
    EXPECT_EQ(bare[40].v, 0.0f);
    // A new init of the first object makes a new tube, which stays bare too.
    first.init();
    first.render();
    EXPECT_EQ(shapeOf<CurveTube>(first)->getPoints()[40].u, 0.0f);
}

// Its first frame already: the glow's target is made without taking the picture's place.
TEST_F(GenObjectRun, EachKindDrawsOnItsFirstFrame) {
    GenObject& object = made("GenObject", {});
    for (float kind : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f}) {
        object.setup(640, 480, {kind}, {"stone.jpg"}, 1);
        object.init();
        glClear(GL_COLOR_BUFFER_BIT);
        object.render();
        keepFrame("genobject-" + std::to_string(static_cast<int>(kind)));
        EXPECT_GT(litPixels(), 640 * 480 / 50) << kind;
    }
}

TEST_F(GenObjectRun, TheCubeStaysInsideItsCornerOfTheViewAndLeavesTheViewWhole) {
    add<Fader>("Fader");
    GenObject& cube = add<GenObject>("GenObject");
    writePicture("stone.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("cube", "GenObject", 1, "0", "0", "9", "stone.jpg", "-1") +
               effectRecord("cover", "Fader", 2, "0", "0", "9") +
               triggerRecord("white", "Fader", "Late", false, "0.2", "0", "0", "1 0 0 1 1 1"));
    for (int frame = 0; frame < 10; ++frame) {
        runFrames(1);
        const auto [inside, outside] = litInAndOutOfCorner(BlobCube::viewportSize);
        EXPECT_GT(inside, 500) << frame;
        EXPECT_EQ(outside, 0) << frame;
    }
    keepFrame("genobject-cube");
    // A layer above it covers the whole view again.
    runFrames(5);
    EXPECT_THAT(pixel(639, 479), ElementsAre(255, 255, 255));
    EXPECT_NE(shapeOf<BlobCube>(cube), nullptr);
}

// Whatever lay beneath is wiped; the stack of squares lights every pixel of the view with the
// copy of the corner, the bundle's glow brightest in the middle where all six overlap.
TEST_F(GenObjectRun, TheGlowCoversTheViewAfterWipingTheLayersBeneath) {
    add<Fader>("Fader");
    add<GenObject>("GenObject");
    writePicture("stone.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(backdrop(0.0f, 0.8f, 0.0f) +
               effectRecord("glow", "GenObject", 1, "0", "0", "9", "stone.jpg"));
    runFrames(3);
    keepFrame("genobject-glow");
    // The view's corners lie on the three largest squares, each showing the backdrop's green
    // as it was copied from beside the bundle, at a fifth.
    const std::array<int, 3> threeFifths{0, 3 * 204 / 5, 0};
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}})
        EXPECT_THAT(pixel(x, y), NearColour(threeFifths, 3)) << x << ", " << y;
    const std::array<int, 3> middle = centre();
    EXPECT_GT(middle[0], 100);
    EXPECT_GT(middle[0] + middle[1] + middle[2], 3 * pixel(0, 0)[1]);
}

// Untwisted, a tentacle lies on a line through the centre: its rings have no frame. They draw
// nothing, and the tube is whole again once it bends.
TEST_F(GenObjectRun, AStraightTentacleDrawsNothingAndRecoversWhenItBends) {
    GenObject& object = made("GenObject", {2.0f});
    object.render();
    Tentacle tube(TentacleBundle::tubeShape);
    tube.bend(0.0f, 0.0f);
    tube.build();
    EXPECT_TRUE(std::isnan(tube.getPoints()[0].x));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    tube.draw();
    EXPECT_EQ(litPixels(), 0);
    tube.bend(0.0f, 4.0f);
    tube.build();
    EXPECT_TRUE(std::isfinite(tube.getPoints()[0].x));
    tube.draw();
    EXPECT_GT(litPixels(), 100);
}

} // namespace
