#include "SongPlayer.h"

#include "VolumeGroup.h"

SongPlayer::SongPlayer(VolumeGroup& group, SoundLibrary& library, SongHandle song)
    : MusicPlayer(group), library(library), own(song) {}

SongPlayer::~SongPlayer() {
    library.freeSong(own);
}

void SongPlayer::resume() {
    library.setSongPaused(own, false);
}

void SongPlayer::setVolume(std::uint8_t volume) {
    ownVolume = volume;
    library.setSongVolume(own, static_cast<std::uint8_t>(group.scaleVolume(volume)));
}

void SongPlayer::play() {
    if (library.songPaused(own)) {
        library.setSongPaused(own, false);
    } else {
        library.playSong(own);
    }
}

void SongPlayer::pause() {
    library.setSongPaused(own, true);
}

void SongPlayer::stop() {
    library.stopSong(own);
}
