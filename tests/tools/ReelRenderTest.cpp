#include "ChildProcess.h"
#include "PngFile.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <set>
#include <vector>

#include <gmock/gmock.h>

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using Rgb = std::array<int, 3>;
constexpr Rgb black{0, 0, 0};
constexpr Rgb blue{0, 0, 255};

// The fader over the whole picture from 0 s; `triggers` drive it.
std::string faderDemo(const std::string& triggers) {
    return effectRecord("fade", "Fader", 10, "0", "0", "100") + triggers;
}

// Rises out of black towards orange a step per frame from 0.5 s: every frame differs.
const std::string risingDemo =
    faderDemo(triggerRecord("rise", "Fader", "Rise", false, "0.5", "0", "0", "0 1 0.05 1 0.5 0"));

// Solid blue from the first frame whose clock has reached `time`.
std::string blueFrom(const std::string& time) {
    return faderDemo(triggerRecord("blue", "Fader", "Blue", false, time, "0", "0", "1 2 0 0 0 1"));
}

std::string musicRecord(const std::string& file) {
    return effectRecord("music", "SoundPlayer", 0, "0", "0", "100", file);
}

class ReelRender : public ::testing::Test {
protected:
    void writeDemo(const std::string& records) {
        folder.write("demoscript.scr", recordTypes + records);
    }

    ToolOutcome render(const std::string& arguments) {
        return runTool(std::string(REELRENDER_PATH) + " " + arguments, folder.path());
    }

    // The files in a folder, by name.
    static std::set<std::string> files(const fs::path& dir) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    static std::string frameName(int frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", frame);
        return name;
    }

    static Rgb centre(const fs::path& png) {
        const Image picture = readPng(png);
        const std::uint8_t* pixel = picture.at(picture.width / 2, picture.height / 2);
        return {pixel[0], pixel[1], pixel[2]};
    }

    TempFolder folder;
};

TEST_F(ReelRender, GivesTheSameBytesEveryTimeAndFromAnyFirstSecond) {
    writeDemo(risingDemo);
    const ToolOutcome full = render("--clock free --fps 10 --to 2 --out full");
    ASSERT_EQ(full.status, 0) << full.err;
    // Not a terminal: one summary line and nothing else.
    EXPECT_THAT(full.err, StartsWith("reelrender: 20 frames drawn"));
    EXPECT_EQ(std::count(full.err.begin(), full.err.end(), '\n'), 1);
    ASSERT_EQ(files("full").size(), 20u);
    EXPECT_EQ(centre("full/frame-000004.png"), black);
    EXPECT_NE(centre("full/frame-000019.png"), black);

    ASSERT_EQ(render("--clock free --fps 10 --to 2 --out again").status, 0);
    ASSERT_EQ(render("--clock free --fps 10 --from 1.2 --to 2 --out late").status, 0);
    EXPECT_EQ(files("late").size(), 8u);
    for (int frame = 0; frame < 20; ++frame) {
        const std::string name = frameName(frame);
        const std::string expected = fileContents(fs::path("full") / name);
        EXPECT_EQ(fileContents(fs::path("again") / name), expected) << name;
        if (frame >= 12) {
            EXPECT_EQ(fileContents(fs::path("late") / name), expected) << name;
        }
    }
}

// The span is [from, to): a second at 60 frames a second is frames 0 to 59.
TEST_F(ReelRender, WritesExactlyTheFramesOfTheSpan) {
    writeDemo(risingDemo);
    ASSERT_EQ(render("--clock free --fps 10 --from 0.5 --to 1.55 --every 3 --out a").status, 0);
    EXPECT_THAT(files("a"), ElementsAre(frameName(5), frameName(8), frameName(11), frameName(14)));
    ASSERT_EQ(render("--clock free --fps 10 --to 0.1 --out b").status, 0);
    EXPECT_THAT(files("b"), ElementsAre(frameName(0)));
    const ToolOutcome second = render("--clock free --fps=60 --from 0 --to 1 --out c");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(files("c").size(), 60u);
    EXPECT_FALSE(fs::exists("c/" + frameName(60)));
    EXPECT_THAT(second.err, HasSubstr("60 frames drawn"));
    EXPECT_THAT(second.err, HasSubstr("span 0.000 s to 1.000 s"));
    // Only what is asked for is written: no frames without --out.
    ASSERT_EQ(render("--clock free --fps 10 --to 1 --audio a.wav").status, 0);
    EXPECT_FALSE(fs::exists("frames"));
}

TEST_F(ReelRender, AFreeClockIsTheFrameOverTheRate) {
    writeDemo(blueFrom("0.5"));
    ASSERT_EQ(render("--clock free --fps 10 --from 0.4 --to 0.6 --out ten").status, 0);
    EXPECT_EQ(centre("ten/frame-000004.png"), black);
    EXPECT_EQ(centre("ten/frame-000005.png"), blue);
    ASSERT_EQ(render("--clock free --fps 4 --from 0.25 --to 0.75 --out four").status, 0);
    EXPECT_EQ(centre("four/frame-000001.png"), black);
    EXPECT_EQ(centre("four/frame-000002.png"), blue);
}

TEST_F(ReelRender, TheMusicClockIsTheMixersPositionAndStandsWithoutMusic) {
    encodeTone("tone.ogg", ToneFormat::Ogg, 2.0);
    writeDemo(musicRecord("tone.ogg") + blueFrom("1.0"));
    ASSERT_EQ(render("--fps 10 --from 0.9 --to 1.1 --out music").status, 0);
    EXPECT_EQ(centre("music/frame-000009.png"), black);
    EXPECT_EQ(centre("music/frame-000010.png"), blue);

    writeDemo(blueFrom("0.5"));
    ASSERT_EQ(render("--fps 10 --from 0.5 --to 3 --every 5 --out silent").status, 0);
    for (const std::string& name : files("silent"))
        EXPECT_EQ(centre(fs::path("silent") / name), black) << name;
}

struct Wav {
    std::uint32_t riffSize = 0;
    std::uint32_t dataSize = 0;
    std::vector<std::int16_t> samples;
};

Wav readWav(const fs::path& file) {
    const std::string bytes = fileContents(file);
    Wav wav;
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(36, 4, "data") != 0)
        return wav;
    std::memcpy(&wav.riffSize, bytes.data() + 4, 4);
    std::memcpy(&wav.dataSize, bytes.data() + 40, 4);
    wav.samples.resize((bytes.size() - 44) / 2);
    std::memcpy(wav.samples.data(), bytes.data() + 44, wav.samples.size() * 2);
    return wav;
}

// The mean difference between the left channel and the test tone as the mixer plays it (the
// sound player's volume 200 of 255 makes the channel 199 / 255), with the WAV's first frame
// taken as the music's frame `start`.
double toneError(const std::vector<std::int16_t>& samples, std::int64_t start) {
    const double gain = 0.5 * 199.0 / 255.0;
    double sum = 0.0;
    const std::size_t count = std::min<std::size_t>(4000, samples.size() / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(start + static_cast<std::int64_t>(i)) / 44100.0;
        const double expected = gain * std::sin(2.0 * std::numbers::pi * 440.0 * t);
        sum += std::abs(samples[i * 2] / 32767.0 - expected);
    }
    return sum / static_cast<double>(count);
}

TEST_F(ReelRender, TheSoundtrackCoversTheSpanToTheSampleAndIsTheMusicAtThatPosition) {
    encodeTone("tone.ogg", ToneFormat::Ogg, 3.0);
    writeDemo(musicRecord("tone.ogg"));
    // 48 frames a second do not divide 44100: frame n starts at sample n x 44100 / 48, rounded
    // down. The span is frames 24 to 71.
    const ToolOutcome result = render("--fps 48 --from 0.5 --to 1.5 --every 100 --audio a.wav");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::int64_t first = 24 * 44100 / 48;
    const std::int64_t end = 72 * 44100 / 48;
    const Wav wav = readWav("a.wav");
    ASSERT_EQ(wav.samples.size(), static_cast<std::size_t>(end - first) * 2);
    EXPECT_EQ(wav.dataSize, wav.samples.size() * 2);
    EXPECT_EQ(wav.riffSize, wav.dataSize + 36);

    // The music started with frame 0, so the WAV starts at the music's frame `first`. A sample
    // early or late is a clearly worse fit.
    const double error = toneError(wav.samples, first);
    EXPECT_LT(error, 0.005);
    EXPECT_GT(toneError(wav.samples, first - 1), error * 1.5);
    EXPECT_GT(toneError(wav.samples, first + 1), error * 1.5);
    for (std::size_t i = 0; i < wav.samples.size(); i += 2)
        ASSERT_EQ(wav.samples[i], wav.samples[i + 1]) << "frame " << i / 2;
}

// With a video the frames are read for its encoder; the sheet's colours stay the same.
TEST_F(ReelRender, AContactSheetHasALabelledThumbnailForEachSecond) {
    writeDemo(blueFrom("1.0"));
    for (const char* alsoVideo : {"", " --video v.mkv"}) {
        SCOPED_TRACE(alsoVideo);
        ASSERT_EQ(
            render(std::string("--clock free --fps 10 --to 2.5 --every 100 --sheet sheet.png") +
                   alsoVideo)
                .status,
            0);
        const Image sheet = readPng("sheet.png");
        // Three cells of 160 x 140 in a row, 8 pixels apart and from the edges.
        ASSERT_EQ(sheet.width, 8 + 3 * 168);
        ASSERT_EQ(sheet.height, 8 + 148);
        const auto pixel = [&sheet](int x, int y) {
            const std::uint8_t* p = sheet.at(x, y);
            return Rgb{p[0], p[1], p[2]};
        };
        EXPECT_EQ(pixel(8 + 80, 8 + 60), black);
        EXPECT_EQ(pixel(176 + 80, 8 + 60), blue);
        EXPECT_EQ(pixel(344 + 80, 8 + 60), blue);
        for (int cell = 0; cell < 3; ++cell) {
            int lit = 0;
            for (int y = 128; y < 148; ++y) {
                for (int x = 8 + cell * 168; x < 168 + cell * 168; ++x)
                    lit += pixel(x, y)[0] > 200;
            }
            EXPECT_GT(lit, 50) << "label of cell " << cell;
        }
    }
}

// A span past the end, known from the timeline, is refused before anything is made or drawn.
TEST_F(ReelRender, EndsWithTheDemoOrAMinuteAfterItsLastEvent) {
    writeDemo(effectRecord("music", "SoundPlayer", 0, "0", "0", "100") +
              triggerRecord("end", "SoundPlayer", "TheEnd", false, "0", "0", "0"));
    ToolOutcome result = render("--every 1000 --out frames");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, StartsWith("reelrender: 200 frames drawn"));
    EXPECT_THAT(files("frames"), ElementsAre(frameName(0)));
    result = render("--from 3.5 --out late/frames --audio a.wav --sheet s.png --video v.mkv");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error: the demo ends through \"TheEnd\" after 3.333 s, before the "
                          "span to write begins at 3.500 s\n");

    writeDemo(effectRecord("fade", "Fader", 10, "0", "0", "2"));
    result = render("--fps 1 --every 1000 --out frames");
    EXPECT_THAT(result.err, StartsWith("reelrender: 62 frames drawn"));
    result = render("--fps 1 --from 70 --out late/frames --audio a.wav");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error: the demo ends after 62.000 s, a minute after its last event, "
                          "before the span to write begins at 70.000 s\n");
    EXPECT_EQ(files("."),
              (std::set<std::string>{"demoscript.scr", "frames", "stderr.txt", "stdout.txt"}));
}

TEST_F(ReelRender, ReportsScriptErrorsAsReelcheckDoesAndRefusesBadUsage) {
    ToolOutcome result = render("--out f");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error: Could not open file \"demoscript.scr\"\n");
    folder.write("demoscript.scr", "foo x 1;");
    EXPECT_EQ(render("--out f").err, "error: Error : undefined type [foo]\n"
                                     " --> demoscript.scr:1:1\n"
                                     "  |\n"
                                     "1 | foo x 1;\n"
                                     "  | ^\n");
    EXPECT_EQ(render("--out f elsewhere/demo.scr").err,
              "error: Could not open file \"elsewhere/demo.scr\"\n");
    folder.write("demoscript.scr", "include \"two\nlines\";");
    EXPECT_THAT(render("--out f").err, StartsWith("error: Could not open file \"two\\nlines\"\n"
                                                  " --> demoscript.scr:1:9\n"));

    for (const char* arguments :
         {"--fps 0", "--fps 2.5", "--fps 1/2", "--fps 30000/0", "--fps 1001/1", "--from -1",
          "--to nan", "--every 0", "--clock wall", "--from 2 --to 1", "--from 1 --to 1",
          "--fps 1 --from 0.2 --to 0.5", "--bogus", "a.scr b.scr", "--out",
          "--size 640", "--size 15x480", "--size 640x8193", "--size 640x480x2",
          "--size 641x480 --video v.mp4"}) {
        result = render(std::string("--audio a.wav ") + arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr("Try 'reelrender --help'")) << arguments;
    }
    EXPECT_EQ(render("--help").status, 0);
    result = render("");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, StartsWith("reelrender: nothing to write"));
}

TEST_F(ReelRender, AFailedWriteIsAnErrorAndLeavesNoPartialFile) {
    writeDemo(risingDemo);
    folder.write("taken", "a file, not a folder");
    ToolOutcome result = render("--clock free --fps 10 --to 1 --out taken/frames");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, StartsWith("error: cannot create folder "));

    // Every output is checked before the first frame: a span that would take hours fails at
    // once, and the folder made for its frames goes again.
    for (const char* output : {"--sheet no/s.png", "--audio no/a.wav", "--video no/v.mp4"}) {
        result = runTool("timeout 600 " REELRENDER_PATH " --clock free --to 100000 --out new/f " +
                             std::string(output),
                         folder.path());
        EXPECT_EQ(result.status, 1) << output;
        EXPECT_THAT(result.err,
                    StartsWith("error: cannot write " + (folder.path() / "no").string()))
            << output;
        EXPECT_FALSE(fs::exists("new")) << output;
    }

    // A file size limit stands in for a full disk: writes beyond it fail. Frames are larger
    // than 512 bytes; one second of music is larger than 32 kB.
    const std::string limited = "ulimit -f %d; trap '' XFSZ; exec " REELRENDER_PATH " %s";
    char command[512];
    std::snprintf(command, sizeof command, limited.c_str(), 1,
                  "--clock free --fps 10 --to 1 --out frames");
    result = runTool(command, folder.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                StartsWith("error: cannot write " + (folder.path() / "frames").string() +
                           "/frame-000000.png: "));
    EXPECT_FALSE(fs::exists("frames"));

    std::snprintf(command, sizeof command, limited.c_str(), 64,
                  "--clock free --fps 10 --to 1 --every 100 --audio a.wav --out wav");
    result = runTool(command, folder.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                StartsWith("error: cannot write " + (folder.path() / "a.wav").string() + ": "));
    EXPECT_FALSE(fs::exists("a.wav"));
    for (const std::string& name : files("."))
        EXPECT_THAT(name, ::testing::Not(EndsWith(".partial")));
}

// Guards against a child that never ends; no test comes near them.
constexpr std::chrono::seconds startLimit(120);
constexpr std::chrono::seconds stopLimit(60);

// A span far longer than any test waits for.
const std::vector<std::string> endless{REELRENDER_PATH, "--clock", "free", "--fps", "10",
                                       "--to",          "100000"};

std::vector<std::string> withArguments(std::vector<std::string> command,
                                       const std::vector<std::string>& more) {
    command.insert(command.end(), more.begin(), more.end());
    return command;
}

// The address sanitizer holds freed memory back for a while by design: peak memory then says
// nothing about what GL keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool peakMemoryMeans = false;
#elif defined(__has_feature)
constexpr bool peakMemoryMeans = !__has_feature(address_sanitizer);
#else
constexpr bool peakMemoryMeans = true;
#endif

TEST_F(ReelRender, FramesItDoesNotWriteAreFinishedBeforeTheNext) {
    if (!peakMemoryMeans)
        GTEST_SKIP() << "peak memory is not GL's under the address sanitizer";
    writeDemo(risingDemo);
    const auto peak = [this](const std::string& to) {
        ChildProcess child(withArguments(endless, {"--to", to, "--every", "100000", "--out", "f"}),
                           folder.path() / "err.txt");
        EXPECT_TRUE(child.wait(startLimit + stopLimit));
        EXPECT_EQ(child.exitStatus(), 0) << fileContents("err.txt");
        return child.peakMemoryKilobytes();
    };
    // Left to queue frames nobody reads back, GL held some 40 MB more after these 2500 frames
    // of this quiet demo (about 0.4 MB a frame for a busy one); waiting for each keeps it flat.
    const long few = peak("1");
    const long many = peak("250");
    EXPECT_LT(many - few, 10 * 1024) << few << " kB for 11 frames, " << many << " for 2501";
}

TEST_F(ReelRender, ASignalStopsItAfterTheFrameWithNoPartialFileLeft) {
    encodeTone("tone.ogg", ToneFormat::Ogg, 2.0);
    writeDemo(musicRecord("tone.ogg") + risingDemo);
    for (const int signal : {SIGTERM, SIGINT}) {
        const fs::path out = signal == SIGTERM ? "term" : "int";
        ChildProcess child(withArguments(endless, {"--out", out.string(), "--audio", "a.wav",
                                                   "--sheet", "sheet.png"}),
                           folder.path() / "err.txt");
        ASSERT_TRUE(waitForFile(out / frameName(2), startLimit));
        child.signal(signal);
        ASSERT_TRUE(child.wait(stopLimit)) << "still running after the signal";
        EXPECT_EQ(child.exitStatus(), 128 + signal);
        const std::string err = fileContents("err.txt");
        EXPECT_THAT(err, StartsWith(std::string("reelrender: stopped by ") +
                                    (signal == SIGTERM ? "SIGTERM" : "SIGINT") + " after "));
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

        // What was written is whole; the music and the sheet, cut short, are gone.
        const std::set<std::string> written = files(out);
        EXPECT_THAT(err, HasSubstr("; " + std::to_string(written.size()) + " written to "));
        for (const std::string& name : written) {
            ASSERT_THAT(name, EndsWith(".png"));
            EXPECT_EQ(readPng(out / name).width, 640) << name;
        }
        for (const std::string& name : files("."))
            EXPECT_THAT(name, ::testing::Not(EndsWith(".partial")));
        EXPECT_FALSE(fs::exists("a.wav"));
        EXPECT_FALSE(fs::exists("sheet.png"));
    }
}

TEST_F(ReelRender, CtrlCAtATerminalEndsTheBarsLine) {
    writeDemo(risingDemo);
    ChildProcess child(withArguments(endless, {"--out", "frames"}), folder.path() / "err.txt",
                       ChildProcess::Output::Terminal);
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.waitForOutput(" frames  ", startLimit)) << child.terminalOutput();
    child.type("\x03");
    ASSERT_TRUE(child.wait(stopLimit)) << "still running after Ctrl-C";
    EXPECT_EQ(child.exitStatus(), 130);
    // The terminal turns "\n" into "\r\n"; the bar stays where it stopped, on a line of its
    // own, and the prompt comes back at the start of a fresh line.
    const std::string screen = child.terminalOutput();
    const auto line = screen.find("reelrender: stopped by SIGINT after ");
    ASSERT_NE(line, std::string::npos) << screen;
    EXPECT_EQ(screen.substr(line - 2, 2), "\r\n");
    EXPECT_NE(screen.rfind(" frames  ", line), std::string::npos);
    EXPECT_THAT(screen, EndsWith("\r\n"));
    EXPECT_EQ(screen.find('\n', line), screen.size() - 1);
}

// "TheEnd" at 1 s, seen by frame 10, and the sound player's 200-frame fade: the bar counts to
// 210 from its first frame.
TEST_F(ReelRender, TheProgressBarKnowsTheEndFromTheTimeline) {
    writeDemo(effectRecord("music", "SoundPlayer", 0, "0", "0", "100") +
              triggerRecord("end", "SoundPlayer", "TheEnd", false, "1", "0", "0"));
    ChildProcess child(
        {REELRENDER_PATH, "--clock", "free", "--fps", "10", "--every", "1000", "--out", "frames"},
        folder.path() / "err.txt", ChildProcess::Output::Terminal);
    ASSERT_TRUE(child.wait(startLimit + stopLimit));
    EXPECT_EQ(child.exitStatus(), 0);
    const std::string screen = child.terminalOutput();
    EXPECT_THAT(screen, HasSubstr("] 1/210 frames  "));
    EXPECT_THAT(screen, HasSubstr("reelrender: 210 frames drawn"));
}

} // namespace
