// What a user waits for: the wall time of whole reelrender runs over the bundled demo's first
// 20 s (as the build makes it in build/demo), at three sizes, with every frame written as PNG
// or drawn only, each entry a run of the program:
//
//   build/bin/reelrender_bench [--benchmark_filter=640x480] [--benchmark_repetitions=3]
//
// The entries run interleaved in random order, three times each unless told otherwise, so that
// the machine's slow stretches fall on all of them alike; at the end the fastest run of each is
// printed as a ratio to its baseline from the same bench run:
// - <size>/WriteEveryFrame against <size>/DrawOnly: what writing the frames costs (the goal is
//   1.3 x or less);
// - 1280x960/DrawOnly and 1920x1440/DrawOnly against 640x480/DrawOnly: what four and nine
//   times the pixels cost (the goal is their share of the pixels or less, and 4.5 x or less
//   for 1280 x 960).
// DrawOnly writes frame 0 alone (--every beyond the span), which is as good as none.

#include "TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;

struct Entry {
    const char* size;
    bool everyFrame;
    // The entry this one is a ratio to, and the goal for that ratio.
    const char* baseline;
    double goal;
};

const Entry entries[] = {
    {"640x480", false, nullptr, 0.0},
    {"640x480", true, "640x480/DrawOnly", 1.3},
    {"1280x960", false, "640x480/DrawOnly", 4.5},
    {"1280x960", true, "1280x960/DrawOnly", 1.3},
    {"1920x1440", false, "640x480/DrawOnly", 9.0},
};

std::string entryName(const Entry& entry) {
    return std::string(entry.size) + (entry.everyFrame ? "/WriteEveryFrame" : "/DrawOnly");
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Every run's frames stay until the bench ends: ext4 looks past the files deleted in the last
// half minute for each file it makes, so deleting one run's frames right before the next made
// that run's frames slower to make, which a render into a folder of its own never meets. Three
// runs at each size hold about 1.5 GB.
std::vector<std::unique_ptr<TempFolder>> keptFolders;

void runReelrender(benchmark::State& state, const Entry& entry) {
    const TempFolder& folder = *keptFolders.emplace_back(std::make_unique<TempFolder>());
    const fs::path frames = folder.path() / "frames";
    const std::string command = std::string(REELRENDER_PATH) + " --to 20 --size " + entry.size +
                                (entry.everyFrame ? "" : " --every 1000000000") + " --out " +
                                quoted(frames) + " " +
                                quoted(fs::path(BUNDLED_DEMO_FOLDER) / "demoscript.scr") +
                                " >/dev/null 2>" + quoted(folder.path() / "stderr.txt");
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("reelrender failed: " + command).c_str());
            break;
        }
    }
}

// Prints the ratios at the end, from the fastest run of each entry: others' work on a shared
// machine only ever slows a run down.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            const double seconds = run.GetAdjustedRealTime();
            auto found = fastest.find(name);
            if (found == fastest.end() || seconds < found->second)
                fastest[name] = seconds;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::cout << "\nRatios of the fastest runs:\n";
        for (const Entry& entry : entries) {
            const auto run = fastest.find(entryName(entry));
            if (!entry.baseline || run == fastest.end())
                continue;
            const auto base = fastest.find(entry.baseline);
            if (base == fastest.end())
                continue;
            const double ratio = run->second / base->second;
            std::printf("  %-26s %5.2f x %-20s (goal %.1f x or less)\n", run->first.c_str(), ratio,
                        entry.baseline, entry.goal);
        }
    }

private:
    std::map<std::string, double> fastest;
};

const bool registered = [] {
    for (const Entry& entry : entries) {
        benchmark::RegisterBenchmark(entryName(entry).c_str(), runReelrender, entry)
            ->Unit(benchmark::kSecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    return true;
}();

} // namespace

int main(int argc, char** argv) {
    // Interleaved and repeated unless the command line says otherwise: later flags win.
    std::vector<char*> arguments{argv[0]};
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string repetitions = "--benchmark_repetitions=3";
    arguments.push_back(interleave.data());
    arguments.push_back(repetitions.data());
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    keptFolders.clear();
    return 0;
}
