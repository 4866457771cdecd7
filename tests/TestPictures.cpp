#include "TestPictures.h"

#include <algorithm>
#include <stdexcept>
#include <turbojpeg.h>

std::vector<std::uint8_t> encodeJpeg(const RgbImage& image, JpegStyle style, int quality) {
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int subsampling = style == JpegStyle::Greyscale ? TJSAMP_GRAY : TJSAMP_444;
    const int flags = style == JpegStyle::Progressive ? TJFLAG_PROGRESSIVE : 0;
    const int result = tjCompress2(handle, image.pixels.data(), image.width, 0, image.height,
                                   TJPF_RGB, &jpeg, &size, subsampling, quality, flags);
    std::vector<std::uint8_t> bytes;
    if (result == 0)
        bytes.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    if (result != 0)
        throw std::runtime_error("cannot encode a test picture");
    return bytes;
}

RgbImage gradientImage(int width, int height) {
    RgbImage image{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = &image.pixels[(std::size_t(y) * width + x) * 3];
            pixel[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1));
            pixel[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1));
            pixel[2] = 128;
        }
    }
    return image;
}

RgbImage solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    RgbImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        image.pixels.insert(image.pixels.end(), {r, g, b});
    return image;
}

std::vector<std::uint8_t> tinyPng() {
    return {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
            0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
            0x00, 0x90, 0x77, 0x53, 0xde, 0x00, 0x00, 0x00, 0x0c, 0x49, 0x44, 0x41, 0x54, 0x78,
            0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0xc9, 0xfe, 0x92,
            0xef, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
}
