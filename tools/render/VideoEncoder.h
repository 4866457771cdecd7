#pragma once

#include "FfmpegOwned.h"
#include "FrameRate.h"
#include "Image.h"

#include <array>
#include <string>
#include <vector>

// The containers a video can be written to, told apart by the file's extension: .mp4 (H.264 and
// AAC), .mkv (H.264 and FLAC), .webm (VP9 and Opus).
enum class VideoFormat { Mp4, Mkv, Webm };

// An encoded picture, its times counted in pictures.
using Packet = FfmpegOwned<AVPacket>;

struct AVRational;

// The time of one picture, exactly: 1001/30000 s at 30000/1001 frames a second.
AVRational pictureTime(FrameRate fps);

// Pictures of one size, converted to YUV and encoded from a key frame on, one per 1 / fps
// second. Encoders made alike write one stream between them, each a run of pictures after the
// other's. Failures throw std::runtime_error starting with `what` (the file's name).
class VideoEncoder {
public:
    // With `globalHeader` the stream's parameters go into the container's header, not the stream.
    VideoEncoder(VideoFormat format, FrameRate fps, int width, int height, bool globalHeader,
                 std::string name);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Encodes the picture shown `index` pictures from the video's start; adds to `out` what the
    // encoder has ready, this picture or earlier ones.
    void add(const Image& picture, long index, std::vector<Packet>& out);
    // Adds every packet the encoder still holds; no picture may follow.
    void finish(std::vector<Packet>& out);

    const AVCodecContext* codec() const { return context.get(); }

private:
    SwsContext* converterFor(PixelOrder order);
    // Sends a picture (nothing: the end) and takes every packet ready.
    void encode(AVFrame* frame, std::vector<Packet>& out);
    [[noreturn]] void fail(const std::string& what, int error) const;

    std::string name;
    FfmpegOwned<AVCodecContext> context;
    FfmpegOwned<AVFrame> picture;
    // One for each pixel order, made when first needed.
    std::array<FfmpegOwned<SwsContext>, 2> toYuv;
};
