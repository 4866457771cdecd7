#pragma once

#include "FrameRate.h"
#include "Image.h"
#include "VideoEncoder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct AVStream;
struct AVRational;

std::optional<VideoFormat> videoFormatFor(const std::filesystem::path& path);

// A video with its soundtrack, encoded as pictures and sound are added and written under a
// temporary name beside its own; renamed to it by `finish` only, so that a failed or abandoned
// video never appears under the real name. Pictures are all of one size, one per 1 / fps
// second; sound is interleaved stereo at `sampleRate`, resampled where the codec wants another
// rate. Failures throw std::runtime_error naming the file.
class VideoFile {
public:
    VideoFile(std::filesystem::path path, FrameRate fps, int width, int height, int sampleRate);
    // Removes the temporary file when `finish` was not reached.
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    // Encodes the next picture on the file's own encoder.
    void addPicture(const Image& picture);
    void addSound(const float* interleaved, std::size_t frames);
    // Drains the encoders, writes the container's end and renames the file.
    void finish();

    // Instead of `addPicture`: encoders that each encode a run of `runLength` pictures (0: all
    // of them) from a key frame on, side by side on threads of their own (and may be asked for
    // from any). `writePicture` takes their packets, each run's after the run's before it.
    std::unique_ptr<VideoEncoder> newEncoder();
    void writePicture(Packet packet);
    // How many such encoders are worth running at once: 1 where the encoder's own threads
    // share the work.
    int encodersAtOnce() const { return format == VideoFormat::Webm ? 2 : 1; }
    // Two seconds of pictures, rounded up.
    int runLength() const {
        return encodersAtOnce() > 1 ? static_cast<int>((2 * fps.num() + fps.den() - 1) / fps.den())
                                    : 0;
    }

    const std::filesystem::path& path() const { return target; }

private:
    void openContainer();
    void openAudio(int sampleRate);
    AVStream* addStream(const AVCodecContext* codec);
    // Converts sound to the codec's rate and format and queues it; nothing: what the resampler
    // still holds.
    void resample(const float* interleaved, std::size_t frames);
    void openFile();
    std::unique_ptr<VideoEncoder> makeEncoder() const;
    // Moves the resampled sound on to the encoder a codec frame at a time; with `last`, what is
    // left too, even if less than a frame.
    void encodeSound(bool last);
    // Sends sound (nothing: the end) and writes every packet the encoder has ready.
    void encodeAudio(AVFrame* frame);
    void writePictures(std::vector<Packet>& packets);
    void write(AVPacket* packet, const AVRational& timeBase, const AVStream* stream);
    [[noreturn]] void fail(const std::string& what, int error) const;

    std::filesystem::path target;
    std::filesystem::path temporary;
    VideoFormat format;
    FrameRate fps;
    int width;
    int height;
    FfmpegOwned<AVFormatContext> container;
    // Made to describe the stream, and handed out first.
    std::unique_ptr<VideoEncoder> firstEncoder;
    std::mutex handingOut;
    // The one `addPicture` encodes on.
    std::unique_ptr<VideoEncoder> pictureEncoder;
    FfmpegOwned<AVCodecContext> audioCodec;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    FfmpegOwned<AVFrame> sound;
    Packet packet;
    FfmpegOwned<SwrContext> resampler;
    FfmpegOwned<AVAudioFifo> pending;
    int inputRate = 0;
    long pictureCount = 0;
    std::int64_t soundSent = 0;
    bool fileOpen = false;
    bool finished = false;
};
