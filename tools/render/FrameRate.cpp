#include "FrameRate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace {

constexpr double whisker = 1e-6;

// frame x factor / numerator, floored, without overflow for any frame of any rate.
std::int64_t scaledDown(long frame, std::int64_t factor, long numerator) {
    const __int128 product = static_cast<__int128>(frame) * factor;
    __int128 quotient = product / numerator;
    if (product % numerator != 0 && product < 0)
        --quotient;
    return static_cast<std::int64_t>(quotient);
}

} // namespace

FrameRate::FrameRate(long num, long den) {
    if (num <= 0 || den <= 0)
        throw std::invalid_argument("a frame rate is positive");
    const long common = std::gcd(num, den);
    numerator = num / common;
    denominator = den / common;
}

std::string FrameRate::text() const {
    return denominator == 1 ? std::to_string(numerator)
                            : std::to_string(numerator) + "/" + std::to_string(denominator);
}

long FrameRate::firstFrameFrom(double time) const {
    // Any finite time gives a frame number; those far beyond any demo are cut.
    constexpr double farthest = 1e15;
    const double frame = std::ceil(time * numerator / denominator - whisker);
    return static_cast<long>(std::clamp(frame, -farthest, farthest));
}

std::int64_t FrameRate::wholeSeconds(long frame) const {
    return scaledDown(frame, denominator, numerator);
}

std::int64_t FrameRate::samplesBefore(long frame, int sampleRate) const {
    return scaledDown(frame, static_cast<std::int64_t>(sampleRate) * denominator, numerator);
}
