#include "DemoChecks.h"

#include "DomCursor.h"
#include "Effect.h"
#include "EffectCatalogue.h"
#include "EffectFiles.h"
#include "FileReport.h"
#include "MusicRequest.h"
#include "ScriptChecks.h"
#include "ScriptLoader.h"

#include <algorithm>
#include <map>

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

// The files each effect record has its effect load that cannot be used, each file probed once.
std::vector<FileProblem> fileProblems(const std::vector<ScriptRecord>& records) {
    std::map<std::pair<FileKind, std::string>, std::string> statuses;
    std::vector<FileProblem> problems;
    for (std::size_t index = 0; index < records.size(); ++index) {
        const ScriptRecord& record = records[index];
        if (!record.isEffect())
            continue;
        for (const FileUse& file : filesUsedBy(record.effectName(), record.data())) {
            auto [entry, added] = statuses.try_emplace({file.kind, file.name});
            if (added)
                entry->second = file.kind == FileKind::Picture ? pictureStatus(file.name)
                                                               : musicStatus(file.name);
            if (usableStatus(entry->second))
                continue;
            FileProblem problem{index, std::nullopt,
                                file.kind == FileKind::Picture ? "picture" : "music", file.name,
                                entry->second};
            const auto& data = record.data();
            if (const auto named = std::find(data.begin(), data.end(), file.name);
                named != data.end())
                problem.data = static_cast<std::size_t>(named - data.begin());
            problems.push_back(std::move(problem));
        }
    }
    return problems;
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
    facts.files = fileProblems(facts.records);
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
