#pragma once

#include "Image.h"
#include "RunMarks.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

// The PNG row filters the encoder offers: each row is stored as it is (None), as the difference
// from the pixel to its left (Sub) or from the row above (Up).
enum class PngFilter : std::uint8_t { None = 0, Sub = 1, Up = 2 };

// Who deflates the filtered rows: RunDeflate, which codes runs only, or libdeflate at a level (1
// fastest, 12 smallest), for comparison and for smaller files at higher levels.
enum class PngDeflater : std::uint8_t { Runs, Libdeflate };

// How a picture is packed: one filter for every row, and the deflater.
struct PngPacking {
    PngFilter filter = PngFilter::Up;
    PngDeflater deflater = PngDeflater::Runs;
    int level = 1; // libdeflate's
    // The bytes RunDeflate looks for runs in at once, the widest this processor has unless told.
    std::size_t runWindow = fastestRunMarks();
};

// Encodes whole pictures as RGB PNG files. By default the rows are filtered Up and deflated as
// runs (RunDeflate): rendered frames repeat mostly the row above, so the filtered rows are mostly
// runs of zeros, and a general deflater's search for other matches takes twice the time for no
// smaller files. That time shows in reelrender's wall time, since the renderer already keeps the
// cores busy. Frames come by the thousand: one encoder keeps its compressor and buffers
// from one picture to the next. Not for use by two threads at once.
class PngEncoder {
public:
    explicit PngEncoder(PngPacking packing = {});
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The whole file. The bytes stay valid until the next call.
    const std::vector<std::uint8_t>& encode(const Image& picture);
    // Written whole or not at all (OutputFile). Throws std::runtime_error.
    void write(const std::filesystem::path& path, const Image& picture);

private:
    void filterRows(const Image& picture);
    // The filtered rows as a zlib stream, valid until the next picture.
    std::span<const std::uint8_t> deflate();
    void addChunk(const char type[4], const std::uint8_t* data, std::size_t size);

    struct Compressor;
    PngPacking packing;
    std::unique_ptr<Compressor> compressor;
    // The rows, each after its filter byte, as deflate takes them.
    std::vector<std::uint8_t> filtered;
    // Blue-first rows turned red first: this one and the one above.
    std::vector<std::uint8_t> turned[2];
    std::vector<std::uint8_t> deflated;
    std::vector<std::uint8_t> file;
};
