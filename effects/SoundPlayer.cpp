#include "SoundPlayer.h"

#include "Music.h"
#include "VolumeGroup.h"

#include <cstdint>

SoundPlayer::ProgramWide SoundPlayer::programWide;

namespace {

void setMusicVolume(int volume) {
    musicGroup().setMasterVolume(static_cast<std::uint8_t>(volume & 0xFF));
}

} // namespace

bool SoundPlayer::musicLoaded() {
    return programWide.loaded;
}

void SoundPlayer::init() {
    initSound();
}

void SoundPlayer::render() {
    loadMusicOnce();
    if (fading)
        fadeStep();
}

void SoundPlayer::trigger(const std::string& triggerId, const std::vector<float>&) {
    if (triggerId == theEnd)
        fading = true;
}

void SoundPlayer::loadMusicOnce() {
    if (programWide.loaded)
        return;
    if (!data.empty()) {
        loadMusic(data.front());
        setMusicVolume(volume);
    }
    programWide.loaded = true;
}

// Held at silence once there: frames drawn after the end must not wrap the volume back to loud.
void SoundPlayer::fadeStep() {
    if (volume > 0)
        --volume;
    setMusicVolume(volume);
    if (volume <= 0)
        finished = true;
}
