// How much of the machine the music takes, and how evenly its clock runs.
//
//   build/bin/sound_bench
//
// DecodeAndMix/<kind>: CPU time to decode and mix 60 s of music offline; `cpu_share` is that time
// as a share of the 60 s it lasts (0.01 = one per cent of one core).
// ClockSmoothness: 1,000 readings of a playing stream's position at 60 per second under SDL's
// dummy driver; for each reading, the clock's step minus the wall clock's step. `step_sd_ms`
// and `step_worst_ms` are their standard deviation and largest size.

#include "SoundLibrary.h"
#include "TempFolder.h"
#include "TestMedia.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int rate = 44100;
constexpr int seconds = 60;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

enum class Kind { Ogg, Mp3, Xm };

void decodeAndMix(benchmark::State& state, Kind kind) {
    TempFolder folder;
    std::string name;
    switch (kind) {
    case Kind::Ogg:
        name = "music.ogg";
        encodeTone(name, ToneFormat::Ogg, seconds + 1);
        break;
    case Kind::Mp3:
        name = "music.mp3";
        encodeTone(name, ToneFormat::Mp3, seconds + 1);
        break;
    case Kind::Xm:
        name = "music.xm";
        folder.write(name, xmSong(64, 8)); // 61.44 s
        break;
    }
    SoundLibrary& library = SoundLibrary::instance();
    library.setOutput(AudioOutput::Offline);
    std::vector<float> block(1024 * 2);
    double cpu = 0.0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        library.init(rate, 32);
        if (kind == Kind::Xm) {
            library.playSong(library.loadSong(name));
        } else {
            library.playStream(SoundLibrary::noChannel, library.openStream(name));
        }
        for (int done = 0; done < rate * seconds; done += 1024) {
            library.renderOffline(block.data(), 1024);
        }
        benchmark::DoNotOptimize(block.data());
        library.close();
        cpu += cpuSeconds() - start;
    }
    state.counters["cpu_share"] =
        cpu / static_cast<double>(state.iterations()) / static_cast<double>(seconds);
}

void clockSmoothness(benchmark::State& state) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempFolder folder;
    encodeTone("music.ogg", ToneFormat::Ogg, 25.0);
    SoundLibrary& library = SoundLibrary::instance();
    library.setOutput(AudioOutput::Device);
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        library.init(rate, 32);
        StreamHandle stream = library.openStream("music.ogg");
        library.playStream(SoundLibrary::noChannel, stream);
        while (library.streamTime(stream) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::vector<double> differences;
        Clock::time_point next = Clock::now();
        Clock::time_point previousWall = next;
        int previousClock = library.streamTime(stream);
        for (int reading = 0; reading < 1000; ++reading) {
            next += std::chrono::microseconds(16667);
            std::this_thread::sleep_until(next);
            const Clock::time_point wall = Clock::now();
            const int clock = library.streamTime(stream);
            const double wallStep =
                std::chrono::duration<double, std::milli>(wall - previousWall).count();
            differences.push_back((clock - previousClock) - wallStep);
            previousWall = wall;
            previousClock = clock;
        }
        library.close();
        double mean = 0.0;
        double worst = 0.0;
        for (double difference : differences) {
            mean += difference / static_cast<double>(differences.size());
            worst = std::max(worst, std::abs(difference));
        }
        double variance = 0.0;
        for (double difference : differences) {
            variance +=
                (difference - mean) * (difference - mean) / static_cast<double>(differences.size());
        }
        state.counters["step_mean_ms"] = mean;
        state.counters["step_sd_ms"] = std::sqrt(variance);
        state.counters["step_worst_ms"] = worst;
    }
}

} // namespace

BENCHMARK_CAPTURE(decodeAndMix, ogg, Kind::Ogg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeAndMix, mp3, Kind::Mp3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeAndMix, xm, Kind::Xm)->Unit(benchmark::kMillisecond);
BENCHMARK(clockSmoothness)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
