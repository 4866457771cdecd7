// A picture from file to texture (decode, convert, upload) against the bare decode of the same
// file into RGB, and the conversion alone.

#include "DemoSystem.h"
#include "Dialogs.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "TextureConversion.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <cstdlib>
#include <turbojpeg.h>

#include <benchmark/benchmark.h>

namespace {

// Smooth shapes with some fine detail, so that the file compresses like a picture.
RgbImage photoLike(int side) {
    RgbImage image = gradientImage(side, side);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3)
        image.pixels[i + 2] = static_cast<std::uint8_t>((i * 2654435761u >> 13) & 63);
    return image;
}

struct PictureFile {
    TempFolder folder;
    std::vector<std::uint8_t> bytes;

    explicit PictureFile(int side) : bytes(encodeJpeg(photoLike(side), JpegStyle::Baseline, 90)) {
        folder.write("picture.jpg", std::string(bytes.begin(), bytes.end()));
    }
};

void PlainDecode(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    PictureFile file(side);
    std::vector<std::uint8_t> rgb(std::size_t(side) * side * 3);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        tjDecompress2(handle, file.bytes.data(), file.bytes.size(), rgb.data(), side, 0, side,
                      TJPF_RGB, 0);
        benchmark::DoNotOptimize(rgb.data());
    }
    tjDestroy(handle);
}
BENCHMARK(PlainDecode)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

void GetTexture(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const int side = static_cast<int>(state.range(0));
    PictureFile file(side);
    DemoSystem demo;
    if (!demo.createWindow(false, Dialogs::system())) {
        state.SkipWithError("no GL window");
        return;
    }
    TextureManager* manager = TextureManager::instance();
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager->getTexture("picture.jpg"));
        glFinish();
        state.PauseTiming();
        manager->releaseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(GetTexture)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

void ColourKeyConversion(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const RgbImage image = photoLike(side);
    std::vector<std::uint8_t> pixels(std::size_t(side) * side * 4);
    for (std::size_t i = 0, j = 0; i < image.pixels.size(); i += 3, j += 4)
        std::copy(&image.pixels[i], &image.pixels[i] + 3, &pixels[j]);
    for (auto _ : state) {
        colourKeyToRgba(pixels);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(ColourKeyConversion)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
