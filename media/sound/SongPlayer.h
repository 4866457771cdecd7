#pragma once

#include "MusicPlayer.h"
#include "SoundLibrary.h"

// A module or MIDI song loaded into the sound library; frees it when destroyed.
class SongPlayer : public MusicPlayer {
public:
    SongPlayer(VolumeGroup& group, SoundLibrary& library, SongHandle song);
    ~SongPlayer() override;

    void resume() override;
    void setVolume(std::uint8_t volume) override;
    void play() override;
    void pause() override;
    void stop() override;

    SongHandle song() const { return own; }

private:
    SoundLibrary& library;
    SongHandle own;
};
