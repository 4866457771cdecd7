#pragma once

#include "DemoChecks.h"
#include "Diagnostic.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class Effect;
struct TimelineEvent;

// An effect record as the title names it while it shows.
struct RecordSpan {
    std::string name;
    const Effect* effect = nullptr;
    int layer = 0;
    double start = 0.0;
    double stop = 0.0;
};

// The warnings reelcheck gives, for a script the viewer has just (re)loaded. The checks want the
// music's length; it is decoded apart from the sound library, which plays the music meanwhile,
// and only again once the music file changes.
class ViewWarnings {
public:
    // Runs in the script's folder; `events` are the timeline just loaded from it with `registry`.
    // Throws what loading the script throws.
    std::vector<Diagnostic> read(const std::string& scriptName,
                                 const std::vector<Effect*>& registry,
                                 const std::vector<TimelineEvent>& events, DemoClockKind clock);
    // The effect records of the script last read.
    const std::vector<RecordSpan>& records() const { return spans; }
    // Why the music of the script last read cannot be played; empty when it can.
    const std::string& musicProblem() const { return decoded.reason; }

private:
    struct MusicStamp {
        std::string name;
        std::filesystem::path path;
        std::filesystem::file_time_type time{};
        std::uintmax_t size = 0;
        bool operator==(const MusicStamp&) const = default;
    };

    const MusicWaveform& music(const std::vector<TimelineEvent>& events);

    std::optional<MusicStamp> decodedStamp;
    MusicWaveform decoded;
    std::vector<RecordSpan> spans;
};

// The records showing `effect` at `time`: the one whose span holds it, else the last one started
// before it; nullptr when no record shows it.
const RecordSpan* recordShowing(const std::vector<RecordSpan>& records, const Effect* effect,
                                double time);
