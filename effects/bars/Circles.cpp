#include "Circles.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "Random.h"
#include "TextureManager.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <span>

Circles::ProgramWide Circles::programWide;

namespace {

// The cells of each letter, as 8 x row + column.
constexpr std::array letterG{9,  10, 11, 12, 13, 17, 21, 25, 27, 28,
                             29, 30, 33, 41, 45, 49, 50, 51, 52, 53};
constexpr std::array letterB{9, 10, 11, 12, 18, 21, 26, 29, 34, 35, 36, 42, 45, 49, 50, 51, 52};
constexpr std::array letterH{9, 10, 13, 14, 18, 21, 26, 29, 34, 35, 36, 37, 42, 45, 49, 50, 53, 54};

std::span<const int> letterCells(char letter) {
    switch (letter) {
    case 'G': return letterG;
    case 'B': return letterB;
    default: return letterH;
    }
}

constexpr int gridSide = Circles::side + 1;

} // namespace

float Circles::tick() {
    return programWide.ticks;
}

bool Circles::advance(float delta) {
    const bool due = programWide.ticks >= 40.0f;
    if (due) {
        programWide.ticks = 0.0f;
        reshuffle();
    }
    programWide.ticks += perSixtieth(delta, 1.0f);
    return due;
}

void Circles::reshuffle() {
    if (requested) {
        cells.fill(0);
        for (int index : letterCells(letter))
            cells[(index / 8) * side + index % 8] = 10;
        requested = false;
        return;
    }
    // In row order, from wherever the shared generator stands.
    for (int& value : cells)
        value = nextRandom() % 10;
}

void Circles::load() {
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    // The cells' corners, one unit apart, row 0 at the bottom.
    grid = makeVertexArray(gridSide * gridSide);
    for (int row = 0; row < gridSide; ++row) {
        for (int column = 0; column < gridSide; ++column)
            grid[row * gridSide + column].setPosition(static_cast<float>(column - 4),
                                                      static_cast<float>(row - 4), 0.0f);
    }
}

void Circles::render() {
    if (!texture)
        load();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glTranslatef(-6.0f, -4.0f, -20.0f);
    bindPicture(*texture);
    advance(frameDelta());
    drawBoard();
}

void Circles::drawBoard() const {
    VertexBatch batch(GL_QUADS);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            if (cell(row, column) < shown)
                continue;
            const std::size_t bottom = static_cast<std::size_t>(row * gridSide + column);
            const std::size_t top = bottom + gridSide;
            batch.texCoord(0.0f, 1.0f);
            batch.vertex(&grid[bottom].x);
            batch.texCoord(1.0f, 1.0f);
            batch.vertex(&grid[bottom + 1].x);
            batch.texCoord(1.0f, 0.0f);
            batch.vertex(&grid[top + 1].x);
            batch.texCoord(0.0f, 0.0f);
            batch.vertex(&grid[top].x);
        }
    }
    batch.draw();
}

void Circles::trigger(const std::string& triggerId, const std::vector<float>&) {
    static constexpr std::array<std::pair<std::string_view, char>, 3> requests{
        {{makeG, 'G'}, {makeB, 'B'}, {makeH, 'H'}}};
    for (auto [name, wanted] : requests) {
        if (triggerId == name) {
            letter = wanted;
            requested = true;
        }
    }
}
