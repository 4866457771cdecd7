#pragma once

#include "Diagnostic.h"
#include "MusicWaveform.h"

#include <string>
#include <vector>

class DomCursor;
class Effect;

// How the demo's clock runs where it is played.
enum class DemoClockKind {
    // The music's position, as in the player (and reelview, and reelrender by default).
    Music,
    // Frame by frame whatever the music does (reelrender --clock free).
    Free,
};

// The warnings of a loaded demo script: the checks of ScriptChecks, fed with the script's
// records, what its effects state they take, the files they load and the music, found as
// `reelcheck --files` and the chart find them. Runs in the script's folder. `script` must not
// have been moved; `music` is what readMusicWaveform found for the script's timeline.
std::vector<Diagnostic> demoWarnings(DomCursor& script, const std::vector<Effect*>& registry,
                                     const MusicWaveform& music,
                                     DemoClockKind clock = DemoClockKind::Music);

// The same for a script by name, loaded afresh with its music decoded: what a viewer calls after
// each (re)load, from the script's folder, with the registry it loaded the script with. Throws
// what loading throws; after a load that succeeded it does not.
std::vector<Diagnostic> demoWarnings(const std::string& scriptName,
                                     const std::vector<Effect*>& registry,
                                     DemoClockKind clock = DemoClockKind::Music);
