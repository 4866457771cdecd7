#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Turn a decoded picture's pixels (R, G, B and a free fourth byte) into the RGBA that is
// uploaded, in place.

// Black and near-black become fully transparent, everything else fully opaque: components
// below 2 become 0, and a pixel is opaque when its components sum to 10 or more.
void colourKeyToRgba(std::span<std::uint8_t> pixels);

// Black everywhere, with the picture's brightness (the mean of the keyed components) as alpha.
void intensityToAlpha(std::span<std::uint8_t> pixels);

// One colour everywhere. Components are on the 0..255 scale: truncated toward zero, low 8 bits.
std::vector<std::uint8_t> solidPixels(int width, int height, float red, float green, float blue,
                                      float alpha);

// The byte a colour component becomes in `solidPixels`.
std::uint8_t componentByte(float value);
