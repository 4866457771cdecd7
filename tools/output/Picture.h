#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The order of a pixel's three bytes. GL reads either as fast; the video encoder converts blue
// first fastest.
enum class PixelOrder { Rgb, Bgr };

// A picture, 8 bits a channel, rows from the top down; red first in each pixel unless `order`
// says otherwise.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    PixelOrder order = PixelOrder::Rgb;

    Picture() = default;
    Picture(int width, int height)
        : width(width), height(height),
          rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0) {}

    std::uint8_t* row(int y) { return rgb.data() + static_cast<std::size_t>(y) * width * 3; }
    const std::uint8_t* row(int y) const {
        return rgb.data() + static_cast<std::size_t>(y) * width * 3;
    }
    // Turns rows counted from the bottom (as GL reads them) into rows from the top.
    void flipVertically() {
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(row(top), row(top) + static_cast<std::size_t>(width) * 3, row(bottom));
    }

    std::uint8_t* at(int x, int y) { return row(y) + static_cast<std::size_t>(x) * 3; }
    const std::uint8_t* at(int x, int y) const { return row(y) + static_cast<std::size_t>(x) * 3; }
};
