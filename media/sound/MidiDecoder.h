#pragma once

#include "AudioSource.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

// A MIDI song (a standard MIDI file, or one wrapped in a RIFF "RMID" file) played once through
// by FluidSynth with a General MIDI SoundFont. Without a SoundFont the song still plays, silently,
// so that it starts, runs and ends as it would with one.
class MidiDecoder : public AudioSource {
public:
    // Throws std::runtime_error with the reason when the bytes are no complete MIDI file.
    MidiDecoder(const std::vector<char>& bytes, int rate,
                const std::optional<std::filesystem::path>& soundFont);
    ~MidiDecoder() override;
    MidiDecoder(const MidiDecoder&) = delete;
    MidiDecoder& operator=(const MidiDecoder&) = delete;

    std::size_t render(float* out, std::size_t frames) override;
    bool rewind() override;

    // Where Debian installs General MIDI SoundFonts; nothing when none is installed.
    static std::optional<std::filesystem::path> findSoundFont();
    // The standard MIDI file inside `bytes` (unwrapped from RIFF when needed), after checking
    // that its header and every track lie within the file. Throws std::runtime_error.
    static std::vector<char> standardMidiFile(const std::vector<char>& bytes);

private:
    struct Synth;

    std::vector<char> midi;
    std::unique_ptr<Synth> synth;
    bool ended = false;
};
