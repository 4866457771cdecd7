// reelcheck: loads a demo script exactly as the player does and reports what it finds.

#include "ContainerNode.h"
#include "DemoChecks.h"
#include "DemoSystem.h"
#include "DiagnosticPrinter.h"
#include "EffectCatalogue.h"
#include "FileReport.h"
#include "MusicWaveform.h"
#include "OptionParser.h"
#include "ScriptLoader.h"
#include "TimelineChart.h"
#include "TimelinePrinter.h"
#include "ToolSupport.h"
#include "Writer.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

struct Options {
    bool tree = false;
    bool timeline = false;
    bool files = false;
    bool strict = false;
    DemoClockKind clock = DemoClockKind::Music;
    // Empty for no chart.
    std::filesystem::path chart;
    std::string script = "demoscript.scr";
};

OptionParser commandLine(Options& options) {
    OptionParser parser(
        "reelcheck", "[OPTION]... [SCRIPT]",
        "Loads a demo script exactly as the player does and reports what it finds.");
    parser.operand("SCRIPT", "the demo script (default demoscript.scr)", false,
                   [&](const std::string& script) { options.script = script; });
    parser.flag("--tree", "print the loaded script back as script text",
                [&] { options.tree = true; });
    parser.flag("--timeline", "list the timeline the player would run",
                [&] { options.timeline = true; });
    parser.flag("--files", "list the files the demo needs and whether each can be used",
                [&] { options.files = true; });
    parser.flag("--strict", "exit 1 when there is any warning", [&] { options.strict = true; });
    parser.option("--clock", "music|free",
                  "check times as the demo is played: music (default): by the music's\n"
                  "position, as in the player; free: frame by frame, as reelrender --clock free",
                  [&](const std::string& clock) {
                      if (clock != "music" && clock != "free")
                          throw UsageError("wants music or free");
                      options.clock = clock == "music" ? DemoClockKind::Music : DemoClockKind::Free;
                  });
    parser.option("--chart", "FILE.png",
                  "draw the timeline and the music's waveform as a PNG picture",
                  [&](const std::string& file) {
                      // Named from where reelcheck was started, not from the script's folder.
                      options.chart = std::filesystem::absolute(readPath(file));
                  });
    return parser;
}

std::string counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void writeChart(const std::string& baseName, const DemoSystem& demo, MusicWaveform music,
                const std::filesystem::path& path) {
    const auto cursor = loadScript(baseName);
    ChartTimeline timeline = readChartTimeline(*cursor, demo.getRegistry());
    const TimelineChart chart(std::move(timeline), std::move(music));
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
    MusicWaveform music = readMusicWaveform(demo.getEvents());
    const std::vector<Diagnostic> warnings =
        demoWarnings(*cursor, demo.getRegistry(), music, options.clock);
    if (!options.chart.empty())
        writeChart(baseName, demo, std::move(music), options.chart);
    if (!options.tree && !options.timeline && !options.files && options.chart.empty()) {
        std::cout << options.script << ": ok, "
                  << counted(top.getChildren().size(), "top-level definition") << ", "
                  << counted(demo.getEvents().size(), "timeline event");
        if (!warnings.empty())
            std::cout << ", " << counted(warnings.size(), "warning");
        std::cout << "\n";
    }
    std::cout.flush();
    printDiagnostics(std::cerr, warnings);
    const bool warned = options.strict && !warnings.empty();
    return std::cout && filesUsable && !warned ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto status = commandLine(options).parse(argc, argv))
        return *status;
    return runReportingErrors([&] { return check(options); });
}
