// What offline rendering costs per frame, on a demo of the effects built so far (the fader
// restarted on every beat, the sound player):
//
//   build/bin/render_bench
//
// DrawOnly: the frames drawn, waiting for GL to finish each, nothing read back.
// DrawAndReadBack: the same with each frame read back as reelrender reads it.
// DrawReadBackAndWritePng: the same with each frame written as PNG, as reelrender writes it.
// `frames_per_second` is the rate of each in wall-clock time (GL draws on threads of its own).

#include "OfflineDemo.h"
#include "PngFile.h"
#include "ScriptText.h"
#include "TempFolder.h"

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

} // namespace

BENCHMARK_CAPTURE(render, DrawOnly, Work::Draw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(render, DrawAndReadBack, Work::ReadBack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(render, DrawReadBackAndWritePng, Work::WritePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
