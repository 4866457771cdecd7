#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <array>
#include <string_view>
#include <vector>

// A 7 x 7 board of picture discs, half transparent, reshuffled every 40 sixtieths of a second:
// each cell shows when its random value, 0 to 9, is at least 7. "MakeG", "MakeB" and "MakeH"
// put that letter on the board for one reshuffle instead; the last request before a reshuffle
// counts. The first data string names the picture.
class Circles : public SavableEffect<Circles> {
public:
    static constexpr std::string_view makeG = "MakeG";
    static constexpr std::string_view makeB = "MakeB";
    static constexpr std::string_view makeH = "MakeH";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers, {{makeG}, {makeB}, {makeH}}};
    static constexpr std::string_view defaultPicture = "\\circle.jpg";
    static constexpr int side = 7;
    // Values this high show their cell.
    static constexpr int shown = 7;

    explicit Circles(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's clock, without drawing: true when this frame reshuffled the board.
    bool advance(float delta);

    // Row 0 at the bottom.
    int cell(int row, int column) const { return cells[row * side + column]; }
    bool letterRequested() const { return requested; }
    char getLetter() const { return letter; }
    // Sixtieths of a second since the last reshuffle, shared by the whole program.
    static float tick();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float ticks = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(grid); }

private:
    // On the first frame: the picture and the board's corners.
    void load();
    void reshuffle();
    void drawBoard() const;

    const Texture* texture = nullptr;
    std::vector<Vertex> grid;
    std::array<int, side * side> cells{};
    bool requested = false;
    char letter = 'H';
};
