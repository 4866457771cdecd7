// reelcheck: loads a demo script exactly as the player does and reports what it finds.

#include "ContainerNode.h"
#include "DemoSystem.h"
#include "EffectCatalogue.h"
#include "FileReport.h"
#include "MusicWaveform.h"
#include "ScriptLoader.h"
#include "TimelineChart.h"
#include "TimelinePrinter.h"
#include "ToolSupport.h"
#include "Writer.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr const char* usage =
    "usage: reelcheck [--tree] [--timeline] [--files] [--chart FILE.png] [SCRIPT]\n"
    "  SCRIPT      the demo script (default demoscript.scr)\n"
    "  --tree      print the loaded script back as script text\n"
    "  --timeline  list the timeline the player would run\n"
    "  --files     list the files the demo needs and whether each can be used\n"
    "  --chart F   draw the timeline and the music's waveform as a PNG picture\n";

struct Options {
    bool tree = false;
    bool timeline = false;
    bool files = false;
    // Empty for no chart.
    std::filesystem::path chart;
    std::string script = "demoscript.scr";
};

// Nothing when the command line is not understood.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--tree") {
            options.tree = true;
        } else if (argument == "--timeline") {
            options.timeline = true;
        } else if (argument == "--files") {
            options.files = true;
        } else if (argument == "--chart") {
            if (++i == argc || std::string(argv[i]).empty())
                return std::nullopt;
            // Named from where reelcheck was started, not from the script's folder.
            options.chart = std::filesystem::absolute(argv[i]);
        } else if (argument.starts_with("-") || haveScript) {
            return std::nullopt;
        } else {
            options.script = argument;
            haveScript = true;
        }
    }
    return options;
}

std::string counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void writeChart(const std::string& baseName, const DemoSystem& demo,
                const std::filesystem::path& path) {
    const auto cursor = loadScript(baseName);
    ChartTimeline timeline = readChartTimeline(*cursor, demo.getRegistry());
    const TimelineChart chart(std::move(timeline), readMusicWaveform(demo.getEvents()));
    chart.write(path);
}

int check(const Options& options) {
    const std::string baseName = enterScriptFolder(options.script);

    const auto cursor = loadScript(baseName);
    const ContainerNode& top = *cursor->getRoot();
    if (options.tree)
        writeNode(top, std::cout, 0);

    // The player's registry, made without a window: effects touch GL only once they run.
    DemoSystem demo;
    const EffectCatalogue effects;
    demo.loadTimeline(baseName);
    if (options.timeline)
        printTimeline(demo.getEvents(), std::cout);
    bool filesUsable = true;
    if (options.files) {
        FileReport files;
        files.addFileValues(top);
        files.addEffectFiles(demo.getEvents());
        files.print(std::cout);
        filesUsable = files.recordFilesUsable();
    }
    if (!options.chart.empty())
        writeChart(baseName, demo, options.chart);
    if (!options.tree && !options.timeline && !options.files && options.chart.empty()) {
        std::cout << options.script << ": ok, "
                  << counted(top.getChildren().size(), "top-level definition") << ", "
                  << counted(demo.getEvents().size(), "timeline event") << "\n";
    }
    std::cout.flush();
    return std::cout && filesUsable ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::cout << usage;
            return 0;
        }
    }
    const auto options = parseArguments(argc, argv);
    if (!options) {
        std::cerr << usage;
        return 2;
    }
    return runReportingErrors([&] { return check(*options); });
}
