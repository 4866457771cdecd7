#pragma once

#include "RunMarks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A zlib stream encoder made for filtered picture rows, where nearly everything that repeats is a
// run: a byte repeated (distance 1) or a pixel repeated (distance 3), six bytes or longer. It
// looks for nothing else, so it needs no hash table and finds runs a vector of bytes at a time:
// well over twice as fast as a general deflater at its fastest, with files as small on rendered
// frames. Each block has Huffman tables of its own, so the codes follow the picture; a block that
// would not shrink is stored as it is. One encoder keeps its buffers from one call to the next.
// Not for use by two threads at once.
class RunDeflate {
public:
    // Looks for runs in windows of `markWidth` bytes (8, 16, 32 or 64; see RunMarks.h): the
    // widest this processor has unless told. The stream is the same whatever the width.
    explicit RunDeflate(std::size_t markWidth = fastestRunMarks());

    // The whole zlib stream (header, deflate blocks, Adler-32) of `input`, of any size. The bytes
    // stay valid until the next call.
    std::span<const std::uint8_t> compress(std::span<const std::uint8_t> input);

    // Literals and matches a block holds before its tables are drawn up anew: a little under a
    // stored block's most, so that a block of literals alone is stored as one.
    static constexpr std::size_t blockSymbols = 65000;

    // Literal bytes, then a match of `length` bytes `distance` back (none when length is 0).
    struct Sequence {
        std::uint32_t literals;
        std::uint16_t length;
        std::uint16_t distance;
    };

    // The sequences from `first` up to the next block's, covering `bytes` of the input, with
    // the counts its Huffman tables are made from.
    struct Block {
        std::size_t first = 0;
        std::size_t bytes = 0;
        std::array<std::uint32_t, 286> literalLengthCounts{};
        std::array<std::uint32_t, 30> distanceCounts{};
    };

private:
    void tokenise(std::span<const std::uint8_t> input);
    Sequence* tokeniseWith(std::span<const std::uint8_t> input);

    std::size_t markWidth;

    // Room for the most a stream can have; the first `sequenceCount` are this stream's.
    std::vector<Sequence> sequences;
    std::size_t sequenceCount = 0;
    std::vector<Block> blocks;
    std::vector<std::uint8_t> stream;
};
