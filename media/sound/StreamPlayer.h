#pragma once

#include "MusicPlayer.h"
#include "SoundLibrary.h"

// A streamed music file on a channel of the sound library. The library may give the channel to
// another sound; before touching it the player checks that the channel still carries its own
// stream, and forgets the channel when it does not.
class StreamPlayer : public MusicPlayer {
public:
    StreamPlayer(VolumeGroup& group, SoundLibrary& library, StreamHandle stream);
    // Stops the stream; the stream itself stays open in the library.
    ~StreamPlayer() override;

    void resume() override;
    void setVolume(std::uint8_t volume) override;
    void play() override;
    void pause() override;
    void stop() override;

    StreamHandle stream() const { return own; }
    // The channel the stream plays on, -1 for none.
    int channel() const { return playingChannel; }
    // The channel holds the own stream and is playing it; otherwise forgets the channel.
    bool stillPlaysOwnStream();
    // The channel no longer holds the own stream (or there is none); forgets the channel then.
    bool lost();

private:
    SoundLibrary& library;
    StreamHandle own;
    int playingChannel = SoundLibrary::noChannel;
};
