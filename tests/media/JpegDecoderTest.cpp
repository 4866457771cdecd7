#include "JpegDecoder.h"

#include "TempFolder.h"
#include "TestPictures.h"
#include "TextureConversion.h"

#include <array>
#include <cmath>
#include <sys/resource.h>
#include <turbojpeg.h>

#include <gtest/gtest.h>

namespace {

// Over R, G and B of each pixel: the decoded picture has four bytes per pixel.
int largestDifference(const DecodedPicture& decoded, const RgbImage& original) {
    int largest = 0;
    for (std::size_t i = 0; i < original.pixels.size(); ++i) {
        const int component = decoded.pixels[i / 3 * 4 + i % 3];
        largest = std::max(largest, std::abs(component - int(original.pixels[i])));
    }
    return largest;
}

struct Decoded {
    bool ok;
    DecodedPicture image;
    std::string error;
};

Decoded decode(const std::vector<std::uint8_t>& bytes, int maxSide = JpegDecoder::absoluteMaxSide) {
    JpegDecoder decoder(maxSide);
    Decoded result{false, {}, {}};
    result.ok = decoder.decode(bytes, result.image, result.error);
    return result;
}

TEST(JpegDecoder, DecodesEveryCommonKindTopRowFirst) {
    const RgbImage original = gradientImage(64, 32);
    for (JpegStyle style : {JpegStyle::Baseline, JpegStyle::Progressive}) {
        const Decoded decoded = decode(encodeJpeg(original, style));
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.image.width, 64);
        EXPECT_EQ(decoded.image.height, 32);
        ASSERT_EQ(decoded.image.pixels.size(), 64u * 32 * 4);
        EXPECT_LE(largestDifference(decoded.image, original), 4);
        // Top row dark green, bottom row full green: the rows are not flipped.
        EXPECT_LT(decoded.image.pixels[1], 10);
        EXPECT_GT(decoded.image.pixels[(31 * 64) * 4 + 1], 245);
    }

    const Decoded grey = decode(encodeJpeg(solidImage(16, 16, 90, 90, 90), JpegStyle::Greyscale));
    ASSERT_TRUE(grey.ok) << grey.error;
    for (std::size_t i = 0; i < grey.image.pixels.size(); i += 4) {
        EXPECT_EQ(grey.image.pixels[i], grey.image.pixels[i + 1]);
        EXPECT_EQ(grey.image.pixels[i], grey.image.pixels[i + 2]);
        EXPECT_NEAR(grey.image.pixels[i], 90, 2);
    }
}

TEST(JpegDecoder, RefusesDamagedAndForeignFiles) {
    const std::vector<std::uint8_t> good = encodeJpeg(gradientImage(64, 64));
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{20},
                            good.size() / 3, good.size() / 2, good.size() - 2}) {
        const std::vector<std::uint8_t> truncated(good.begin(), good.begin() + cut);
        EXPECT_FALSE(decode(truncated).ok) << "cut at " << cut;
    }
    std::vector<std::uint8_t> garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 7919 % 251);
    EXPECT_FALSE(decode(garbage).ok);
    std::vector<std::uint8_t> headerThenGarbage = garbage;
    std::copy(good.begin(), good.begin() + 600, headerThenGarbage.begin());
    EXPECT_FALSE(decode(headerThenGarbage).ok);

    const Decoded png = decode(tinyPng());
    EXPECT_FALSE(png.ok);
    EXPECT_EQ(png.error.rfind("not a JPEG", 0), 0u) << png.error;
    EXPECT_EQ(decode({}).error, "empty file");
}

TEST(JpegDecoder, InkPicturesComeOutAsRgb) {
    // Four 16 x 16 quadrants, stored inverted: red, green, blue, and half black over a light red.
    struct Quadrant {
        std::array<std::uint8_t, 4> ink;
        std::array<int, 3> rgb;
    };
    const std::array<Quadrant, 4> quadrants = {{{{255, 0, 0, 255}, {255, 0, 0}},
                                                {{0, 255, 0, 255}, {0, 255, 0}},
                                                {{0, 0, 255, 255}, {0, 0, 255}},
                                                {{255, 200, 200, 128}, {128, 100, 100}}}};
    std::vector<std::uint8_t> cmyk(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const auto& ink = quadrants[(y / 16) * 2 + x / 16].ink;
            std::copy(ink.begin(), ink.end(), &cmyk[(std::size_t(y) * 32 + x) * 4]);
        }
    }
    for (InkStyle style : {InkStyle::Cmyk, InkStyle::Ycck}) {
        const Decoded decoded = decode(encodeInkJpeg(cmyk, 32, 32, style));
        ASSERT_TRUE(decoded.ok) << decoded.error;
        ASSERT_EQ(decoded.image.pixels.size(), 32u * 32 * 4);
        for (int q = 0; q < 4; ++q) {
            const std::size_t centre = (std::size_t(q / 2 * 16 + 8) * 32 + q % 2 * 16 + 8) * 4;
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(decoded.image.pixels[centre + c], quadrants[q].rgb[c], 3)
                    << "quadrant " << q << " component " << c;
        }
    }

    // The same ink through the codec's simple interface, which writes YCCK.
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(
        tjCompress2(handle, cmyk.data(), 32, 0, 32, TJPF_CMYK, &jpeg, &size, TJSAMP_444, 95, 0), 0);
    const Decoded simple = decode(std::vector<std::uint8_t>(jpeg, jpeg + size));
    tjFree(jpeg);
    tjDestroy(handle);
    ASSERT_TRUE(simple.ok) << simple.error;
    EXPECT_NEAR(simple.image.pixels[(8 * 32 + 8) * 4], 255, 4);
    EXPECT_NEAR(simple.image.pixels[(8 * 32 + 8) * 4 + 1], 0, 4);
}

// Patches the frame header's height and width.
std::vector<std::uint8_t> withFrameSize(std::vector<std::uint8_t> jpeg, int width, int height) {
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(JpegDecoder, RefusesHugePicturesBeforeDecoding) {
    const std::vector<std::uint8_t> good = encodeJpeg(gradientImage(32, 32));
    const Decoded huge = decode(withFrameSize(good, 60000, 60000));
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.error, "too large: 60000 x 60000 (at most 16384 per side)");
    EXPECT_FALSE(decode(withFrameSize(good, 32, 20000)).ok);

    EXPECT_TRUE(decode(good, 32).ok);
    EXPECT_FALSE(decode(good, 31).ok);
    EXPECT_FALSE(decode(encodeJpeg(gradientImage(40, 8)), 32).ok);
}

// Peak resident memory of this process, in bytes.
std::size_t peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

TEST(JpegDecoder, AHugeHeaderOverTooLittleDataCostsNoPictureMemory) {
    // Within the size limit, but the 1 GiB of pixels it announces has no data behind it.
    const std::vector<std::uint8_t> forged =
        withFrameSize(encodeJpeg(gradientImage(32, 32)), 16384, 16384);
    const Decoded decoded = decode(forged);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.error.rfind("cannot decode", 0), 0u) << decoded.error;
    EXPECT_LT(peakResidentBytes(), std::size_t{512} << 20);
}

TEST(JpegDecoder, ReadsFilesByPortableName) {
    TempFolder folder;
    const std::vector<std::uint8_t> jpeg = encodeJpeg(gradientImage(8, 8));
    folder.write("Pics/Logo.jpg", std::string(jpeg.begin(), jpeg.end()));
    folder.write("empty.jpg", "");
    JpegDecoder decoder;
    DecodedPicture image;
    std::string error;
    EXPECT_TRUE(decoder.decodeFile("\\pics\\logo.JPG", image, error)) << error;
    EXPECT_EQ(image.width, 8);
    EXPECT_FALSE(decoder.decodeFile("missing.jpg", image, error));
    EXPECT_EQ(error, "missing");
    EXPECT_FALSE(decoder.decodeFile("empty.jpg", image, error));
    EXPECT_EQ(error, "empty file");
}

using Bytes = std::vector<std::uint8_t>;

Bytes colourKeyed(Bytes pixels) {
    colourKeyToRgba(pixels);
    return pixels;
}

Bytes alphaOnly(Bytes pixels) {
    intensityToAlpha(pixels);
    return pixels;
}

TEST(TextureConversion, ColourKeyMakesNearBlackTransparent) {
    EXPECT_EQ(colourKeyed({1, 1, 1, 77}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(colourKeyed({3, 3, 3, 77}), (Bytes{3, 3, 3, 0}));
    EXPECT_EQ(colourKeyed({4, 3, 3, 0}), (Bytes{4, 3, 3, 255}));
    EXPECT_EQ(colourKeyed({1, 1, 9, 0}), (Bytes{0, 0, 9, 0}));
    EXPECT_EQ(colourKeyed({2, 2, 6, 0}), (Bytes{2, 2, 6, 255}));
    EXPECT_EQ(colourKeyed({255, 255, 255, 0}), (Bytes{255, 255, 255, 255}));
}

TEST(TextureConversion, ColourKeyGivesTheSameAnswerForEveryPixelOfALongRow) {
    // Long rows go four pixels at a time, the rest one by one: both ways must agree with the
    // rule for every value of a component.
    Bytes row;
    Bytes expected;
    for (int value = 0; value < 256; ++value) {
        for (int place = 0; place < 3; ++place) {
            std::uint8_t rgb[3] = {0, 1, 3};
            rgb[place] = static_cast<std::uint8_t>(value);
            const auto keyed = [](int c) { return static_cast<std::uint8_t>(c < 2 ? 0 : c); };
            const std::uint8_t r = keyed(rgb[0]), g = keyed(rgb[1]), b = keyed(rgb[2]);
            row.insert(row.end(), {rgb[0], rgb[1], rgb[2], 0x5A});
            expected.insert(expected.end(),
                            {r, g, b, static_cast<std::uint8_t>(r + g + b >= 10 ? 255 : 0)});
        }
    }
    row.insert(row.end(), {9, 0, 0, 1, 5, 5, 0, 1});
    expected.insert(expected.end(), {9, 0, 0, 0, 5, 5, 0, 255});
    EXPECT_EQ(colourKeyed(row), expected);
}

TEST(TextureConversion, IntensityBecomesAlphaOverBlack) {
    EXPECT_EQ(alphaOnly({1, 200, 100, 9}), (Bytes{0, 0, 0, 100}));
    EXPECT_EQ(alphaOnly({2, 2, 3, 9}), (Bytes{0, 0, 0, 2}));
    EXPECT_EQ(alphaOnly({255, 255, 255, 9}), (Bytes{0, 0, 0, 255}));
    EXPECT_EQ(alphaOnly({1, 1, 1, 9, 0, 0, 30, 0}), (Bytes{0, 0, 0, 0, 0, 0, 0, 10}));
}

TEST(TextureConversion, SolidColoursTruncateToTheLowByte) {
    EXPECT_EQ(solidPixels(2, 1, 128.0f, 128.0f, 128.0f, 128.0f), (Bytes(8, 128)));
    EXPECT_EQ(solidPixels(1, 1, 0.0f, 0.0f, 0.0f, 1.0f), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(solidPixels(1, 1, 255.9f, 300.0f, -1.0f, 0.99f), (Bytes{255, 44, 255, 0}));
    EXPECT_EQ(componentByte(std::nanf("")), 0);
    EXPECT_EQ(componentByte(1e30f), 0);
    EXPECT_TRUE(solidPixels(0, 5, 1, 1, 1, 1).empty());
    EXPECT_TRUE(solidPixels(-3, 5, 1, 1, 1, 1).empty());
}

} // namespace
