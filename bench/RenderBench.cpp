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
// Alone/<effect>: one frame of that effect alone over the black frame, drawn and finished, with
// its picture generated; the Fader's steady full-screen layer is the baseline to compare with.
// Sphere/<how>: a depth-4 sphere (6144 vertices) sent on its own, so small on screen that
// filling costs nothing: sent vertex by vertex as the effects send it, or as one GL 1.1 vertex
// array, to show what immediate mode itself costs.

#include "OfflineDemo.h"
#include "PngFile.h"
#include "QuadDrawing.h"
#include "ScriptText.h"
#include "SphereBuilder.h"
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

void writeJpeg(TempFolder& folder, const std::string& name, const RgbImage& image) {
    const std::vector<std::uint8_t> bytes = encodeJpeg(image);
    folder.write(name, std::string(bytes.begin(), bytes.end()));
}

void drawAlone(benchmark::State& state, const std::string& records) {
    TempFolder folder;
    writeJpeg(folder, "picture.jpg", gradientImage(256, 256));
    // HalfSphere always shows its own.
    writeJpeg(folder, "temp/orang101.jpg", gradientImage(256, 256));
    folder.write("demoscript.scr", recordTypes + records);
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    for (auto _ : state) {
        demo.drawFrame();
        glFinish();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

std::string alone(const std::string& effect, const std::string& parameters = "") {
    return effectRecord("alone", effect, 1, "0", "0", "100000", "picture.jpg", parameters);
}

const std::string steadyFader =
    effectRecord("fade", "Fader", 1, "0", "0", "100000") +
    triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0", "1 0 0 0.2 0.4 0.6");

enum class Sending { Immediate, VertexArray };

void sendSphere(benchmark::State& state, Sending sending) {
    TempFolder folder;
    folder.write("demoscript.scr", recordTypes);
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    const std::vector<Vertex> sphere = makeSphere(4, 1.0f);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -200.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Positions double as normals, as in drawQuadList; the stride skips the other five floats.
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &sphere[0].x);
    glNormalPointer(GL_FLOAT, sizeof(Vertex), &sphere[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &sphere[0].u);
    for (auto _ : state) {
        if (sending == Sending::Immediate)
            drawQuadList(sphere);
        else
            glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(sphere.size()));
        glFinish();
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

} // namespace

BENCHMARK_CAPTURE(drawAlone, Fader, steadyFader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, BlobSphere, alone("BlobSphere"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, InCube, alone("InCube"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, Universe, alone("Universe"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, HalfSphere, alone("HalfSphere"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, SphereNormalSolid, alone("SphereNormal", "0"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(drawAlone, SphereNormalLines, alone("SphereNormal", "1"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(sendSphere, Immediate, Sending::Immediate)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(sendSphere, VertexArray, Sending::VertexArray)
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
