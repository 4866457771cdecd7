#pragma once

#include "TimelineEvent.h"

#include <optional>
#include <string>
#include <vector>

// The demo's music as a chart draws it: the lowest and highest sample (of either channel) of
// every block of `blockFrames` frames, decoded offline from start to end.
struct Waveform {
    static constexpr int sampleRate = 44100;
    static constexpr int blockFrames = 100;
    // Music past this is left off, so that an endless song cannot keep the chart from finishing.
    static constexpr double maxSeconds = 3600.0;

    std::vector<float> low;
    std::vector<float> high;

    double seconds() const { return static_cast<double>(low.size()) * blockFrames / sampleRate; }
};

// What the chart can say about the music: its waveform, or why there is none.
struct MusicWaveform {
    // The script's music text; empty when no sound player names one.
    std::string music;
    std::optional<Waveform> wave;
    std::string reason;
};

// The music text of the first sound player record that names one; nothing when none does.
std::optional<std::string> findMusic(const std::vector<TimelineEvent>& events);

// Decodes the music the timeline's sound player names, as the offline renderer mixes it but
// with no frames drawn. Never throws for music that is missing or cannot be decoded: the result
// then holds the reason.
MusicWaveform readMusicWaveform(const std::vector<TimelineEvent>& events);
