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

// A trigger with nothing to receive it is lost; what a trigger sets, and where a shape has
// moved to, outlive the object: a new init, or the other object, goes on from there.
TEST_F(GenObjectRun, TriggersReachTheCurrentObjectOnlyAndWhatTheySetOutlivesIt) {
    BlobCube::shared = {};
    GlowBundle::shared = {};
    TentacleBundle::shared = {};
    GenObject& object = add<GenObject>("GenObject");
    object.trigger("Move", {});
    EXPECT_EQ(object.getShape(), nullptr);
    object.setup(640, 480, {0.0f}, {}, 1);
    object.init();
    object.render();
    EXPECT_EQ(BlobCube::shared.height, 0.0f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    object.trigger("StartMove", {nan, 1e30f});
    object.trigger("StartShake", {});
    object.render();
    EXPECT_EQ(BlobCube::shared.height, 0.0f);
    EXPECT_EQ(TentacleBundle::shared.xSpeed, 0.0f);
    EXPECT_EQ(GlowBundle::shared.shake, 0.0f);
    object.trigger("Move", {nan});
    object.render();
    const float sunk = BlobCube::shared.height;
    EXPECT_LT(sunk, 0.0f);
    // The cube made anew sinks on.
    object.init();
    object.render();
    EXPECT_LT(BlobCube::shared.height, sunk);

    object.setup(640, 480, {}, {}, 1);
    object.init();
    object.trigger("StartShake", {});
    object.init();
    EXPECT_EQ(GlowBundle::shared.shake, 100.0f);

    // The other object shows the drifting bundle too, and moves it on.
    GenObject& other = add<GenObject>("GenObject2");
    object.setup(640, 480, {2.0f}, {}, 1);
    object.init();
    other.setup(640, 480, {2.0f}, {}, 1);
    other.init();
    object.trigger("StartMove", {});
    object.render();
    const float drifted = TentacleBundle::shared.x;
    EXPECT_GT(drifted, 0.0f);
    object.init();
    other.render();
    EXPECT_GT(TentacleBundle::shared.x, drifted);
}

// Through the engine: the trigger reaches the object while it waits for its start time.
TEST_F(GenObjectRun, ATriggerBeforeTheStartReachesTheObjectMadeAtInit) {
    TentacleBundle::shared = {};
    GenObject& object = add<GenObject>("GenObject2");
    loadScript(effectRecord("bundle", "GenObject2", 1, "0", "0.2", "9", "", "2") +
               triggerRecord("go", "GenObject2", "StartMove", false, "0.02", "0", "0"));
    runFrames(6);
    ASSERT_NE(shapeOf<TentacleBundle>(object), nullptr);
    EXPECT_EQ(TentacleBundle::shared.x, 0.0f);
    runFrames(20);
    EXPECT_GT(TentacleBundle::shared.x, 0.0f);
}

// The same bundle twice, from the same start, the second time set up anew after it has begun
// to drift: it is drawn where it was drawn the first time (today's clock readings round a
// little differently from the first time's, so the two agree to a pixel, not to the byte).
TEST_F(GenObjectRun, ABundleSetUpAgainLiesWhereItLiesWithoutIt) {
    GenObject& object = add<GenObject>("GenObject");
    writePicture("stone.jpg", solidImage(16, 16, 200, 200, 200));
    loadScript(effectRecord("plain", "GenObject", 1, "0.5", "0.5", "1.25", "stone.jpg", "2") +
               triggerRecord("plainGo", "GenObject", "StartMove", false, "0.75", "0", "0") +
               effectRecord("again", "GenObject", 1, "1.5", "1.5", "3", "stone.jpg", "2") +
               triggerRecord("againGo", "GenObject", "StartMove", false, "1.75", "0", "0") +
               effectRecord("anew", "GenObject", 1, "2", "2", "2", "stone.jpg", "2"));
    // The lit pixels' count and mean column.
    const auto litAndColumn = [] {
        std::vector<unsigned char> rgb(640 * 480 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        double columns = 0.0;
        int lit = 0;
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            if ((rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0) {
                ++lit;
                columns += static_cast<double>((i / 3) % 640);
            }
        }
        return std::pair{lit, lit ? columns / lit : 0.0};
    };
    TentacleBundle::shared = {};
    // The first bundle's Init is frame 30, the second's 90; both are seen 42 frames later.
    runFrames(72);
    const auto [plainLit, plainColumn] = litAndColumn();
    const float plainX = TentacleBundle::shared.x;
    EXPECT_GT(plainX, 1.0f);
    keepFrame("genobject-bundle-plain");
    runFrames(17);
    // Back to where the first one started, as if the program had started afresh.
    TentacleBundle::shared = {};
    runFrames(43);
    keepFrame("genobject-bundle-anew");
    EXPECT_NE(shapeOf<TentacleBundle>(object), nullptr);
    EXPECT_NEAR(TentacleBundle::shared.x, plainX, 1e-3f);
    const auto [anewLit, anewColumn] = litAndColumn();
    EXPECT_GT(anewLit, 1000);
    EXPECT_NEAR(anewLit, plainLit, plainLit / 50);
    EXPECT_NEAR(anewColumn, plainColumn, 1.0);
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

// Drawn with back faces culled, a bent tentacle shows the same surface as with nothing culled,
// the near side of its wall: its faces point outward. (Wound inward, it would show the inside
// of its far wall.)
TEST_F(GenObjectRun, ATentacleShowsItsOutside) {
    Tentacle tube(TentacleBundle::tubeShape);
    tube.bend(0.0f, 4.0f);
    tube.build();
    const auto depths = [&tube](bool cull) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        if (cull)
            glEnable(GL_CULL_FACE);
        else
            glDisable(GL_CULL_FACE);
        glLoadIdentity();
        glTranslatef(0.0f, -2.0f, -8.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        tube.draw();
        std::vector<float> depth(640 * 480);
        glReadPixels(0, 0, 640, 480, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        return depth;
    };
    const std::vector<float> whole = depths(false);
    const std::vector<float> culled = depths(true);
    keepFrame("genobject-tentacle");
    int covered = 0, shown = 0, deeper = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        covered += whole[i] < 1.0f;
        shown += culled[i] < 1.0f;
        deeper += culled[i] > whole[i];
    }
    EXPECT_GT(covered, 2000);
    EXPECT_GT(shown, covered * 95 / 100);
    EXPECT_LT(deeper, covered / 100);
}

} // namespace
