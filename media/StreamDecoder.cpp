#include "StreamDecoder.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// A file that only ever fails to decode would otherwise be read to its end packet by packet
// before giving up; this many failures in a row mean it is not audio.
constexpr int maxFailuresInARow = 200;

} // namespace

struct StreamDecoder::State {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int streamIndex = -1;
    int rate = 0;
    // What the resampler was set up for; a stream may change format midway.
    int inputRate = 0;
    int inputFormat = -1;
    AVChannelLayout inputLayout{};

    std::vector<float> pending;
    std::size_t pendingStart = 0;
    bool inputDone = false;
    bool finished = false;

    ~State() {
        swr_free(&resampler);
        av_channel_layout_uninit(&inputLayout);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    std::size_t pendingFrames() const { return (pending.size() - pendingStart) / 2; }

    void setUpResampler(const AVFrame& input) {
        swr_free(&resampler);
        av_channel_layout_uninit(&inputLayout);
        AVChannelLayout layout{};
        if (input.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || input.ch_layout.nb_channels == 0) {
            av_channel_layout_default(&layout, std::max(1, input.ch_layout.nb_channels));
        } else {
            av_channel_layout_copy(&layout, &input.ch_layout);
        }
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        int result = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLT, rate, &layout,
                                         static_cast<AVSampleFormat>(input.format),
                                         input.sample_rate, 0, nullptr);
        if (result >= 0) {
            result = swr_init(resampler);
        }
        av_channel_layout_copy(&inputLayout, &input.ch_layout);
        av_channel_layout_uninit(&layout);
        inputRate = input.sample_rate;
        inputFormat = input.format;
        if (result < 0) {
            swr_free(&resampler);
        }
    }

    bool sameInput(const AVFrame& input) const {
        return resampler && input.sample_rate == inputRate && input.format == inputFormat &&
               av_channel_layout_compare(&input.ch_layout, &inputLayout) == 0;
    }

    // Converts one decoded frame (or, with none, what the resampler still holds) to pending.
    void convert(const AVFrame* input) {
        if (input && !sameInput(*input)) {
            if (input->sample_rate <= 0) {
                return;
            }
            setUpResampler(*input);
        }
        if (!resampler) {
            return;
        }
        int inputSamples = input ? input->nb_samples : 0;
        int room = swr_get_out_samples(resampler, inputSamples);
        if (room <= 0) {
            return;
        }
        compactPending();
        std::size_t old = pending.size();
        pending.resize(old + static_cast<std::size_t>(room) * 2);
        auto* out = reinterpret_cast<uint8_t*>(pending.data() + old);
        int made = swr_convert(resampler, &out, room,
                               input ? const_cast<const uint8_t**>(input->extended_data) : nullptr,
                               inputSamples);
        pending.resize(old + static_cast<std::size_t>(std::max(made, 0)) * 2);
    }

    void compactPending() {
        if (pendingStart > 0) {
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(pendingStart));
            pendingStart = 0;
        }
    }
};

StreamDecoder::StreamDecoder(const std::filesystem::path& path, int rate)
    : state(std::make_unique<State>()) {
    // The media side reports nothing itself: damaged files answer with an error or silence.
    av_log_set_level(AV_LOG_QUIET);
    State& s = *state;
    s.rate = rate;
    s.format = avformat_alloc_context();
    if (!s.format) {
        throw std::runtime_error("out of memory");
    }
    // Only the containers of the stream kinds, and only plain files: a name must never reach a
    // network protocol or another demuxer's guesswork.
    s.format->format_whitelist = av_strdup("mp3,ogg,asf");
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    std::string url = "file:" + path.string();
    int result = avformat_open_input(&s.format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (result < 0) {
        throw std::runtime_error("not a stream file (" + errorText(result) + ")");
    }
    result = avformat_find_stream_info(s.format, nullptr);
    if (result < 0) {
        throw std::runtime_error("no stream information (" + errorText(result) + ")");
    }
    const AVCodec* decoder = nullptr;
    s.streamIndex = av_find_best_stream(s.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (s.streamIndex < 0 || !decoder) {
        throw std::runtime_error("no audio stream");
    }
    // Only the music is wanted: the demuxer skips the packets of every other stream (a video
    // track in an ASF file) instead of handing them over to be thrown away on the audio thread.
    for (unsigned i = 0; i < s.format->nb_streams; ++i) {
        if (static_cast<int>(i) != s.streamIndex)
            s.format->streams[i]->discard = AVDISCARD_ALL;
    }
    s.codec = avcodec_alloc_context3(decoder);
    s.packet = av_packet_alloc();
    s.frame = av_frame_alloc();
    if (!s.codec || !s.packet || !s.frame) {
        throw std::runtime_error("out of memory");
    }
    result = avcodec_parameters_to_context(s.codec, s.format->streams[s.streamIndex]->codecpar);
    if (result >= 0) {
        result = avcodec_open2(s.codec, decoder, nullptr);
    }
    if (result < 0) {
        throw std::runtime_error("cannot open the audio decoder (" + errorText(result) + ")");
    }
    if (!decodeMore()) {
        throw std::runtime_error("no audio could be decoded");
    }
}

StreamDecoder::~StreamDecoder() = default;

bool StreamDecoder::decodeMore() {
    State& s = *state;
    int failures = 0;
    while (s.pendingFrames() == 0 && !s.finished) {
        int result = avcodec_receive_frame(s.codec, s.frame);
        if (result == 0) {
            failures = 0;
            s.convert(s.frame);
            av_frame_unref(s.frame);
            continue;
        }
        if (result == AVERROR_EOF || s.inputDone) {
            // The decoder was told the input ended: whatever it answers, nothing more comes.
            s.convert(nullptr);
            s.finished = true;
            break;
        }
        if (result != AVERROR(EAGAIN) && ++failures > maxFailuresInARow) {
            s.finished = true;
            break;
        }
        result = av_read_frame(s.format, s.packet);
        if (result < 0) {
            // End of file, or a read error: either way drain what the decoder holds.
            s.inputDone = true;
            avcodec_send_packet(s.codec, nullptr);
            continue;
        }
        if (s.packet->stream_index == s.streamIndex) {
            // A damaged packet is skipped; the next one may decode again.
            if (avcodec_send_packet(s.codec, s.packet) < 0 && ++failures > maxFailuresInARow) {
                s.finished = true;
            }
        }
        av_packet_unref(s.packet);
    }
    return s.pendingFrames() > 0;
}

std::size_t StreamDecoder::render(float* out, std::size_t frames) {
    State& s = *state;
    std::size_t done = 0;
    while (done < frames) {
        if (s.pendingFrames() == 0 && !decodeMore()) {
            break;
        }
        std::size_t take = std::min(frames - done, s.pendingFrames());
        std::copy_n(s.pending.begin() + static_cast<long>(s.pendingStart), take * 2,
                    out + done * 2);
        s.pendingStart += take * 2;
        done += take;
    }
    return done;
}

bool StreamDecoder::rewind() {
    State& s = *state;
    if (av_seek_frame(s.format, -1, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(s.format, -1, INT64_MIN, 0, 0, 0) < 0) {
        return false;
    }
    avcodec_flush_buffers(s.codec);
    if (s.resampler) {
        swr_init(s.resampler);
    }
    s.pending.clear();
    s.pendingStart = 0;
    s.inputDone = false;
    s.finished = false;
    return true;
}
