#include "ViewOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace {

constexpr double latestSeconds = 86400.0;
constexpr long largestSide = 8192;

} // namespace

OptionParser viewCommandLine(ViewOptions& options) {
    OptionParser parser("reelview", "[OPTION]... [SCRIPT]",
                        "Plays a demo as the player does, from any time, with keys to pause, seek "
                        "and loop,\nand reloads it when its files change.");
    parser.operand("SCRIPT", "the demo script (default demoscript.scr)", false,
                   [&](const std::string& script) { options.script = script; });
    parser.option(
        "--at", "T", "start at T seconds, every frame before replayed unshown",
        [&](const std::string& value) { options.at = readSeconds(value, latestSeconds); });
    parser.option("--size", "WxH",
                  "the window's size in pixels at the start (default 640x480); the picture\n"
                  "keeps 4:3 between black bars at any size",
                  [&](const std::string& value) {
                      std::tie(options.width, options.height) = readPixelSize(value, largestSide);
                  });
    parser.option("--clock", "music|free",
                  "music (default): the music's position, as in the player;\n"
                  "free: frame n at n/60 s, whatever the music does (also what a demo\n"
                  "whose music cannot be played runs on)",
                  [&](const std::string& value) {
                      if (value != "music" && value != "free")
                          throw UsageError("wants music or free");
                      options.clock = value == "music" ? ClockKind::Music : ClockKind::Free;
                  });
    // For tests and benches; not for users.
    parser.option("--loop", {"A", "B"}, "", [&](const std::vector<std::string>& values) {
        options.loopStart = readSeconds(values[0], latestSeconds);
        options.loopEnd = readSeconds(values[1], latestSeconds);
        if (*options.loopEnd <= *options.loopStart)
            throw UsageError("wants its end after its start");
    });
    parser.flag("--paused", "", [&] { options.paused = true; });
    parser.option("--snapshot-every", "S", "", [&](const std::string& value) {
        options.snapshotEvery = readSeconds(value, latestSeconds);
    });
    parser.epilogue(
        "Keys: Space pauses, . steps a frame while paused, Right and Left seek 1 s (10 s with\n"
        "Shift), Home goes back to 0, [ and ] set the start and end of a loop, s saves the frame\n"
        "as a PNG beside the script, f or F11 fills the screen, h or F1 shows the keys, Escape\n"
        "ends. The window may be resized; the picture keeps 4:3 between black bars.");
    return parser;
}

ViewOptions parseViewOptions(const std::vector<std::string>& arguments) {
    ViewOptions options;
    std::ostringstream said;
    if (viewCommandLine(options).parse(arguments, said, said))
        throw std::invalid_argument(said.str());
    return options;
}
