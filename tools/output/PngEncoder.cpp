#include "PngEncoder.h"

#include "OutputFile.h"
#include "RunDeflate.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <libdeflate.h>
#include <stdexcept>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

struct PngEncoder::Compressor {
    explicit Compressor(std::size_t runWindow) : runs(runWindow) {}
    RunDeflate runs;
    libdeflate_compressor* state = nullptr;
    ~Compressor() { libdeflate_free_compressor(state); }
};

namespace {

constexpr std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// `bytes` of `from` less `less`, byte by byte: sixteen at a time where SSE2 is there, else eight
// in a word with no borrow crossing from one byte to the next. The compiler leaves the plain loop
// a byte at a time, which took about a sixth of a frame's encoding.
void subtract(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* less, int bytes) {
    int i = 0;
#ifdef __SSE2__
    for (; i + 16 <= bytes; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(less + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_sub_epi8(a, b));
    }
#endif
    constexpr std::uint64_t high = 0x8080808080808080ULL;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, from + i, 8);
        std::memcpy(&b, less + i, 8);
        const std::uint64_t difference = ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high);
        std::memcpy(out + i, &difference, 8);
    }
    for (; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(from[i] - less[i]);
}

// One row, red first, with `filter` applied against the row above (null for the first).
void filterRow(std::uint8_t* out, const std::uint8_t* row, const std::uint8_t* above, int bytes,
               PngFilter filter) {
    if (filter == PngFilter::Up && above) {
        subtract(out, row, above, bytes);
    } else if (filter == PngFilter::Sub) {
        std::memcpy(out, row, std::min(bytes, 3));
        if (bytes > 3)
            subtract(out + 3, row + 3, row, bytes - 3);
    } else {
        std::memcpy(out, row, static_cast<std::size_t>(bytes));
    }
}

// A row of the picture red first: as it lies, or turned round into `scratch`.
const std::uint8_t* redFirst(const Image& picture, int y, std::vector<std::uint8_t>& scratch) {
    const std::uint8_t* row = picture.row(y);
    if (picture.order == PixelOrder::Rgb)
        return row;
    scratch.resize(static_cast<std::size_t>(picture.width) * 3);
    for (std::size_t i = 0; i < scratch.size(); i += 3) {
        scratch[i] = row[i + 2];
        scratch[i + 1] = row[i + 1];
        scratch[i + 2] = row[i];
    }
    return scratch.data();
}

} // namespace

PngEncoder::PngEncoder(PngPacking packing)
    : packing(packing), compressor(std::make_unique<Compressor>(packing.runWindow)) {
    if (packing.deflater == PngDeflater::Runs)
        return;
    compressor->state = libdeflate_alloc_compressor(packing.level);
    if (!compressor->state)
        throw std::runtime_error("cannot set up the PNG compressor");
}

PngEncoder::~PngEncoder() = default;

void PngEncoder::filterRows(const Image& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3 + 1;
    filtered.resize(rowBytes * static_cast<std::size_t>(picture.height));
    const std::uint8_t* above = nullptr;
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* out = filtered.data() + rowBytes * static_cast<std::size_t>(y);
        const std::uint8_t* row = redFirst(picture, y, turned[y % 2]);
        out[0] = static_cast<std::uint8_t>(packing.filter);
        filterRow(out + 1, row, above, picture.width * 3, packing.filter);
        above = row;
    }
}

std::span<const std::uint8_t> PngEncoder::deflate() {
    if (packing.deflater == PngDeflater::Runs)
        return compressor->runs.compress(filtered);
    deflated.resize(libdeflate_zlib_compress_bound(compressor->state, filtered.size()));
    const std::size_t packed = libdeflate_zlib_compress(
        compressor->state, filtered.data(), filtered.size(), deflated.data(), deflated.size());
    if (packed == 0)
        throw std::runtime_error("cannot compress a PNG picture");
    return {deflated.data(), packed};
}

void PngEncoder::addChunk(const char type[4], const std::uint8_t* data, std::size_t size) {
    appendBigEndian(file, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data, data + size);
    appendBigEndian(
        file, static_cast<std::uint32_t>(libdeflate_crc32(0, file.data() + typeAt, size + 4)));
}

const std::vector<std::uint8_t>& PngEncoder::encode(const Image& picture) {
    if (picture.width <= 0 || picture.height <= 0)
        throw std::invalid_argument("a PNG needs at least one pixel");
    filterRows(picture);
    const std::span<const std::uint8_t> packed = deflate();

    // Width, height, 8 bits a channel, RGB, deflate, adaptive filtering, no interlace.
    std::vector<std::uint8_t> header;
    appendBigEndian(header, static_cast<std::uint32_t>(picture.width));
    appendBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});

    file.assign(signature.begin(), signature.end());
    addChunk("IHDR", header.data(), header.size());
    addChunk("IDAT", packed.data(), packed.size());
    addChunk("IEND", nullptr, 0);
    return file;
}

void PngEncoder::write(const std::filesystem::path& path, const Image& picture) {
    const std::vector<std::uint8_t>& bytes = encode(picture);
    OutputFile out(path);
    out.write(bytes.data(), bytes.size());
    out.commit();
}
