#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A window's pixels as the X server shows them (what a user sees, not what GL was told), read
// apart from the tests so that X's macros stay out of them.
struct WindowPixels {
    int width = 0;
    int height = 0;
    // 0xRRGGBB, rows top down.
    std::vector<std::uint32_t> rgb;

    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }

    // The first and last columns and rows holding a pixel that is not black: where the picture
    // lies; -1 throughout when all is black.
    struct Extent {
        int left = -1;
        int right = -1;
        int top = -1;
        int bottom = -1;
    };
    Extent litExtent() const;
};

// The window by its decimal id (as xdotool names it); empty when there is no such window.
WindowPixels readWindowPixels(const std::string& window);
