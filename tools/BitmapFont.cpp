#include "BitmapFont.h"

#include <algorithm>

namespace {

// Seven rows a glyph, the leftmost pixel in the highest of five bits.
struct Glyph {
    char character;
    std::array<std::uint8_t, BitmapFont::glyphHeight> rows;
};

constexpr std::array<Glyph, 15> glyphs{{
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}},
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
}};

const Glyph& glyphOf(char character) {
    const auto found = std::find_if(glyphs.begin(), glyphs.end(), [character](const Glyph& glyph) {
        return glyph.character == character;
    });
    return found != glyphs.end() ? *found : glyphs.back();
}

void fillBlock(Picture& picture, int x, int y, int size,
               const std::array<std::uint8_t, 3>& colour) {
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            const int px = x + dx;
            const int py = y + dy;
            if (px >= 0 && py >= 0 && px < picture.width && py < picture.height)
                std::copy(colour.begin(), colour.end(), picture.at(px, py));
        }
    }
}

} // namespace

int BitmapFont::textWidth(std::string_view text, int scale) {
    if (text.empty())
        return 0;
    return (static_cast<int>(text.size()) * advance - 1) * scale;
}

void BitmapFont::draw(Picture& picture, int x, int y, std::string_view text, int scale,
                      std::array<std::uint8_t, 3> colour) {
    for (char character : text) {
        const Glyph& glyph = glyphOf(character);
        for (int row = 0; row < glyphHeight; ++row) {
            for (int column = 0; column < glyphWidth; ++column) {
                if (glyph.rows[row] & (0x10 >> column))
                    fillBlock(picture, x + column * scale, y + row * scale, scale, colour);
            }
        }
        x += advance * scale;
    }
}
