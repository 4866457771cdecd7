// Whether the bundled demo holds 60 frames/s: the demo of the build tree (build/demo, made by
// the build) drawn from start to end at 60 frames/s of demo time, offscreen, waiting for each
// frame to finish:
//
//   build/bin/demo_bench
//
// EmptyFrame: ten seconds of a script that draws nothing, the baseline (clearing and finishing
// a frame).
// WholeDemo: every frame of the bundled demo until it ends through "TheEnd".
// Counters: frames_per_second over the whole demo, slowest_second_fps with slowest_second_at
// (the start of the slowest one-second window, in demo seconds), p99_ms, and x_baseline, the
// mean frame time as a multiple of the empty frame's. WholeDemo also prints the cost of each
// second of the demo, so that heavy scenes can be found.

#include "OfflineDemo.h"
#include "ScriptText.h"
#include "TempFolder.h"

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int fps = 60;
// A demo that never sends "TheEnd" still stops.
constexpr double runOn = 10.0;

// Milliseconds of each frame, drawn and finished, until the demo ends or `most` frames.
std::vector<double> playThrough(const std::string& script, ClockMode clock, long most) {
    OfflineDemo demo(clock, fps);
    demo.load(script);
    const long end = std::min(most, static_cast<long>((demo.lastEventTime() + runOn) * fps));
    std::vector<double> frames;
    while (!demo.finished() && demo.framesDrawn() <= end) {
        const auto start = std::chrono::steady_clock::now();
        demo.drawFrame();
        glFinish();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        frames.push_back(took.count());
    }
    return frames;
}

double mean(const std::vector<double>& values) {
    return values.empty() ? 0.0
                          : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0.0;
    const auto at = static_cast<std::size_t>(fraction * (values.size() - 1));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[at];
}

struct SlowestSecond {
    double startSeconds = 0.0;
    double framesPerSecond = 0.0;
};

// The window of `fps` consecutive frames that took longest.
SlowestSecond slowestSecond(const std::vector<double>& frames) {
    if (frames.size() < static_cast<std::size_t>(fps))
        return {0.0, frames.empty() ? 0.0 : 1000.0 / mean(frames)};
    double window = std::accumulate(frames.begin(), frames.begin() + fps, 0.0);
    double worst = window;
    std::size_t worstStart = 0;
    for (std::size_t i = fps; i < frames.size(); ++i) {
        window += frames[i] - frames[i - fps];
        if (window > worst) {
            worst = window;
            worstStart = i - fps + 1;
        }
    }
    return {static_cast<double>(worstStart) / fps, fps * 1000.0 / worst};
}

void printSeconds(const std::vector<double>& frames) {
    std::printf("second  mean_ms  max_ms\n");
    for (std::size_t first = 0; first < frames.size(); first += fps) {
        const auto last = std::min(frames.size(), first + fps);
        const std::vector<double> second(frames.begin() + first, frames.begin() + last);
        std::printf("%6zu  %7.2f  %6.2f\n", first / fps, mean(second),
                    *std::max_element(second.begin(), second.end()));
    }
}

double baselineMs = 0.0;

void report(benchmark::State& state, const std::vector<double>& frames) {
    const SlowestSecond slowest = slowestSecond(frames);
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["frames_per_second"] = frames.empty() ? 0.0 : 1000.0 / mean(frames);
    state.counters["slowest_second_fps"] = slowest.framesPerSecond;
    state.counters["slowest_second_at"] = slowest.startSeconds;
    state.counters["p99_ms"] = percentile(frames, 0.99);
    if (baselineMs > 0.0)
        state.counters["x_baseline"] = mean(frames) / baselineMs;
}

void EmptyFrame(benchmark::State& state) {
    const TempFolder folder;
    // No sound player: it opens the music once per process, and that must be the demo's.
    folder.write("demoscript.scr", recordTypes + effectRecord("idle", "Fader", 0, "0", "0", "100"));
    std::vector<double> frames;
    for (auto _ : state)
        frames = playThrough("demoscript.scr", ClockMode::Free, 10 * fps);
    baselineMs = mean(frames);
    report(state, frames);
}

void WholeDemo(benchmark::State& state) {
    const auto back = std::filesystem::current_path();
    std::filesystem::current_path(DEMO_FOLDER);
    std::vector<double> frames;
    for (auto _ : state)
        frames = playThrough("demoscript.scr", ClockMode::Music, 1000 * fps);
    std::filesystem::current_path(back);
    printSeconds(frames);
    report(state, frames);
}

} // namespace

// One pass each: a pass is a whole demo, and the baseline must run first.
BENCHMARK(EmptyFrame)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WholeDemo)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

BENCHMARK_MAIN();
