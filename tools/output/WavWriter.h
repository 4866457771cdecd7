#pragma once

#include "OutputFile.h"

#include <cstdint>
#include <filesystem>

// A 16-bit stereo PCM WAV file at 44100 Hz, written as the audio comes: the sizes in its
// header are filled in by `finish`, which also puts the file under its name.
class WavWriter {
public:
    static constexpr int rate = 44100;

    explicit WavWriter(const std::filesystem::path& path);

    // `frames` interleaved stereo frames, -1..1 (beyond is clipped).
    void append(const float* samples, std::size_t frames);
    void finish();

    std::int64_t framesWritten() const { return frames; }

private:
    OutputFile file;
    std::int64_t frames = 0;
};
