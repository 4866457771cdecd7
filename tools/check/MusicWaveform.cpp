#include "MusicWaveform.h"

#include "Effect.h"
#include "MusicRequest.h"
#include "SoundLibrary.h"
#include "SoundPlayer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int streamChannels = 1;

// The library runs offline only while the music is decoded, and is closed whatever happens.
class OfflineLibrary {
public:
    OfflineLibrary() : library(SoundLibrary::instance()) {
        library.setOutput(AudioOutput::Offline);
        ready = library.init(Waveform::sampleRate, streamChannels);
    }
    ~OfflineLibrary() { library.close(); }
    OfflineLibrary(const OfflineLibrary&) = delete;
    OfflineLibrary& operator=(const OfflineLibrary&) = delete;

    SoundLibrary& library;
    bool ready = false;
};

// Mixes blocks until `playing` says the music is over or the length limit is reached.
template <typename Playing>
Waveform mixWaveform(SoundLibrary& library, Playing playing) {
    Waveform wave;
    const auto maxBlocks = static_cast<std::size_t>(Waveform::maxSeconds * Waveform::sampleRate /
                                                    Waveform::blockFrames);
    std::vector<float> block(Waveform::blockFrames * 2);
    while (playing() && wave.low.size() < maxBlocks) {
        library.renderOffline(block.data(), Waveform::blockFrames);
        const auto [low, high] = std::minmax_element(block.begin(), block.end());
        wave.low.push_back(*low);
        wave.high.push_back(*high);
    }
    // The block in which the music ended is mixed partly from silence; it still counts.
    return wave;
}

void decode(MusicWaveform& result) {
    const MusicRequest request = MusicRequest::parse(result.music);
    if (request.kind == MusicRequest::Kind::CdTrack) {
        result.reason = "a CD track has no waveform";
        return;
    }
    if (request.kind == MusicRequest::Kind::None) {
        result.reason = "not a music file";
        return;
    }
    OfflineLibrary offline;
    SoundLibrary& library = offline.library;
    if (!offline.ready) {
        result.reason = "the sound library does not start";
        return;
    }
    if (request.kind == MusicRequest::Kind::Stream) {
        const StreamHandle stream = library.openStream(result.music);
        if (!stream || library.playStream(SoundLibrary::noChannel, stream) < 0) {
            result.reason = library.lastError();
            return;
        }
        result.wave = mixWaveform(library, [&] { return !library.streamEnded(stream); });
    } else {
        const SongHandle song = library.loadSong(result.music);
        if (!song) {
            result.reason = library.lastError();
            return;
        }
        library.playSong(song);
        result.wave = mixWaveform(library, [&] { return library.songPlaying(song); });
    }
}

} // namespace

std::optional<std::string> findMusic(const std::vector<TimelineEvent>& events) {
    for (const TimelineEvent& event : events) {
        if (event.kind == EventKind::Init && !event.data.empty() &&
            dynamic_cast<const SoundPlayer*>(event.effect))
            return event.data.front();
    }
    return std::nullopt;
}

MusicWaveform readMusicWaveform(const std::vector<TimelineEvent>& events) {
    MusicWaveform result;
    const std::optional<std::string> music = findMusic(events);
    if (!music) {
        result.reason = "no music";
        return result;
    }
    result.music = *music;
    decode(result);
    return result;
}
