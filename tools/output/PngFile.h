#pragma once

#include "Image.h"
#include "OutputFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>

// Writes an RGB PNG a row at a time, from the top, through an OutputFile: the file appears
// under its name only once `finish` has written it whole, with zlib's fastest setting (for
// pictures too large to hold whole). Failures throw std::runtime_error.
class PngWriter {
public:
    // `order`: that of the rows handed over; the file is RGB either way.
    PngWriter(const std::filesystem::path& path, int width, int height,
              PixelOrder order = PixelOrder::Rgb);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // `width` x 3 bytes.
    void writeRow(const std::uint8_t* rgb);
    void finish();

    // libpng's state, known only where libpng is called.
    struct Codec;

private:
    OutputFile file;
    std::unique_ptr<Codec> codec;
};

// A whole picture, as PngEncoder writes it.
void writePng(const std::filesystem::path& path, const Image& picture);
// Reads an 8-bit RGB or RGBA PNG (alpha dropped). Throws std::runtime_error.
Image readPng(const std::filesystem::path& path);
