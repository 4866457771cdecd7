#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The order of a pixel's three bytes. GL reads either as fast; the video encoder converts blue
// first fastest.
enum class PixelOrder { Rgb, Bgr };

// How rows lie in memory. GL reads frames from the bottom row up; `row` and `at` count from
// the top either way, so a frame read back needs no flipping (which costs three quarters of what
// the read itself does).
enum class RowOrder { TopDown, BottomUp };

// A picture, 8 bits a channel; red first in each pixel unless `order` says otherwise. Rows are
// counted from the top; `rows` says how they lie in `rgb`. Not named Picture: that is an effect,
// and two classes of one name in one program share (and break) each other's destructor.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    PixelOrder order = PixelOrder::Rgb;
    RowOrder rows = RowOrder::TopDown;

    Image() = default;
    Image(int width, int height)
        : width(width), height(height),
          rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0) {}

    std::uint8_t* row(int y) { return rgb.data() + offsetOfRow(y); }
    const std::uint8_t* row(int y) const { return rgb.data() + offsetOfRow(y); }
    // Bytes from one row to the one below it: negative when rows lie bottom up.
    std::ptrdiff_t stride() const {
        const auto bytes = static_cast<std::ptrdiff_t>(width) * 3;
        return rows == RowOrder::TopDown ? bytes : -bytes;
    }
    // Lays the rows in memory from the top down, as a reader of `rgb` expects them.
    void putRowsTopDown() {
        if (rows == RowOrder::TopDown)
            return;
        const std::size_t bytes = static_cast<std::size_t>(width) * 3;
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(rgb.data() + top * bytes, rgb.data() + (top + 1) * bytes,
                             rgb.data() + bottom * bytes);
        rows = RowOrder::TopDown;
    }

    std::uint8_t* at(int x, int y) { return row(y) + static_cast<std::size_t>(x) * 3; }
    const std::uint8_t* at(int x, int y) const { return row(y) + static_cast<std::size_t>(x) * 3; }

private:
    std::size_t offsetOfRow(int y) const {
        const int inMemory = rows == RowOrder::TopDown ? y : height - 1 - y;
        return static_cast<std::size_t>(inMemory) * width * 3;
    }
};
