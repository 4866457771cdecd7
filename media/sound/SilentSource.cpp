#include "SilentSource.h"

#include <algorithm>

std::size_t SilentSource::render(float* out, std::size_t frames) {
    std::fill(out, out + frames * 2, 0.0f);
    return frames;
}
