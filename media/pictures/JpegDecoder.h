#pragma once

#include "PixelBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: four bytes per pixel, R, G, B and one left for the alpha that the texture
// conversions write in place; rows top first, no padding.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    PixelBuffer pixels;
};

// Decodes JPEG files into RGB rows; CMYK and YCCK pictures are converted to RGB. Refuses, with a
// reason, anything it cannot decode completely: corrupt or truncated data, pictures larger than
// the limits it was given (checked from the header, before any pixel memory is taken), files
// that are not JPEG.
class JpegDecoder {
public:
    // No picture side beyond this is ever decoded, whatever the GL would accept.
    static constexpr int absoluteMaxSide = 16384;

    explicit JpegDecoder(int maxSide = absoluteMaxSide);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Pictures whose decoded pixels would take more bytes than this are refused.
    void limitPixelBytes(std::size_t bytes) { maxPixelBytes = bytes; }

    // True on success; otherwise `error` says why and `picture` is untouched.
    bool decode(const std::vector<std::uint8_t>& jpeg, DecodedPicture& picture, std::string& error);
    // Reads the file through the file layer (portable names) and decodes it.
    bool decodeFile(const std::string& fileName, DecodedPicture& picture, std::string& error);

private:
    void* handle;
    int maxSide;
    std::size_t maxPixelBytes = SIZE_MAX;
};

// Why a picture cannot be used, in the words the tools print: "missing", the budget it is over,
// or "unreadable: " and the decoder's reason.
std::string pictureFailureReason(const std::string& decoderError);
