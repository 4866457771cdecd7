// What offline rendering costs per frame, on a demo of the effects built so far (the fader
// restarted on every beat, the sound player):
//
//   build/bin/render_bench
//
// DrawOnly: the frames drawn, waiting for GL to finish each, nothing read back.
// DrawAndReadBack: the same with each frame read back as reelrender reads it.
// DrawReadBackAndWritePng: the same with each frame written as PNG, as reelrender writes it.
// `frames_per_second` is the rate of each in wall-clock time (GL draws on threads of its own).
//
// Alone/<effect>: one frame of that effect drawn alone, after two seconds of warming up (so
// particle streams have flown into view), GL finished each frame. Compare with Alone/Fader, a
// steady full-screen layer, measured in the same run.

#include "OfflineDemo.h"
#include "PngFile.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <GL/gl.h>
#include <cstdio>

#include <benchmark/benchmark.h>

namespace {

const std::string benchDemo =
    recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "1000") +
    effectRecord("fade", "Fader", 10, "0", "0", "1000") +
    triggerRecord("beat", "Fader", "Beat", true, "0", "1000", "0.5", "0.9 0 -0.02 1 0.6 0.2");

enum class Work { Draw, ReadBack, WritePng };

void render(benchmark::State& state, Work work) {
    TempFolder folder;
    folder.write("demoscript.scr", benchDemo);
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    for (auto _ : state) {
        demo.drawFrame();
        if (work == Work::Draw) {
            glFinish();
            continue;
        }
        const Picture picture = demo.readPixels();
        benchmark::DoNotOptimize(picture.rgb.data());
        if (work == Work::WritePng) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06ld.png", demo.framesDrawn());
            writePng(name, picture);
        }
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A demo of one effect record on layer 1 (and the triggers given), with every picture it might
// load written first.
void drawAlone(benchmark::State& state, const std::string& records) {
    TempFolder folder;
    const std::vector<std::uint8_t> jpeg = encodeJpeg(gradientImage(64, 64));
    for (const char* name :
         {"picture.jpg", "source/data/pics/light.jpg", "border1.jpg", "circle.jpg"})
        folder.write(name, std::string(jpeg.begin(), jpeg.end()));
    folder.write("demoscript.scr", recordTypes + records);
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    for (int warmUp = 0; warmUp < 120; ++warmUp)
        demo.drawFrame();
    glFinish();
    for (auto _ : state) {
        demo.drawFrame();
        glFinish();
    }
}

std::string alone(const std::string& effect, const std::string& parameters = "") {
    return effectRecord("alone", effect, 1, "0", "0", "100000", "", parameters);
}

} // namespace

BENCHMARK_CAPTURE(drawAlone, Fader,
                  alone("Fader") + triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0",
                                                 "1 0 0 0.2 0.4 0.6"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, ParticlesStreaks, alone("Particles", "1"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, ParticlesSprites, alone("Particles", "2"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, ParticlesBurst, alone("Particles", "3"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, Border, alone("Border"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, BorderImage, alone("BorderImage1"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, Circles, alone("Circles"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_CAPTURE(render, DrawOnly, Work::Draw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(render, DrawAndReadBack, Work::ReadBack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(render, DrawReadBackAndWritePng, Work::WritePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
