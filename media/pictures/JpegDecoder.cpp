#include "JpegDecoder.h"

#include "FileLoader.h"
#include "LoadError.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <turbojpeg.h>

namespace {

// Larger files are refused before they are read into memory; the biggest picture decoded
// compresses to far less.
constexpr std::uintmax_t maxFileBytes = std::uintmax_t{256} << 20;

// Warnings (a truncated file, junk inside the data) stop the decode: such a picture would be
// drawn half grey. The scan limit keeps a crafted progressive file from running for minutes.
constexpr int decodeFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

constexpr const char* overBudget = "over the texture memory budget";

// Rounded up for what is needed and down for what is left, so the two never look equal.
std::string mebibytesUp(std::size_t bytes) {
    return std::to_string((bytes >> 20) + ((bytes & 0xFFFFF) != 0)) + " MiB";
}
std::string mebibytesDown(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

// CMYK pictures are stored inverted, as the programs that write them do: 255 means no ink. Each
// colour is then the share of light its ink and the black ink let through.
void cmykToRgb(PixelBuffer& pixels) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const unsigned k = pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c)
            pixels[i + c] = static_cast<std::uint8_t>((pixels[i + c] * k + 127) / 255);
    }
}

} // namespace

std::string pictureFailureReason(const std::string& decoderError) {
    const bool fileIsFine = decoderError == "missing" || decoderError.starts_with(overBudget);
    return fileIsFine ? decoderError : "unreadable: " + decoderError;
}

JpegDecoder::JpegDecoder(int maxSide)
    : handle(tjInitDecompress()), maxSide(std::clamp(maxSide, 1, absoluteMaxSide)) {}

JpegDecoder::~JpegDecoder() {
    if (handle)
        tjDestroy(handle);
}

bool JpegDecoder::decode(const std::vector<std::uint8_t>& jpeg, DecodedPicture& picture,
                         std::string& error) {
    if (!handle) {
        error = "no JPEG decoder";
        return false;
    }
    if (jpeg.empty()) {
        error = "empty file";
        return false;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (tjDecompressHeader3(handle, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &width,
                            &height, &subsampling, &colourspace) != 0) {
        error = std::string("not a JPEG: ") + tjGetErrorStr2(handle);
        return false;
    }
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) {
        error = "too large: " + std::to_string(width) + " x " + std::to_string(height) +
                " (at most " + std::to_string(maxSide) + " per side)";
        return false;
    }
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * height * 4;
    if (pixelBytes > maxPixelBytes) {
        error = std::string(overBudget) + ": " + std::to_string(width) + " x " +
                std::to_string(height) + " needs " + mebibytesUp(pixelBytes) + ", " +
                mebibytesDown(maxPixelBytes) + " left";
        return false;
    }
    // Ink pictures come out as four channels that are turned into RGB afterwards.
    const bool ink = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    PixelBuffer pixels;
    try {
        pixels.resize(pixelBytes);
    } catch (const std::bad_alloc&) {
        error = "out of memory for " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    if (tjDecompress2(handle, jpeg.data(), static_cast<unsigned long>(jpeg.size()), pixels.data(),
                      width, 0, height, ink ? TJPF_CMYK : TJPF_RGBX, decodeFlags) != 0) {
        error = std::string("cannot decode: ") + tjGetErrorStr2(handle);
        return false;
    }
    if (ink)
        cmykToRgb(pixels);
    picture = DecodedPicture{width, height, std::move(pixels)};
    return true;
}

bool JpegDecoder::decodeFile(const std::string& fileName, DecodedPicture& picture,
                             std::string& error) {
    std::vector<std::uint8_t> bytes;
    try {
        std::uintmax_t size = 0;
        std::ifstream stream = openScriptFile(fileName, &size);
        if (size > maxFileBytes) {
            error = "file too large";
            return false;
        }
        try {
            bytes.resize(static_cast<std::size_t>(size));
        } catch (const std::bad_alloc&) {
            error = "out of memory for the file";
            return false;
        }
        stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        if (static_cast<std::uintmax_t>(stream.gcount()) != size) {
            error = "cannot read the file";
            return false;
        }
    } catch (const Errors::LoadError&) {
        error = "missing";
        return false;
    }
    return decode(bytes, picture, error);
}
