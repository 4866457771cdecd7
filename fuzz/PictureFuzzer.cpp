// The picture path without GL: the JPEG decoder with the limits a texture is loaded under, then
// both conversions a texture goes through, checked pixel by pixel against their rules.

#include "FuzzSupport.h"
#include "JpegDecoder.h"
#include "TextureConversion.h"
#include "TextureManager.h"

namespace {

std::uint8_t keyed(std::uint8_t component) {
    return component < 2 ? 0 : component;
}

void checkColourKey(const PixelBuffer& decoded) {
    PixelBuffer pixels = decoded;
    colourKeyToRgba(pixels);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const int sum = keyed(decoded[i]) + keyed(decoded[i + 1]) + keyed(decoded[i + 2]);
        require(pixels[i] == keyed(decoded[i]) && pixels[i + 1] == keyed(decoded[i + 1]) &&
                    pixels[i + 2] == keyed(decoded[i + 2]) &&
                    pixels[i + 3] == (sum >= 10 ? 255 : 0),
                "a colour-keyed pixel breaks the rule");
    }
}

void checkIntensity(const PixelBuffer& decoded) {
    PixelBuffer pixels = decoded;
    intensityToAlpha(pixels);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const int sum = keyed(decoded[i]) + keyed(decoded[i + 1]) + keyed(decoded[i + 2]);
        require(pixels[i] == 0 && pixels[i + 1] == 0 && pixels[i + 2] == 0 &&
                    pixels[i + 3] == sum / 3,
                "an intensity pixel breaks the rule");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As the textures load a picture where the GL takes the largest side, the whole budget free.
    JpegDecoder decoder(JpegDecoder::absoluteMaxSide);
    decoder.limitPixelBytes(TextureManager::defaultPixelBudget);
    DecodedPicture picture;
    std::string error;
    if (!decoder.decode(std::vector<std::uint8_t>(data, data + size), picture, error)) {
        require(!error.empty(), "a picture refused without a reason");
        require(picture.width == 0 && picture.pixels.empty(), "a refused picture was changed");
        return 0;
    }
    require(picture.width > 0 && picture.height > 0 &&
                picture.width <= JpegDecoder::absoluteMaxSide &&
                picture.height <= JpegDecoder::absoluteMaxSide,
            "a decoded picture of a size out of bounds");
    require(picture.pixels.size() == static_cast<std::size_t>(picture.width) *
                                         static_cast<std::size_t>(picture.height) * 4,
            "a decoded picture whose pixels are not its size");
    checkColourKey(picture.pixels);
    checkIntensity(picture.pixels);
    return 0;
}
