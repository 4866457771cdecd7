#include "TestMedia.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

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

Encoding encodingOf(ToneFormat format) {
    switch (format) {
    case ToneFormat::Ogg:
        return {"ogg", "libvorbis"};
    case ToneFormat::Mp3:
        return {"mp3", "libmp3lame"};
    case ToneFormat::Mp2:
        return {"mp2", "mp2"};
    case ToneFormat::Wma:
        return {"asf", "wmav2"};
    }
    throw std::logic_error("unknown tone format");
}

void fillTone(AVFrame& frame, std::int64_t first) {
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const bool planar = av_sample_fmt_is_planar(format);
    for (int i = 0; i < frame.nb_samples; ++i) {
        double t = static_cast<double>(first + i) / rate;
        double value = 0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * t);
        for (int channel = 0; channel < 2; ++channel) {
            int plane = planar ? channel : 0;
            int index = planar ? i : i * 2 + channel;
            uint8_t* data = frame.data[plane];
            switch (format) {
            case AV_SAMPLE_FMT_FLT:
            case AV_SAMPLE_FMT_FLTP:
                reinterpret_cast<float*>(data)[index] = static_cast<float>(value);
                break;
            case AV_SAMPLE_FMT_S16:
            case AV_SAMPLE_FMT_S16P:
                reinterpret_cast<int16_t*>(data)[index] = static_cast<int16_t>(value * 32767);
                break;
            case AV_SAMPLE_FMT_S32:
            case AV_SAMPLE_FMT_S32P:
                reinterpret_cast<int32_t*>(data)[index] =
                    static_cast<int32_t>(value * 2147483647.0);
                break;
            default:
                throw std::runtime_error("unexpected sample format");
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
        if (!codec) {
            throw std::runtime_error(std::string("no encoder ") + encoding.encoder);
        }
        stream = avformat_new_stream(format, nullptr);
        context = avcodec_alloc_context3(codec);
        context->sample_rate = rate;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        av_channel_layout_copy(&context->ch_layout, &stereo);
        context->sample_fmt = codec->sample_fmts[0];
        context->bit_rate = 128000;
        context->time_base = AVRational{1, rate};
        if (format->oformat->flags & AVFMT_GLOBALHEADER) {
            context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        check(avcodec_open2(context, codec, nullptr), "encoder");
        check(avcodec_parameters_from_context(stream->codecpar, context), "parameters");
        stream->time_base = context->time_base;
        check(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), "file");
        check(avformat_write_header(format, nullptr), "header");
        packet = av_packet_alloc();
        frame = av_frame_alloc();
    }

    ~Encoder() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&context);
        if (format && format->pb) {
            avio_closep(&format->pb);
        }
        avformat_free_context(format);
    }

    void write(std::int64_t samples) {
        const int frameSize = context->frame_size > 0 ? context->frame_size : 1024;
        for (std::int64_t done = 0; done < samples; done += frameSize) {
            av_frame_unref(frame);
            frame->nb_samples = static_cast<int>(std::min<std::int64_t>(frameSize, samples - done));
            if (!(context->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) &&
                frame->nb_samples < frameSize) {
                // Fixed-size encoders take only full frames: the tone ends a little later.
                frame->nb_samples = frameSize;
            }
            frame->format = context->sample_fmt;
            frame->sample_rate = rate;
            av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
            check(av_frame_get_buffer(frame, 0), "frame");
            fillTone(*frame, done);
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
            int result = avcodec_receive_packet(context, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return;
            }
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

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putBig32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void putText(std::string& out, const std::string& text, std::size_t size) {
    std::string field = text.substr(0, size);
    field.resize(size, '\0');
    out += field;
}

void putVariableLength(std::string& out, std::uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    }
    out += bytes;
}

} // namespace

std::string toneExtension(ToneFormat format) {
    switch (format) {
    case ToneFormat::Ogg:
        return "ogg";
    case ToneFormat::Mp3:
        return "mp3";
    case ToneFormat::Mp2:
        return "mp2";
    case ToneFormat::Wma:
        return "wma";
    }
    return "";
}

void encodeTone(const std::filesystem::path& path, ToneFormat format, double seconds) {
    Encoder encoder(path, encodingOf(format));
    encoder.write(static_cast<std::int64_t>(seconds * rate));
}

std::string xmSong(int rows, int orders) {
    const int channels = 2;
    std::string xm = "Extended Module: ";
    putText(xm, "reelplay test", 20);
    xm += '\x1A';
    putText(xm, "reelplay", 20);
    put16(xm, 0x0104);
    put32(xm, 276);
    put16(xm, static_cast<unsigned>(orders));
    put16(xm, 0);
    put16(xm, channels);
    put16(xm, 1);
    put16(xm, 1);
    put16(xm, 1); // linear frequencies
    put16(xm, 6);
    put16(xm, 125);
    xm += std::string(256, '\0'); // every order plays pattern 0

    // One pattern: a note on the first row of each quarter, alternating C-4 and G-4.
    std::string pattern;
    for (int row = 0; row < rows; ++row) {
        for (int channel = 0; channel < channels; ++channel) {
            if (channel == 0 && row % 4 == 0) {
                pattern += '\x83'; // note and instrument follow
                pattern += static_cast<char>(row % 8 == 0 ? 49 : 56);
                pattern += '\x01';
            } else {
                pattern += '\x80'; // empty
            }
        }
    }
    put32(xm, 9);
    xm += '\0';
    put16(xm, static_cast<unsigned>(rows));
    put16(xm, static_cast<unsigned>(pattern.size()));
    xm += pattern;

    // One instrument with one sample.
    std::string instrument;
    put32(instrument, 263);
    putText(instrument, "sine", 22);
    instrument += '\0';
    put16(instrument, 1);
    put32(instrument, 40);
    instrument.resize(263, '\0'); // all notes to sample 0, no envelopes
    xm += instrument;

    const int sampleLength = 32;
    put32(xm, sampleLength);
    put32(xm, 0);
    put32(xm, sampleLength);
    xm += static_cast<char>(48); // volume
    xm += '\0';                  // finetune
    xm += '\x01';                // forward loop, 8-bit
    xm += static_cast<char>(128);
    xm += '\0'; // relative note
    xm += '\0';
    putText(xm, "sine", 22);
    int previous = 0;
    for (int i = 0; i < sampleLength; ++i) {
        int value = static_cast<int>(
            std::lround(100.0 * std::sin(2.0 * std::numbers::pi * i / sampleLength)));
        xm += static_cast<char>((value - previous) & 0xFF); // stored as deltas
        previous = value;
    }
    return xm;
}

std::string midiSong(double seconds) {
    const int division = 96; // ticks per quarter note; 500000 us per quarter: 192 ticks a second
    std::string track;
    putVariableLength(track, 0);
    track += "\xFF\x51\x03\x07\xA1\x20"; // tempo 500000
    putVariableLength(track, 0);
    track += '\xC0';
    track += '\0'; // piano
    const int notes[] = {60, 64, 67, 72};
    const auto ticksPerNote = static_cast<std::uint32_t>(192 * 0.25);
    const int count = std::max(1, static_cast<int>(seconds / 0.25));
    for (int i = 0; i < count; ++i) {
        char note = static_cast<char>(notes[i % 4]);
        putVariableLength(track, 0);
        track += '\x90';
        track += note;
        track += '\x64';
        putVariableLength(track, ticksPerNote);
        track += '\x80';
        track += note;
        track += '\x40';
    }
    putVariableLength(track, 0);
    track += "\xFF\x2F"; // end of track
    track += '\0';

    std::string midi = "MThd";
    putBig32(midi, 6);
    midi += std::string("\x00\x00\x00\x01", 4); // format 0, one track
    midi += static_cast<char>(division >> 8);
    midi += static_cast<char>(division & 0xFF);
    midi += "MTrk";
    putBig32(midi, static_cast<std::uint32_t>(track.size()));
    return midi + track;
}

std::string rmiSong(const std::string& midi) {
    std::string data = "data";
    put32(data, static_cast<std::uint32_t>(midi.size()));
    data += midi;
    if (midi.size() % 2) {
        data += '\0';
    }
    std::string riff = "RIFF";
    put32(riff, static_cast<std::uint32_t>(4 + data.size()));
    return riff + "RMID" + data;
}
