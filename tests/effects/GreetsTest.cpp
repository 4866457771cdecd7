#include "Greets.h"

#include "PictureScene.h"
#include "Random.h"
#include "ScriptText.h"

#include <cmath>
#include <numbers>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// The show's motion is shared by the whole program, so each test takes it up wherever the
// tests before it left it.
class GreetsRun : public PictureScene {
protected:
    // Greets set up with `data` and drawn once, which loads its pictures.
    Greets& start(const std::string& data) {
        Greets& greets = add<Greets>("Greets");
        loadScript(effectRecord("greets", "Greets", 1, "0", "0", "1000", data));
        frames(1);
        return greets;
    }

    // Steps of a tenth of a second until `done`; false if it never came.
    template <typename Condition>
    static bool advanceUntil(Greets& greets, Condition done) {
        for (int step = 0; step < 1000; ++step) {
            if (done())
                return true;
            greets.advance(0.1f);
        }
        return false;
    }
};

TEST_F(GreetsRun, ShowsEachPictureInTurnSpinningTheOtherWayEachTime) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        writePicture(name, solidImage(16, 16, 200, 200, 0));
    Greets& greets = start("a.jpg b.jpg c.jpg");

    std::vector<std::optional<std::size_t>> shown{greets.currentPicture()};
    std::vector<float> spins{Greets::motion().spinRate};
    float largest = 0.0f;
    for (int step = 0; step < 400; ++step) {
        greets.advance(0.1f);
        largest = std::max(largest, Greets::motion().size);
        if (greets.currentPicture() != shown.back()) {
            shown.push_back(greets.currentPicture());
            spins.push_back(Greets::motion().spinRate);
            EXPECT_GE(Greets::motion().x, -3.0f);
            EXPECT_LE(Greets::motion().x, 3.0f);
            EXPECT_GE(Greets::motion().y, -2.0f);
            EXPECT_LE(Greets::motion().y, 2.0f);
        }
    }
    // Each picture grows to a half size of 2 (at 0.12 a step here, one step past it).
    EXPECT_GT(largest, 2.0f);
    EXPECT_LE(largest, 2.12f + 1e-5f);
    if (!shown.front())
        shown.erase(shown.begin()), spins.erase(spins.begin());
    EXPECT_THAT(shown, ElementsAre(0u, 1u, 2u, std::nullopt));
    for (std::size_t i = 1; i < spins.size(); ++i)
        EXPECT_EQ(spins[i], -spins[i - 1]) << i;
    EXPECT_EQ(std::abs(spins.back()), 2.2f);
}

// Each new picture's place comes from the program's one generator, x first.
TEST_F(GreetsRun, PlacesEachPictureWithTheSharedRandomGenerator) {
    writePicture("a.jpg", solidImage(16, 16, 200, 200, 0));
    Greets& greets = start("a.jpg");
    ASSERT_TRUE(advanceUntil(greets, [] { return Greets::motion().size > 0.5f; }));
    seedRandom(5);
    const int first = nextRandom();
    const int second = nextRandom();
    seedRandom(5);
    ASSERT_TRUE(advanceUntil(greets, [] { return Greets::motion().size <= 0.0f; }));
    greets.advance(0.1f);
    EXPECT_EQ(Greets::motion().x, static_cast<float>(first) * (1.0f / 32767.0f) * 6.0f - 3.0f);
    EXPECT_EQ(Greets::motion().y, static_cast<float>(second) * (1.0f / 32767.0f) * 4.0f - 2.0f);
}

// Shorter frames after one long frame carried the picture past full size: it still shrinks.
TEST_F(GreetsRun, ShrinksAfterAnOvershootWhateverTheStepsThatFollow) {
    writePicture("a.jpg", solidImage(16, 16, 200, 200, 0));
    Greets& greets = start("a.jpg");
    ASSERT_TRUE(advanceUntil(greets, [] { return Greets::motion().size <= 0.0f; }));
    greets.advance(0.1f);
    ASSERT_TRUE(advanceUntil(greets, [] { return Greets::motion().size > 2.0f; }));
    const float overshoot = Greets::motion().size - 2.0f;
    ASSERT_GT(overshoot, 0.01f);
    for (int step = 0; step < 100; ++step)
        greets.advance(0.001f);
    EXPECT_LT(Greets::motion().size, 2.0f);
}

// Where the centre of the current square lands: depth 10, the window's 4:3 view.
std::pair<int, int> squareCentre() {
    const float halfHeight = 10.0f * std::tan(22.5f * std::numbers::pi_v<float> / 180.0f);
    const float halfWidth = halfHeight * 640.0f / 480.0f;
    return {static_cast<int>(std::lround(320.0f + Greets::motion().x / halfWidth * 320.0f)),
            static_cast<int>(std::lround(240.0f + Greets::motion().y / halfHeight * 240.0f))};
}

// The grey frame (128 of 255 in every channel) is blended by its own colour and alpha:
// 0.5 x 0.5 of grey over black. Where a picture is black it lets the frame through; elsewhere
// its colour times itself replaces it.
TEST_F(GreetsRun, DrawsEachPictureOnAGreyFrameAndNothingAfterTheLast) {
    writePicture("clear.jpg", solidImage(64, 64, 0, 0, 0));
    writePicture("yellow.jpg", solidImage(64, 64, 250, 250, 0));
    Greets& greets = start("clear.jpg yellow.jpg");
    ASSERT_TRUE(advanceUntil(
        greets, [&] { return greets.currentPicture() == 0u && Greets::motion().size > 1.0f; }));
    frames(1);
    keepFrame("greets-frame");
    auto [x, y] = squareCentre();
    EXPECT_THAT(pixel(x, y), NearColour(std::array<int, 3>{64, 64, 64}, 2));

    ASSERT_TRUE(advanceUntil(
        greets, [&] { return greets.currentPicture() == 1u && Greets::motion().size > 1.0f; }));
    frames(1);
    keepFrame("greets-picture");
    std::tie(x, y) = squareCentre();
    EXPECT_THAT(pixel(x, y), NearColour(std::array<int, 3>{245, 245, 0}, 3));

    ASSERT_TRUE(advanceUntil(greets, [&] { return !greets.currentPicture(); }));
    frames(1);
    EXPECT_EQ(litPixels(), 0);
}

} // namespace
