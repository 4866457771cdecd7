#include "PngEncoder.h"

#include "OfflineDemo.h"
#include "PngFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const PngFilter allFilters[] = {PngFilter::None, PngFilter::Sub, PngFilter::Up};

// Decoded by libpng, which checks every chunk's CRC and the deflate stream's checksum.
Image roundTrip(const Image& picture, PngPacking packing, const fs::path& file) {
    PngEncoder(packing).write(file, picture);
    return readPng(file);
}

// A frame of a real effect: a fogged, lit, textured tunnel, read back as reelrender reads it
// (bottom row first, in either channel order), is written and read back to the same pixels,
// whichever filter and deflater.
TEST(PngEncoder, AFrameReadBackDecodesThroughLibpngToTheSamePixels) {
    TempFolder output;
    const fs::path here = fs::current_path();
    fs::current_path(fs::path(GOLDEN_FOLDER) / "Tunnel");
    Image expected;
    std::vector<Image> readBack;
    {
        OfflineDemo demo(ClockMode::Free, 30);
        demo.load("demoscript.scr");
        for (int frame = 0; frame < 20; ++frame)
            demo.drawFrame();
        expected = demo.readPixels();
        for (PixelOrder order : {PixelOrder::Rgb, PixelOrder::Bgr}) {
            readBack.emplace_back();
            demo.readPixels(readBack.back(), order);
        }
    }
    fs::current_path(here);
    ASSERT_EQ(readBack[0].rows, RowOrder::BottomUp);
    for (const Image& frame : readBack) {
        for (PngFilter filter : allFilters) {
            for (const PngPacking packing : {PngPacking{filter, PngDeflater::Runs},
                                             PngPacking{filter, PngDeflater::Libdeflate, 1},
                                             PngPacking{filter, PngDeflater::Libdeflate, 6}}) {
                const Image decoded = roundTrip(frame, packing, output.path() / "f.png");
                ASSERT_EQ(decoded.width, 640);
                ASSERT_EQ(decoded.height, 480);
                EXPECT_TRUE(decoded.rgb == expected.rgb)
                    << "filter " << static_cast<int>(filter) << ", deflater "
                    << static_cast<int>(packing.deflater) << ", level " << packing.level;
            }
        }
    }
}

// Rows shorter than a pixel's step back, and a single pixel.
TEST(PngEncoder, SmallAndOddPicturesComeBackWhole) {
    TempFolder output;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{7, 3}}) {
        Image picture(width, height);
        for (std::size_t i = 0; i < picture.rgb.size(); ++i)
            picture.rgb[i] = static_cast<std::uint8_t>(i * 97 + 13);
        for (PngFilter filter : allFilters) {
            const Image decoded = roundTrip(picture, {filter}, output.path() / "s.png");
            EXPECT_EQ(decoded.width, width);
            EXPECT_TRUE(decoded.rgb == picture.rgb) << width << " x " << height;
        }
    }
    EXPECT_THROW(PngEncoder().encode(Image(0, 0)), std::invalid_argument);
}

} // namespace
