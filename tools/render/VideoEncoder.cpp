#include "VideoEncoder.h"

#include <algorithm>
#include <cerrno>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

const char* encoderFor(VideoFormat format) {
    return format == VideoFormat::Webm ? "libvpx-vp9" : "libx264";
}

// Fast settings: encoding runs beside drawing on a machine with few cores, and demo pictures
// (large flat or smooth areas) look well even so. False when the encoder refuses one.
bool setFastOptions(AVCodecContext* codec, VideoFormat format) {
    void* own = codec->priv_data;
    if (format == VideoFormat::Webm) {
        // Runs are encoded side by side instead: VP9's own threads would add the cost of
        // working together (a fifth more time).
        codec->thread_count = 1;
        codec->bit_rate = 0;
        // "speed" reaches the encoder's fastest setting, 9, where "cpu-used" stops at 8: a
        // tenth to a fifth less time for the same size and PSNR over frames of the bundled demo.
        return av_opt_set(own, "deadline", "realtime", 0) >= 0 &&
               av_opt_set_int(own, "speed", 9, 0) >= 0 &&
               av_opt_set_int(own, "lag-in-frames", 0, 0) >= 0 &&
               // Each frame coded from fixed probabilities, not ones adapted from the frame
               // before: 3 % less time, 2 % more size, the same PSNR.
               av_opt_set_int(own, "error-resilient", 1, 0) >= 0 &&
               // Against 32: a tenth less time and two thirds of the size, for 0.9 dB less
               // PSNR over frames of the bundled demo.
               av_opt_set_int(own, "crf", 40, 0) >= 0;
    }
    // x264's own threads share the work.
    codec->thread_count = 0;
    return av_opt_set(own, "preset", "ultrafast", 0) >= 0 && av_opt_set(own, "crf", "20", 0) >= 0;
}

} // namespace

AVRational pictureTime(FrameRate fps) {
    return AVRational{static_cast<int>(fps.den()), static_cast<int>(fps.num())};
}

VideoEncoder::VideoEncoder(VideoFormat format, FrameRate fps, int width, int height,
                           bool globalHeader, std::string name)
    : name(std::move(name)) {
    const char* encoderName = encoderFor(format);
    const AVCodec* encoder = avcodec_find_encoder_by_name(encoderName);
    if (!encoder)
        fail(std::string("no encoder ") + encoderName, AVERROR_ENCODER_NOT_FOUND);
    context.reset(avcodec_alloc_context3(encoder));
    AVCodecContext* codec = context.get();
    if (!codec)
        fail("out of memory", AVERROR(ENOMEM));
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = pictureTime(fps);
    codec->framerate = AVRational{static_cast<int>(fps.num()), static_cast<int>(fps.den())};
    // A key frame every two seconds.
    codec->gop_size = std::max(1L, 2 * fps.num() / fps.den());
    // As the RGB to YUV conversion below computes it, so that players convert back alike.
    codec->color_range = AVCOL_RANGE_MPEG;
    codec->colorspace = AVCOL_SPC_SMPTE170M;
    codec->color_primaries = AVCOL_PRI_SMPTE170M;
    codec->color_trc = AVCOL_TRC_SMPTE170M;
    if (globalHeader)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (!setFastOptions(codec, format))
        fail(std::string("encoder ") + encoderName + " refuses its settings", AVERROR(EINVAL));
    int error = avcodec_open2(codec, encoder, nullptr);
    if (error < 0)
        fail(std::string("cannot open encoder ") + encoderName, error);

    picture.reset(av_frame_alloc());
    if (!picture)
        fail("out of memory", AVERROR(ENOMEM));
    picture->format = codec->pix_fmt;
    picture->width = width;
    picture->height = height;
    error = av_frame_get_buffer(picture.get(), 0);
    if (error < 0)
        fail("cannot make a picture", error);
}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::fail(const std::string& what, int error) const {
    throwVideoFailure(name, what, error);
}

SwsContext* VideoEncoder::converterFor(PixelOrder order) {
    FfmpegOwned<SwsContext>& converter = toYuv[static_cast<std::size_t>(order)];
    if (!converter) {
        // Blue first has a conversion of its own, much faster than the scaler's general one.
        const AVPixelFormat from = order == PixelOrder::Bgr ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_RGB24;
        converter.reset(sws_getContext(picture->width, picture->height, from, picture->width,
                                       picture->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr,
                                       nullptr, nullptr));
        if (!converter)
            fail("cannot convert pictures to YUV", AVERROR(EINVAL));
    }
    return converter.get();
}

void VideoEncoder::add(const Image& source, long index, std::vector<Packet>& out) {
    if (source.width != picture->width || source.height != picture->height ||
        source.rgb.size() < static_cast<std::size_t>(source.width) * source.height * 3)
        fail("a picture of another size", AVERROR(EINVAL));
    SwsContext* converter = converterFor(source.order);
    int error = av_frame_make_writable(picture.get());
    if (error < 0)
        fail("cannot make a picture", error);
    // The scaler reads rows lying bottom up through a negative stride, at no cost.
    const std::uint8_t* rows[1] = {source.row(0)};
    const int strides[1] = {static_cast<int>(source.stride())};
    sws_scale(converter, rows, strides, 0, source.height, picture->data, picture->linesize);
    picture->pts = index;
    encode(picture.get(), out);
}

void VideoEncoder::finish(std::vector<Packet>& out) {
    encode(nullptr, out);
}

void VideoEncoder::encode(AVFrame* frame, std::vector<Packet>& out) {
    int error = avcodec_send_frame(context.get(), frame);
    if (error < 0)
        fail("cannot encode", error);
    for (;;) {
        Packet packet(av_packet_alloc());
        if (!packet)
            fail("out of memory", AVERROR(ENOMEM));
        error = avcodec_receive_packet(context.get(), packet.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return;
        if (error < 0)
            fail("cannot encode", error);
        // Without it the last picture of an MP4 would last no time, and players drop it.
        if (packet->duration == 0)
            packet->duration = 1;
        out.push_back(std::move(packet));
    }
}
