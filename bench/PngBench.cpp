// What writing a frame as PNG costs with each way of deflating it, and how large the files get:
//
//   build/bin/png_bench [--benchmark_filter=640x480]
//
// The frames are twenty of the bundled demo's first 20 s (one a second, drawn at 10 frames/s of
// demo time), at 640 x 480 and at 1280 x 960; each iteration encodes all twenty into memory on
// one thread, as reelrender's frame writer does. `bytes_per_frame` is the mean file size;
// compare the times with ZlibFastest/Up, what reelrender wrote before libdeflate, and with
// Libdeflate1/Up, what it wrote before RunDeflate.
//
// ZlibFastest, ZlibRle, ZlibHuffman: libpng with zlib at level 1, with its run-length strategy
// (matches one byte back only), or with Huffman coding alone. Libdeflate<level>: PngEncoder with
// libdeflate. Runs: PngEncoder with RunDeflate, what reelrender writes frames with, looking for
// runs in the widest window this processor has; Runs8, Runs16, Runs32: in narrower ones, as
// processors without the wider vectors do. After the slash: the row filter, the same for every
// row.

#include "OfflineDemo.h"
#include "PngEncoder.h"
#include "TempFolder.h"

#include <csetjmp>
#include <filesystem>
#include <png.h>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

#include <benchmark/benchmark.h>

namespace {

struct Size {
    int width;
    int height;
};

const std::vector<Image>& demoFrames(Size size) {
    static std::vector<std::vector<Image>> kept(2);
    std::vector<Image>& frames = kept[size.width == 640 ? 0 : 1];
    if (!frames.empty())
        return frames;
    TempFolder folder;
    std::filesystem::current_path(BUNDLED_DEMO_FOLDER);
    constexpr int fps = 10;
    OfflineDemo demo(ClockMode::Music, fps, size.width, size.height);
    demo.load("demoscript.scr");
    while (frames.size() < 20) {
        demo.drawFrame();
        if ((demo.framesDrawn() - 1) % fps == 0)
            frames.push_back(demo.readPixels());
    }
    std::filesystem::current_path(folder.path());
    return frames;
}

void appendToVector(png_structp png, png_bytep data, std::size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng with zlib's fastest level and `strategy`, into memory.
std::size_t encodeWithZlib(const Image& picture, int strategy, int filter,
                           std::vector<std::uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed");
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, strategy);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, filter);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, const_cast<png_bytep>(picture.row(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out.size();
}

void zlib(benchmark::State& state, Size size, int strategy, int filter) {
    const std::vector<Image>& frames = demoFrames(size);
    std::vector<std::uint8_t> out;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const Image& frame : frames)
            bytes += encodeWithZlib(frame, strategy, filter, out);
    }
    state.counters["bytes_per_frame"] = static_cast<double>(bytes) / frames.size();
}

void pngEncoder(benchmark::State& state, Size size, PngPacking packing) {
    const std::vector<Image>& frames = demoFrames(size);
    PngEncoder encoder(packing);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const Image& frame : frames)
            bytes += encoder.encode(frame).size();
    }
    state.counters["bytes_per_frame"] = static_cast<double>(bytes) / frames.size();
}

const bool registered = [] {
    const std::pair<const char*, Size> sizes[] = {{"640x480", {640, 480}},
                                                  {"1280x960", {1280, 960}}};
    const std::pair<const char*, int> strategies[] = {
        {"ZlibFastest", Z_DEFAULT_STRATEGY}, {"ZlibRle", Z_RLE}, {"ZlibHuffman", Z_HUFFMAN_ONLY}};
    const std::pair<const char*, int> zlibFilters[] = {
        {"None", PNG_FILTER_NONE}, {"Sub", PNG_FILTER_SUB}, {"Up", PNG_FILTER_UP}};
    const std::pair<const char*, PngFilter> filters[] = {
        {"None", PngFilter::None}, {"Sub", PngFilter::Sub}, {"Up", PngFilter::Up}};
    for (const auto& [sizeName, size] : sizes) {
        for (const auto& [strategyName, strategy] : strategies) {
            for (const auto& [filterName, filter] : zlibFilters) {
                benchmark::RegisterBenchmark(
                    (std::string(sizeName) + "/" + strategyName + "/" + filterName).c_str(), zlib,
                    size, strategy, filter)
                    ->Unit(benchmark::kMillisecond);
            }
        }
        for (int level : {1, 2, 4, 6}) {
            for (const auto& [filterName, filter] : filters) {
                benchmark::RegisterBenchmark((std::string(sizeName) + "/Libdeflate" +
                                              std::to_string(level) + "/" + filterName)
                                                 .c_str(),
                                             pngEncoder, size,
                                             PngPacking{filter, PngDeflater::Libdeflate, level})
                    ->Unit(benchmark::kMillisecond);
            }
        }
        for (const auto& [filterName, filter] : filters) {
            benchmark::RegisterBenchmark((std::string(sizeName) + "/Runs/" + filterName).c_str(),
                                         pngEncoder, size, PngPacking{filter, PngDeflater::Runs})
                ->Unit(benchmark::kMillisecond);
        }
        for (std::size_t window = 8; window < fastestRunMarks(); window *= 2) {
            benchmark::RegisterBenchmark(
                (std::string(sizeName) + "/Runs" + std::to_string(window) + "/Up").c_str(),
                pngEncoder, size, PngPacking{PngFilter::Up, PngDeflater::Runs, 1, window})
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
