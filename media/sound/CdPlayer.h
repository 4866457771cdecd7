#pragma once

#include "MusicPlayer.h"
#include "SoundLibrary.h"

// A track of the audio CD. Play modes: 0 from the track to the end of the disc, 1 the track once,
// 2 the track repeated, 3 tracks in random order. There is one CD for every player: stopping, and
// so destroying, a player stops the CD only while it still plays what this player started, so that
// replacing one CD player by another leaves the new one playing.
class CdPlayer : public MusicPlayer {
public:
    CdPlayer(VolumeGroup& group, SoundLibrary& library, int track, int mode);
    ~CdPlayer() override;

    void resume() override;
    void setVolume(std::uint8_t volume) override;
    void play() override;
    void pause() override;
    void stop() override;

    int track() const { return number; }
    int mode() const { return playMode; }
    // The CD still plays what this player started.
    bool ownsCd() const;

private:
    SoundLibrary& library;
    int number;
    int playMode;
    std::uint32_t ownStart = 0;
};
