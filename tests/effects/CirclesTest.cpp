#include "Circles.h"

#include "PictureScene.h"
#include "Random.h"
#include "ScriptText.h"

#include <cmath>
#include <set>

#include <gmock/gmock.h>

namespace {

constexpr float sixtieth = 1.0f / 60.0f;

const std::set<int> letterH{9, 10, 13, 14, 18, 21, 26, 29, 34, 35, 36, 37, 42, 45, 49, 50, 53, 54};

// The tick is shared by the whole program: each test first steps to a reshuffle.
class CirclesRun : public PictureScene {
protected:
    static void untilReshuffle(Circles& circles) {
        for (int frame = 0; frame < 100; ++frame) {
            if (circles.advance(sixtieth))
                return;
        }
        FAIL() << "no reshuffle";
    }
    // Steps until the next frame is due to reshuffle; none of these steps reshuffles.
    static void untilDue(Circles& circles) {
        while (Circles::tick() < 40.0f)
            circles.advance(sixtieth);
    }

    // The 49 values the board takes from the generator at `seed`, in row order.
    static std::vector<int> boardFrom(std::uint32_t seed) {
        seedRandom(seed);
        std::vector<int> values;
        for (int i = 0; i < 49; ++i)
            values.push_back(nextRandom() % 10);
        seedRandom(seed);
        return values;
    }

    static std::vector<int> board(const Circles& circles) {
        std::vector<int> values;
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 7; ++column)
                values.push_back(circles.cell(row, column));
        }
        return values;
    }

    static std::set<int> letterOn(const Circles& circles) {
        std::set<int> cells;
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 7; ++column) {
                if (circles.cell(row, column) == 10)
                    cells.insert(8 * row + column);
                else
                    EXPECT_EQ(circles.cell(row, column), 0);
            }
        }
        return cells;
    }
};

TEST_F(CirclesRun, ReshufflesEvery40SixtiethsOfASecond) {
    Circles& circles = add<Circles>("Circles");
    untilReshuffle(circles);
    int reshuffles = 0;
    for (int frame = 0; frame < 200; ++frame)
        reshuffles += circles.advance(sixtieth);
    EXPECT_EQ(reshuffles, 5);
    // Longer frames reach the count sooner: 14 frames of 3 sixtieths each.
    int frames = 0;
    do {
        ++frames;
    } while (!circles.advance(0.05f));
    EXPECT_LE(frames, 15);
    frames = 0;
    do {
        ++frames;
    } while (!circles.advance(0.05f));
    EXPECT_EQ(frames, 14);
}

// From the generator's state at program start, and random again after a letter.
TEST_F(CirclesRun, TakesItsBoardFromTheSharedGeneratorAndALetterForOneReshuffle) {
    Circles& circles = add<Circles>("Circles");
    untilDue(circles);
    const std::vector<int> first = boardFrom(1);
    circles.advance(sixtieth);
    EXPECT_EQ(board(circles), first);

    circles.trigger("MakeB", {});
    circles.trigger("makeG", {});
    circles.trigger("MakeH", {});
    EXPECT_TRUE(circles.letterRequested());
    EXPECT_EQ(circles.getLetter(), 'H');
    untilDue(circles);
    seedRandom(99);
    circles.advance(sixtieth);
    EXPECT_EQ(letterOn(circles), letterH);
    EXPECT_FALSE(circles.letterRequested());

    untilDue(circles);
    const std::vector<int> after = boardFrom(42);
    circles.advance(sixtieth);
    EXPECT_EQ(board(circles), after);
}

// The board's cell centres: 20 units in front of the eye, the grid's corner at (-10, -8).
std::pair<int, int> cellCentre(int row, int column) {
    const float halfHeight = 20.0f * std::tan(22.5f * 3.14159265f / 180.0f);
    const float halfWidth = halfHeight * 640.0f / 480.0f;
    const float x = static_cast<float>(column) - 9.5f;
    const float y = static_cast<float>(row) - 7.5f;
    return {static_cast<int>(std::lround(320.0f + x / halfWidth * 320.0f)),
            static_cast<int>(std::lround(240.0f + y / halfHeight * 240.0f))};
}

TEST_F(CirclesRun, SpellsTheRequestedLetterOnTheBoard) {
    writePicture("disc.jpg", solidImage(16, 16, 200, 160, 80));
    add<Circles>("Circles");
    loadScript(effectRecord("board", "Circles", 1, "0", "0", "9", "disc.jpg") +
               triggerRecord("letter", "Circles", "MakeH", false, "0", "0", "0"));
    // Within 40 frames a reshuffle shows the letter; it stays until the next.
    for (int frame = 0; frame < 41 && Circles::tick() < 40.0f; ++frame)
        frames(1);
    frames(1);
    keepFrame("circles-h");
    const std::array<int, 3> half{100, 80, 40};
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            auto [x, y] = cellCentre(row, column);
            if (letterH.contains(8 * row + column))
                EXPECT_THAT(pixel(x, y), NearColour(half, 3)) << row << ", " << column;
            else
                EXPECT_THAT(pixel(x, y), ::testing::ElementsAre(0, 0, 0)) << row << ", " << column;
        }
    }
}

} // namespace
