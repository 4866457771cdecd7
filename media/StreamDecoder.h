#pragma once

#include "AudioSource.h"

#include <filesystem>
#include <memory>

// A streamed music file (MPEG audio layers 1 to 3, Ogg, ASF/WMA) decoded with FFmpeg and
// converted to interleaved stereo float at the mixing rate.
class StreamDecoder : public AudioSource {
public:
    // Opens the file and decodes its first audio, so that a file that holds no playable sound
    // fails here. Throws std::runtime_error with the reason.
    StreamDecoder(const std::filesystem::path& path, int rate);
    ~StreamDecoder() override;
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    std::size_t render(float* out, std::size_t frames) override;
    bool rewind() override;

private:
    struct State;
    // Decodes until converted frames are waiting or the file is done; false when it is done.
    bool decodeMore();

    std::unique_ptr<State> state;
};
