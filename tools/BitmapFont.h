#pragma once

#include "Picture.h"

#include <array>
#include <cstdint>
#include <string_view>

// A 5 x 7 pixel font for the labels of contact sheets: digits, ':', '.', '-', 's' and space.
// Other characters are drawn as spaces.
class BitmapFont {
public:
    static constexpr int glyphWidth = 5;
    static constexpr int glyphHeight = 7;
    // One blank column between characters.
    static constexpr int advance = glyphWidth + 1;

    // Width in pixels of `text` drawn `scale` times enlarged.
    static int textWidth(std::string_view text, int scale);
    // Draws `text` with its top left corner at x, y; what falls outside the picture is cut off.
    static void draw(Picture& picture, int x, int y, std::string_view text, int scale,
                     std::array<std::uint8_t, 3> colour);
};
