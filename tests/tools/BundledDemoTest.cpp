// The bundled demo of the build tree played whole through reelrender, at a low frame rate: it
// must end by itself, set up every effect the catalogue holds, and never show a black frame
// while it runs. Its chart must show the whole timeline with the music decoded.

#include "EffectCatalogue.h"
#include "PngFile.h"
#include "TempFolder.h"
#include "TimelineChart.h"
#include "ToolRun.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

constexpr int fps = 10;
// Two frames a second are written: enough to catch a black scene, few enough files.
constexpr int every = 5;
// Effects step by the mean of the last 20 clock steps, which counts the frames before the music
// started as steps of 0: until 20 frames have passed, everything moves slower than in the
// player, and the opening may still be dark. At 60 frames/s that is a third of a second.
constexpr long warmUpFrames = 20;
// The sound player fades the music out over this many drawn frames after "TheEnd".
constexpr int fadeFrames = 200;

// What the timeline says, from reelcheck --timeline: when each effect is set up, and when
// "TheEnd" is sent.
struct Timeline {
    std::multiset<std::pair<double, std::string>> inits;
    double theEnd = -1.0;
};

Timeline readTimeline(const std::string& listing) {
    Timeline timeline;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        double time = 0.0;
        std::string kind, effect, trigger;
        words >> time >> kind >> effect >> trigger;
        if (kind == "Init")
            timeline.inits.emplace(time, effect);
        if (kind == "Trigger" && effect == "SoundPlayer" && trigger == "\"TheEnd\"" &&
            timeline.theEnd < 0.0)
            timeline.theEnd = time;
    }
    return timeline;
}

// "reelrender: N frames drawn ..."
long framesDrawn(const std::string& report) {
    const auto at = report.rfind("reelrender: ");
    if (at == std::string::npos)
        return -1;
    return std::strtol(report.c_str() + at + 12, nullptr, 10);
}

bool allBlack(const Image& picture) {
    return std::all_of(picture.rgb.begin(), picture.rgb.end(),
                       [](std::uint8_t component) { return component < 8; });
}

// The names the catalogue can make today: once every class is built, all 27.
std::set<std::string> catalogueNames() {
    std::set<std::string> names;
    for (const auto& entry : EffectCatalogue::creationOrder) {
        if (entry.create)
            names.emplace(entry.name);
    }
    return names;
}

// The demo authors start from: reelcheck finds nothing to warn of, its pictures and music
// included.
TEST(BundledDemo, GetsNoWarning) {
    const TempFolder folder;
    const ToolOutcome check = runTool("cd " + std::string(DEMO_FOLDER) + " && " + REELCHECK_PATH +
                                          " --strict demoscript.scr",
                                      folder.path());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "");
}

TEST(BundledDemo, PlaysEveryEffectToItsEndWithoutABlackFrame) {
    const TempFolder folder;
    const fs::path frames = folder.path() / "frames";
    const ToolOutcome listing = runTool("cd " + std::string(DEMO_FOLDER) + " && " + REELCHECK_PATH +
                                            " --timeline demoscript.scr",
                                        folder.path());
    ASSERT_EQ(listing.status, 0) << listing.err;
    const Timeline timeline = readTimeline(listing.out);
    ASSERT_GE(timeline.theEnd, 1.0) << "the demo never sends \"TheEnd\"";

    const ToolOutcome render =
        runTool("cd " + std::string(DEMO_FOLDER) + " && " + REELRENDER_PATH + " --fps " +
                    std::to_string(fps) + " --every " + std::to_string(every) + " --from " +
                    std::to_string(warmUpFrames / fps) + " --out " + frames.string(),
                folder.path());
    ASSERT_EQ(render.status, 0) << render.err;

    // It ended through "TheEnd": within the fade after it, long before reelrender would have
    // given up on it.
    const long drawn = framesDrawn(render.err);
    const long endFrame = static_cast<long>(timeline.theEnd * fps);
    EXPECT_GT(drawn, endFrame) << render.err;
    EXPECT_LE(drawn, endFrame + fadeFrames + 2) << render.err;

    std::set<std::string> setUp;
    for (const auto& [time, name] : timeline.inits) {
        if (time * fps < drawn)
            setUp.insert(name);
    }
    for (const std::string& name : catalogueNames())
        EXPECT_TRUE(setUp.contains(name)) << name << " is never set up";

    // From the end of the warm-up to the last second before "TheEnd"; after it only the music
    // fades, and at this frame rate that fade is much longer than in the player.
    int checked = 0;
    for (long frame = warmUpFrames; frame < endFrame - fps; frame += every) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06ld.png", frame);
        const Image picture = readPng(frames / name);
        EXPECT_FALSE(allBlack(picture)) << "black at " << static_cast<double>(frame) / fps << " s";
        fs::remove(frames / name);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// The chart of the whole demo, its music decoded into the waveform strip.
TEST(BundledDemo, ChartsWithItsMusic) {
    const TempFolder folder;
    const fs::path chart = folder.path() / "chart.png";
    const ToolOutcome result = runTool("cd " + std::string(DEMO_FOLDER) + " && " + REELCHECK_PATH +
                                           " --chart " + chart.string() + " demoscript.scr",
                                       folder.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const Image picture = readPng(chart);
    EXPECT_GT(picture.width, TimelineChart::plotWidth);
    int waveform = 0;
    for (int y = picture.height - TimelineChart::waveHeight; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* at = picture.at(x, y);
            waveform += TimelineChart::Colour{at[0], at[1], at[2]} == TimelineChart::waveColour;
        }
    }
    EXPECT_GT(waveform, TimelineChart::plotWidth) << "no waveform in the strip";
}

} // namespace
