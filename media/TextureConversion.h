#pragma once

#include "JpegDecoder.h"

#include <cstdint>
#include <vector>

// The RGBA pixels uploaded for a picture, four bytes per pixel in the picture's row order.

// Black and near-black become fully transparent, everything else fully opaque: components
// below 2 become 0, and a pixel is opaque when its components sum to 10 or more.
std::vector<std::uint8_t> colourKeyToRgba(const RgbImage& image);

// Black everywhere, with the picture's brightness (the mean of the keyed components) as alpha.
std::vector<std::uint8_t> intensityToAlpha(const RgbImage& image);

// One colour everywhere. Components are on the 0..255 scale: truncated toward zero, low 8 bits.
std::vector<std::uint8_t> solidPixels(int width, int height, float red, float green, float blue,
                                      float alpha);

// The byte a colour component becomes in `solidPixels`.
std::uint8_t componentByte(float value);
