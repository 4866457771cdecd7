#include "MidiDecoder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fluidsynth.h>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {

std::uint32_t bigEndian(const std::vector<char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::uint32_t littleEndian32(const std::vector<char>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

bool tagAt(const std::vector<char>& bytes, std::size_t at, const char* tag) {
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

// The "data" chunk of an RMID file: the MIDI file it wraps.
std::vector<char> unwrapRiff(const std::vector<char>& bytes) {
    if (!tagAt(bytes, 8, "RMID")) {
        throw std::runtime_error("RIFF file is not RMID");
    }
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::uint64_t size = littleEndian32(bytes, at + 4);
        if (at + 8 + size > bytes.size()) {
            throw std::runtime_error("truncated RIFF chunk");
        }
        if (tagAt(bytes, at, "data")) {
            auto begin = bytes.begin() + static_cast<long>(at + 8);
            return {begin, begin + static_cast<long>(size)};
        }
        at += 8 + size + (size & 1);
    }
    throw std::runtime_error("RMID file without MIDI data");
}

void silenceFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
    });
}

} // namespace

struct MidiDecoder::Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;

    ~Synth() {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
        if (synth) {
            delete_fluid_synth(synth);
        }
        if (settings) {
            delete_fluid_settings(settings);
        }
    }

    bool startPlayer(const std::vector<char>& midi) {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
            fluid_synth_system_reset(synth);
        }
        player = new_fluid_player(synth);
        return player && fluid_player_add_mem(player, midi.data(), midi.size()) == FLUID_OK &&
               fluid_player_play(player) == FLUID_OK;
    }
};

std::vector<char> MidiDecoder::standardMidiFile(const std::vector<char>& bytes) {
    std::vector<char> midi = tagAt(bytes, 0, "RIFF") ? unwrapRiff(bytes) : bytes;
    if (!tagAt(midi, 0, "MThd") || midi.size() < 14) {
        throw std::runtime_error("not a MIDI file");
    }
    std::uint32_t headerSize = bigEndian(midi, 4, 4);
    std::uint32_t format = bigEndian(midi, 8, 2);
    std::uint32_t tracks = bigEndian(midi, 10, 2);
    std::uint32_t division = bigEndian(midi, 12, 2);
    if (headerSize < 6 || format > 2 || tracks == 0 || division == 0) {
        throw std::runtime_error("bad MIDI header");
    }
    // Every track the header announces must be there in full.
    std::uint64_t at = 8 + static_cast<std::uint64_t>(headerSize);
    std::uint32_t found = 0;
    while (found < tracks) {
        if (at + 8 > midi.size()) {
            throw std::runtime_error("truncated MIDI file");
        }
        std::uint64_t size = bigEndian(midi, at + 4, 4);
        if (at + 8 + size > midi.size()) {
            throw std::runtime_error("truncated MIDI track");
        }
        if (tagAt(midi, at, "MTrk")) {
            ++found;
        }
        at += 8 + size;
    }
    return midi;
}

std::optional<std::filesystem::path> MidiDecoder::findSoundFont() {
    static const std::array<const char*, 4> candidates = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/soundfonts/default.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    };
    for (const char* candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return std::filesystem::path(candidate);
        }
    }
    return std::nullopt;
}

MidiDecoder::MidiDecoder(const std::vector<char>& bytes, int rate,
                         const std::optional<std::filesystem::path>& soundFont)
    : midi(standardMidiFile(bytes)), synth(std::make_unique<Synth>()) {
    silenceFluidSynth();
    Synth& s = *synth;
    s.settings = new_fluid_settings();
    if (!s.settings) {
        throw std::runtime_error("cannot set up the synthesiser");
    }
    fluid_settings_setnum(s.settings, "synth.sample-rate", rate);
    // The song advances with the frames rendered, not with a timer of its own, so that it keeps
    // step with the mixer (and renders the same offline).
    fluid_settings_setstr(s.settings, "player.timing-source", "sample");
    fluid_settings_setint(s.settings, "synth.lock-memory", 0);
    fluid_settings_setint(s.settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(s.settings, "synth.gain", 0.5);
    s.synth = new_fluid_synth(s.settings);
    if (!s.synth) {
        throw std::runtime_error("cannot set up the synthesiser");
    }
    if (soundFont) {
        // A SoundFont that does not load leaves the song silent, as without one.
        fluid_synth_sfload(s.synth, soundFont->c_str(), 1);
    }
    if (!s.startPlayer(midi)) {
        throw std::runtime_error("cannot start the MIDI player");
    }
}

MidiDecoder::~MidiDecoder() = default;

std::size_t MidiDecoder::render(float* out, std::size_t frames) {
    if (ended) {
        return 0;
    }
    fluid_synth_write_float(synth->synth, static_cast<int>(frames), out, 0, 2, out, 1, 2);
    ended = fluid_player_get_status(synth->player) == FLUID_PLAYER_DONE;
    return frames;
}

bool MidiDecoder::rewind() {
    ended = !synth->startPlayer(midi);
    return !ended;
}
