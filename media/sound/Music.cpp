#include "Music.h"

#include "CdPlayer.h"
#include "MusicRequest.h"
#include "ProgramName.h"
#include "SongPlayer.h"
#include "StreamPlayer.h"
#include "VolumeGroup.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr int mixingRate = 44100;
constexpr int softwareChannels = 32;

// Built before the program starts and ended after the exit actions, which still use it.
VolumeGroup group("Music", 255);
std::unique_ptr<MusicPlayer> player;
StreamHandle stream;
// A stream taken back by restoring a state from before it was opened, with the name it was
// opened by: opening that name again plays it from its start, so that going back and forth over
// the music's start does not open the file every time.
StreamHandle parked;
std::string parkedName;
// The name the current stream was opened by.
std::string lastStreamName;
// The name the current song was loaded by, while a song is the music.
std::string songName;
bool started = false;
std::vector<void (*)()> exitActions;
bool exitHookInstalled = false;

void registerExitAction(void (*action)()) {
    if (!exitHookInstalled) {
        // Whatever the actions use must be built before the hook is installed, so that the
        // runtime destroys it only after the hook has run.
        SoundLibrary::instance();
        std::atexit(runExitActions);
        exitHookInstalled = true;
    }
    exitActions.push_back(action);
}

void closeSound() {
    SoundLibrary::instance().close();
    started = false;
}

void destroyPlayer() {
    player.reset();
}

// Music that cannot be played stays silent, so the user is told why, once for each name. The
// program's own name comes first, as the program was started (the player or a tool).
void reportUnplayable(const std::string& specification, SoundLibrary& library) {
    static std::set<std::string> reported;
    if (!reported.insert(specification).second)
        return;
    const std::string reason =
        started ? library.lastError() : std::string("the sound library does not start");
    std::cerr << programName() << ": cannot play music \"" << specification << "\": " << reason
              << std::endl;
}

} // namespace

bool initSound() {
    if (started) {
        return true;
    }
    registerExitAction(closeSound);
    started = SoundLibrary::instance().init(mixingRate, softwareChannels);
    return started;
}

bool soundStarted() {
    return started;
}

void loadMusic(std::string specification) {
    registerExitAction(destroyPlayer);
    SoundLibrary& library = SoundLibrary::instance();
    MusicRequest music = MusicRequest::parse(specification);
    std::unique_ptr<MusicPlayer> made;
    switch (music.kind) {
    case MusicRequest::Kind::CdTrack:
        made = std::make_unique<CdPlayer>(group, library, music.track, music.mode);
        break;
    case MusicRequest::Kind::Stream:
        if (parked && specification == parkedName) {
            stream = parked;
            parked = StreamHandle{};
        } else {
            stream = library.openStream(specification);
        }
        lastStreamName = specification;
        if (!stream)
            reportUnplayable(specification, library);
        made = std::make_unique<StreamPlayer>(group, library, stream);
        break;
    case MusicRequest::Kind::Song: {
        const SongHandle song = library.loadSong(specification);
        if (!song)
            reportUnplayable(specification, library);
        songName = specification;
        made = std::make_unique<SongPlayer>(group, library, song);
        break;
    }
    case MusicRequest::Kind::None: return;
    }
    made->play();
    // The old player goes only after the new one has started.
    player = std::move(made);
}

MusicPlayer* currentPlayer() {
    return player.get();
}

VolumeGroup& musicGroup() {
    return group;
}

namespace {

// The player of a stream that a restored state names: a stream opened earlier than the current
// one, or parked.
void playAgain(StreamHandle again) {
    if (parked == again)
        parked = StreamHandle{};
    stream = again;
    auto made = std::make_unique<StreamPlayer>(group, SoundLibrary::instance(), again);
    made->play();
    player = std::move(made);
}

// The player while a song is the music.
SongPlayer* currentSong() {
    return dynamic_cast<SongPlayer*>(player.get());
}

} // namespace

MusicState saveMusicState() {
    MusicState state;
    state.masterVolume = group.masterVolume();
    if (const SongPlayer* song = currentSong()) {
        state.songName = songName;
        state.song = SoundLibrary::instance().songState(song->song());
    }
    if (stream) {
        if (const auto place = SoundLibrary::instance().streamState(stream)) {
            state.stream = stream;
            state.place = *place;
        }
    }
    return state;
}

void restoreMusicState(const MusicState& state) {
    SoundLibrary& library = SoundLibrary::instance();
    if (!state.stream) {
        if (stream) {
            library.stopStream(stream);
            parked = stream;
            // Streams are opened by name only through loadMusic, which kept the name.
            parkedName = lastStreamName;
            stream = StreamHandle{};
            player.reset();
        }
    } else if (state.stream != stream) {
        playAgain(state.stream);
    }
    SongPlayer* song = currentSong();
    if (state.song) {
        if (!song || songName != state.songName) {
            loadMusic(state.songName);
            song = currentSong();
        }
    } else if (song) {
        player.reset();
        song = nullptr;
    }
    // The volumes the library held come back over what the master volume makes of them.
    group.setMasterVolume(state.masterVolume);
    if (song && state.song)
        library.restoreSongState(song->song(), *state.song);
    // Last: a player replaced above may have stopped the stream's channel on its way out.
    if (state.stream)
        library.restoreStreamState(stream, state.place);
}

StreamHandle currentStream() {
    return stream;
}

int streamTime(StreamHandle handle) {
    return SoundLibrary::instance().streamTime(handle);
}

void runExitActions() {
    while (!exitActions.empty()) {
        void (*action)() = exitActions.back();
        exitActions.pop_back();
        action();
    }
}
