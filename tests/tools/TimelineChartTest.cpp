#include "TimelineChart.h"

#include "DemoSystem.h"
#include "MusicEncoder.h"
#include "PngFile.h"
#include "RecordingEffect.h"
#include "ScriptLoader.h"
#include "ScriptText.h"
#include "SoundPlayer.h"
#include "TempFolder.h"
#include "ToolRun.h"

#include <cmath>
#include <memory>
#include <numbers>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Colour = TimelineChart::Colour;

Colour pixel(const Image& picture, int x, int y) {
    const std::uint8_t* at = picture.at(x, y);
    return {at[0], at[1], at[2]};
}

int brightness(Colour colour) {
    return colour[0] + colour[1] + colour[2];
}

// Two seconds of a loud 440 Hz tone, then two of silence.
void writeToneThenSilence(const fs::path& path) {
    constexpr int rate = 44100;
    encodeMusic(path, MusicFormat::Ogg, 4 * rate, [](std::int64_t first, int count, float* out) {
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(first + i) / rate;
            const auto value =
                t < 2.0 ? static_cast<float>(0.8 * std::sin(2.0 * std::numbers::pi * 440.0 * t))
                        : 0.0f;
            out[i * 2] = value;
            out[i * 2 + 1] = value;
        }
    });
}

class TimelineChartTest : public ::testing::Test {
protected:
    // The chart of a script run by a real sound player and recording effects.
    TimelineChart chartOf(const std::string& script) {
        folder.write("demoscript.scr", recordTypes + script);
        DemoSystem demo;
        const SoundPlayer music("SoundPlayer");
        std::vector<std::string> log;
        const RecordingEffect tunnel("Tunnel", log);
        const RecordingEffect fader("Fader", log);
        demo.loadTimeline("demoscript.scr");
        const auto cursor = loadScript("demoscript.scr");
        return TimelineChart(readChartTimeline(*cursor, demo.getRegistry()),
                             readMusicWaveform(demo.getEvents()));
    }

    // The pixel column of `seconds`, reckoned from the chart's plot and span.
    static int columnOf(const TimelineChart& chart, double seconds) {
        return chart.plotLeft() +
               static_cast<int>(seconds / chart.span() * TimelineChart::plotWidth);
    }
    static int barMiddle(const TimelineChart& chart, std::size_t row) {
        return chart.rowTop(row) + TimelineChart::barTop + TimelineChart::barHeight / 2;
    }

    TempFolder folder;
};

TEST_F(TimelineChartTest, BarsCoverEachRecordsTimesInLayerOrder) {
    const TimelineChart chart = chartOf(effectRecord("late", "Tunnel", 2, "1", "2", "6") +
                                        effectRecord("early", "Fader", 1, "0", "0", "4"));
    ASSERT_EQ(chart.records().size(), 2u);
    EXPECT_EQ(chart.records()[0].name, "early");
    EXPECT_EQ(chart.records()[1].name, "late");
    EXPECT_EQ(chart.span(), 6.0);
    const Image picture = chart.draw();

    const int early = barMiddle(chart, 0);
    EXPECT_EQ(pixel(picture, columnOf(chart, 0.5), early), TimelineChart::barColour(1));
    EXPECT_EQ(pixel(picture, columnOf(chart, 3.9), early), TimelineChart::barColour(1));
    EXPECT_EQ(pixel(picture, columnOf(chart, 4.2), early), TimelineChart::background);

    const int late = barMiddle(chart, 1);
    EXPECT_EQ(pixel(picture, columnOf(chart, 0.8), late), TimelineChart::background);
    const Colour setUp = pixel(picture, columnOf(chart, 1.5), late);
    const Colour running = pixel(picture, columnOf(chart, 4.0), late);
    EXPECT_EQ(running, TimelineChart::barColour(2));
    EXPECT_NE(setUp, TimelineChart::background);
    EXPECT_GT(brightness(setUp), brightness(running)) << "the set-up bar is not the lighter";
    // Rows do not bleed into each other.
    EXPECT_EQ(pixel(picture, columnOf(chart, 5.0), early), TimelineChart::background);
}

TEST_F(TimelineChartTest, TimesFarOutsideTheSpanAreCutAtItsEdges) {
    const TimelineChart chart =
        chartOf(effectRecord("endless", "Tunnel", 1, "-1e30", "-1e29", "1e30") +
                triggerRecord("never", "Tunnel", "Zoom", false, "1e30", "0", "0"));
    const Image picture = chart.draw();
    const int right = chart.plotLeft() + TimelineChart::plotWidth - 1;
    EXPECT_EQ(pixel(picture, chart.plotLeft() + 1, barMiddle(chart, 0)),
              TimelineChart::barColour(1));
    EXPECT_EQ(pixel(picture, right, barMiddle(chart, 0)), TimelineChart::barColour(1));
}

TEST_F(TimelineChartTest, TriggersTickOnTheirOwnEffectsRow) {
    const TimelineChart chart =
        chartOf(effectRecord("tube", "Tunnel", 1, "0", "0", "8") +
                effectRecord("fade", "Fader", 1, "0", "0", "8") +
                triggerRecord("zoom", "Tunnel", "Zoom", false, "3", "0", "0") +
                triggerRecord("blinks", "Fader", "Blink", true, "5", "6", "0.25"));
    const Image picture = chart.draw();
    EXPECT_EQ(pixel(picture, columnOf(chart, 3.0), barMiddle(chart, 0)),
              TimelineChart::triggerColour);
    EXPECT_EQ(pixel(picture, columnOf(chart, 3.0), barMiddle(chart, 1)),
              TimelineChart::barColour(1));
    // Every repetition of a periodic trigger has its tick, however close the names would be.
    for (double time = 5.0; time < 6.0; time += 0.25) {
        EXPECT_EQ(pixel(picture, columnOf(chart, time), barMiddle(chart, 1)),
                  TimelineChart::triggerColour)
            << time;
        EXPECT_EQ(pixel(picture, columnOf(chart, time), barMiddle(chart, 0)),
                  TimelineChart::barColour(1))
            << time;
    }
}

TEST_F(TimelineChartTest, TheWaveformIsTallWhereTheMusicIsLoudAndFlatWhereSilent) {
    writeToneThenSilence(folder.path() / "music.ogg");
    const TimelineChart chart =
        chartOf(effectRecord("music", "SoundPlayer", 0, "0", "0", "600", "music.ogg"));
    // The music sets the span, not a record that stops long after it.
    EXPECT_GE(chart.span(), 4.0);
    EXPECT_LE(chart.span(), 5.0);
    const Image picture = chart.draw();
    const int centre = chart.waveTop() + TimelineChart::waveHeight / 2;
    const int loud = TimelineChart::waveHeight / 4;
    for (double time : {0.2, 1.0, 1.8}) {
        EXPECT_EQ(pixel(picture, columnOf(chart, time), centre - loud), TimelineChart::waveColour)
            << time;
        EXPECT_EQ(pixel(picture, columnOf(chart, time), centre + loud), TimelineChart::waveColour)
            << time;
    }
    for (double time : {2.5, 3.5}) {
        for (int y = chart.waveTop(); y < chart.waveTop() + TimelineChart::waveHeight; ++y)
            ASSERT_NE(pixel(picture, columnOf(chart, time), y), TimelineChart::waveColour)
                << time << " s, row " << y;
    }
}

TEST_F(TimelineChartTest, MusicThatCannotBeDecodedLeavesTheStripWithItsReason) {
    folder.write("noise.ogg", "not music at all");
    for (const char* music : {"noise.ogg", "gone.ogg", "cd:\\\\2 once"}) {
        DemoSystem demo;
        const SoundPlayer player("SoundPlayer");
        folder.write("demoscript.scr",
                     recordTypes + effectRecord("m", "SoundPlayer", 0, "0", "0", "9",
                                                "\"" + std::string(music) + "\""));
        demo.loadTimeline("demoscript.scr");
        const MusicWaveform wave = readMusicWaveform(demo.getEvents());
        EXPECT_FALSE(wave.wave) << music;
        EXPECT_FALSE(wave.reason.empty()) << music;
        // Without a waveform the chart spans the timeline.
        const TimelineChart chart(ChartTimeline{{}, {}, 9.0}, wave);
        EXPECT_EQ(chart.span(), 9.0);
        EXPECT_NO_THROW(chart.draw());
    }
}

// A chart spans any demo up to the longest the tools take, its labels evenly spaced and
// none left out.
TEST_F(TimelineChartTest, SpansHoursWithEvenlySpacedLabels) {
    const TimelineChart hours =
        chartOf(effectRecord("tube", "Tunnel", 1, "0", "0", "7200") +
                triggerRecord("late", "Tunnel", "Zoom", false, "7199", "0", "0"));
    EXPECT_EQ(hours.span(), 7200.0);
    const Image picture = hours.draw();
    EXPECT_EQ(pixel(picture, columnOf(hours, 7199.0), barMiddle(hours, 0)),
              TimelineChart::triggerColour);

    for (const char* stop : {"6", "155", "7200", "1e6"}) {
        SCOPED_TRACE(stop);
        const TimelineChart chart = chartOf(effectRecord("tube", "Tunnel", 1, "0", "0", stop));
        const Image drawn = chart.draw();
        const long step = chart.labelStep();
        EXPECT_EQ(step % chart.markStep(), 0);
        // The tall marks of labelled times, and the labels above them, one apiece.
        std::vector<int> ticks;
        std::vector<std::pair<int, int>> labels;
        for (int x = 0; x < drawn.width; ++x) {
            if (pixel(drawn, x, TimelineChart::axisHeight - 8) != TimelineChart::background)
                ticks.push_back(x);
            bool lit = false;
            for (int y = TimelineChart::margin; y < TimelineChart::margin + 7; ++y)
                lit = lit || pixel(drawn, x, y) != TimelineChart::background;
            if (lit && (labels.empty() || x - labels.back().second > 6))
                labels.emplace_back(x, x);
            else if (lit)
                labels.back().second = x;
        }
        ASSERT_EQ(static_cast<long>(ticks.size()), static_cast<long>(chart.span()) / step + 1);
        ASSERT_EQ(labels.size(), ticks.size());
        const double apart = step * TimelineChart::plotWidth / chart.span();
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], ticks[0] + i * apart, 1.0) << i;
            const int centre = (labels[i].first + labels[i].second) / 2;
            // The last label may be pushed left to stay whole in the picture.
            EXPECT_NEAR(centre, ticks[i], i + 1 < ticks.size() ? 3.0 : 25.0) << i;
        }
        const auto width = [](const std::pair<int, int>& label) {
            return label.second - label.first;
        };
        if (labels.size() > 1) {
            EXPECT_GE(width(labels.back()), width(labels[labels.size() - 2]));
        }
    }
}

// Names are drawn as the script writes them: "fadeIn" does not look like "FADEIN".
TEST_F(TimelineChartTest, LabelsKeepTheirLetterCase) {
    const auto drawn = [this](const std::string& name) {
        return chartOf(effectRecord(name, "Fader", 1, "0", "0", "4") +
                       triggerRecord("t", "Fader", name, false, "1", "0", "0"))
            .draw()
            .rgb;
    };
    EXPECT_NE(drawn("fadeIn"), drawn("FADEIN"));
}

class ReelCheckChart : public ::testing::Test {
protected:
    ToolOutcome run(const std::string& arguments) {
        return runTool(std::string(REELCHECK_PATH) + " " + arguments, folder.path());
    }

    TempFolder folder;
};

TEST_F(ReelCheckChart, WritesThePictureWhereItWasNamedFrom) {
    folder.write("demo/demoscript.scr",
                 recordTypes + effectRecord("fade", "Fader", 1, "0", "1", "5"));
    const ToolOutcome result = run("--chart chart.png demo/demoscript.scr");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const Image chart = readPng(folder.path() / "chart.png");
    EXPECT_GT(chart.width, TimelineChart::plotWidth);
    EXPECT_FALSE(fs::exists(folder.path() / "demo" / "chart.png"));
}

TEST_F(ReelCheckChart, AFailedWriteIsAnErrorAndLeavesNoFile) {
    folder.write("demoscript.scr", recordTypes + effectRecord("fade", "Fader", 1, "0", "1", "5"));
    const ToolOutcome result = run("--chart missing/chart.png");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.starts_with("error: cannot write")) << result.err;
    EXPECT_FALSE(fs::exists(folder.path() / "missing"));

    // A folder under the name: the picture is written whole and cannot take its place.
    fs::create_directory(folder.path() / "taken.png");
    const ToolOutcome taken = run("--chart taken.png");
    EXPECT_EQ(taken.status, 1);
    EXPECT_TRUE(taken.err.starts_with("error: cannot write")) << taken.err;
    EXPECT_TRUE(fs::is_directory(folder.path() / "taken.png"));
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "demoscript.scr" || name == "taken.png" || name.starts_with("std"))
            << name << " left behind";
    }

    EXPECT_EQ(run("--chart").status, 2);
}

TEST_F(ReelCheckChart, ABadScriptWritesNoChart) {
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("x", "NoSuchEffect", 1, "0", "1", "5"));
    const ToolOutcome result = run("--chart chart.png");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("unknown effect"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(folder.path() / "chart.png"));
}

} // namespace
