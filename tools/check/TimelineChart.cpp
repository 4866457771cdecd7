#include "TimelineChart.h"

#include "BitmapFont.h"
#include "DataNode.h"
#include "DemoLength.h"
#include "DomCursor.h"
#include "Effect.h"
#include "PngFile.h"
#include "TimelineLoader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int headingHeight = 14;
constexpr int labelGap = 4;
constexpr TimelineChart::Colour labelColour{220, 220, 220};
constexpr TimelineChart::Colour headingColour{150, 150, 160};
constexpr TimelineChart::Colour gridColour{44, 44, 52};
constexpr TimelineChart::Colour markColour{170, 170, 180};
constexpr TimelineChart::Colour centreColour{70, 70, 80};
// Marks and labels step by one of these, in seconds; each divides those after it that a label
// step may be, so that marks fall on the labelled ones.
constexpr long steps[] = {1,    2,    5,    10,    15,    30,    60,    120,    300,    600,   900,
                          1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800, 432000, 864000};
// The least step between labels, and the least room between marks, in pixels.
constexpr long leastLabelStep = 10;
constexpr double leastMarkRoom = 3.0;

// Cut to `limit` characters, and "..." to say so.
std::string shortened(const std::string& text, std::size_t limit) {
    return text.size() > limit ? text.substr(0, limit) + "..." : text;
}

// "m:ss", or "h:mm:ss" on a chart of an hour or more.
std::string timeLabel(long seconds, bool hours) {
    char text[48];
    if (hours)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

void fill(Image& picture, int left, int top, int right, int bottom, TimelineChart::Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, picture.width);
    bottom = std::min(bottom, picture.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            std::copy(colour.begin(), colour.end(), picture.at(x, y));
    }
}

std::string rowLabel(const ChartRecord& record) {
    return shortened(record.name + ": " + record.effect, TimelineChart::maxLabelCharacters);
}

// The waveform strip's name in the label column: the music file, as the script names it.
std::string musicHeading(const MusicWaveform& music) {
    return music.music.empty() ? "MUSIC" : shortened(music.music, 30);
}

double chartSpan(const ChartTimeline& timeline, const MusicWaveform& music) {
    double end = music.wave ? music.wave->seconds() : timeline.lastEventTime;
    // With music, records that stop long after it (as many do, "until the end") are cut off
    // rather than stretching the chart.
    for (const ChartRecord& record : timeline.records)
        end = std::max({end, record.initTime, record.startTime});
    for (const ChartTrigger& trigger : timeline.triggers)
        end = std::max(end, trigger.time);
    return std::clamp(std::ceil(end), 1.0, longestDemoSeconds);
}

} // namespace

ChartTimeline readChartTimeline(DomCursor& cursor, const std::vector<Effect*>& registry) {
    ChartTimeline timeline;
    TimelineLoader loader(registry);
    for (cursor.selectNext(); cursor.getCurrent(); cursor.selectNext()) {
        const std::string recordName = cursor.getCurrent()->getName();
        cursor.enter();
        const std::string type = cursor.typeName();
        if (type == "DemoEffect") {
            loader.readEffectRecord(cursor, recordName);
            const std::vector<TimelineEvent> events = loader.takeEvents();
            timeline.records.push_back({recordName, events[0].effect->getName(), events[0].layer,
                                        events[0].time, events[1].time, events[2].time});
        } else if (type == "DemoTrigger") {
            loader.readTriggerRecord(cursor, recordName);
            for (const TimelineEvent& event : loader.takeEvents())
                timeline.triggers.push_back(
                    {event.time, event.effect->getName(), event.message->triggerId});
        }
        cursor.leave();
    }
    for (const ChartRecord& record : timeline.records)
        timeline.lastEventTime =
            std::max({timeline.lastEventTime, record.initTime, record.startTime, record.stopTime});
    for (const ChartTrigger& trigger : timeline.triggers)
        timeline.lastEventTime = std::max(timeline.lastEventTime, trigger.time);
    return timeline;
}

TimelineChart::TimelineChart(ChartTimeline timeline, MusicWaveform music)
    : seconds(chartSpan(timeline, music)), rows(std::move(timeline.records)),
      triggers(std::move(timeline.triggers)), music(std::move(music)) {
    if (rows.size() > maxRecords)
        throw std::runtime_error(
            "too many effect records for a chart: " + std::to_string(rows.size()) + ", at most " +
            std::to_string(maxRecords));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ChartRecord& a, const ChartRecord& b) { return a.layer < b.layer; });
    std::stable_sort(triggers.begin(), triggers.end(),
                     [](const ChartTrigger& a, const ChartTrigger& b) { return a.time < b.time; });
    for (std::size_t row = 0; row < rows.size(); ++row)
        effectRows[rows[row].effect].push_back(row);

    int widest = BitmapFont::textWidth(musicHeading(this->music));
    for (const ChartRecord& record : rows)
        widest = std::max(widest, BitmapFont::textWidth(rowLabel(record)));
    labelWidth = margin + widest + 2 * margin;
    height = waveTop() + waveHeight + margin;
}

int TimelineChart::xOf(double time) const {
    // Times far outside the span (a script may give any finite number) land just off the plot.
    const double column = std::clamp(std::floor(time / seconds * plotWidth), -1.0, plotWidth + 1.0);
    return plotLeft() + static_cast<int>(column);
}

int TimelineChart::layerHeadingsBefore(std::size_t row) const {
    int headings = 0;
    for (std::size_t i = 0; i <= row && i < rows.size(); ++i) {
        if (i == 0 || rows[i].layer != rows[i - 1].layer)
            ++headings;
    }
    return headings;
}

int TimelineChart::rowTop(std::size_t row) const {
    return axisHeight + static_cast<int>(row) * rowHeight +
           layerHeadingsBefore(row) * headingHeight;
}

int TimelineChart::waveTop() const {
    return rows.empty() ? axisHeight + margin : rowTop(rows.size() - 1) + rowHeight + margin;
}

TimelineChart::Colour TimelineChart::barColour(int layer) {
    static constexpr Colour palette[] = {
        {60, 110, 190}, {170, 80, 150}, {50, 150, 140}, {190, 110, 50}, {120, 100, 200}};
    constexpr int count = static_cast<int>(std::size(palette));
    return palette[((layer % count) + count) % count];
}

TimelineChart::Colour TimelineChart::initColour(int layer) {
    Colour colour = barColour(layer);
    for (std::uint8_t& channel : colour)
        channel = static_cast<std::uint8_t>(channel + (255 - channel) / 2);
    return colour;
}

long TimelineChart::labelStep() const {
    const double pixelsPerSecond = plotWidth / seconds;
    const int widest = BitmapFont::textWidth(timeLabel(static_cast<long>(seconds), hours()));
    for (const long step : steps) {
        if (step >= leastLabelStep && step * pixelsPerSecond >= widest + 2 * labelGap)
            return step;
    }
    return std::end(steps)[-1];
}

long TimelineChart::markStep() const {
    const double pixelsPerSecond = plotWidth / seconds;
    const long labelled = labelStep();
    for (const long step : steps) {
        if (step * pixelsPerSecond >= leastMarkRoom && labelled % step == 0)
            return step;
    }
    return labelled;
}

void TimelineChart::drawTimeMarks(Image& picture) const {
    const int right = plotLeft() + plotWidth;
    const long labelled = labelStep();
    const long every = markStep();
    for (long second = 0; second <= static_cast<long>(seconds); second += every) {
        const int x = std::min(xOf(static_cast<double>(second)), right - 1);
        const bool withLabel = second % labelled == 0;
        if (withLabel)
            fill(picture, x, axisHeight, x + 1, height - margin, gridColour);
        fill(picture, x, axisHeight - (withLabel ? 10 : 4), x + 1, axisHeight, markColour);
        if (withLabel) {
            // Centred on its mark; the last kept inside the picture.
            const std::string label = timeLabel(second, hours());
            const int width = BitmapFont::textWidth(label);
            BitmapFont::draw(picture, std::min(x - width / 2, picture.width - width), margin,
                             label, 1, markColour);
        }
    }
    fill(picture, plotLeft(), axisHeight - 1, right, axisHeight, markColour);
}

void TimelineChart::drawRows(Image& picture) const {
    const int right = plotLeft() + plotWidth;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ChartRecord& record = rows[row];
        const int top = rowTop(row);
        if (row == 0 || record.layer != rows[row - 1].layer)
            BitmapFont::draw(picture, margin, top - headingHeight + 4,
                             "LAYER " + std::to_string(record.layer), 1, headingColour);
        BitmapFont::draw(picture, margin * 2, top + barTop + (barHeight - 7) / 2, rowLabel(record),
                         1, labelColour);
        // A record's times need not be in order; each bar covers what lies between its ends.
        const auto bar = [&](double from, double to, Colour colour) {
            if (to <= from)
                return;
            const int left = std::clamp(xOf(from), plotLeft(), right);
            const int end = std::clamp(std::max(xOf(to), left + 1), plotLeft(), right);
            fill(picture, left, top + barTop, end, top + barTop + barHeight, colour);
        };
        bar(record.initTime, record.startTime, initColour(record.layer));
        bar(record.startTime, record.stopTime, barColour(record.layer));
    }
}

// The rows of the trigger's effect that are set up at its time; all of them when none is.
std::vector<std::size_t> TimelineChart::triggerRows(const ChartTrigger& trigger) const {
    const auto found = effectRows.find(trigger.effect);
    if (found == effectRows.end())
        return {};
    std::vector<std::size_t> covering;
    for (std::size_t row : found->second) {
        const double from = std::min(rows[row].initTime, rows[row].startTime);
        if (trigger.time >= from && trigger.time <= rows[row].stopTime)
            covering.push_back(row);
    }
    return covering.empty() ? found->second : covering;
}

void TimelineChart::drawTriggers(Image& picture) const {
    const int right = plotLeft() + plotWidth;
    for (const ChartTrigger& trigger : triggers) {
        const int x = xOf(trigger.time);
        if (x < plotLeft() || x >= right)
            continue;
        for (std::size_t row : triggerRows(trigger))
            fill(picture, x, rowTop(row), x + 1, rowTop(row) + rowHeight - 1, triggerColour);
    }
    // The names go over the ticks of later triggers, on a patch of background, so that a run of
    // close triggers still reads as the first one's name.
    std::vector<int> labelEnds(rows.size(), 0);
    for (const ChartTrigger& trigger : triggers) {
        const int x = xOf(trigger.time);
        const std::string label = shortened(trigger.name, maxLabelCharacters);
        const int labelX = x + 2;
        const int labelRight = labelX + BitmapFont::textWidth(label) + 2;
        if (x < plotLeft() || labelRight > right)
            continue;
        for (std::size_t row : triggerRows(trigger)) {
            if (labelX < labelEnds[row] + labelGap)
                continue;
            const int textTop = rowTop(row) + barTop + barHeight + 2;
            fill(picture, labelX, textTop - 1, labelRight, textTop + BitmapFont::glyphHeight + 1,
                 background);
            BitmapFont::draw(picture, labelX + 1, textTop, label, 1, triggerColour);
            labelEnds[row] = labelRight;
        }
    }
}

void TimelineChart::drawWaveform(Image& picture) const {
    const int top = waveTop();
    const int centre = top + waveHeight / 2;
    BitmapFont::draw(picture, margin, centre - 3, musicHeading(music), 1, headingColour);
    fill(picture, plotLeft(), centre, plotLeft() + plotWidth, centre + 1, centreColour);
    if (!music.wave) {
        const std::string note =
            music.music.empty() ? "NO MUSIC" : "NO WAVEFORM: " + shortened(music.reason, 80);
        BitmapFont::draw(picture, plotLeft() + margin, top + 8, note, 1, labelColour);
        return;
    }
    const Waveform& wave = *music.wave;
    const double blocksPerSecond =
        static_cast<double>(Waveform::sampleRate) / Waveform::blockFrames;
    const int half = waveHeight / 2 - 2;
    for (int column = 0; column < plotWidth; ++column) {
        const double from = seconds * column / plotWidth;
        const double to = seconds * (column + 1) / plotWidth;
        const auto first = static_cast<std::size_t>(from * blocksPerSecond);
        const auto last = std::max(first + 1, static_cast<std::size_t>(to * blocksPerSecond));
        if (first >= wave.low.size())
            break;
        float low = 0.0f;
        float high = 0.0f;
        for (std::size_t block = first; block < last && block < wave.low.size(); ++block) {
            low = std::min(low, wave.low[block]);
            high = std::max(high, wave.high[block]);
        }
        const int x = plotLeft() + column;
        const int highY = centre - static_cast<int>(std::lround(high * half));
        const int lowY = centre - static_cast<int>(std::lround(low * half));
        // Quiet music stays on the centre line rather than a pixel off it.
        if (lowY > highY)
            fill(picture, x, highY, x + 1, lowY + 1, waveColour);
    }
}

Image TimelineChart::draw() const {
    Image picture(plotLeft() + plotWidth + margin, height);
    fill(picture, 0, 0, picture.width, picture.height, background);
    drawTimeMarks(picture);
    drawRows(picture);
    drawTriggers(picture);
    drawWaveform(picture);
    return picture;
}

void TimelineChart::write(const std::filesystem::path& path) const {
    writePng(path, draw());
}
