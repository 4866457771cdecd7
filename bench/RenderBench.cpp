// What offline rendering costs per frame, on a demo of the effects built so far (the fader
// restarted on every beat, the sound player):
//
//   build/bin/render_bench
//
// DrawOnly: the frames drawn, waiting for GL to finish each, nothing read back.
// DrawAndReadBack: the same with each frame read back as reelrender reads it.
// DrawReadBackAndWritePng: the same with each frame written as PNG, as reelrender writes it
// (compressed on a thread of its own while the next frame is drawn).
// BundledDemo/DrawOnly and BundledDemo/WriteEveryFrame: the first and the last over the bundled
// demo, from its start; writing every frame should cost at most 1.3 x drawing only.
// `frames_per_second` is the rate of each in wall-clock time (GL draws on threads of its own).

#include "FrameWriter.h"
#include "OfflineDemo.h"
#include "ScriptText.h"
#include "TempFolder.h"

#include <GL/gl.h>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>

#include <benchmark/benchmark.h>

namespace {

const std::string benchDemo =
    recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "1000") +
    effectRecord("fade", "Fader", 10, "0", "0", "1000") +
    triggerRecord("beat", "Fader", "Beat", true, "0", "1000", "0.5", "0.9 0 -0.02 1 0.6 0.2");

enum class Work { Draw, ReadBack, WritePng };

// Draws the demo of the working directory; frames go to `out`.
void renderHere(benchmark::State& state, Work work, const std::filesystem::path& out) {
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    std::optional<FrameWriter> writer;
    if (work == Work::WritePng)
        writer.emplace();
    for (auto _ : state) {
        demo.drawFrame();
        if (work == Work::Draw) {
            glFinish();
            continue;
        }
        Picture picture = demo.readPixels();
        benchmark::DoNotOptimize(picture.rgb.data());
        if (work == Work::WritePng) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06ld.png", demo.framesDrawn());
            writer->write(out / name, std::move(picture));
        }
    }
    if (writer)
        writer->finish();
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void render(benchmark::State& state, Work work) {
    TempFolder folder;
    folder.write("demoscript.scr", benchDemo);
    renderHere(state, work, folder.path());
}

// The demo is read from where the build made it; the frames go to a folder of their own.
void renderBundled(benchmark::State& state, Work work) {
    TempFolder folder;
    std::filesystem::current_path(BUNDLED_DEMO_FOLDER);
    renderHere(state, work, folder.path());
    std::filesystem::current_path(folder.path());
}

} // namespace

BENCHMARK_CAPTURE(render, DrawOnly, Work::Draw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(render, DrawAndReadBack, Work::ReadBack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(render, DrawReadBackAndWritePng, Work::WritePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Both over the same first ten seconds of the demo, whose scenes differ in cost.
BENCHMARK_CAPTURE(renderBundled, BundledDemo / DrawOnly, Work::Draw)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
BENCHMARK_CAPTURE(renderBundled, BundledDemo / WriteEveryFrame, Work::WritePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);

BENCHMARK_MAIN();
