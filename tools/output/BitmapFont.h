#pragma once

#include "Image.h"

#include <array>
#include <cstdint>
#include <string_view>

// A tiny font drawn for this project: 5 x 7 dots a letter. Letters of both cases, digits, the
// blank and the punctuation names and times are written with; other characters draw as the
// blank. The demo's pictures, the contact sheets' labels and the timeline chart are written
// with it. The lower-case letters sit in the same seven rows, those with a tail raised a row.
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

// Pixels across `text` drawn `scale` times enlarged.
int textWidth(std::string_view text, int scale);
// Draws `text` with its top left corner at x, y, each dot a square of `scale` pixels; what falls
// outside the picture is cut off.
void draw(Image& picture, int x, int y, std::string_view text, int scale,
          std::array<std::uint8_t, 3> colour);

} // namespace BitmapFont
