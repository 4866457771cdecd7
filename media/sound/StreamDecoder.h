#pragma once

#include "AudioSource.h"

#include <cstdint>
#include <filesystem>
#include <memory>

// A streamed music file (MPEG audio layers 1 to 3, Ogg, ASF/WMA) decoded with FFmpeg and
// converted to interleaved stereo float at the mixing rate.
class StreamDecoder : public AudioSource {
public:
    // At most this much of a file is read to find its first audio; a file without any that
    // early is refused instead of being scanned to its end.
    static constexpr std::uint64_t probeBytes = 4u << 20;
    // The sample rates a music file can have. A header that declares another is damaged or made
    // to harm: at 1 Hz each decoded frame would resample into tens of millions of frames.
    static constexpr int minSampleRate = 4000;
    static constexpr int maxSampleRate = 768000;
    // Decoded audio is converted a piece at a time, each piece making at most about this many
    // frames, so that what waits to be played stays small whatever a frame holds.
    static constexpr std::size_t pieceFrames = 8192;

    // Opens the file and decodes its first audio, so that a file that holds no playable sound
    // fails here. Throws std::runtime_error with the reason. `bytesRead`, when given, counts
    // every byte taken from the file, during opening and afterwards.
    StreamDecoder(const std::filesystem::path& path, int rate, std::uint64_t* bytesRead = nullptr);
    ~StreamDecoder() override;
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    std::size_t render(float* out, std::size_t frames) override;
    bool rewind() override;
    // The most converted frames that have waited to be played at once.
    std::size_t peakPendingFrames() const;

private:
    struct State;
    // Decodes until converted frames are waiting or the file is done; false when it is done.
    bool decodeMore();

    std::unique_ptr<State> state;
};
