// How evenly the player spaces its frames where the buffer swap does not wait for the display.
//
//   build/bin/pacer_bench
//
// Each benchmark paces 600 frames at 60 Hz with a frame of 4 ms of busy work and records the
// time from one frame's start to the next. SleepOnly is the baseline: one sleep to the next
// frame's moment. FramePacer is the player's sleep-and-spin wait. `jitter_sd_us` is the standard
// deviation of the frame interval, `jitter_p99_us` the 99th percentile of its distance from the
// period, `mean_interval_ms` the mean interval.

#include "FramePacer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int frames = 600;
constexpr auto period = std::chrono::nanoseconds(16666667);

void busyFor(std::chrono::microseconds work) {
    const auto end = Clock::now() + work;
    while (Clock::now() < end) {
    }
}

template <typename Wait>
void measure(benchmark::State& state, Wait wait) {
    std::vector<double> intervals;
    for (auto _ : state) {
        intervals.clear();
        auto last = Clock::now();
        for (int i = 0; i < frames; ++i) {
            busyFor(std::chrono::microseconds(4000));
            wait();
            const auto now = Clock::now();
            intervals.push_back(std::chrono::duration<double, std::micro>(now - last).count());
            last = now;
        }
    }
    intervals.erase(intervals.begin()); // the first frame only starts the schedule
    double mean = 0;
    for (double each : intervals)
        mean += each;
    mean /= static_cast<double>(intervals.size());
    double variance = 0;
    std::vector<double> distance;
    const double target = std::chrono::duration<double, std::micro>(period).count();
    for (double each : intervals) {
        variance += (each - mean) * (each - mean);
        distance.push_back(std::abs(each - target));
    }
    std::sort(distance.begin(), distance.end());
    state.counters["mean_interval_ms"] = mean / 1000.0;
    state.counters["jitter_sd_us"] = std::sqrt(variance / static_cast<double>(intervals.size()));
    state.counters["jitter_p99_us"] = distance[distance.size() * 99 / 100];
}

void SleepOnly(benchmark::State& state) {
    auto due = Clock::now() + period;
    measure(state, [&due] {
        std::this_thread::sleep_until(due);
        due = std::max(due + period, Clock::now());
    });
}
BENCHMARK(SleepOnly)->Iterations(1)->Unit(benchmark::kMillisecond);

void Pacer(benchmark::State& state) {
    FramePacer pacer(60.0);
    pacer.waitForNextFrame();
    measure(state, [&pacer] { pacer.waitForNextFrame(); });
}
BENCHMARK(Pacer)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
