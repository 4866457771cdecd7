#pragma once

#include "AudioSource.h"
#include "PlaybackClock.h"
#include "PositionHistory.h"
#include "UnheardAudio.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class AudioDevice;

// Names an open stream. Ids are never reused, so a handle kept after its stream is gone (the
// library closed) names nothing rather than another stream; the null handle names nothing.
struct StreamHandle {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(StreamHandle, StreamHandle) = default;
};

// Names a loaded song, with the same rules as StreamHandle.
struct SongHandle {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(SongHandle, SongHandle) = default;
};

// Where the mixed audio goes: to the audio device, mixed on its thread as it asks; or nowhere
// until the caller pulls it with `renderOffline` (the offline renderer and the tests).
enum class AudioOutput { Device, Offline };

// What the audio CD was last told. No drive is expected, so CD tracks play silently.
struct CdState {
    int mode = 0;
    int track = 0;
    bool playing = false;
    bool paused = false;
    std::uint8_t volume = 255;
    // Counts the starts of the CD, so that a player can tell whether the CD still plays its start.
    std::uint32_t start = 0;
};

// The process's sound library: the output, streamed files on numbered channels, songs (modules,
// MIDI), the audio CD, and the position of a stream as heard. Everything here is called from the
// main thread; the device mixes on its own thread, and one lock keeps the two apart.
//
// Operations on a null or unknown handle, an invalid channel, or a library that is not started
// do nothing and answer "nothing": a null handle, channel -1, position 0, false.
class SoundLibrary {
public:
    static SoundLibrary& instance();
    static constexpr int noChannel = -1;

    SoundLibrary();
    ~SoundLibrary();
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // Chooses the output of the next `init`; the device is the default.
    void setOutput(AudioOutput output);
    // Starts the output, mixing at `mixRate` Hz on `channelCount` stream channels. True when
    // ready (also when it already was).
    bool init(int mixRate, int channelCount);
    // Moves a started library to another output, keeping every stream, song and position: a
    // viewer steps the music by the frame while it replays, then hands it to the device to play
    // on. False when the device cannot be opened; the library is then left on the offline output.
    bool switchOutput(AudioOutput chosen);
    // Stops the output and frees every stream and song; handles given out so far name nothing.
    void close();
    bool started() const;
    // "offline", the SDL driver in use ("dummy" without a sound device), or "" when not started.
    std::string outputDriver() const;
    // Why the last stream or song failed to open.
    std::string lastError() const;

    // Opens a music file by its portable name; a null handle (and `lastError`) when the file is
    // missing or holds no playable audio.
    StreamHandle openStream(const std::string& fileName);
    // Starts the stream on `channel`, or on the first free channel for -1, at full volume. A
    // stream that was stopped or had ended starts again from its beginning; one that is playing
    // stays where it is and is only unpaused. Returns the channel, or -1.
    int playStream(int channel, StreamHandle stream);
    void setStreamPaused(StreamHandle stream, bool paused);
    bool streamPaused(StreamHandle stream) const;
    // Takes the stream off its channel and back to its beginning.
    void stopStream(StreamHandle stream);
    // The position heard now, in milliseconds: never decreasing while the stream plays, never
    // ahead of the audio handed to the device, held at its end once the stream has ended.
    int streamTime(StreamHandle stream);
    bool streamEnded(StreamHandle stream) const;

    // Where a stream stands, to the frame, and how it plays: what a saved state of the demo keeps
    // of its music.
    struct StreamState {
        std::int64_t position = 0;
        bool paused = false;
        bool ended = false;
        bool needsRewind = false;
        // The channel that carries it, or noChannel.
        int channel = noChannel;
        bool channelPlaying = false;
        std::uint8_t channelVolume = 255;
    };
    // Nothing for an unknown stream.
    std::optional<StreamState> streamState(StreamHandle stream);
    // Puts the stream back where the state says: its decoding goes on at exactly that frame (from
    // the start again when it has to go back), and its position reads that frame at once. False
    // for an unknown stream, or a file that cannot be read from its start again.
    bool restoreStreamState(StreamHandle stream, const StreamState& state);

    // The stream last started on the channel (kept after it ended), and whether it still plays
    // there (paused counts as playing).
    StreamHandle channelStream(int channel) const;
    bool channelPlaying(int channel) const;
    void setChannelVolume(int channel, std::uint8_t volume);
    std::uint8_t channelVolume(int channel) const;

    // Loads a song by its portable name: MID and RMI through the MIDI synthesiser, SGT as a
    // silent song, every other kind as a module. A null handle (and `lastError`) on failure.
    SongHandle loadSong(const std::string& fileName);
    // Starts the song from its beginning.
    void playSong(SongHandle song);
    void stopSong(SongHandle song);
    void setSongPaused(SongHandle song, bool paused);
    bool songPaused(SongHandle song) const;
    // Started, not stopped and not yet at its end.
    bool songPlaying(SongHandle song) const;
    void setSongVolume(SongHandle song, std::uint8_t volume);
    std::uint8_t songVolume(SongHandle song) const;
    // How much of the song has been mixed, in milliseconds.
    int songTime(SongHandle song) const;
    // Where a song stands, to the frame mixed, and how it plays: what a saved state of the demo
    // keeps of a song that is its music.
    struct SongState {
        std::int64_t position = 0;
        bool playing = false;
        bool paused = false;
        bool ended = false;
        std::uint8_t volume = 255;
    };
    // Nothing for an unknown song.
    std::optional<SongState> songState(SongHandle song) const;
    // Puts the song back where the state says, rendering it on unheard from where it stands (from
    // its start again when it has to go back), so that it goes on at exactly that frame. False
    // for an unknown song, or one that cannot start again.
    bool restoreSongState(SongHandle song, const SongState& state);
    void freeSong(SongHandle song);

    void setCdPlayMode(int mode);
    void playCd(int track);
    void setCdPaused(bool paused);
    bool cdPaused() const;
    void stopCd();
    void setCdVolume(std::uint8_t volume);
    CdState cd() const;

    // Offline output only: mixes exactly `frames` frames into `out` (interleaved stereo) and
    // moves every playing stream's position on by exactly that much. Silence otherwise.
    void renderOffline(float* out, std::size_t frames);

private:
    struct Stream {
        std::unique_ptr<AudioSource> source;
        PositionHistory history;
        UnheardAudio unheard;
        std::int64_t position = 0;
        bool paused = false;
        bool ended = false;
        bool needsRewind = false;
    };
    struct Song {
        std::unique_ptr<AudioSource> source;
        std::int64_t position = 0;
        bool playing = false;
        bool paused = false;
        bool ended = false;
        std::uint8_t volume = 255;
    };
    struct Channel {
        StreamHandle stream;
        bool playing = false;
        std::uint8_t volume = 255;
    };

    void feedDevice(float* out, std::size_t frames);
    // Decodes a source on from `position` to `target`, from its start again when the target
    // lies behind; what is decoded is not heard. False when it cannot rewind.
    bool moveSource(AudioSource& source, std::int64_t& position, std::int64_t target);
    // After the device stopped at `stoppedAt`: every stream goes back to the position heard,
    // the frames the device took but had not played to be played again.
    void handBackUnheard(double stoppedAt);
    // The device fed by this library, or nothing with the reason kept as the last error.
    std::unique_ptr<AudioDevice> openDevice(int mixRate);
    void mix(float* out, std::size_t frames);
    void mixBlock(float* out, std::size_t frames);
    Stream* findStream(StreamHandle stream);
    const Stream* findStream(StreamHandle stream) const;
    Song* findSong(SongHandle song);
    const Song* findSong(SongHandle song) const;
    bool validChannel(int channel) const;
    void resetCd();
    std::unique_ptr<AudioSource> openSong(const std::string& fileName);
    // Keeps what `open` decodes under a new id; 0, with `lastErrorText` saying why, when it fails.
    template <typename Entry>
    std::uint32_t adopt(std::map<std::uint32_t, Entry>& entries,
                        const std::function<std::unique_ptr<AudioSource>()>& open);

    mutable std::mutex lock;
    AudioOutput output = AudioOutput::Device;
    bool isStarted = false;
    int rate = 44100;
    std::unique_ptr<AudioDevice> device;
    std::optional<PlaybackClock> clock;
    std::int64_t mixedFrames = 0;
    std::vector<float> scratch;
    std::vector<Channel> channels;
    std::map<std::uint32_t, Stream> streams;
    std::map<std::uint32_t, Song> songs;
    std::uint32_t nextId = 1;
    CdState cdState;
    std::string lastErrorText;
};
