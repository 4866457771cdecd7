#include "MusicEncoder.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace {

constexpr int rate = 44100;

void check(int result, const char* what) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        throw std::runtime_error(std::string(what) + ": " + text);
    }
}

struct Encoding {
    const char* muxer;
    const char* encoder;
};

Encoding encodingOf(MusicFormat format) {
    switch (format) {
    case MusicFormat::Ogg: return {"ogg", "libvorbis"};
    case MusicFormat::Mp3: return {"mp3", "libmp3lame"};
    case MusicFormat::Mp2: return {"mp2", "mp2"};
    case MusicFormat::Wma: return {"asf", "wmav2"};
    }
    throw std::logic_error("unknown music format");
}

// Stores interleaved float frames in the frame's own sample format.
void convertInto(AVFrame& frame, const std::vector<float>& samples) {
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const bool planar = av_sample_fmt_is_planar(format);
    for (int i = 0; i < frame.nb_samples; ++i) {
        for (int channel = 0; channel < 2; ++channel) {
            const double value = samples[static_cast<std::size_t>(i) * 2 + channel];
            const int plane = planar ? channel : 0;
            const int index = planar ? i : i * 2 + channel;
            std::uint8_t* data = frame.data[plane];
            switch (format) {
            case AV_SAMPLE_FMT_FLT:
            case AV_SAMPLE_FMT_FLTP:
                reinterpret_cast<float*>(data)[index] = static_cast<float>(value);
                break;
            case AV_SAMPLE_FMT_S16:
            case AV_SAMPLE_FMT_S16P:
                reinterpret_cast<std::int16_t*>(data)[index] =
                    static_cast<std::int16_t>(value * 32767);
                break;
            case AV_SAMPLE_FMT_S32:
            case AV_SAMPLE_FMT_S32P:
                reinterpret_cast<std::int32_t*>(data)[index] =
                    static_cast<std::int32_t>(value * 2147483647.0);
                break;
            default: throw std::runtime_error("unexpected sample format");
            }
        }
    }
}

class Encoder {
public:
    Encoder(const std::filesystem::path& path, Encoding encoding) {
        check(avformat_alloc_output_context2(&format, nullptr, encoding.muxer, path.c_str()),
              "output");
        const AVCodec* codec = avcodec_find_encoder_by_name(encoding.encoder);
        if (!codec)
            throw std::runtime_error(std::string("no encoder ") + encoding.encoder);
        stream = avformat_new_stream(format, nullptr);
        context = avcodec_alloc_context3(codec);
        if (!stream || !context)
            throw std::runtime_error("out of memory");
        context->sample_rate = rate;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        av_channel_layout_copy(&context->ch_layout, &stereo);
        context->sample_fmt = codec->sample_fmts[0];
        context->bit_rate = 128000;
        context->time_base = AVRational{1, rate};
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        check(avcodec_open2(context, codec, nullptr), "encoder");
        check(avcodec_parameters_from_context(stream->codecpar, context), "parameters");
        stream->time_base = context->time_base;
        check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), "file");
        check(avformat_write_header(format, nullptr), "header");
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (!packet || !frame)
            throw std::runtime_error("out of memory");
    }

    ~Encoder() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&context);
        if (format && format->pb)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }

    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    void write(std::int64_t frames, const MusicSource& source) {
        const int blockSize = context->frame_size > 0 ? context->frame_size : 1024;
        const bool wholeBlocks = !(context->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        std::vector<float> samples;
        for (std::int64_t done = 0; done < frames; done += blockSize) {
            int count = static_cast<int>(std::min<std::int64_t>(blockSize, frames - done));
            if (wholeBlocks)
                count = blockSize;
            samples.assign(static_cast<std::size_t>(count) * 2, 0.0f);
            source(done, count, samples.data());
            av_frame_unref(frame);
            frame->nb_samples = count;
            frame->format = context->sample_fmt;
            frame->sample_rate = rate;
            av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
            check(av_frame_get_buffer(frame, 0), "frame");
            convertInto(*frame, samples);
            frame->pts = done;
            send(frame);
        }
        send(nullptr);
        check(av_write_trailer(format), "trailer");
    }

private:
    void send(AVFrame* input) {
        check(avcodec_send_frame(context, input), "encode");
        while (true) {
            const int result = avcodec_receive_packet(context, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return;
            check(result, "encode");
            av_packet_rescale_ts(packet, context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(format, packet), "write");
        }
    }

    AVFormatContext* format = nullptr;
    AVStream* stream = nullptr;
    AVCodecContext* context = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
};

} // namespace

void encodeMusic(const std::filesystem::path& path, MusicFormat format, std::int64_t frames,
                 const MusicSource& source) {
    Encoder encoder(path, encodingOf(format));
    encoder.write(frames, source);
}
