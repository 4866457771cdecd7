// Lexing plus parsing throughput of a demo-sized script: 5,000 effect records (about 1 MB).

#include "ScriptLoader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

namespace {

std::string generatedScript(int records) {
    std::string text =
        "// generated: many effect records with the usual record types\n"
        "typedef block DemoEffect { string identifier; int layer; float initTime;\n"
        "    float startTime; float stopTime; array [string] data; array [float] parameters; };\n"
        "typedef block DemoTrigger { string effectId; string triggerId; bool periodic;\n"
        "    float beginTime; float endTime; float delay; array [float] parameters; };\n";
    char line[512];
    for (int i = 0; i < records; ++i) {
        const double start = i * 0.25;
        std::snprintf(line, sizeof line,
                      "DemoEffect effect%05d ( PicStory%d %d %.3f %.3f %.3f\n"
                      "    ( 'pictures\\story%03d.jpg' \"pictures\\\\mask%03d.jpg\" )\n"
                      "    ( 1.0, 0.25, 0.5, -1.2, 0.75, 2.0, 8.0 ) ); /* scene %d */\n",
                      i, 1 + i % 2, i % 16, start, start + 0.125, start + 4.5, i % 500, i % 500,
                      i / 100);
        text += line;
    }
    return text;
}

void LoadScript(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "reelplay-bench-script";
    std::filesystem::create_directories(folder);
    const auto file = folder / "generated.scr";
    const std::string text = generatedScript(5000);
    std::ofstream(file, std::ios::binary) << text;

    for (auto _ : state) {
        auto cursor = loadScript(file.string());
        benchmark::DoNotOptimize(cursor.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["script_bytes"] = static_cast<double>(text.size());
    std::filesystem::remove_all(folder);
}

BENCHMARK(LoadScript)->Unit(benchmark::kMillisecond);

// The most includes one load allows, each of an empty file: the fixed cost of one include.
void LoadScriptWith4096Includes(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "reelplay-bench-includes";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "empty.scr", std::ios::binary);
    std::string text;
    for (int i = 0; i < 4096; ++i)
        text += "include '" + (folder / "empty.scr").string() + "';\n";
    const auto file = folder / "includes.scr";
    std::ofstream(file, std::ios::binary) << text;

    for (auto _ : state) {
        auto cursor = loadScript(file.string());
        benchmark::DoNotOptimize(cursor.get());
    }
    // Seconds per include, as a rate inverted: the time of one include.
    state.counters["per_include"] =
        benchmark::Counter(4096.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::filesystem::remove_all(folder);
}
BENCHMARK(LoadScriptWith4096Includes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
