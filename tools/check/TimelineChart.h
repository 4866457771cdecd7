#pragma once

#include "Image.h"
#include "MusicWaveform.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class DomCursor;
class Effect;

// One DemoEffect record as the chart draws it.
struct ChartRecord {
    std::string name;
    std::string effect;
    int layer = 0;
    double initTime = 0.0;
    double startTime = 0.0;
    double stopTime = 0.0;
};

struct ChartTrigger {
    double time = 0.0;
    std::string effect;
    std::string name;
};

struct ChartTimeline {
    std::vector<ChartRecord> records;
    std::vector<ChartTrigger> triggers;
    // The time of the timeline's last event, of any kind.
    double lastEventTime = 0.0;
};

// Reads a loaded script's records through the player's own timeline loader, record by record, so
// that each effect record keeps its name. `cursor` must not have been moved yet.
ChartTimeline readChartTimeline(DomCursor& cursor, const std::vector<Effect*>& registry);

// The timeline drawn as a picture: time across, a row per effect record grouped by layer (the
// set-up time as a lighter bar before the running time), the triggers as ticks on their effect's
// rows, second and ten-second marks, and the music's waveform along the bottom.
class TimelineChart {
public:
    using Colour = std::array<std::uint8_t, 3>;

    static constexpr int plotWidth = 2000;
    static constexpr int margin = 10;
    static constexpr int axisHeight = 30;
    static constexpr int rowHeight = 24;
    static constexpr int barTop = 2;
    static constexpr int barHeight = 12;
    static constexpr int waveHeight = 100;
    static constexpr std::size_t maxLabelCharacters = 40;
    // More rows than this would make a picture nobody can read, and one of unbounded size.
    static constexpr std::size_t maxRecords = 2000;

    static constexpr Colour background{24, 24, 28};
    static constexpr Colour triggerColour{255, 200, 60};
    static constexpr Colour waveColour{110, 200, 140};

    // Throws std::runtime_error for a timeline of more than `maxRecords` effect records.
    TimelineChart(ChartTimeline timeline, MusicWaveform music);

    // The seconds the chart spans from 0: the music, and every set-up, start and trigger; without
    // music every event. Whole seconds, at least one, at most the longest demo.
    double span() const { return seconds; }
    // Seconds between labelled marks along the time axis, the same all along: at least ten, and
    // enough for the widest label; between marks, a step that divides it.
    long labelStep() const;
    long markStep() const;
    int plotLeft() const { return labelWidth; }
    int xOf(double time) const;
    // The top of each record's row, in the order of `records()`.
    int rowTop(std::size_t row) const;
    int waveTop() const;
    // The records in the chart's order: by layer, then as the script gives them.
    const std::vector<ChartRecord>& records() const { return rows; }

    static Colour barColour(int layer);
    static Colour initColour(int layer);

    Image draw() const;
    // Throws std::runtime_error when the file cannot be written; no file is left then.
    void write(const std::filesystem::path& path) const;

private:
    // Labels read "h:mm:ss" on charts of an hour or more, "m:ss" on shorter ones.
    bool hours() const { return seconds >= 3600.0; }
    void drawTimeMarks(Image& picture) const;
    void drawRows(Image& picture) const;
    void drawTriggers(Image& picture) const;
    void drawWaveform(Image& picture) const;
    int layerHeadingsBefore(std::size_t row) const;
    std::vector<std::size_t> triggerRows(const ChartTrigger& trigger) const;

    double seconds;
    std::vector<ChartRecord> rows;
    std::vector<ChartTrigger> triggers;
    // Each effect's rows, so that many triggers do not each search every row.
    std::map<std::string, std::vector<std::size_t>> effectRows;
    MusicWaveform music;
    int labelWidth = 0;
    int height = 0;
};
