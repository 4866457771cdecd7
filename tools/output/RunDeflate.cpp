#include "RunDeflate.h"

#include "RunMarks.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <libdeflate.h>

namespace {

constexpr std::size_t longestMatch = 258;
// Shorter runs are coded hardly smaller than their bytes, and there are many: each costs a
// search, a sequence and a match to code. Against runs of four and more, frames come out 3 %
// larger in a sixth less time.
constexpr std::size_t shortestRun = 6;
constexpr std::size_t storedMost = 65535;
constexpr int literalLengthSymbols = 286;
constexpr int distanceSymbols = 30;
constexpr int codeLengthSymbols = 19;
constexpr int endOfBlock = 256;

// The order a block header gives the code-length code's lengths in.
constexpr std::uint8_t codeLengthOrder[codeLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                             11, 4,  12, 3, 13, 2, 14, 1, 15};

// Each match length's symbol (past 256), and how many extra bits follow it with what value.
struct LengthCodes {
    std::uint8_t symbol[longestMatch + 1]{};
    std::uint8_t extraBits[longestMatch + 1]{};
    std::uint8_t extraValue[longestMatch + 1]{};
    std::uint8_t symbolExtraBits[29]{};

    constexpr LengthCodes() {
        constexpr std::uint16_t base[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                            15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                            67, 83, 99, 115, 131, 163, 195, 227, 258};
        constexpr std::uint8_t extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                            2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        // In order, so that 258 ends up with the last symbol rather than 227's last value.
        for (int code = 0; code < 29; ++code) {
            symbolExtraBits[code] = extra[code];
            for (int value = 0; value < (1 << extra[code]); ++value) {
                const int length = base[code] + value;
                if (length > static_cast<int>(longestMatch))
                    break;
                symbol[length] = static_cast<std::uint8_t>(code);
                extraBits[length] = extra[code];
                extraValue[length] = static_cast<std::uint8_t>(value);
            }
        }
    }
};

constexpr LengthCodes lengthCodes;

// Distances 1 and 3 are distance symbols 0 and 2, neither with extra bits.
int distanceSymbol(int distance) {
    return distance - 1;
}

std::uint64_t load64(const std::uint8_t* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}
// The searches take the first byte of a word as its lowest.
static_assert(std::endian::native == std::endian::little);

// Where runs of `shortestRun` or more start in a window, given the marks on its bytes: the
// positions from `width - shortestRun + 1` on have too few bytes after them to tell.
std::uint64_t runStarts(std::uint64_t equal, std::size_t width) {
    std::uint64_t starts = equal;
    for (std::size_t ahead = 1; ahead < shortestRun; ++ahead)
        starts &= equal >> ahead;
    return starts & (~std::uint64_t{0} >> (64 - (width - shortestRun + 1)));
}

// How many bytes from `at` on repeat those `distance` before them, at most `most`.
inline std::size_t matchLength(const std::uint8_t* at, std::size_t distance, std::size_t most) {
    std::size_t length = 0;
    for (; length + 8 <= most; length += 8) {
        const std::uint64_t difference = load64(at + length) ^ load64(at + length - distance);
        if (difference)
            return length + static_cast<std::size_t>(std::countr_zero(difference) / 8);
    }
    while (length < most && at[length] == at[length - distance])
        ++length;
    return length;
}

// Code lengths of at most `limit` bits for `counts`: Huffman's (built in place over the counts
// sorted, after Moffat and Katajainen), then the deepest pairs lifted until none is too deep. At
// least two symbols get a code, since a decoder wants complete codes.
void buildLengths(const std::uint32_t* counts, int symbols, int limit, std::uint8_t* lengths) {
    int order[literalLengthSymbols];
    int used = 0;
    for (int s = 0; s < symbols; ++s) {
        lengths[s] = 0;
        if (counts[s])
            order[used++] = s;
    }
    if (used < 2) {
        const int first = used ? order[0] : 0;
        lengths[first] = 1;
        lengths[first == 0 ? 1 : 0] = 1;
        return;
    }
    std::sort(order, order + used, [counts](int a, int b) {
        return counts[a] != counts[b] ? counts[a] < counts[b] : a < b;
    });
    std::uint32_t tree[literalLengthSymbols];
    for (int i = 0; i < used; ++i)
        tree[i] = counts[order[i]];

    // Parents, left to right: the next two lightest of the leaves and the nodes built so far.
    tree[0] += tree[1];
    int root = 0;
    int leaf = 2;
    for (int next = 1; next < used - 1; ++next) {
        for (int pick = 0; pick < 2; ++pick) {
            std::uint32_t weight;
            if (leaf >= used || (root < next && tree[root] < tree[leaf])) {
                weight = tree[root];
                tree[root++] = static_cast<std::uint32_t>(next);
            } else {
                weight = tree[leaf++];
            }
            tree[next] = pick ? tree[next] + weight : weight;
        }
    }
    // Depths of the inner nodes, right to left, then of the leaves.
    tree[used - 2] = 0;
    for (int next = used - 3; next >= 0; --next)
        tree[next] = tree[tree[next]] + 1;
    int perLength[literalLengthSymbols + 1] = {};
    root = used - 2;
    for (int available = 1, depth = 0; available > 0; ++depth) {
        int inner = 0;
        for (; root >= 0 && tree[root] == static_cast<std::uint32_t>(depth); --root)
            ++inner;
        perLength[depth] = available - inner;
        available = 2 * inner;
    }
    // Two leaves of the deepest level go: one to their parent's place, the other under a leaf
    // higher up that becomes an inner node. The code stays complete.
    for (int length = used; length > limit; --length) {
        while (perLength[length] > 0) {
            int higher = length - 2;
            while (perLength[higher] == 0)
                --higher;
            perLength[length] -= 2;
            perLength[length - 1] += 1;
            perLength[higher + 1] += 2;
            perLength[higher] -= 1;
        }
    }
    // The most frequent symbols get the shortest codes.
    int next = used - 1;
    for (int length = 1; length <= limit; ++length)
        for (int k = 0; k < perLength[length]; ++k)
            lengths[order[next--]] = static_cast<std::uint8_t>(length);
}

// The canonical codes for `lengths`, bit-reversed since deflate sends codes from their top bit
// into a stream filled from the bottom.
void buildCodes(const std::uint8_t* lengths, int symbols, std::uint16_t* codes) {
    int perLength[16] = {};
    for (int s = 0; s < symbols; ++s)
        ++perLength[lengths[s]];
    perLength[0] = 0;
    int next[16] = {};
    int code = 0;
    for (int length = 1; length < 16; ++length) {
        code = (code + perLength[length - 1]) << 1;
        next[length] = code;
    }
    for (int s = 0; s < symbols; ++s) {
        const int length = lengths[s];
        if (!length)
            continue;
        const int forward = next[length]++;
        int reversed = 0;
        for (int bit = 0; bit < length; ++bit)
            reversed |= ((forward >> bit) & 1) << (length - 1 - bit);
        codes[s] = static_cast<std::uint16_t>(reversed);
    }
}

// Bits into bytes through a 64-bit buffer. `put` does not check for room: after `flush` fewer
// than 8 bits wait, so up to 56 bits may be put before the next flush. Every flush writes 8 bytes,
// so the output needs that much room past its end.
struct BitWriter {
    std::uint8_t* out;
    std::uint64_t bits = 0;
    unsigned count = 0;

    void put(std::uint64_t value, unsigned width) {
        bits |= value << count;
        count += width;
    }
    void flush() {
        std::memcpy(out, &bits, sizeof bits);
        const unsigned bytes = count / 8;
        out += bytes;
        bits >>= bytes * 8; // at most 56: fewer than 64 bits wait
        count &= 7;
    }
    void alignToByte() {
        flush();
        if (count)
            ++out;
        bits = 0;
        count = 0;
    }
};

void writeStored(BitWriter& writer, const std::uint8_t* data, std::size_t bytes, bool last) {
    do {
        const std::size_t piece = std::min(bytes, storedMost);
        writer.put(last && piece == bytes ? 1 : 0, 3);
        writer.alignToByte();
        const std::uint16_t length = static_cast<std::uint16_t>(piece);
        const std::uint16_t complement = static_cast<std::uint16_t>(~length);
        const std::uint8_t header[4] = {
            static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
            static_cast<std::uint8_t>(complement), static_cast<std::uint8_t>(complement >> 8)};
        std::memcpy(writer.out, header, 4);
        if (piece)
            std::memcpy(writer.out + 4, data, piece);
        writer.out += 4 + piece;
        data += piece;
        bytes -= piece;
    } while (bytes > 0);
}

// The code lengths of both tables as a header sends them: runs of zeros (17, 18) and repeats of
// the length before (16) shortened, each with its extra bits.
struct CodeLengthRuns {
    struct Item {
        std::uint8_t symbol;
        std::uint8_t extra;
    };
    Item items[literalLengthSymbols + distanceSymbols] = {};
    int size = 0;
    std::uint32_t counts[codeLengthSymbols] = {};

    void add(int symbol, int extra = 0) {
        items[size++] = {static_cast<std::uint8_t>(symbol), static_cast<std::uint8_t>(extra)};
        ++counts[symbol];
    }

    void build(const std::uint8_t* lengths, int total) {
        for (int i = 0; i < total;) {
            const std::uint8_t value = lengths[i];
            int run = 1;
            while (i + run < total && lengths[i + run] == value)
                ++run;
            i += run;
            if (value == 0) {
                for (; run >= 11; run -= std::min(run, 138))
                    add(18, std::min(run, 138) - 11);
                if (run >= 3) {
                    add(17, run - 3);
                    run = 0;
                }
            } else {
                add(value);
                for (--run; run >= 3; run -= std::min(run, 6))
                    add(16, std::min(run, 6) - 3);
            }
            for (; run > 0; --run)
                add(value);
        }
    }
};

constexpr std::uint8_t codeLengthExtraBits[codeLengthSymbols] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                                 0, 0, 0, 0, 0, 0, 2, 3, 7};

// One block's Huffman tables, the header that sends them, and what the block costs in bits.
class DynamicBlock {
public:
    explicit DynamicBlock(const RunDeflate::Block& block) {
        buildLengths(block.literalLengthCounts.data(), literalLengthSymbols, 15, lengths.data());
        buildLengths(block.distanceCounts.data(), distanceSymbols, 15,
                     lengths.data() + literalLengthSymbols);
        literalLengths = literalLengthSymbols;
        while (lengths[literalLengths - 1] == 0)
            --literalLengths;
        distanceLengths = distanceSymbols;
        while (lengths[literalLengthSymbols + distanceLengths - 1] == 0)
            --distanceLengths;
        // The header sends both tables as one sequence of lengths.
        std::uint8_t sent[literalLengthSymbols + distanceSymbols];
        std::copy_n(lengths.data(), literalLengths, sent);
        std::copy_n(lengths.data() + literalLengthSymbols, distanceLengths, sent + literalLengths);
        runs.build(sent, literalLengths + distanceLengths);
        buildLengths(runs.counts, codeLengthSymbols, 7, codeLengthLengths);
        buildCodes(codeLengthLengths, codeLengthSymbols, codeLengthCodes);
        codeLengthsSent = codeLengthSymbols;
        while (codeLengthsSent > 4 && codeLengthLengths[codeLengthOrder[codeLengthsSent - 1]] == 0)
            --codeLengthsSent;
        buildCodes(lengths.data(), literalLengthSymbols, literalCodes);
        buildCodes(lengths.data() + literalLengthSymbols, distanceSymbols, distanceCodes);

        bits = 3 + 5 + 5 + 4 + 3 * static_cast<std::uint64_t>(codeLengthsSent);
        for (int s = 0; s < codeLengthSymbols; ++s)
            bits += runs.counts[s] * std::uint64_t(codeLengthLengths[s] + codeLengthExtraBits[s]);
        for (int s = 0; s < literalLengthSymbols; ++s) {
            const int extra = s > endOfBlock ? lengthCodes.symbolExtraBits[s - 257] : 0;
            bits += block.literalLengthCounts[s] * std::uint64_t(lengths[s] + extra);
        }
        for (int s = 0; s < distanceSymbols; ++s)
            bits += block.distanceCounts[s] * std::uint64_t(lengths[literalLengthSymbols + s]);
    }

    std::uint64_t size() const { return bits; }

    void writeHeader(BitWriter& writer, bool last) const {
        writer.put(last ? 1 : 0, 1);
        writer.put(2, 2);
        writer.put(static_cast<unsigned>(literalLengths - 257), 5);
        writer.put(static_cast<unsigned>(distanceLengths - 1), 5);
        writer.put(static_cast<unsigned>(codeLengthsSent - 4), 4);
        writer.flush();
        for (int k = 0; k < codeLengthsSent; ++k) {
            writer.put(codeLengthLengths[codeLengthOrder[k]], 3);
            writer.flush();
        }
        for (int k = 0; k < runs.size; ++k) {
            const CodeLengthRuns::Item item = runs.items[k];
            writer.put(codeLengthCodes[item.symbol], codeLengthLengths[item.symbol]);
            writer.put(item.extra, codeLengthExtraBits[item.symbol]);
            writer.flush();
        }
    }

    // A literal's code and its length in bits.
    std::uint16_t literalCode(std::uint8_t byte) const { return literalCodes[byte]; }
    std::uint8_t literalLength(std::uint8_t byte) const { return lengths[byte]; }
    std::uint16_t endCode() const { return literalCodes[endOfBlock]; }
    std::uint8_t endLength() const { return lengths[endOfBlock]; }

    // A whole match as one field of at most 35 bits: length symbol, its extra bits, distance.
    void matchCode(int length, int distance, std::uint64_t& code, unsigned& width) const {
        const int symbol = 257 + lengthCodes.symbol[length];
        const int distanceAt = literalLengthSymbols + distanceSymbol(distance);
        code = literalCodes[symbol];
        width = lengths[symbol];
        code |= std::uint64_t{lengthCodes.extraValue[length]} << width;
        width += lengthCodes.extraBits[length];
        code |= std::uint64_t{distanceCodes[distanceSymbol(distance)]} << width;
        width += lengths[distanceAt];
    }

private:
    // Literal/length lengths, then distance lengths.
    std::array<std::uint8_t, literalLengthSymbols + distanceSymbols> lengths{};
    int literalLengths = 0;
    int distanceLengths = 0;
    std::uint16_t literalCodes[literalLengthSymbols] = {};
    std::uint16_t distanceCodes[distanceSymbols] = {};
    CodeLengthRuns runs;
    std::uint8_t codeLengthLengths[codeLengthSymbols] = {};
    std::uint16_t codeLengthCodes[codeLengthSymbols] = {};
    int codeLengthsSent = 0;
    std::uint64_t bits = 0;
};

// Every match of the block, looked up once per length and distance rather than per match.
struct MatchTable {
    std::uint64_t code[2][longestMatch + 1];
    std::uint8_t width[2][longestMatch + 1];

    explicit MatchTable(const DynamicBlock& block) {
        for (int which = 0; which < 2; ++which) {
            for (int length = 3; length <= static_cast<int>(longestMatch); ++length) {
                unsigned bits;
                block.matchCode(length, which ? 3 : 1, code[which][length], bits);
                width[which][length] = static_cast<std::uint8_t>(bits);
            }
        }
    }
};

// All ones when `index` is below `count`, else zero, without a branch.
std::uint32_t allBefore(std::size_t index, std::size_t count) {
    return static_cast<std::uint32_t>(0 - ((index - count) >> 63));
}

void writeDynamic(BitWriter& writer, const DynamicBlock& table,
                  std::span<const RunDeflate::Sequence> sequences, const std::uint8_t* data,
                  bool last) {
    table.writeHeader(writer, last);
    const MatchTable matches(table);
    // Each literal's code with its width above, one load a literal.
    std::uint32_t literals[256];
    for (int byte = 0; byte < 256; ++byte) {
        literals[byte] = table.literalCode(static_cast<std::uint8_t>(byte)) |
                         std::uint32_t{table.literalLength(static_cast<std::uint8_t>(byte))} << 16;
    }
    for (const RunDeflate::Sequence& sequence : sequences) {
        // Three literals of at most 15 bits fit between flushes. The last three may run past
        // the literals: those put nothing, so that the loop's end is the only guess.
        const std::size_t count = sequence.literals;
        for (std::size_t i = 0; i < count; i += 3) {
            const std::size_t last = count - 1;
            const std::uint32_t second =
                literals[data[std::min(i + 1, last)]] & allBefore(i + 1, count);
            const std::uint32_t third =
                literals[data[std::min(i + 2, last)]] & allBefore(i + 2, count);
            writer.put(literals[data[i]] & 0xFFFF, literals[data[i]] >> 16);
            writer.put(second & 0xFFFF, second >> 16);
            writer.put(third & 0xFFFF, third >> 16);
            writer.flush();
        }
        data += count;
        if (sequence.length) {
            const int which = sequence.distance == 3 ? 1 : 0;
            writer.put(matches.code[which][sequence.length], matches.width[which][sequence.length]);
            writer.flush();
            data += sequence.length;
        }
    }
    writer.put(table.endCode(), table.endLength());
    writer.flush();
}

// Splits the input into sequences of literals and a run each, and into blocks of about
// `blockSymbols` symbols, counting each block's symbols as it goes. Runs are looked for a window
// of `Width` bytes at a time, marked by `Mark`.
template <std::size_t Width, RunMarks (*Mark)(const std::uint8_t*)>
class Tokeniser {
public:
    Tokeniser(std::span<const std::uint8_t> input, RunDeflate::Sequence* sequences,
              std::vector<RunDeflate::Block>& blocks)
        : in(input.data()), size(input.size()), sequence(sequences), blocks(blocks) {
        openBlock();
    }

    // Past the last sequence.
    RunDeflate::Sequence* run() {
        // The first bytes have too little before them for the search a window at a time.
        while (at < std::min<std::size_t>(size, 3))
            step();
        while (at + Width <= size) {
            const RunMarks marks = Mark(in + at);
            const std::uint64_t starts =
                runStarts(marks.byte, Width) | runStarts(marks.pixel, Width);
            const std::size_t start =
                starts ? static_cast<std::size_t>(std::countr_zero(starts)) : windowStep;
            // A block ends at the same byte whatever the window: the stream is the same.
            const std::size_t room = RunDeflate::blockSymbols - symbols - (at - literalsFrom);
            if (start >= room) {
                countLiterals(room);
                endSequence(0, 1);
                continue;
            }
            countLiterals(start);
            if (!starts)
                continue;
            // The longer run, the byte's if they are as long: the marks tell, and only one
            // that runs through the window needs more.
            const std::size_t byte = std::countr_one(marks.byte >> start);
            const std::size_t pixel = std::countr_one(marks.pixel >> start);
            const std::size_t distance = pixel > byte ? 3 : 1;
            std::size_t length = std::max(byte, pixel);
            if (start + length >= Width)
                length = matchLength(in + at, distance, std::min(longestMatch, size - at));
            endSequence(length, distance);
        }
        while (at < size)
            step();
        if (at > literalsFrom)
            endSequence(0, 1);
        if (blocks.size() > 1 && blocks.back().first == sequenceIndex())
            blocks.pop_back();
        else
            closeBlock();
        return sequence;
    }

private:
    // Positions a window with no run in it moves on by.
    static constexpr std::size_t windowStep = Width - shortestRun + 1;

    std::size_t sequenceIndex() const { return static_cast<std::size_t>(sequence - first); }

    void openBlock() {
        blocks.emplace_back();
        blocks.back().first = sequenceIndex();
        blocks.back().literalLengthCounts[endOfBlock] = 1;
        blockFrom = at;
        symbols = 0;
    }

    void closeBlock() {
        RunDeflate::Block& block = blocks.back();
        block.bytes = at - blockFrom;
        std::copy_n(literalCounts.begin(), 256, block.literalLengthCounts.begin());
        literalCounts.fill(0);
    }

    // One position with no search ahead: a run, or a literal.
    void step() {
        const std::size_t most = std::min(longestMatch, size - at);
        const std::size_t byte = at >= 1 ? matchLength(in + at, 1, most) : 0;
        const std::size_t pixel = at >= 3 ? matchLength(in + at, 3, most) : 0;
        if (std::max(byte, pixel) >= shortestRun) {
            endSequence(std::max(byte, pixel), pixel > byte ? 3 : 1);
            return;
        }
        ++literalCounts[in[at++]];
        if (symbols + (at - literalsFrom) >= RunDeflate::blockSymbols)
            endSequence(0, 1);
    }

    // The next `count` bytes as literals.
    void countLiterals(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            ++literalCounts[in[at + i]];
        at += count;
    }

    // The literals before `at`, then a run there (none if `length` is 0).
    void endSequence(std::size_t length, std::size_t distance) {
        RunDeflate::Block& block = blocks.back();
        symbols += at - literalsFrom;
        if (length) {
            ++block.literalLengthCounts[257 + lengthCodes.symbol[length]];
            ++block.distanceCounts[distanceSymbol(static_cast<int>(distance))];
            ++symbols;
        }
        *sequence++ = {static_cast<std::uint32_t>(at - literalsFrom),
                       static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance)};
        at += length;
        literalsFrom = at;
        if (symbols >= RunDeflate::blockSymbols) {
            closeBlock();
            openBlock();
        }
    }

    const std::uint8_t* in;
    std::size_t size;
    RunDeflate::Sequence* sequence;
    RunDeflate::Sequence* const first = sequence;
    std::vector<RunDeflate::Block>& blocks;
    std::size_t at = 0;
    std::size_t literalsFrom = 0;
    std::size_t blockFrom = 0;
    // Literals and runs in the block so far.
    std::size_t symbols = 0;
    // The block's literals.
    std::array<std::uint32_t, 256> literalCounts{};
};

} // namespace

RunDeflate::Sequence* RunDeflate::tokeniseWith(std::span<const std::uint8_t> input) {
    switch (markWidth) {
#ifdef REELPLAY_VECTOR_RUN_MARKS
    case 64: return Tokeniser<64, markRuns64>(input, sequences.data(), blocks).run();
    case 32: return Tokeniser<32, markRuns32>(input, sequences.data(), blocks).run();
    case 16: return Tokeniser<16, markRuns16>(input, sequences.data(), blocks).run();
#endif
    default: return Tokeniser<8, markRuns8>(input, sequences.data(), blocks).run();
    }
}

RunDeflate::RunDeflate(std::size_t markWidth) : markWidth(markWidth) {}

void RunDeflate::tokenise(std::span<const std::uint8_t> input) {
    // Every sequence but a block's last holds a match of three bytes or more.
    const std::size_t mostSequences = input.size() / 3 + input.size() / blockSymbols + 2;
    if (sequences.size() < mostSequences)
        sequences.resize(mostSequences);
    blocks.clear();
    sequenceCount = static_cast<std::size_t>(tokeniseWith(input) - sequences.data());
}

std::span<const std::uint8_t> RunDeflate::compress(std::span<const std::uint8_t> input) {
    tokenise(input);
    // Each block is written stored when that is smaller, so a stored copy bounds the stream.
    const std::size_t storedPieces = input.size() / storedMost + blocks.size() + 1;
    const std::size_t bound = 2 + input.size() + 6 * storedPieces + 4 + 16;
    if (stream.size() < bound)
        stream.resize(bound);

    // Deflate with a 32 KiB window, the fastest of its levels; the check makes it a multiple of 31.
    stream[0] = 0x78;
    stream[1] = 0x01;
    BitWriter writer{stream.data() + 2};
    const std::uint8_t* data = input.data();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        const bool last = b + 1 == blocks.size();
        const std::size_t end = last ? sequenceCount : blocks[b + 1].first;
        const DynamicBlock table(block);
        const std::size_t pieces =
            std::max<std::size_t>(1, (block.bytes + storedMost - 1) / storedMost);
        if (table.size() <= (block.bytes + 5 * pieces) * 8) {
            writeDynamic(writer, table,
                         std::span(sequences).subspan(block.first, end - block.first), data, last);
        } else {
            writeStored(writer, data, block.bytes, last);
        }
        data += block.bytes;
    }
    writer.alignToByte();
    const std::uint32_t check = libdeflate_adler32(1, input.data(), input.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        *writer.out++ = static_cast<std::uint8_t>(check >> shift);
    return {stream.data(), static_cast<std::size_t>(writer.out - stream.data())};
}
