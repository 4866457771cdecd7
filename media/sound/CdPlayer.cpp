#include "CdPlayer.h"

#include "VolumeGroup.h"

CdPlayer::CdPlayer(VolumeGroup& group, SoundLibrary& library, int track, int mode)
    : MusicPlayer(group), library(library), number(track), playMode(mode) {}

CdPlayer::~CdPlayer() {
    CdPlayer::stop();
}

bool CdPlayer::ownsCd() const {
    return ownStart != 0 && library.cd().start == ownStart;
}

void CdPlayer::resume() {
    library.setCdPaused(false);
}

void CdPlayer::setVolume(std::uint8_t volume) {
    ownVolume = volume;
    library.setCdVolume(static_cast<std::uint8_t>(group.scaleVolume(volume)));
}

void CdPlayer::play() {
    if (library.cdPaused()) {
        library.setCdPaused(false);
    } else {
        library.setCdPlayMode(playMode);
        library.playCd(number);
        ownStart = library.cd().start;
    }
}

void CdPlayer::pause() {
    library.setCdPaused(true);
}

void CdPlayer::stop() {
    if (ownsCd()) {
        library.stopCd();
    }
}
