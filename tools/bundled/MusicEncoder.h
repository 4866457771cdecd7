#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// The kinds of music file that can be written: Ogg Vorbis, MPEG layer 3, MPEG layer 2, and ASF
// with WMA version 2.
enum class MusicFormat { Ogg, Mp3, Mp2, Wma };

// Fills `out` with `count` stereo frames (interleaved, -1..1) starting at frame `first`.
using MusicSource = std::function<void(std::int64_t first, int count, float* out)>;

// Writes `frames` frames of 44100 Hz stereo music from `source` to `path` with FFmpeg's encoder
// for the format. Encoders that take only whole blocks get the last block whole: the music ends
// up to one block later, and `source` is asked for those frames too. Throws std::runtime_error
// on any failure.
void encodeMusic(const std::filesystem::path& path, MusicFormat format, std::int64_t frames,
                 const MusicSource& source);
