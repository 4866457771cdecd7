#include "Universe.h"

#include "DemoSystem.h"
#include "ScriptText.h"
#include "SphereRun.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

TEST(Universe, BlinkBrightensAndEnlargesAtOnceThenBothFadeBackFrameByFrame) {
    DemoSystem demo;
    Universe stars("Universe");
    EXPECT_EQ(stars.getAlpha(), 0.3f);
    EXPECT_EQ(stars.getSize(), 0.5f);
    stars.trigger("blink", {});
    EXPECT_EQ(stars.getAlpha(), 0.3f);
    stars.trigger("Blink", {});
    EXPECT_EQ(stars.getAlpha(), 0.5f);
    EXPECT_EQ(stars.getSize(), 0.7f);
    stars.decay();
    EXPECT_NEAR(stars.getAlpha(), 0.49f, 1e-6f);
    EXPECT_NEAR(stars.getSize(), 0.695f, 1e-6f);
    for (int frame = 1; frame < 20; ++frame)
        stars.decay();
    EXPECT_NEAR(stars.getAlpha(), 0.3f, 1e-6f);
    EXPECT_GT(stars.getSize(), 0.51f);
    for (int frame = 20; frame < 100; ++frame)
        stars.decay();
    EXPECT_EQ(stars.getAlpha(), 0.3f);
    EXPECT_EQ(stars.getSize(), 0.5f);
}

// The generator as it is defined, written out apart from the program's.
struct Generator {
    std::uint32_t state;
    float coordinate() {
        state = state * 214013u + 2531011u;
        return static_cast<float>((state >> 16) & 32767u) / 32767.0f * 10.0f - 5.0f;
    }
};

TEST_F(SphereRun, PlacesItsStarsFromTheGeneratorSeededWith110) {
    auto& universe = add<Universe>("Universe");
    writePicture("light.jpg", solidImage(16, 16, 120, 120, 120));
    loadScript(effectRecord("stars", "Universe", 1, "0", "0", "9", "light.jpg"));
    frames(1);
    ASSERT_EQ(universe.stars().size(), 250u);
    Generator generator{110};
    for (const Vertex& star : universe.stars()) {
        const float x = generator.coordinate();
        const float y = generator.coordinate();
        const float z = generator.coordinate();
        EXPECT_NEAR(star.x, x, 1e-5f);
        EXPECT_NEAR(star.y, y, 1e-5f);
        EXPECT_NEAR(star.z, z, 1e-5f);
    }
    EXPECT_GT(litPixels(), 2000);
}

TEST_F(SphereRun, UniverseDrawsOnThroughWildClockSteps) {
    add<Universe>("Universe");
    loadScript(effectRecord("stars", "Universe", 1, "0", "0", "9") +
               triggerRecord("blink", "Universe", "Blink", false, "0", "0", "0", "1e38"));
    wildFrames();
}

} // namespace
