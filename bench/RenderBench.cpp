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
// DrawAlone/<effect>: one effect alone on the timeline, each frame drawn and waited for; the
// Fader's full-view layer is the baseline the others are compared with.

#include "DemoPictures.h"
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

// A fade that never reaches its target: a full-view layer every frame.
const std::string faderAlone =
    effectRecord("fade", "Fader", 1, "0", "0", "1000") +
    triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0", "1 0 0 0.5 0.5 0.5");

std::string genObjectAlone(const std::string& kind) {
    return effectRecord("shape", "GenObject", 1, "0", "0", "1000", "", kind);
}

// The generated objects' own default picture, as the bundled demo's pictures draw it.
void writeGreyTexture() {
    for (const DemoPicture& picture : drawDemoPictures()) {
        std::string error;
        if (picture.path == "greytexture.jpg" && !picture.canvas.saveJpeg(picture.path, 95, error))
            std::fprintf(stderr, "render_bench: %s\n", error.c_str());
    }
}

void drawAlone(benchmark::State& state, const std::string& records) {
    TempFolder folder;
    folder.write("demoscript.scr", recordTypes + records);
    writeGreyTexture();
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    // The first frame loads the picture and builds the geometry.
    demo.drawFrame();
    for (auto _ : state) {
        demo.drawFrame();
        glFinish();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(drawAlone, Fader, faderAlone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectCurveTube, genObjectAlone("1"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectTentacleBundle, genObjectAlone("2"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectSplineTube, genObjectAlone("3"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectWobbleSphere, genObjectAlone("4"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectGlowBundle, genObjectAlone("5"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, GenObjectBlobCube, genObjectAlone("0"))
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
