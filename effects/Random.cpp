#include "Random.h"

namespace {

std::uint32_t state = 1;

} // namespace

void seedRandom(std::uint32_t seed) {
    state = seed;
}

std::uint32_t randomState() {
    return state;
}

int nextRandom() {
    // Unsigned arithmetic wraps modulo 2^32, as the generator is defined.
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
}

float rand01() {
    return static_cast<float>(nextRandom()) * (1.0f / 32767.0f);
}
