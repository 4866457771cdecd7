#pragma once

#include <array>
#include <string_view>

// A tiny capital-letter font drawn for the demo's pictures: 5 x 7 dots a letter. Capitals,
// digits, the blank and a little punctuation; other characters draw as the blank.
namespace BitmapFont {

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;
// One blank column between letters.
constexpr int advance = glyphWidth + 1;

// Seven rows, top first, of five characters each: '#' for a dot, a blank for none.
using Glyph = std::array<std::string_view, glyphHeight>;

const Glyph& glyph(char character);
inline bool dot(const Glyph& glyph, int column, int row) {
    return glyph[row][column] == '#';
}
// Dots across `text` on one line, the trailing gap left off.
int textWidth(std::string_view text);

} // namespace BitmapFont
