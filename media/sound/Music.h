#pragma once

#include "SoundLibrary.h"

#include <cstdint>
#include <optional>
#include <string>

class MusicPlayer;
class VolumeGroup;

// The program's music: one player at a time, faded through the "Music" volume group, with the
// position of its stream as the demo's clock. Everything here runs on the main thread.

// Starts the sound library once per process, at 44100 Hz with 32 channels, on the output chosen
// with SoundLibrary::setOutput (the audio device unless told otherwise). True when it is ready;
// after a failure a later call tries again.
bool initSound();
bool soundStarted();

// Makes the player that `specification` names, starts it, and only then destroys the previous
// player, so that the new music starts before the old stops. A text that names no player changes
// nothing. A file that cannot be played still makes a (silent) player, and is named on stderr
// with the reason, once per name.
void loadMusic(std::string specification);
MusicPlayer* currentPlayer();

// The volume group of the music, master volume 255 at start.
VolumeGroup& musicGroup();

// The stream opened last, or a null handle: the clock's source. A song or CD track opens no stream;
// a stream that failed to open leaves the null handle.
StreamHandle currentStream();
// The stream's position as heard, in milliseconds (0 for a null handle): what the demo clock
// reads every frame.
int streamTime(StreamHandle stream);

// What a saved state of the demo keeps of its music: the stream the clock reads (null before
// any was opened), where it stands to the frame, the song that was the music (by the name it
// was loaded by) and where that stood, and the music's master volume.
struct MusicState {
    StreamHandle stream;
    SoundLibrary::StreamState place;
    std::string songName;
    std::optional<SoundLibrary::SongState> song;
    std::uint8_t masterVolume = 255;
};
MusicState saveMusicState();
// Puts the music back. A state from before the music was opened stops the stream and sets the
// clock back to standing; opening the same music again then plays that stream from its start
// rather than opening the file once more. A song that was the music is loaded again when other
// music has taken its place, and goes on at the frame it stood at; a song loaded later stops.
void restoreMusicState(const MusicState& state);

// Runs the exit actions now, latest registered first: destroying the current player (registered by
// every loadMusic), closing the library (registered by initSound). They run by themselves at
// process exit; running them again does nothing more.
void runExitActions();
