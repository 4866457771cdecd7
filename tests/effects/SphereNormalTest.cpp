#include "SphereNormal.h"

#include "ScriptText.h"
#include "SphereRun.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

// Every 200 sixtieths the spikes spring out to 1.5, from the other offset each time, and settle
// by 0.04 a sixtieth back to 1; they are drawn half a unit in from that size.
TEST(SphereNormal, SpikesSpringOutEvery200SixtiethsAndSettle) {
    SphereNormal::resetPulse();
    const float delta = 1.0f / 60.0f;
    std::vector<int> switches;
    std::vector<int> offsets;
    std::vector<float> sizes;
    for (int frame = 0; frame < 700; ++frame) {
        const int before = SphereNormal::pulse().offset;
        const float scale = SphereNormal::stepPulse(delta);
        EXPECT_NEAR(scale, SphereNormal::pulse().size - 0.5f, 1e-5f);
        sizes.push_back(SphereNormal::pulse().size);
        if (SphereNormal::pulse().offset != before) {
            switches.push_back(frame);
            offsets.push_back(SphereNormal::pulse().offset);
            EXPECT_EQ(SphereNormal::pulse().size, 1.5f);
            EXPECT_EQ(SphereNormal::pulse().tick, 0.0f);
        }
    }
    ASSERT_GE(switches.size(), 3u);
    for (std::size_t i = 1; i < switches.size(); ++i) {
        EXPECT_NEAR(switches[i] - switches[i - 1], 201, 1) << i;
        EXPECT_EQ(offsets[i], offsets[i - 1] == 0 ? 32 : 0);
    }
    const int after = switches[1];
    EXPECT_NEAR(sizes[after + 1], 1.46f, 1e-4f);
    EXPECT_LE(sizes[after + 13], 1.0f);
    EXPECT_GT(sizes[after + 13], 0.95f);
    EXPECT_EQ(sizes[after + 100], sizes[after + 13]);
}

// At other frame rates the spikes keep to the same sizes instead of drifting.
TEST(SphereNormal, SpikeSizeStaysPutWhateverTheFrameLength) {
    SphereNormal::resetPulse();
    for (float delta : {1.0f / 30.0f, 1.0f / 144.0f}) {
        for (int frame = 0; frame < 2000; ++frame) {
            SphereNormal::stepPulse(delta);
            ASSERT_LE(SphereNormal::pulse().size, 1.5f) << delta;
            ASSERT_GE(SphereNormal::pulse().size, 0.9f) << delta;
        }
    }
}

int brightPixels(const std::vector<unsigned char>& rgb) {
    int bright = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        bright += std::max({rgb[i], rgb[i + 1], rgb[i + 2]}) > 100;
    return bright;
}

class SphereNormalRun : public SphereRun {
protected:
    std::vector<unsigned char> frame() {
        std::vector<unsigned char> rgb(640 * 480 * 3);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const auto colour = pixel(x, y);
                std::copy(colour.begin(), colour.end(), &rgb[(y * 640 + x) * 3]);
            }
        }
        return rgb;
    }
};

TEST_F(SphereNormalRun, SolidModeFillsCellsAndMovesEvery64thVertexAsASpike) {
    auto& spheres = add<SphereNormal>("SphereNormal");
    writePicture("white.jpg", solidImage(16, 16, 250, 250, 250));
    loadScript(effectRecord("solid", "SphereNormal", 1, "0", "0", "99", "white.jpg", "0"));
    frames(2);
    EXPECT_FALSE(SphereNormal::linesMode());
    EXPECT_GT(brightPixels(frame()), 40000);
    const float scale = SphereNormal::pulse().size - 0.5f;
    const std::size_t first = SphereNormal::pulse().offset;
    ASSERT_EQ(spheres.middle().size(), 6144u);
    auto atScale = [](const Vertex& vertex, float expected) {
        return std::abs(vertex.x - vertex.bx * expected) < 1e-4f &&
               std::abs(vertex.y - vertex.by * expected) < 1e-4f &&
               std::abs(vertex.z - vertex.bz * expected) < 1e-4f;
    };
    for (std::size_t i = first; i < 6144; i += 64) {
        for (std::size_t corner = 0; corner < 4; ++corner)
            EXPECT_TRUE(atScale(spheres.middle()[i + corner], scale)) << i + corner;
        EXPECT_TRUE(atScale(spheres.inner()[i], scale)) << i;
        EXPECT_TRUE(atScale(spheres.outer()[i], scale)) << i;
        EXPECT_TRUE(atScale(spheres.inner()[i + 1], 1.0f)) << i + 1;
        EXPECT_TRUE(atScale(spheres.middle()[i + 4], 1.0f)) << i + 4;
    }
}

// Lines mode draws faint lines only, bright only where many of them cross: a fraction of what a
// solid frame fills. Set on the first frame, it holds when the effect is set up again without it.
TEST_F(SphereNormalRun, LinesModeDrawsNoSolidShellAndHoldsFromItsFirstFrame) {
    add<SphereNormal>("SphereNormal");
    writePicture("white.jpg", solidImage(16, 16, 250, 250, 250));
    loadScript(effectRecord("lines", "SphereNormal", 1, "0", "0", "0.5", "white.jpg", "1") +
               effectRecord("again", "SphereNormal", 1, "0.5", "0.5", "99", "white.jpg", "0"));
    frames(3);
    EXPECT_TRUE(SphereNormal::linesMode());
    const std::vector<unsigned char> lines = frame();
    EXPECT_GT(std::count_if(lines.begin(), lines.end(), [](unsigned char c) { return c > 0; }),
              1000);
    EXPECT_LT(brightPixels(lines), 15000);
    clock->set(1.0f);
    frames(3);
    EXPECT_TRUE(SphereNormal::linesMode());
    EXPECT_LT(brightPixels(frame()), 15000);
    keepFrame("spherenormal-lines");
}

TEST_F(SphereNormalRun, SphereNormalDrawsOnThroughWildClockSteps) {
    add<SphereNormal>("SphereNormal");
    loadScript(effectRecord("solid", "SphereNormal", 1, "0", "0", "9", "", "1e38"));
    wildFrames();
    EXPECT_FALSE(SphereNormal::linesMode());
}

} // namespace
