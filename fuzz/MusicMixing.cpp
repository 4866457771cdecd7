#include "MusicMixing.h"

#include "FuzzSupport.h"
#include "SoundLibrary.h"

#include <cmath>
#include <vector>

namespace {

constexpr int mixingRate = 44100;
constexpr std::size_t framesPerPicture = mixingRate / 60;

void checkSamples(const std::vector<float>& samples) {
    for (float sample : samples)
        require(std::isfinite(sample) && sample >= -1.0f && sample <= 1.0f,
                "a mixed sample that is not finite or out of range");
}

} // namespace

void mixOffline(const std::string& name, MusicKind kind, double seconds) {
    SoundLibrary library;
    library.setOutput(AudioOutput::Offline);
    require(library.init(mixingRate, 1), "the offline sound library does not start");
    StreamHandle stream;
    SongHandle song;
    if (kind == MusicKind::Stream) {
        stream = library.openStream(name);
        library.playStream(SoundLibrary::noChannel, stream);
    } else {
        song = library.loadSong(name);
        library.playSong(song);
    }
    if (!stream && !song) {
        require(!library.lastError().empty(), "music refused without a reason");
        return;
    }
    std::vector<float> samples(framesPerPicture * 2);
    int position = 0;
    const auto pictures = static_cast<int>(seconds * 60);
    for (int picture = 0; picture < pictures; ++picture) {
        library.renderOffline(samples.data(), framesPerPicture);
        checkSamples(samples);
        const int now = stream ? library.streamTime(stream) : library.songTime(song);
        const auto mixed = static_cast<int>(static_cast<std::size_t>(picture + 1) *
                                            framesPerPicture * 1000 / mixingRate);
        require(now >= position, "the music's position ran back");
        require(now <= mixed, "the music's position ran ahead of what was mixed");
        position = now;
    }
}
