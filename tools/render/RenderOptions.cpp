#include "RenderOptions.h"

#include "DemoLength.h"
#include "VideoFile.h"

#include <string>
#include <tuple>
#include <utility>

namespace {

constexpr long maxFps = 1000;
// Past what video rates are written with (1001), and small enough for exact sums.
constexpr long maxRateTerm = 1000000;

// "60" or "30000/1001".
FrameRate readRate(const std::string& text) {
    const std::size_t slash = text.find('/');
    try {
        const long num = readWholeNumber(text.substr(0, slash), 1, maxRateTerm);
        const long den = slash == std::string::npos
                             ? 1
                             : readWholeNumber(text.substr(slash + 1), 1, maxRateTerm);
        const FrameRate rate(num, den);
        if (rate.perSecond() >= 1.0 && rate.perSecond() <= maxFps)
            return rate;
    } catch (const UsageError&) {
    }
    throw UsageError("wants frames per second from 1 to 1000, whole (60) or as a ratio of whole "
                     "numbers (30000/1001)");
}

// The largest frame side --size takes: beyond 8K video, a frame of 200 MB.
constexpr long maxFrameSide = 8192;

} // namespace

OptionParser renderCommandLine(RenderOptions& options) {
    OptionParser parser("reelrender", "[OPTION]... [SCRIPT]",
                        "Renders a demo offline, frame by frame, to PNG frames, a WAV soundtrack,\n"
                        "a video and a contact sheet: the same files every time.");
    parser.operand("SCRIPT", "the demo script (default demoscript.scr)", false,
                   [&](const std::string& script) { options.script = script; });
    parser.option("--fps", "RATE",
                  "frames per second of demo time, whole or a ratio such as 30000/1001\n"
                  "(default 60)",
                  [&](const std::string& value) { options.fps = readRate(value); });
    parser.option("--size", "WxH",
                  "the frames' size in pixels (default 640x480); a size that is not 4:3\n"
                  "shows the 4:3 picture centred between black bars",
                  [&](const std::string& value) {
                      std::tie(options.width, options.height) = readPixelSize(value, maxFrameSide);
                  });
    parser.option(
        "--from", "T", "the span to write starts at T seconds (default 0)",
        [&](const std::string& value) { options.from = readSeconds(value, longestDemoSeconds); });
    parser.option(
        "--to", "T",
        "and ends before T seconds (default: when the demo ends through \"TheEnd\",\n"
        "or 60 s after its last event when it never does)",
        [&](const std::string& value) { options.to = readSeconds(value, longestDemoSeconds); });
    parser.option("--every", "K", "write every K-th frame as PNG (default 1); a video has them all",
                  [&](const std::string& value) {
                      options.every = static_cast<int>(readWholeNumber(value, 1, 1 << 30));
                  });
    parser.option("--out", "DIR",
                  "folder for frame-NNNNNN.png (default ./frames, or none with --video)",
                  [&](const std::string& value) { options.out = readPath(value); });
    parser.option("--video", "FILE",
                  "also write the span as a video with its music: .mp4 (H.264, AAC),\n"
                  ".mkv (H.264, FLAC) or .webm (VP9, Opus)",
                  [&](const std::string& value) {
                      if (!videoFormatFor(value))
                          throw UsageError("a video's name ends in .mp4, .mkv or .webm (in any "
                                           "letter case)");
                      options.video = value;
                  });
    parser.option("--audio", "FILE.wav", "also write the music of the span as 16-bit stereo WAV",
                  [&](const std::string& value) { options.audio = readPath(value); });
    parser.option("--clock", "music|free",
                  "music (default): the music's position, as in the player;\n"
                  "free: frame n is at n / fps",
                  [&](const std::string& value) {
                      if (value != "music" && value != "free")
                          throw UsageError("wants music or free");
                      options.clock = value == "music" ? ClockMode::Music : ClockMode::Free;
                  });
    parser.option("--sheet", "FILE.png",
                  "a contact sheet: a labelled thumbnail for each second of the span",
                  [&](const std::string& value) { options.sheet = readPath(value); });
    parser.check([&] {
        if (!options.out && !options.video && !options.audio && !options.sheet)
            throw UsageError("nothing to write: name an --out folder, a --video, an --audio file "
                             "or a --sheet");
        // The video's colours are stored at half the resolution, in pairs of pixels.
        if (options.video && (options.width % 2 != 0 || options.height % 2 != 0))
            throw UsageError("--video takes an even width and height (--size)");
        if (!options.to)
            return;
        if (*options.to <= options.from)
            throw UsageError("--to must come after --from");
        if (options.fps.firstFrameFrom(*options.to) <= options.fps.firstFrameFrom(options.from))
            throw UsageError("no frame falls between --from and --to at " + options.fps.text() +
                             " frames a second");
    });
    return parser;
}
