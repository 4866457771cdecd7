#include "RenderOptions.h"

#include "VideoFile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const renderUsage =
    "usage: reelrender [options] [SCRIPT]\n"
    "  SCRIPT             the demo script (default demoscript.scr)\n"
    "  --fps N            frames per second of demo time (default 60)\n"
    "  --from T           first second to write (default 0)\n"
    "  --to T             last second to write (default: until the demo ends through \"TheEnd\",\n"
    "                     or 60 s after the last event when it never does)\n"
    "  --every K          write every K-th frame as PNG (default 1); a video has them all\n"
    "  --out DIR          folder for frame-NNNNNN.png (default ./frames, or none with --video)\n"
    "  --video FILE       also write the span as a video with its music: .mp4 (H.264, AAC),\n"
    "                     .mkv (H.264, FLAC) or .webm (VP9, Opus)\n"
    "  --audio FILE.wav   also write the music of the span as 16-bit stereo WAV\n"
    "  --clock music|free music (default): the music's position, as in the player;\n"
    "                     free: frame n is at n / fps\n"
    "  --sheet FILE.png   a contact sheet: a labelled thumbnail for each second of the span\n";

namespace {

constexpr int maxFps = 1000;
// Far beyond any demo, and small enough that frame numbers stay exact.
constexpr double maxSeconds = 1e6;

std::optional<int> wholeNumber(const std::string& text, int low, int high) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<double> seconds(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0 || value > maxSeconds)
        return std::nullopt;
    return value;
}

bool takesValue(const std::string& option) {
    for (const char* known : {"--fps", "--from", "--to", "--every", "--out", "--audio", "--clock",
                              "--sheet", "--video"}) {
        if (option == known)
            return true;
    }
    return false;
}

// Applies one option with its value; what is wrong otherwise.
std::optional<std::string> apply(RenderOptions& options, const std::string& option,
                                 const std::string& value) {
    if (option == "--fps") {
        const auto fps = wholeNumber(value, 1, maxFps);
        if (!fps)
            return "--fps takes a whole number from 1 to 1000";
        options.fps = *fps;
    } else if (option == "--from" || option == "--to") {
        const auto time = seconds(value);
        if (!time)
            return option + " takes a number of seconds, 0 or more";
        (option == "--from" ? options.from : options.to.emplace()) = *time;
    } else if (option == "--every") {
        const auto every = wholeNumber(value, 1, 1 << 30);
        if (!every)
            return "--every takes a whole number, 1 or more";
        options.every = *every;
    } else if (option == "--out" || option == "--audio" || option == "--sheet") {
        if (value.empty())
            return option + " takes a file name";
        if (option == "--out")
            options.out = value;
        else
            (option == "--audio" ? options.audio : options.sheet) = value;
    } else if (option == "--video") {
        if (!videoFormatFor(value))
            return "--video takes a file name ending in .mp4, .mkv or .webm";
        options.video = value;
    } else if (option == "--clock") {
        if (value != "music" && value != "free")
            return "--clock takes music or free";
        options.clock = value == "music" ? ClockMode::Music : ClockMode::Free;
    }
    return std::nullopt;
}

} // namespace

std::variant<RenderOptions, std::string> parseRenderOptions(int argc, char** argv) {
    RenderOptions options;
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument.starts_with("-")) {
            if (!takesValue(argument))
                return "unknown option " + argument;
            if (i + 1 >= argc)
                return argument + " needs a value";
            if (auto wrong = apply(options, argument, argv[++i]))
                return *wrong;
        } else if (haveScript) {
            return "one script only";
        } else {
            options.script = argument;
            haveScript = true;
        }
    }
    if (options.to && *options.to < options.from)
        return "--to comes before --from";
    if (!options.out && !options.video)
        options.out = "frames";
    return options;
}
