#include "TextureConversion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

std::uint8_t keyed(std::uint8_t component) {
    return component < 2 ? 0 : component;
}

} // namespace

std::vector<std::uint8_t> colourKeyToRgba(const RgbImage& image) {
    const std::size_t count = image.pixels.size() / 3;
    std::vector<std::uint8_t> rgba(count * 4);
    const std::uint8_t* in = image.pixels.data();
    std::uint8_t* out = rgba.data();
    for (std::size_t i = 0; i < count; ++i, in += 3, out += 4) {
        const std::uint8_t r = keyed(in[0]);
        const std::uint8_t g = keyed(in[1]);
        const std::uint8_t b = keyed(in[2]);
        out[0] = r;
        out[1] = g;
        out[2] = b;
        out[3] = r + g + b >= 10 ? 255 : 0;
    }
    return rgba;
}

std::vector<std::uint8_t> intensityToAlpha(const RgbImage& image) {
    const std::size_t count = image.pixels.size() / 3;
    std::vector<std::uint8_t> rgba(count * 4, 0);
    const std::uint8_t* in = image.pixels.data();
    for (std::size_t i = 0; i < count; ++i, in += 3)
        rgba[i * 4 + 3] =
            static_cast<std::uint8_t>((keyed(in[0]) + keyed(in[1]) + keyed(in[2])) / 3);
    return rgba;
}

std::uint8_t componentByte(float value) {
    // Out-of-range values (and NaN) have no integer to truncate to; they count as 0.
    const double truncated = std::trunc(static_cast<double>(value));
    if (!(std::fabs(truncated) < 9.2e18))
        return 0;
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(truncated) & 0xFF);
}

std::vector<std::uint8_t> solidPixels(int width, int height, float red, float green, float blue,
                                      float alpha) {
    if (width <= 0 || height <= 0)
        return {};
    const std::array<std::uint8_t, 4> colour = {componentByte(red), componentByte(green),
                                                componentByte(blue), componentByte(alpha)};
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i)
        std::copy(colour.begin(), colour.end(), rgba.begin() + static_cast<std::ptrdiff_t>(i * 4));
    return rgba;
}
