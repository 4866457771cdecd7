// What offline rendering costs per frame, on a demo of the effects built so far (the fader
// restarted on every beat, the sound player):
//
//   build/bin/render_bench [--benchmark_filter=BundledDemo --benchmark_repetitions=5]
//   build/bin/render_bench --benchmark_filter=WholeBundledDemo --benchmark_repetitions=3
//       --benchmark_enable_random_interleaving=true       (one command line)
//
// On a shared machine compare the fastest repetition of each: others' work only ever slows one.
// The whole demo takes minutes a run, long enough for the machine's speed to change between
// one entry and the next; interleaved, every entry gets its share of the slow stretches.
//
// DrawOnly: the frames drawn, waiting for GL to finish each, nothing read back.
// DrawAndReadBack: the same with each frame read back as reelrender reads it.
// DrawReadBackAndWritePng: the same with each frame written as PNG, as reelrender writes it
// (compressed on a thread of its own while the next frame is drawn).
// BundledDemo/DrawOnly and BundledDemo/WriteEveryFrame: the first and the last over the bundled
// demo, from its start; writing every frame should cost at most 1.3 x drawing only.
// BundledDemo/ReadBack: the same span with each frame read back, the share of the two above
// that is not compressing.
// BundledDemo/VideoMp4, VideoMkv and VideoWebm: the same span encoded with its music as
// reelrender --video encodes it (on a thread of its own). Its cheap scenes show the most that
// reading back and encoding can weigh.
// WholeBundledDemo/DrawOnly, VideoMp4, VideoMkv and VideoWebm: the same over the whole bundled
// demo, to its end, once each (a minute or more apiece): what a video of the demo costs. The
// goal is at most 1.3 x drawing only.
// BundledDemo/Replay: the bundled demo's first 150 s, every scene, as reelview replays it up to
// the time it is to show: each frame clipped to one pixel, the music stepped by the frame.
// `times_real_time` is demo seconds replayed per second (the goal is 10 or more).
// `frames_per_second` is the rate of each in wall-clock time (GL draws on threads of its own).
//
// Alone/<effect>: one effect alone on the timeline over the black frame, each frame drawn and
// waited for after two seconds of warming up (so that particle streams have flown into view);
// Alone/Fader, a steady full-view colour layer, is the base to compare the others with.
// Sphere/<how>: a depth-4 sphere (6144 vertices) sent on its own, so small on screen that
// filling costs nothing: sent vertex by vertex as the effects send it, or as one vertex array,
// to show what immediate mode itself costs.

#include "FrameWriter.h"
#include "OfflineDemo.h"
#include "QuadDrawing.h"
#include "ScriptText.h"
#include "SphereBuilder.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "VideoWriter.h"

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

enum class Work { Draw, ReadBack, WritePng, VideoMp4, VideoMkv, VideoWebm };

const char* videoName(Work work) {
    switch (work) {
    case Work::VideoMp4: return "bench.mp4";
    case Work::VideoMkv: return "bench.mkv";
    case Work::VideoWebm: return "bench.webm";
    default: return nullptr;
    }
}

// What is done with each frame drawn, as reelrender does it; frames go to `out`.
class FrameSink {
public:
    FrameSink(Work work, const std::filesystem::path& out, const OfflineDemo& demo)
        : work(work), out(out) {
        if (work == Work::WritePng)
            writer.emplace();
        if (const char* name = videoName(work))
            video.emplace(out / name, 60, demo.frameWidth(), demo.frameHeight(),
                          OfflineDemo::sampleRate);
    }

    void take(const OfflineDemo& demo) {
        if (work == Work::Draw) {
            glFinish();
            return;
        }
        Image picture = video ? video->spare() : writer ? writer->spare() : Image{};
        demo.readPixels(picture, video ? PixelOrder::Bgr : PixelOrder::Rgb);
        benchmark::DoNotOptimize(picture.rgb.data());
        if (writer) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06ld.png", demo.framesDrawn());
            writer->write(out / name, std::move(picture));
        }
        if (video)
            video->add(std::move(picture), demo.frameAudio());
    }

    // Frames still being written or encoded count too.
    void finish() {
        if (writer)
            writer->finish();
        if (video)
            video->finish();
    }

private:
    Work work;
    std::filesystem::path out;
    std::optional<FrameWriter> writer;
    std::optional<VideoWriter> video;
};

// Draws the demo of the working directory, a frame an iteration.
void renderHere(benchmark::State& state, Work work, const std::filesystem::path& out) {
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    FrameSink sink(work, out, demo);
    for (auto _ : state) {
        demo.drawFrame();
        sink.take(demo);
        if (demo.framesDrawn() == static_cast<long>(state.max_iterations))
            sink.finish();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The bundled demo from its start to its end, once.
void renderWholeBundled(benchmark::State& state, Work work) {
    TempFolder folder;
    std::filesystem::current_path(BUNDLED_DEMO_FOLDER);
    long frames = 0;
    for (auto _ : state) {
        OfflineDemo demo(ClockMode::Free, 60);
        demo.load("demoscript.scr");
        FrameSink sink(work, folder.path(), demo);
        // Ten minutes at most, should the demo ever stop ending.
        while (!demo.finished() && demo.framesDrawn() < 36000) {
            demo.drawFrame();
            sink.take(demo);
        }
        sink.finish();
        frames += demo.framesDrawn();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    std::filesystem::current_path(folder.path());
}

// As reelview replays: rasterisation clipped away, the state of every effect moved on.
void replayBundled(benchmark::State& state) {
    TempFolder folder;
    std::filesystem::current_path(BUNDLED_DEMO_FOLDER);
    OfflineDemo demo(ClockMode::Music, 60);
    demo.load("demoscript.scr");
    for (auto _ : state) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
        demo.drawFrame();
        glDisable(GL_SCISSOR_TEST);
    }
    state.counters["times_real_time"] = benchmark::Counter(
        static_cast<double>(state.iterations()) / 60.0, benchmark::Counter::kIsRate);
    std::filesystem::current_path(folder.path());
}

// Each effect with a picture of its own at the name it loads, so that it draws textured.
struct AloneDemo {
    const char* label;
    const char* effect;
    const char* parameters;
    const char* picture;
    const char* triggers;
};

const AloneDemo aloneDemos[] = {
    {"Fader", "Fader", "", "",
     "DemoTrigger hold ( Fader Hold false 0 0 0 ( 1 0 0 0.2 0.4 0.6 ) );\n"},
    {"Tunnel", "Tunnel", "", "textures/plants15t.jpg", ""},
    {"Landscape", "Landscape", "", "source/data/256/clouds2.jpg", ""},
    {"BitmapDistortion", "BitmapDistortion", "", "source/Data/256/a000.jpg", ""},
    {"GenObjectCurveTube", "GenObject", "1", "greytexture.jpg", ""},
    {"GenObjectTentacleBundle", "GenObject", "2", "greytexture.jpg", ""},
    {"GenObjectSplineTube", "GenObject", "3", "greytexture.jpg", ""},
    {"GenObjectWobbleSphere", "GenObject", "4", "greytexture.jpg", ""},
    {"GenObjectGlowBundle", "GenObject", "5", "greytexture.jpg", ""},
    {"GenObjectBlobCube", "GenObject", "0", "greytexture.jpg", ""},
    {"ParticlesStreaks", "Particles", "1", "source/data/pics/light.jpg", ""},
    {"ParticlesSprites", "Particles", "2", "source/data/pics/light.jpg", ""},
    {"ParticlesBurst", "Particles", "3", "source/data/pics/light.jpg", ""},
    {"Border", "Border", "", "", ""},
    {"BorderImage", "BorderImage1", "", "border1.jpg", ""},
    {"Circles", "Circles", "", "circle.jpg", ""},
    {"BlobSphere", "BlobSphere", "", "source/data/256/texture.jpg", ""},
    {"InCube", "InCube", "", "textures/ss013.jpg", ""},
    {"Universe", "Universe", "", "source/data/pics/light.jpg", ""},
    {"HalfSphere", "HalfSphere", "", "temp/orang101.jpg", ""},
    // The lines mode is program-wide and stays once set: solid first.
    {"SphereNormalSolid", "SphereNormal", "0", "textures/multi018.jpg", ""},
    {"SphereNormalLines", "SphereNormal", "1", "textures/multi018.jpg", ""},
};

void alone(benchmark::State& state, const AloneDemo& alone) {
    TempFolder folder;
    if (*alone.picture) {
        const std::vector<std::uint8_t> jpeg = encodeJpeg(gradientImage(256, 256));
        folder.write(alone.picture, std::string(jpeg.begin(), jpeg.end()));
    }
    folder.write("demoscript.scr",
                 recordTypes +
                     effectRecord("alone", alone.effect, 1, "0", "0", "1e9", "", alone.parameters) +
                     alone.triggers);
    OfflineDemo demo(ClockMode::Free, 60);
    demo.load("demoscript.scr");
    for (int warmUp = 0; warmUp < 120; ++warmUp)
        demo.drawFrame();
    for (auto _ : state) {
        demo.drawFrame();
        glFinish();
    }
}

const bool aloneRegistered = [] {
    for (const AloneDemo& each : aloneDemos) {
        benchmark::RegisterBenchmark((std::string("Alone/") + each.label).c_str(), alone, each)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

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

void render(benchmark::State& state, Work work) {
    TempFolder folder;
    folder.write("demoscript.scr", benchDemo);
    renderHere(state, work, folder.path());
}

// The demo is read from where the build made it; the frames go to a folder of their own. The
// span is drawn once untimed first, so that whichever runs first does not pay alone for what
// stays warm in the process (files read, the rasteriser's compiled state).
void renderBundled(benchmark::State& state, Work work) {
    TempFolder folder;
    std::filesystem::current_path(BUNDLED_DEMO_FOLDER);
    {
        OfflineDemo warmUp(ClockMode::Free, 60);
        warmUp.load("demoscript.scr");
        while (warmUp.framesDrawn() < static_cast<long>(state.max_iterations))
            warmUp.drawFrame();
    }
    renderHere(state, work, folder.path());
    std::filesystem::current_path(folder.path());
}

} // namespace

BENCHMARK_CAPTURE(sendSphere, Immediate, Sending::Immediate)
    ->Name("Sphere/Immediate")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(sendSphere, VertexArray, Sending::VertexArray)
    ->Name("Sphere/VertexArray")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
BENCHMARK_CAPTURE(renderBundled, BundledDemo / ReadBack, Work::ReadBack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
BENCHMARK_CAPTURE(renderBundled, BundledDemo / WriteEveryFrame, Work::WritePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
BENCHMARK_CAPTURE(renderBundled, BundledDemo / VideoMp4, Work::VideoMp4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
BENCHMARK_CAPTURE(renderBundled, BundledDemo / VideoMkv, Work::VideoMkv)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
BENCHMARK_CAPTURE(renderBundled, BundledDemo / VideoWebm, Work::VideoWebm)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(600);
// The whole demo: its scenes differ in cost, and its first ten seconds are among the cheapest,
// where reading back and encoding weigh the most.
const bool wholeRegistered = [] {
    const std::pair<const char*, Work> works[] = {{"DrawOnly", Work::Draw},
                                                  {"VideoMp4", Work::VideoMp4},
                                                  {"VideoMkv", Work::VideoMkv},
                                                  {"VideoWebm", Work::VideoWebm}};
    for (const auto& [label, work] : works) {
        benchmark::RegisterBenchmark((std::string("WholeBundledDemo/") + label).c_str(),
                                     renderWholeBundled, work)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    return true;
}();
BENCHMARK(replayBundled)
    ->Name("BundledDemo/Replay")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(150 * 60);

BENCHMARK_MAIN();
