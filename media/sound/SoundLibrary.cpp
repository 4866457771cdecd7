#include "SoundLibrary.h"

#include "AudioDevice.h"
#include "FileLoader.h"
#include "LoadError.h"
#include "MidiDecoder.h"
#include "ModuleDecoder.h"
#include "PortablePath.h"
#include "SilentSource.h"
#include "StreamDecoder.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace {

// Mixed in blocks of at most this many frames: the position history's grain, and the scratch
// buffer's size, so that mixing never allocates.
constexpr std::size_t blockFrames = 1024;
// Song files are read whole; nothing this large is a song, and no stream is either.
constexpr std::uintmax_t maxMusicBytes = 256u << 20;

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string upperExtension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? name : name.substr(dot + 1);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return extension;
}

std::vector<char> readSongFile(const std::string& fileName) {
    std::uintmax_t size = 0;
    std::ifstream file;
    try {
        file = openScriptFile(fileName, &size);
    } catch (const Errors::LoadError&) {
        throw std::runtime_error("file not found");
    }
    if (size > maxMusicBytes) {
        throw std::runtime_error("file too large");
    }
    std::vector<char> bytes(static_cast<std::size_t>(size));
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

const std::optional<std::filesystem::path>& soundFont() {
    static const std::optional<std::filesystem::path> found = MidiDecoder::findSoundFont();
    return found;
}

void addScaled(float* out, const float* in, std::size_t frames, std::uint8_t volume) {
    const float gain = static_cast<float>(volume) / 255.0f;
    for (std::size_t i = 0; i < frames * 2; ++i) {
        out[i] += in[i] * gain;
    }
}

} // namespace

SoundLibrary& SoundLibrary::instance() {
    static SoundLibrary library;
    return library;
}

SoundLibrary::SoundLibrary() = default;

SoundLibrary::~SoundLibrary() {
    close();
}

void SoundLibrary::setOutput(AudioOutput chosen) {
    std::lock_guard guard(lock);
    output = chosen;
}

bool SoundLibrary::init(int mixRate, int channelCount) {
    if (started()) {
        return true;
    }
    if (mixRate <= 0 || channelCount <= 0) {
        return false;
    }
    std::unique_ptr<AudioDevice> opened;
    if (output == AudioOutput::Device && !(opened = openDevice(mixRate))) {
        return false;
    }
    {
        std::lock_guard guard(lock);
        rate = mixRate;
        mixedFrames = 0;
        scratch.assign(blockFrames * 2, 0.0f);
        channels.assign(static_cast<std::size_t>(channelCount), Channel{});
        resetCd();
        if (opened) {
            clock.emplace(mixRate, static_cast<double>(opened->latencyFrames()));
        } else {
            clock.reset();
        }
        device = std::move(opened);
        isStarted = true;
    }
    if (device) {
        device->start();
    }
    return true;
}

std::unique_ptr<AudioDevice> SoundLibrary::openDevice(int mixRate) {
    try {
        return std::make_unique<AudioDevice>(
            mixRate, blockFrames,
            [this](float* out, std::size_t frames) { feedDevice(out, frames); });
    } catch (const std::exception& error) {
        std::lock_guard guard(lock);
        lastErrorText = error.what();
        return nullptr;
    }
}

bool SoundLibrary::switchOutput(AudioOutput chosen) {
    if (!started()) {
        setOutput(chosen);
        return true;
    }
    // The audio thread takes the lock to mix, so the old device is stopped outside it, and before
    // the new one opens: two devices would mix the same streams at once.
    std::unique_ptr<AudioDevice> closing;
    int mixRate = 0;
    {
        std::lock_guard guard(lock);
        closing = std::move(device);
        mixRate = rate;
    }
    closing.reset();
    const double stopped = monotonicSeconds();
    std::unique_ptr<AudioDevice> opened;
    bool ok = true;
    if (chosen == AudioOutput::Device) {
        opened = openDevice(mixRate);
        ok = opened != nullptr;
    }
    {
        std::lock_guard guard(lock);
        output = opened ? AudioOutput::Device : AudioOutput::Offline;
        handBackUnheard(stopped);
        // The new output counts its frames from 0; a stream with no history reads its position.
        mixedFrames = 0;
        for (auto& [id, stream] : streams) {
            stream.history.clear();
        }
        if (opened) {
            clock.emplace(mixRate, static_cast<double>(opened->latencyFrames()));
        } else {
            clock.reset();
        }
        device = std::move(opened);
    }
    if (device) {
        device->start();
    }
    return ok;
}

void SoundLibrary::handBackUnheard(double stoppedAt) {
    // Only a device plays later than it mixes; offline, everything mixed has been heard.
    const double heard = clock ? clock->heard(stoppedAt) : 0.0;
    for (auto& [id, stream] : streams) {
        // An ended stream has let go of its channel and stays at its end.
        const std::int64_t unheard =
            clock && !stream.ended
                ? stream.position - stream.history.positionAt(heard, stream.position)
                : 0;
        stream.position -= stream.unheard.handBack(unheard);
    }
}

void SoundLibrary::close() {
    // The audio thread takes the lock to mix, so the device is stopped outside it.
    std::unique_ptr<AudioDevice> closing;
    {
        std::lock_guard guard(lock);
        closing = std::move(device);
    }
    closing.reset();
    std::map<std::uint32_t, Stream> oldStreams;
    std::map<std::uint32_t, Song> oldSongs;
    {
        std::lock_guard guard(lock);
        oldStreams.swap(streams);
        oldSongs.swap(songs);
        channels.clear();
        clock.reset();
        resetCd();
        isStarted = false;
    }
}

bool SoundLibrary::started() const {
    std::lock_guard guard(lock);
    return isStarted;
}

std::string SoundLibrary::outputDriver() const {
    std::lock_guard guard(lock);
    if (!isStarted) {
        return "";
    }
    return device ? device->driver() : "offline";
}

std::string SoundLibrary::lastError() const {
    std::lock_guard guard(lock);
    return lastErrorText;
}

SoundLibrary::Stream* SoundLibrary::findStream(StreamHandle stream) {
    auto found = streams.find(stream.id);
    return found == streams.end() ? nullptr : &found->second;
}

const SoundLibrary::Stream* SoundLibrary::findStream(StreamHandle stream) const {
    auto found = streams.find(stream.id);
    return found == streams.end() ? nullptr : &found->second;
}

SoundLibrary::Song* SoundLibrary::findSong(SongHandle song) {
    auto found = songs.find(song.id);
    return found == songs.end() ? nullptr : &found->second;
}

const SoundLibrary::Song* SoundLibrary::findSong(SongHandle song) const {
    auto found = songs.find(song.id);
    return found == songs.end() ? nullptr : &found->second;
}

bool SoundLibrary::validChannel(int channel) const {
    return channel >= 0 && static_cast<std::size_t>(channel) < channels.size();
}

StreamHandle SoundLibrary::openStream(const std::string& fileName) {
    return StreamHandle{adopt(streams, [&]() -> std::unique_ptr<AudioSource> {
        std::error_code fileError;
        const std::optional<std::filesystem::path> path = resolvePortablePath(fileName);
        if (!path || !std::filesystem::is_regular_file(*path, fileError))
            throw std::runtime_error("file not found");
        if (std::filesystem::file_size(*path, fileError) > maxMusicBytes)
            throw std::runtime_error("file too large");
        return std::make_unique<StreamDecoder>(*path, rate);
    })};
}

template <typename Entry>
std::uint32_t SoundLibrary::adopt(std::map<std::uint32_t, Entry>& entries,
                                  const std::function<std::unique_ptr<AudioSource>()>& open) {
    if (!started())
        return 0;
    // Decoding starts here, outside the lock, so that the mixer never waits for a file.
    std::unique_ptr<AudioSource> source;
    std::string error;
    try {
        source = open();
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    std::lock_guard guard(lock);
    if (!source) {
        lastErrorText = error;
        return 0;
    }
    const std::uint32_t id = nextId++;
    Entry opened;
    opened.source = std::move(source);
    entries.emplace(id, std::move(opened));
    return id;
}

int SoundLibrary::playStream(int channel, StreamHandle stream) {
    std::lock_guard guard(lock);
    Stream* found = findStream(stream);
    if (!found) {
        return noChannel;
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i].playing && channels[i].stream == stream) {
            found->paused = false;
            return static_cast<int>(i);
        }
    }
    int target = channel;
    if (channel == noChannel) {
        auto free = std::find_if(channels.begin(), channels.end(),
                                 [](const Channel& each) { return !each.playing; });
        if (free == channels.end()) {
            return noChannel;
        }
        target = static_cast<int>(free - channels.begin());
    } else if (!validChannel(channel)) {
        return noChannel;
    }
    if (found->ended || found->needsRewind) {
        if (!found->source->rewind()) {
            return noChannel;
        }
        found->position = 0;
        found->history.clear();
        found->unheard.clear();
        found->ended = false;
        found->needsRewind = false;
    }
    found->paused = false;
    channels[static_cast<std::size_t>(target)] = Channel{stream, true, 255};
    return target;
}

void SoundLibrary::setStreamPaused(StreamHandle stream, bool paused) {
    std::lock_guard guard(lock);
    if (Stream* found = findStream(stream)) {
        found->paused = paused;
    }
}

bool SoundLibrary::streamPaused(StreamHandle stream) const {
    std::lock_guard guard(lock);
    const Stream* found = findStream(stream);
    return found && found->paused;
}

void SoundLibrary::stopStream(StreamHandle stream) {
    std::lock_guard guard(lock);
    Stream* found = findStream(stream);
    if (!found) {
        return;
    }
    for (Channel& channel : channels) {
        if (channel.stream == stream) {
            channel = Channel{};
        }
    }
    found->position = 0;
    found->history.clear();
    found->unheard.clear();
    found->paused = false;
    found->ended = false;
    found->needsRewind = true;
}

int SoundLibrary::streamTime(StreamHandle stream) {
    const double now = monotonicSeconds();
    std::lock_guard guard(lock);
    const Stream* found = findStream(stream);
    if (!found) {
        return 0;
    }
    const double heard = clock ? clock->heard(now) : static_cast<double>(mixedFrames);
    const std::int64_t frame = found->history.positionAt(heard, found->position);
    return static_cast<int>(frame * 1000 / rate);
}

bool SoundLibrary::streamEnded(StreamHandle stream) const {
    std::lock_guard guard(lock);
    const Stream* found = findStream(stream);
    return found && found->ended;
}

std::optional<SoundLibrary::StreamState> SoundLibrary::streamState(StreamHandle stream) {
    std::lock_guard guard(lock);
    const Stream* found = findStream(stream);
    if (!found)
        return std::nullopt;
    StreamState state{found->position, found->paused, found->ended, found->needsRewind};
    // Frames taken by a device but not heard yet are to be played again: the stream stands
    // where it is heard.
    if (clock && !found->ended) {
        const double heard = clock->heard(monotonicSeconds());
        state.position = found->history.positionAt(heard, found->position);
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i].stream == stream && (state.channel == noChannel || channels[i].playing)) {
            state.channel = static_cast<int>(i);
            state.channelPlaying = channels[i].playing;
            state.channelVolume = channels[i].volume;
        }
    }
    return state;
}

bool SoundLibrary::restoreStreamState(StreamHandle stream, const StreamState& state) {
    std::lock_guard guard(lock);
    Stream* found = findStream(stream);
    if (!found)
        return false;
    // What the device still holds of the stream is thrown away with the rest.
    found->unheard.clear();
    found->history.clear();
    if (!moveSource(*found->source, found->position, state.position))
        return false;
    found->paused = state.paused;
    found->ended = state.ended;
    found->needsRewind = state.needsRewind;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (static_cast<int>(i) == state.channel)
            channels[i] = Channel{stream, state.channelPlaying, state.channelVolume};
        else if (channels[i].stream == stream)
            channels[i] = Channel{};
    }
    return true;
}

bool SoundLibrary::moveSource(AudioSource& source, std::int64_t& position, std::int64_t target) {
    if (target < position) {
        if (!source.rewind())
            return false;
        position = 0;
    }
    while (position < target) {
        const std::size_t block =
            static_cast<std::size_t>(std::min<std::int64_t>(target - position, blockFrames));
        const std::size_t made = source.render(scratch.data(), block);
        position += static_cast<std::int64_t>(made);
        if (made < block)
            break;
    }
    return true;
}

StreamHandle SoundLibrary::channelStream(int channel) const {
    std::lock_guard guard(lock);
    return validChannel(channel) ? channels[static_cast<std::size_t>(channel)].stream
                                 : StreamHandle{};
}

bool SoundLibrary::channelPlaying(int channel) const {
    std::lock_guard guard(lock);
    return validChannel(channel) && channels[static_cast<std::size_t>(channel)].playing;
}

void SoundLibrary::setChannelVolume(int channel, std::uint8_t volume) {
    std::lock_guard guard(lock);
    if (validChannel(channel)) {
        channels[static_cast<std::size_t>(channel)].volume = volume;
    }
}

std::uint8_t SoundLibrary::channelVolume(int channel) const {
    std::lock_guard guard(lock);
    return validChannel(channel) ? channels[static_cast<std::size_t>(channel)].volume : 0;
}

std::unique_ptr<AudioSource> SoundLibrary::openSong(const std::string& fileName) {
    std::vector<char> bytes = readSongFile(fileName);
    std::string extension = upperExtension(fileName);
    if (extension == "MID" || extension == "RMI") {
        return std::make_unique<MidiDecoder>(bytes, rate, soundFont());
    }
    if (extension == "SGT") {
        // No decoder exists for these songs: they load, start and stop, and stay silent.
        return std::make_unique<SilentSource>();
    }
    return std::make_unique<ModuleDecoder>(bytes, rate);
}

SongHandle SoundLibrary::loadSong(const std::string& fileName) {
    return SongHandle{adopt(songs, [&] { return openSong(fileName); })};
}

void SoundLibrary::playSong(SongHandle song) {
    std::lock_guard guard(lock);
    Song* found = findSong(song);
    if (!found || (found->position > 0 && !found->source->rewind())) {
        return;
    }
    found->position = 0;
    found->playing = true;
    found->paused = false;
    found->ended = false;
}

void SoundLibrary::stopSong(SongHandle song) {
    std::lock_guard guard(lock);
    if (Song* found = findSong(song)) {
        found->playing = false;
        found->paused = false;
    }
}

void SoundLibrary::setSongPaused(SongHandle song, bool paused) {
    std::lock_guard guard(lock);
    if (Song* found = findSong(song)) {
        found->paused = paused;
    }
}

bool SoundLibrary::songPaused(SongHandle song) const {
    std::lock_guard guard(lock);
    const Song* found = findSong(song);
    return found && found->paused;
}

bool SoundLibrary::songPlaying(SongHandle song) const {
    std::lock_guard guard(lock);
    const Song* found = findSong(song);
    return found && found->playing && !found->ended;
}

void SoundLibrary::setSongVolume(SongHandle song, std::uint8_t volume) {
    std::lock_guard guard(lock);
    if (Song* found = findSong(song)) {
        found->volume = volume;
    }
}

std::uint8_t SoundLibrary::songVolume(SongHandle song) const {
    std::lock_guard guard(lock);
    const Song* found = findSong(song);
    return found ? found->volume : 0;
}

int SoundLibrary::songTime(SongHandle song) const {
    std::lock_guard guard(lock);
    const Song* found = findSong(song);
    return found ? static_cast<int>(found->position * 1000 / rate) : 0;
}

std::optional<SoundLibrary::SongState> SoundLibrary::songState(SongHandle song) const {
    std::lock_guard guard(lock);
    const Song* found = findSong(song);
    if (!found)
        return std::nullopt;
    return SongState{found->position, found->playing, found->paused, found->ended, found->volume};
}

bool SoundLibrary::restoreSongState(SongHandle song, const SongState& state) {
    std::lock_guard guard(lock);
    Song* found = findSong(song);
    if (!found || !moveSource(*found->source, found->position, state.position))
        return false;
    found->playing = state.playing;
    found->paused = state.paused;
    found->ended = state.ended;
    found->volume = state.volume;
    return true;
}

void SoundLibrary::freeSong(SongHandle song) {
    // The decoder is destroyed outside the lock: a synthesiser takes a while to tear down.
    std::map<std::uint32_t, Song>::node_type freed;
    std::lock_guard guard(lock);
    freed = songs.extract(song.id);
}

void SoundLibrary::resetCd() {
    // The count of starts goes on: a player from before must not take a new start for its own.
    std::uint32_t starts = cdState.start;
    cdState = CdState{};
    cdState.start = starts;
}

void SoundLibrary::setCdPlayMode(int mode) {
    std::lock_guard guard(lock);
    if (isStarted) {
        cdState.mode = mode;
    }
}

void SoundLibrary::playCd(int track) {
    std::lock_guard guard(lock);
    if (isStarted) {
        cdState.track = track;
        cdState.playing = true;
        ++cdState.start;
        cdState.paused = false;
    }
}

void SoundLibrary::setCdPaused(bool paused) {
    std::lock_guard guard(lock);
    if (isStarted) {
        cdState.paused = paused;
    }
}

bool SoundLibrary::cdPaused() const {
    std::lock_guard guard(lock);
    return cdState.paused;
}

void SoundLibrary::stopCd() {
    std::lock_guard guard(lock);
    cdState.playing = false;
    cdState.paused = false;
}

void SoundLibrary::setCdVolume(std::uint8_t volume) {
    std::lock_guard guard(lock);
    if (isStarted) {
        cdState.volume = volume;
    }
}

CdState SoundLibrary::cd() const {
    std::lock_guard guard(lock);
    return cdState;
}

void SoundLibrary::renderOffline(float* out, std::size_t frames) {
    std::lock_guard guard(lock);
    if (!isStarted || device) {
        std::fill(out, out + frames * 2, 0.0f);
        return;
    }
    mix(out, frames);
}

void SoundLibrary::feedDevice(float* out, std::size_t frames) {
    // The moment the device asks is the moment its previous audio ran out.
    const double now = monotonicSeconds();
    std::lock_guard guard(lock);
    mix(out, frames);
    if (clock) {
        clock->handed(static_cast<std::int64_t>(frames), now);
    }
}

void SoundLibrary::mix(float* out, std::size_t frames) {
    while (frames > 0) {
        std::size_t block = std::min(frames, blockFrames);
        mixBlock(out, block);
        out += block * 2;
        frames -= block;
    }
}

void SoundLibrary::mixBlock(float* out, std::size_t frames) {
    std::fill(out, out + frames * 2, 0.0f);
    for (Channel& channel : channels) {
        Stream* stream = channel.playing ? findStream(channel.stream) : nullptr;
        if (!stream || stream->paused) {
            continue;
        }
        std::size_t made =
            stream->unheard.render(*stream->source, scratch.data(), frames, device != nullptr);
        if (made > 0) {
            stream->history.record(mixedFrames, stream->position, static_cast<std::int64_t>(made));
            stream->position += static_cast<std::int64_t>(made);
            addScaled(out, scratch.data(), made, channel.volume);
        }
        if (made < frames) {
            stream->ended = true;
            channel.playing = false;
        }
    }
    for (auto& [id, song] : songs) {
        if (!song.playing || song.paused || song.ended) {
            continue;
        }
        std::size_t made = song.source->render(scratch.data(), frames);
        song.position += static_cast<std::int64_t>(made);
        addScaled(out, scratch.data(), made, song.volume);
        song.ended = made < frames;
    }
    for (std::size_t i = 0; i < frames * 2; ++i) {
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    }
    mixedFrames += static_cast<std::int64_t>(frames);
}
