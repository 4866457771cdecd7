#include "EffectRules.h"

#include <cmath>
#include <limits>

int integerParameter(float value) {
    if (std::isnan(value))
        return 0;
    // The float nearest INT_MAX is 2^31, which no int holds; the lower end is exact.
    constexpr float upper = 2147483648.0f;
    constexpr float lower = -2147483648.0f;
    if (value >= upper)
        return std::numeric_limits<int>::max();
    if (value <= lower)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

std::string pictureName(const std::vector<std::string>& data, std::string_view fallback) {
    return data.empty() ? std::string(fallback) : data.front();
}

float moveTowards(float value, float target, float speed, float delta) {
    const bool farSide = (speed > 0.0f && value < target) || (speed < 0.0f && value > target);
    return farSide ? value + perSecond(delta, speed) : value;
}
