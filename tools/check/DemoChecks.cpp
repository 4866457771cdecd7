#include "DemoChecks.h"

#include "DomCursor.h"
#include "Effect.h"
#include "EffectCatalogue.h"
#include "MusicRequest.h"
#include "ScriptChecks.h"
#include "ScriptLoader.h"

#include <algorithm>

namespace {

MusicFacts musicFacts(const MusicWaveform& music) {
    MusicFacts facts;
    facts.name = music.music;
    const MusicRequest::Kind kind = MusicRequest::parse(music.music).kind;
    facts.stream = kind == MusicRequest::Kind::Stream;
    facts.usable = music.wave.has_value() || kind == MusicRequest::Kind::CdTrack;
    // Music past the waveform's limit was left undecoded: its end is not known.
    if (facts.stream && music.wave && music.wave->seconds() < Waveform::maxSeconds)
        facts.seconds = music.wave->seconds();
    return facts;
}

std::vector<Diagnostic> warningsOf(const LoadNotes& notes, std::vector<ScriptRecord> records,
                                   const std::vector<Effect*>& registry, const MusicWaveform& music,
                                   DemoClockKind clock) {
    ScriptFacts facts;
    facts.notes = &notes;
    facts.records = std::move(records);
    for (const Effect* effect : registry)
        facts.effectNames.push_back(effect->getName());
    facts.inputsOf = EffectCatalogue::inputsOf;
    facts.musicClock = clock == DemoClockKind::Music;
    facts.music = musicFacts(music);
    return checkScript(facts);
}

} // namespace

std::vector<Diagnostic> demoWarnings(DomCursor& script, const std::vector<Effect*>& registry,
                                     const MusicWaveform& music, DemoClockKind clock) {
    return warningsOf(script.getNotes(), readScriptRecords(script, registry), registry, music,
                      clock);
}

std::vector<Diagnostic> demoWarnings(const std::string& scriptName,
                                     const std::vector<Effect*>& registry, DemoClockKind clock) {
    const auto script = loadScript(scriptName);
    std::vector<ScriptRecord> records = readScriptRecords(*script, registry);
    // The music is found as the player finds it, from the set-ups of the timeline.
    std::vector<TimelineEvent> setUps;
    for (const ScriptRecord& record : records) {
        if (record.isEffect())
            setUps.push_back(record.events.front());
    }
    std::stable_sort(setUps.begin(), setUps.end(),
                     [](const auto& a, const auto& b) { return a.time < b.time; });
    return warningsOf(script->getNotes(), std::move(records), registry, readMusicWaveform(setUps),
                      clock);
}
