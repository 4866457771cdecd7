#pragma once

#include "Image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct AVAudioFifo;
struct SwsContext;
struct SwrContext;

// The containers a video can be written to, told apart by the file's extension: .mp4 (H.264 and
// AAC), .mkv (H.264 and FLAC), .webm (VP9 and Opus).
enum class VideoFormat { Mp4, Mkv, Webm };
std::optional<VideoFormat> videoFormatFor(const std::filesystem::path& path);

// A video with its soundtrack, encoded as pictures and sound are added and written under a
// temporary name beside its own; renamed to it by `finish` only, so that a failed or abandoned
// video never appears under the real name. Pictures are all of one size, one per 1 / fps
// second; sound is interleaved stereo at `sampleRate`, resampled where the codec wants another
// rate. Failures throw std::runtime_error naming the file.
class VideoFile {
public:
    VideoFile(std::filesystem::path path, int fps, int width, int height, int sampleRate);
    // Removes the temporary file when `finish` was not reached.
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    void addPicture(const Image& picture);
    void addSound(const float* interleaved, std::size_t frames);
    // Drains the encoders, writes the container's end and renames the file.
    void finish();

    const std::filesystem::path& path() const { return target; }
    long pictures() const { return pictureCount; }

private:
    struct Deleter {
        void operator()(AVFormatContext* context) const;
        void operator()(AVCodecContext* context) const;
        void operator()(AVFrame* frame) const;
        void operator()(AVPacket* packet) const;
        void operator()(AVAudioFifo* fifo) const;
        void operator()(SwsContext* context) const;
        void operator()(SwrContext* context) const;
    };
    template <typename T>
    using Owned = std::unique_ptr<T, Deleter>;

    void openContainer(VideoFormat format);
    void openVideo(VideoFormat format, int fps, int width, int height);
    void openAudio(VideoFormat format, int sampleRate);
    AVStream* addStream(AVCodecContext* codec);
    // Converts sound to the codec's rate and format and queues it; nothing: what the resampler
    // still holds.
    void resample(const float* interleaved, std::size_t frames);
    void openFile();
    SwsContext* converterFor(PixelOrder order);
    // Moves the resampled sound on to the encoder a codec frame at a time; with `last`, what is
    // left too, even if less than a frame.
    void encodeSound(bool last);
    // Sends a frame (nothing: the end) and writes every packet the encoder has ready.
    void encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    [[noreturn]] void fail(const std::string& what, int error) const;

    std::filesystem::path target;
    std::filesystem::path temporary;
    Owned<AVFormatContext> container;
    Owned<AVCodecContext> videoCodec;
    Owned<AVCodecContext> audioCodec;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    Owned<AVFrame> picture;
    Owned<AVFrame> sound;
    Owned<AVPacket> packet;
    // One for each pixel order, made when first needed.
    std::array<Owned<SwsContext>, 2> toYuv;
    Owned<SwrContext> resampler;
    Owned<AVAudioFifo> pending;
    int inputRate = 0;
    long pictureCount = 0;
    std::int64_t soundSent = 0;
    bool fileOpen = false;
    bool finished = false;
};
