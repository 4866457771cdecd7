#include "ViewWarnings.h"

#include "MusicRequest.h"
#include "PortablePath.h"
#include "ScriptLoader.h"
#include "ScriptRecord.h"
#include "StreamDecoder.h"

#include <exception>

namespace fs = std::filesystem;

namespace {

// Only the length and whether it plays matter to the checks: the waveform's blocks are counted
// and left flat.
MusicWaveform measure(const std::string& name, const std::optional<fs::path>& path) {
    MusicWaveform music;
    music.music = name;
    const MusicRequest request = MusicRequest::parse(name);
    if (request.kind == MusicRequest::Kind::CdTrack || request.kind == MusicRequest::Kind::None) {
        music.reason = "not a music file";
        return music;
    }
    std::error_code failed;
    if (!path || !fs::is_regular_file(*path, failed)) {
        music.reason = "file not found";
        return music;
    }
    if (request.kind == MusicRequest::Kind::Song) {
        // A song's length is not the clock's: that it is there is all the checks need.
        music.wave.emplace();
        return music;
    }
    try {
        StreamDecoder decoder(*path, Waveform::sampleRate);
        std::vector<float> block(Waveform::blockFrames * 2);
        Waveform wave;
        const auto maxBlocks = static_cast<std::size_t>(
            Waveform::maxSeconds * Waveform::sampleRate / Waveform::blockFrames);
        std::size_t got = Waveform::blockFrames;
        while (got == Waveform::blockFrames && wave.low.size() < maxBlocks) {
            got = decoder.render(block.data(), Waveform::blockFrames);
            if (got == 0)
                break;
            wave.low.push_back(0.0f);
            wave.high.push_back(0.0f);
        }
        music.wave = std::move(wave);
    } catch (const std::exception& problem) {
        music.reason = problem.what();
    }
    return music;
}

} // namespace

const MusicWaveform& ViewWarnings::music(const std::vector<TimelineEvent>& events) {
    MusicStamp stamp;
    const std::optional<std::string> name = findMusic(events);
    std::optional<fs::path> path;
    if (name) {
        stamp.name = *name;
        path = resolvePortablePath(*name);
        if (path) {
            std::error_code failed;
            stamp.path = *path;
            stamp.time = fs::last_write_time(*path, failed);
            stamp.size = failed ? 0 : fs::file_size(*path, failed);
        }
    }
    if (decodedStamp != stamp) {
        if (name) {
            decoded = measure(*name, path);
        } else {
            decoded = MusicWaveform{};
            decoded.reason = "no music";
        }
        decodedStamp = stamp;
    }
    return decoded;
}

std::vector<Diagnostic> ViewWarnings::read(const std::string& scriptName,
                                           const std::vector<Effect*>& registry,
                                           const std::vector<TimelineEvent>& events,
                                           DemoClockKind clock) {
    // The checks read the script from its start; the records are read from a load of their own.
    const auto records = loadScript(scriptName);
    spans.clear();
    for (const ScriptRecord& record : readScriptRecords(*records, registry)) {
        if (record.isEffect())
            spans.push_back({record.name, &record.effect(), record.events.front().layer,
                             record.startTime(), record.stopTime()});
    }
    const auto script = loadScript(scriptName);
    return demoWarnings(*script, registry, music(events), clock);
}

const RecordSpan* recordShowing(const std::vector<RecordSpan>& records, const Effect* effect,
                                double time) {
    const RecordSpan* latest = nullptr;
    for (const RecordSpan& record : records) {
        if (record.effect != effect || record.start > time)
            continue;
        if (time < record.stop)
            return &record;
        if (!latest || record.start >= latest->start)
            latest = &record;
    }
    return latest;
}
