#pragma once

#include <memory>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVAudioFifo;
struct SwsContext;
struct SwrContext;

// Frees each FFmpeg object the way its library wants, so that one owner type serves them all.
struct FfmpegFree {
    void operator()(AVFormatContext* context) const;
    void operator()(AVCodecContext* context) const;
    void operator()(AVFrame* frame) const;
    void operator()(AVPacket* packet) const;
    void operator()(AVAudioFifo* fifo) const;
    void operator()(SwsContext* context) const;
    void operator()(SwrContext* context) const;
};
template <typename T>
using FfmpegOwned = std::unique_ptr<T, FfmpegFree>;

// Throws std::runtime_error "cannot write FILE: WHAT (FFmpeg's reason for `error`)".
[[noreturn]] void throwVideoFailure(const std::string& file, const std::string& what, int error);
