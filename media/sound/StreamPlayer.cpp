#include "StreamPlayer.h"

#include "VolumeGroup.h"

StreamPlayer::StreamPlayer(VolumeGroup& group, SoundLibrary& library, StreamHandle stream)
    : MusicPlayer(group), library(library), own(stream) {}

StreamPlayer::~StreamPlayer() {
    StreamPlayer::stop();
}

bool StreamPlayer::stillPlaysOwnStream() {
    if (playingChannel == SoundLibrary::noChannel) {
        return false;
    }
    if (library.channelStream(playingChannel) == own && library.channelPlaying(playingChannel)) {
        return true;
    }
    playingChannel = SoundLibrary::noChannel;
    return false;
}

bool StreamPlayer::lost() {
    if (playingChannel == SoundLibrary::noChannel) {
        return true;
    }
    if (library.channelStream(playingChannel) == own) {
        return false;
    }
    playingChannel = SoundLibrary::noChannel;
    return true;
}

void StreamPlayer::resume() {
    if (stillPlaysOwnStream()) {
        library.setStreamPaused(own, false);
    }
}

void StreamPlayer::setVolume(std::uint8_t volume) {
    ownVolume = volume;
    if (!lost()) {
        library.setChannelVolume(playingChannel,
                                 static_cast<std::uint8_t>(group.scaleVolume(volume)));
    }
}

void StreamPlayer::play() {
    if (stillPlaysOwnStream()) {
        library.setStreamPaused(own, false);
    } else {
        playingChannel = library.playStream(SoundLibrary::noChannel, own);
    }
}

void StreamPlayer::pause() {
    if (stillPlaysOwnStream()) {
        library.setStreamPaused(own, true);
    }
}

void StreamPlayer::stop() {
    if (!lost()) {
        library.stopStream(own);
    }
    playingChannel = SoundLibrary::noChannel;
}
