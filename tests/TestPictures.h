#pragma once

#include <cstdint>
#include <vector>

// Pictures made for the tests: known pixels, encoded with the real JPEG codec.

// R, G, B bytes per pixel, rows top first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

enum class JpegStyle { Baseline, Progressive, Greyscale };

std::vector<std::uint8_t> encodeJpeg(const RgbImage& image, JpegStyle style = JpegStyle::Baseline,
                                     int quality = 100);

// A picture with a smooth pattern, so that the codec's error stays small.
RgbImage gradientImage(int width, int height);
// One colour everywhere.
RgbImage solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);

enum class InkStyle { Cmyk, Ycck };

// A JPEG of four ink channels, C, M, Y, K per pixel, stored inverted (255 = no ink) as the
// programs that write such files store them. Encoded with the codec's own library interface,
// which keeps plain CMYK apart from YCCK.
std::vector<std::uint8_t> encodeInkJpeg(const std::vector<std::uint8_t>& cmyk, int width,
                                        int height, InkStyle style);

// A small, valid PNG file.
std::vector<std::uint8_t> tinyPng();
