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
};
