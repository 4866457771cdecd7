// What the timeline costs: loading a long script, and the per-frame work when many events wait.

#include "DemoSystem.h"
#include "Dialogs.h"
#include "SavableEffect.h"
#include "TempFolder.h"

#include <GL/gl.h>
#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

namespace {

// Draws nothing, so that a frame measures the engine alone.
class IdleEffect : public SavableEffect<IdleEffect> {
public:
    using SavableEffect::SavableEffect;
    void init() override {}
    void render() override {}
    void trigger(const std::string&, const std::vector<float>&) override {}
};

// Stands at one reading, as a paused music stream does.
class FixedClock : public DemoClock {
public:
    explicit FixedClock(float reading) : reading(reading) {}
    std::optional<float> seconds() override { return reading; }

private:
    float reading;
};

constexpr const char* recordTypes =
    "typedef block DemoEffect { string identifier; int layer; float initTime; float startTime;\n"
    "    float stopTime; array [string] data; array [float] parameters; };\n"
    "typedef block DemoTrigger { string effectId; string triggerId; bool periodic;\n"
    "    float beginTime; float endTime; float delay; array [float] parameters; };\n";

// `effectRecords` DemoEffect records (three events each) and as many single triggers, all after
// `from` seconds, spread over ten minutes.
std::string longScript(int effectRecords, double from) {
    std::ostringstream script;
    script << recordTypes;
    for (int i = 0; i < effectRecords; ++i) {
        const double t = from + 600.0 * i / effectRecords;
        script << "DemoEffect e" << i << " ( Idle " << i % 16 << ' ' << t << ' ' << t + 0.5 << ' '
               << t + 2 << " ( pic.jpg ) ( 1 0.5 -0.01 1 1 1 ) );\n";
        script << "DemoTrigger t" << i << " ( Idle Beat false " << t + 1
               << " 0 0 ( 0.9 0 -0.05 ) );\n";
    }
    return script.str();
}

// Heap bytes held by this program now and at most since the last reset, counted by the
// replaced operator new below: the loader allocates through it only.
std::atomic<std::size_t> heapBytes{0};
std::atomic<std::size_t> heapPeak{0};

double loadPeakMebibytes(const std::string& script) {
    TempFolder folder;
    folder.write("demoscript.scr", script);
    DemoSystem demo;
    IdleEffect idle("Idle");
    const std::size_t before = heapBytes;
    heapPeak = before;
    demo.loadTimeline("demoscript.scr");
    return static_cast<double>(heapPeak - before) / (1 << 20);
}

// Loads `script` once per iteration, as the player does at its start.
void loadRepeatedly(benchmark::State& state, const std::string& script) {
    TempFolder folder;
    folder.write("demoscript.scr", script);
    DemoSystem demo;
    IdleEffect idle("Idle");
    for (auto _ : state) {
        demo.loadTimeline("demoscript.scr");
        benchmark::DoNotOptimize(demo.getEvents().data());
    }
    state.counters["events"] = static_cast<double>(demo.getEvents().size());
}

void LoadScriptWith100000Events(benchmark::State& state) {
    state.counters["peak_MiB"] = loadPeakMebibytes(longScript(25'000, 0.0));
    loadRepeatedly(state, longScript(25'000, 0.0));
}
BENCHMARK(LoadScriptWith100000Events)->Unit(benchmark::kMillisecond);

// The largest timeline the loader accepts: one periodic trigger of 16 numbers fired a million
// times, which is both the event bound and the bound on numbers delivered.
std::string worstAcceptedScript() {
    return std::string(recordTypes) + "DemoTrigger pulse ( Idle Beat true 0 1000000 1 "
                                      "( 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ) );\n";
}

void LoadWorstAcceptedTimeline(benchmark::State& state) {
    state.counters["peak_MiB"] = loadPeakMebibytes(worstAcceptedScript());
    // The smallest script, loaded the same way.
    state.counters["baseline_peak_MiB"] = loadPeakMebibytes(
        std::string(recordTypes) + "DemoTrigger once ( Idle Beat false 0 0 0 ( 1 ) );\n");
    loadRepeatedly(state, worstAcceptedScript());
}
BENCHMARK(LoadWorstAcceptedTimeline)->Unit(benchmark::kMillisecond);

// 10,000 events wait in the future; each frame finds none due, clears and swaps. With `finish`
// each frame also waits for the software renderer to have cleared the 640 x 480 pixels.
void frameWith10000PendingEvents(benchmark::State& state, bool finish) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TempFolder folder;
    folder.write("demoscript.scr", longScript(2'500, 1.0));
    DemoSystem demo;
    if (!demo.createWindow(false, Dialogs::system())) {
        state.SkipWithError("no GL window");
        return;
    }
    IdleEffect idle("Idle");
    demo.loadTimeline("demoscript.scr");
    demo.setClock(std::make_unique<FixedClock>(0.5f));
    for (auto _ : state) {
        demo.renderFrame();
        if (finish)
            glFinish();
    }
    state.counters["pending"] = static_cast<double>(demo.getEvents().size());
}
BENCHMARK_CAPTURE(frameWith10000PendingEvents, Queued, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(frameWith10000PendingEvents, Finished, true)->Unit(benchmark::kMicrosecond);

// The same frame without the clear and swap: the engine's own bookkeeping.
void ProcessEventsWith10000Pending(benchmark::State& state) {
    TempFolder folder;
    folder.write("demoscript.scr", longScript(2'500, 1.0));
    DemoSystem demo;
    IdleEffect idle("Idle");
    demo.loadTimeline("demoscript.scr");
    demo.setClock(std::make_unique<FixedClock>(0.5f));
    for (auto _ : state)
        demo.processEvents();
}
BENCHMARK(ProcessEventsWith10000Pending)->Unit(benchmark::kNanosecond);

} // namespace

void* operator new(std::size_t size) {
    void* memory = std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    const std::size_t now = heapBytes += malloc_usable_size(memory);
    for (std::size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
    }
    return memory;
}

// The replaced operator new above takes its memory from malloc, so free is its match; the
// compiler cannot see that and warns.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    if (!memory)
        return;
    heapBytes -= malloc_usable_size(memory);
    std::free(memory);
}
#pragma GCC diagnostic pop

void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}

BENCHMARK_MAIN();
