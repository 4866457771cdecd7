#include "TextureConversion.h"

#include <algorithm>
#include <array>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cmath>
#include <limits>

namespace {

std::uint8_t keyed(std::uint8_t component) {
    return component < 2 ? 0 : component;
}

} // namespace

void colourKeyToRgba(std::span<std::uint8_t> pixels) {
    std::uint8_t* pixel = pixels.data();
    const std::size_t count = pixels.size() / 4;
    std::size_t i = 0;
#ifdef __SSE2__
    // Four pixels at a time; each pixel is one little-endian 32-bit lane, R in the low byte.
    const __m128i two = _mm_set1_epi8(2);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i nine = _mm_set1_epi32(9);
    for (; i + 4 <= count; i += 4, pixel += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
        const __m128i atLeastTwo = _mm_cmpeq_epi8(_mm_max_epu8(v, two), v);
        v = _mm_and_si128(_mm_and_si128(v, atLeastTwo), colour);
        const __m128i sum = _mm_add_epi32(
            _mm_add_epi32(_mm_and_si128(v, lowByte), _mm_and_si128(_mm_srli_epi32(v, 8), lowByte)),
            _mm_srli_epi32(v, 16));
        const __m128i opaque = _mm_slli_epi32(_mm_cmpgt_epi32(sum, nine), 24);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), _mm_or_si128(v, opaque));
    }
#endif
    for (; i < count; ++i, pixel += 4) {
        pixel[0] = keyed(pixel[0]);
        pixel[1] = keyed(pixel[1]);
        pixel[2] = keyed(pixel[2]);
        pixel[3] = pixel[0] + pixel[1] + pixel[2] >= 10 ? 255 : 0;
    }
}

void intensityToAlpha(std::span<std::uint8_t> pixels) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        pixels[i + 3] = static_cast<std::uint8_t>(
            (keyed(pixels[i]) + keyed(pixels[i + 1]) + keyed(pixels[i + 2])) / 3);
        pixels[i] = pixels[i + 1] = pixels[i + 2] = 0;
    }
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
