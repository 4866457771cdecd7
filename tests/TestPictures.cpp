#include "TestPictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
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

std::vector<std::uint8_t> encodeInkJpeg(const std::vector<std::uint8_t>& cmyk, int width,
                                        int height, InkStyle style) {
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &jpeg, &size);
    compressor.image_width = static_cast<JDIMENSION>(width);
    compressor.image_height = static_cast<JDIMENSION>(height);
    compressor.input_components = 4;
    compressor.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&compressor);
    // Either colour space gets the marker that tells readers the ink is stored inverted.
    jpeg_set_colorspace(&compressor, style == InkStyle::Ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&compressor, 100, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(&cmyk[std::size_t(compressor.next_scanline) * width * 4]);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    std::vector<std::uint8_t> bytes(jpeg, jpeg + size);
    std::free(jpeg);
    return bytes;
}
