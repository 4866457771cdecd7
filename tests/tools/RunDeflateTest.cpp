#include "RunDeflate.h"

#include "OfflineDemo.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Inflated by zlib, which checks the block headers, the codes' completeness and the Adler-32;
// the whole stream must be taken and give back `input` exactly.
::testing::AssertionResult inflatesBack(RunDeflate& deflate, const Bytes& input,
                                        std::size_t* packedSize = nullptr) {
    const std::span<const std::uint8_t> packed = deflate.compress(input);
    if (packedSize)
        *packedSize = packed.size();
    Bytes back(input.size() + 1);
    uLongf backSize = back.size();
    uLong taken = packed.size();
    const int result = uncompress2(back.data(), &backSize, packed.data(), &taken);
    if (result != Z_OK)
        return ::testing::AssertionFailure() << "zlib says " << result;
    if (taken != packed.size())
        return ::testing::AssertionFailure() << "took " << taken << " of " << packed.size();
    back.resize(backSize);
    if (back != input)
        return ::testing::AssertionFailure() << "inflated to other bytes";
    return ::testing::AssertionSuccess();
}

Bytes randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Sizes from nothing up past the word the search reads, and inputs whose runs end at the end,
// from one encoder that has just coded a large input: nothing is left over from one to the next.
TEST(RunDeflate, ShortInputsAndRunsToTheEndInflateBack) {
    RunDeflate deflate;
    ASSERT_TRUE(inflatesBack(deflate, randomBytes(300000, 1)));
    const Bytes pattern = randomBytes(64, 2);
    for (std::size_t size = 0; size <= 40; ++size) {
        const Bytes varied(pattern.begin(), pattern.begin() + static_cast<long>(size));
        EXPECT_TRUE(inflatesBack(deflate, varied)) << size << " varied bytes";
        EXPECT_TRUE(inflatesBack(deflate, Bytes(size, 7))) << size << " equal bytes";
        Bytes pixels;
        for (std::size_t i = 0; i < size; ++i)
            pixels.push_back(static_cast<std::uint8_t>(10 + i % 3));
        EXPECT_TRUE(inflatesBack(deflate, pixels)) << size << " bytes of one pixel";
        Bytes tail = varied;
        tail.insert(tail.end(), size, 0);
        EXPECT_TRUE(inflatesBack(deflate, tail)) << size << " varied bytes, then zeros";
    }
}

// Runs of a byte and of a pixel at and beside each length symbol's first and last length, and
// longer than one match can take, each between bytes that start no run.
TEST(RunDeflate, RunsAtEveryLengthBoundaryInflateBack) {
    std::vector<std::size_t> lengths;
    for (std::size_t base :
         {3,  4,  5,  6,  7,  8,  9,   10,  11,  13,  15,  17,  19,  23,  27,  31,  35,
          43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258, 259, 516, 517, 1000}) {
        for (std::size_t length : {base - 1, base, base + 1})
            lengths.push_back(length);
    }
    Bytes input;
    std::uint8_t value = 0;
    for (std::size_t length : lengths) {
        for (int distance : {1, 3}) {
            value = static_cast<std::uint8_t>(value + 37);
            input.insert(input.end(), {static_cast<std::uint8_t>(value + 1),
                                       static_cast<std::uint8_t>(value + 2),
                                       static_cast<std::uint8_t>(value + 3)});
            for (std::size_t i = 0; i < length + static_cast<std::size_t>(distance); ++i)
                input.push_back(static_cast<std::uint8_t>(value + i % distance));
        }
    }
    RunDeflate deflate;
    std::size_t packed = 0;
    EXPECT_TRUE(inflatesBack(deflate, input, &packed));
    // The runs are coded as matches, not as their bytes.
    EXPECT_LT(packed, input.size() / 8);
}

// Every byte value, alone, twice and as runs; and long inputs of nothing but runs, which are
// many matches and few literals, shrink to almost nothing.
TEST(RunDeflate, EveryByteValueAndLongRunsInflateBack) {
    RunDeflate deflate;
    Bytes values;
    for (int repeat = 1; repeat <= 6; ++repeat) {
        for (int byte = 0; byte < 256; ++byte)
            values.insert(values.end(), static_cast<std::size_t>(repeat),
                          static_cast<std::uint8_t>(repeat % 2 ? byte : 255 - byte));
    }
    EXPECT_TRUE(inflatesBack(deflate, values));

    std::size_t packed = 0;
    EXPECT_TRUE(inflatesBack(deflate, Bytes(3'000'000, 0), &packed));
    EXPECT_LT(packed, 3'000'000 / 200);
    Bytes pixels(2'000'001);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(200 + i % 3);
    EXPECT_TRUE(inflatesBack(deflate, pixels, &packed));
    EXPECT_LT(packed, pixels.size() / 200);
}

// Bytes that no code makes smaller are stored, in blocks of at most 64 KiB: the stream is
// hardly larger than its input. Where random stretches alternate with runs, stored and coded
// blocks follow one another in one stream.
TEST(RunDeflate, RandomBytesAreStoredAndMixWithCodedBlocks) {
    RunDeflate deflate;
    const Bytes random = randomBytes(3'000'000, 3);
    std::size_t packed = 0;
    EXPECT_TRUE(inflatesBack(deflate, random, &packed));
    EXPECT_LE(packed, random.size() + random.size() / 65535 * 5 + 64);

    Bytes mixed;
    for (std::uint32_t part = 0; part < 6; ++part) {
        const Bytes stretch = randomBytes(100'000 + part * 7'919, 10 + part);
        mixed.insert(mixed.end(), stretch.begin(), stretch.end());
        mixed.insert(mixed.end(), 150'000 + part, static_cast<std::uint8_t>(part));
    }
    EXPECT_TRUE(inflatesBack(deflate, mixed, &packed));
    EXPECT_LT(packed, mixed.size() / 2);
}

// Bytes `counts[i]` times each, ordered so that no run forms: each differs from the byte
// before and from the one a pixel back, the most frequent that may coming next.
Bytes literalsOnly(std::vector<std::size_t> counts) {
    Bytes bytes;
    for (;;) {
        int pick = -1;
        for (int value = 0; value < static_cast<int>(counts.size()); ++value) {
            const std::size_t at = bytes.size();
            const bool allowed = counts[value] > 0 && (at < 1 || bytes[at - 1] != value) &&
                                 (at < 3 || bytes[at - 3] != value);
            if (allowed && (pick < 0 || counts[value] > counts[pick]))
                pick = value;
        }
        if (pick < 0)
            return bytes;
        bytes.push_back(static_cast<std::uint8_t>(pick));
        --counts[pick];
    }
}

// Byte counts that grow a little faster than the Fibonacci numbers make each Huffman node but
// the first the parent of one leaf, even with the end of block's count of 1: a tree 20 levels
// deep for 20 bytes, deeper than a deflate code may be. The lengths must be cut to 15 bits and
// the code stay complete. In one block, and over several.
TEST(RunDeflate, SkewedCountsKeepCodesWithinFifteenBits) {
    std::vector<std::size_t> counts = {1, 2};
    while (counts.size() < 20)
        counts.push_back(counts[counts.size() - 1] + counts[counts.size() - 2] + 1);
    const Bytes once = literalsOnly(counts);
    ASSERT_EQ(once.size(), 46345u);
    Bytes thrice;
    for (int copy = 0; copy < 3; ++copy)
        thrice.insert(thrice.end(), once.begin(), once.end());
    RunDeflate deflate;
    for (const Bytes* input : {&once, static_cast<const Bytes*>(&thrice)}) {
        std::size_t packed = 0;
        EXPECT_TRUE(inflatesBack(deflate, *input, &packed)) << input->size() << " bytes";
        // About two bits a byte.
        EXPECT_LT(packed, input->size() / 3);
    }
}

// A frame of a real effect, as its bytes lie and with each row less the row above (as a PNG's Up
// filter has it).
struct RealFrame {
    Bytes pixels;
    Bytes up;
};

const RealFrame& tunnelFrame() {
    static const RealFrame kept = [] {
        const std::filesystem::path here = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(GOLDEN_FOLDER) / "Tunnel");
        Image frame;
        {
            OfflineDemo demo(ClockMode::Free, 30);
            demo.load("demoscript.scr");
            for (int i = 0; i < 20; ++i)
                demo.drawFrame();
            frame = demo.readPixels();
        }
        std::filesystem::current_path(here);
        RealFrame real{frame.rgb, Bytes(frame.rgb.size())};
        const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * 3;
        for (std::size_t i = 0; i < real.pixels.size(); ++i) {
            real.up[i] = static_cast<std::uint8_t>(real.pixels[i] -
                                                   (i >= rowBytes ? real.pixels[i - rowBytes] : 0));
        }
        return real;
    }();
    return kept;
}

// The runs of both distances and the literals between them.
TEST(RunDeflate, ARealFrameInflatesBack) {
    RunDeflate deflate;
    std::size_t packed = 0;
    EXPECT_TRUE(inflatesBack(deflate, tunnelFrame().pixels, &packed));
    EXPECT_TRUE(inflatesBack(deflate, tunnelFrame().up, &packed));
    EXPECT_LT(packed, tunnelFrame().up.size() / 2);
}

// The vector searches of every width this processor has find the runs the plain one finds and
// end the blocks where it does: the stream is the same byte for byte. On a real frame; on long
// stretches of literals, whose blocks end inside a window; and on runs that start at every place
// in a window and end just before, at and past its end.
TEST(RunDeflate, EveryWindowWidthGivesTheSameStream) {
    Bytes windows;
    for (std::size_t offset = 0; offset < 70; ++offset) {
        for (std::size_t length : {5, 6, 7, 15, 16, 17, 31, 32, 33, 63, 64, 65, 300}) {
            windows.insert(windows.end(), offset, 0);
            windows.push_back(static_cast<std::uint8_t>(offset + 1));
            for (std::size_t i = 0; i < length; ++i)
                windows.push_back(static_cast<std::uint8_t>(length % 2 ? 9 : 20 + i % 3));
            windows.push_back(static_cast<std::uint8_t>(length));
        }
    }
    Bytes literals = randomBytes(400'000, 5);
    literals.insert(literals.end(), 1000, 0);
    const Bytes* inputs[] = {&tunnelFrame().up, &literals, &windows};
    for (const Bytes* input : inputs) {
        RunDeflate plain(8);
        const std::span<const std::uint8_t> expected = plain.compress(*input);
        for (std::size_t width = 16; width <= fastestRunMarks(); width *= 2) {
            RunDeflate vector(width);
            EXPECT_TRUE(inflatesBack(vector, *input)) << width;
            const std::span<const std::uint8_t> stream = vector.compress(*input);
            EXPECT_TRUE(std::equal(stream.begin(), stream.end(), expected.begin(), expected.end()))
                << width << "-byte windows on " << input->size() << " bytes";
        }
    }
}

} // namespace
