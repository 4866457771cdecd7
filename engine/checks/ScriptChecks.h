#pragma once

#include "Diagnostic.h"
#include "EffectInputs.h"
#include "LoadNotes.h"
#include "ScriptRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The checks of a loaded script: what loads but probably does not do what was meant, each said
// as a warning at its place, with a note where there is a likely fix. No check changes what is
// loaded. Each is fed what the loader and the tools already know, gathered in ScriptFacts.

// The music that the sound player's record names, as the tools found it.
struct MusicFacts {
    // The music's name as the script writes it; empty when no record names music.
    std::string name;
    // A stream (its position is the clock), as opposed to a song, a CD track or no player.
    bool stream = false;
    // The file can be played.
    bool usable = false;
    // A stream's length in seconds, when it was decoded.
    std::optional<double> seconds;
};

// A file that an effect record has its effect load and that cannot be used.
struct FileProblem {
    // The record, an index into ScriptFacts::records.
    std::size_t record = 0;
    // The data string that names the file; nothing for the effect's own default.
    std::optional<std::size_t> data;
    // "picture" or "music".
    std::string kind;
    std::string name;
    // Why it cannot be used, as `reelcheck --files` says it.
    std::string status;
};

struct ScriptFacts {
    const LoadNotes* notes = nullptr;
    std::vector<ScriptRecord> records;
    // Every registered effect name, in registration order.
    std::vector<std::string> effectNames;
    // What a script can hand the effect of a name; nullptr when nothing is stated.
    const EffectInputs* (*inputsOf)(std::string_view effectName) = nullptr;
    // The clock is the music's position, as in the player; otherwise it runs frame by frame
    // whatever the music does (an offline render's free clock).
    bool musicClock = true;
    MusicFacts music;
    std::vector<FileProblem> files;
};

// Every check, the warnings sorted by place and each said once (a file included twice says its
// things once).
std::vector<Diagnostic> checkScript(const ScriptFacts& facts);

// A statement, record or vector holds values after those its definition reads.
std::vector<Diagnostic> checkIgnoredValues(const LoadNotes& notes);
// A word read as a number that is not one as a whole, or an int out of range.
std::vector<Diagnostic> checkNumberWords(const LoadNotes& notes);
// An escape inside double quotes that the language drops.
std::vector<Diagnostic> checkDroppedEscapes(const LoadNotes& notes);
// A trigger its effect never reacts to.
std::vector<Diagnostic> checkTriggerNames(const ScriptFacts& facts);
// A trigger for an effect object that no record sets up.
std::vector<Diagnostic> checkTriggerTargets(const ScriptFacts& facts);
// Times out of order, or past the music's end or the demo's end through its end trigger.
std::vector<Diagnostic> checkTimes(const ScriptFacts& facts);
// Records after 0 s while the clock stands at 0 for want of music.
std::vector<Diagnostic> checkMusicClock(const ScriptFacts& facts);
// Two records of one effect object whose times overlap.
std::vector<Diagnostic> checkOverlaps(const ScriptFacts& facts);
// Pictures and music that cannot be used.
std::vector<Diagnostic> checkFiles(const ScriptFacts& facts);
// Numbers an effect or trigger cannot use: an incomplete group, or more than it reads.
std::vector<Diagnostic> checkNumberCounts(const ScriptFacts& facts);

// Of `names`, the one `written` was most likely meant to be: the same but for letter case, or a
// letter or two apart (fewer for short names). Empty when none is that close.
std::string nearestName(std::string_view written, const std::vector<std::string_view>& names);
