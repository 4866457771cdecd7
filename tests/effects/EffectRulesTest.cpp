#include "EffectRules.h"

#include "Random.h"

#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

std::vector<int> draw(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(nextRandom());
    return values;
}

TEST(Random, GivesTheSameSequenceForTheSameSeed) {
    seedRandom(1);
    EXPECT_THAT(draw(5), ElementsAre(41, 18467, 6334, 26500, 19169));
    seedRandom(110);
    EXPECT_THAT(draw(5), ElementsAre(397, 10396, 20217, 27961, 29346));
    seedRandom(1);
    EXPECT_EQ(rand01(), 41.0f / 32767.0f);
    // The state wraps at 32 bits: this seed overflows on the first step.
    seedRandom(0xFFFFFFFFu);
    EXPECT_THAT(draw(2), ElementsAre(35, 29739));
}

TEST(EffectRules, TruncatesIntegerParametersTowardZeroAndKeepsOddValuesInRange) {
    EXPECT_EQ(integerParameter(2.9f), 2);
    EXPECT_EQ(integerParameter(-1.75f), -1);
    EXPECT_EQ(integerParameter(-0.5f), 0);
    EXPECT_EQ(integerParameter(std::nanf("")), 0);
    EXPECT_EQ(integerParameter(1e10f), std::numeric_limits<int>::max());
    EXPECT_EQ(integerParameter(-std::numeric_limits<float>::infinity()),
              std::numeric_limits<int>::min());
}

TEST(EffectRules, ReadsAGroupOnlyWhenTheListReachesItsHighestIndex) {
    EXPECT_FALSE(hasParameter({}, 0));
    EXPECT_TRUE(hasParameter({1.0f, 2.0f, 3.0f}, 2));
    EXPECT_FALSE(hasParameter({1.0f, 2.0f}, 2));
    EXPECT_EQ(pictureName({}, "\\picture.jpg"), "\\picture.jpg");
    EXPECT_EQ(pictureName({"mine.jpg", "more.jpg"}, "\\picture.jpg"), "mine.jpg");
}

TEST(EffectRules, MovesTowardsATargetOnlyFromItsFarSide) {
    // The last step may pass the target; after that nothing moves.
    EXPECT_FLOAT_EQ(moveTowards(0.7f, 0.8f, 1.0f, 0.25f), 0.95f);
    EXPECT_EQ(moveTowards(0.95f, 0.8f, 1.0f, 0.25f), 0.95f);
    EXPECT_FLOAT_EQ(moveTowards(0.5f, 0.0f, -1.5f, 0.1f), 0.35f);
    EXPECT_EQ(moveTowards(-0.1f, 0.0f, -1.5f, 0.1f), -0.1f);
    // A speed pointing away from the target never moves it, nor does speed 0.
    EXPECT_EQ(moveTowards(0.5f, 0.8f, -1.0f, 0.25f), 0.5f);
    EXPECT_EQ(moveTowards(0.5f, 0.8f, 0.0f, 0.25f), 0.5f);
    EXPECT_FLOAT_EQ(perSixtieth(0.5f, 0.01f), 0.3f);
}

} // namespace
