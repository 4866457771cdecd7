#pragma once

#include "PixelBuffer.h"

#include <cstdint>

// A GL texture with its size and, for pictures, the RGBA pixels that were uploaded (rows in
// upload order). Plain colour textures keep no pixels.
struct Texture {
    std::uint32_t id = 0;
    int width = 0;
    int height = 0;
    PixelBuffer pixels;
};
