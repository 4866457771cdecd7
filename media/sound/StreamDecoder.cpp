#include "StreamDecoder.h"

#include <algorithm>
#include <cstdio>
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

constexpr int inputBufferBytes = 64 << 10;

bool rateAllowed(int rate) {
    return rate >= StreamDecoder::minSampleRate && rate <= StreamDecoder::maxSampleRate;
}

std::string rateRefusal(int rate) {
    return "sample rate out of range (" + std::to_string(rate) + " Hz)";
}

// The file as the demuxer reads it: a plain file and nothing else (no protocol ever sees the
// name), with a count of the bytes taken and, while the file is being opened, a limit on them.
struct FileInput {
    std::FILE* file = nullptr;
    std::uint64_t read = 0;
    std::uint64_t limit = UINT64_MAX;
    bool limitReached = false;
    std::uint64_t* counter = nullptr;

    ~FileInput() {
        if (file)
            std::fclose(file);
    }

    static int readPacket(void* opaque, uint8_t* buffer, int size) {
        auto& input = *static_cast<FileInput*>(opaque);
        if (input.read >= input.limit) {
            input.limitReached = true;
            return AVERROR_EOF;
        }
        const std::uint64_t allowed = std::min<std::uint64_t>(size, input.limit - input.read);
        const std::size_t got = std::fread(buffer, 1, allowed, input.file);
        input.read += got;
        if (input.counter)
            *input.counter += got;
        if (got == 0)
            return std::ferror(input.file) ? AVERROR(EIO) : AVERROR_EOF;
        return static_cast<int>(got);
    }

    static int64_t seek(void* opaque, int64_t offset, int whence) {
        auto& input = *static_cast<FileInput*>(opaque);
        if (whence & AVSEEK_SIZE) {
            const long here = std::ftell(input.file);
            if (here < 0 || std::fseek(input.file, 0, SEEK_END) != 0)
                return AVERROR(EIO);
            const long size = std::ftell(input.file);
            std::fseek(input.file, here, SEEK_SET);
            return size;
        }
        whence &= ~AVSEEK_FORCE;
        if (std::fseek(input.file, static_cast<long>(offset), whence) != 0)
            return AVERROR(EIO);
        return std::ftell(input.file);
    }
};

} // namespace

struct StreamDecoder::State {
    FileInput input;
    AVIOContext* io = nullptr;
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

    // The decoded frame being converted, and how many of its samples are done.
    bool converting = false;
    int frameOffset = 0;
    std::vector<const uint8_t*> planes;
    // The last rate refused, so that a file whose every frame is refused can say why.
    int refusedRate = 0;

    std::vector<float> pending;
    std::size_t pendingStart = 0;
    std::size_t peakPending = 0;
    bool inputDone = false;
    bool finished = false;

    ~State() {
        swr_free(&resampler);
        av_channel_layout_uninit(&inputLayout);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        // A reader of our own is not the demuxer's to free.
        if (io)
            av_freep(&io->buffer);
        avio_context_free(&io);
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

    // Takes a decoded frame to be converted piece by piece; false when it cannot be (a rate no
    // music has, no samples), and the frame is let go of.
    bool startFrame() {
        if (frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0) {
            av_frame_unref(frame);
            return false;
        }
        if (!rateAllowed(frame->sample_rate)) {
            refusedRate = frame->sample_rate;
            av_frame_unref(frame);
            return false;
        }
        if (!sameInput(*frame)) {
            setUpResampler(*frame);
        }
        if (!resampler) {
            av_frame_unref(frame);
            return false;
        }
        frameOffset = 0;
        converting = true;
        return true;
    }

    // Converts the next piece of the frame being converted to pending.
    void convertPiece() {
        const std::int64_t perPiece =
            std::max<std::int64_t>(1, static_cast<std::int64_t>(pieceFrames) * inputRate / rate);
        const int count =
            static_cast<int>(std::min<std::int64_t>(frame->nb_samples - frameOffset, perPiece));
        const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame->format));
        const int channels = frame->ch_layout.nb_channels;
        const std::size_t offset = static_cast<std::size_t>(frameOffset) *
                                   static_cast<std::size_t>(av_get_bytes_per_sample(
                                       static_cast<AVSampleFormat>(frame->format))) *
                                   static_cast<std::size_t>(planar ? 1 : channels);
        planes.resize(static_cast<std::size_t>(planar ? channels : 1));
        for (std::size_t i = 0; i < planes.size(); ++i) {
            planes[i] = frame->extended_data[i] + offset;
        }
        convert(planes.data(), count);
        frameOffset += count;
        if (frameOffset >= frame->nb_samples) {
            converting = false;
            av_frame_unref(frame);
        }
    }

    // Converts `count` samples (or, with none, what the resampler still holds) to pending.
    void convert(const uint8_t* const* input, int count) {
        if (!resampler) {
            return;
        }
        int room = swr_get_out_samples(resampler, count);
        if (room <= 0) {
            return;
        }
        compactPending();
        std::size_t old = pending.size();
        pending.resize(old + static_cast<std::size_t>(room) * 2);
        auto* out = reinterpret_cast<uint8_t*>(pending.data() + old);
        int made = swr_convert(resampler, &out, room, const_cast<const uint8_t**>(input), count);
        pending.resize(old + static_cast<std::size_t>(std::max(made, 0)) * 2);
        peakPending = std::max(peakPending, pendingFrames());
    }

    void compactPending() {
        if (pendingStart > 0) {
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(pendingStart));
            pendingStart = 0;
        }
    }
};

StreamDecoder::StreamDecoder(const std::filesystem::path& path, int rate, std::uint64_t* bytesRead)
    : state(std::make_unique<State>()) {
    // The media side reports nothing itself: damaged files answer with an error or silence.
    av_log_set_level(AV_LOG_QUIET);
    State& s = *state;
    s.rate = rate;
    s.input.file = std::fopen(path.c_str(), "rb");
    if (!s.input.file) {
        throw std::runtime_error("file not found");
    }
    s.input.counter = bytesRead;
    s.input.limit = probeBytes;
    auto* buffer = static_cast<unsigned char*>(av_malloc(inputBufferBytes));
    if (buffer) {
        s.io = avio_alloc_context(buffer, inputBufferBytes, 0, &s.input, FileInput::readPacket,
                                  nullptr, FileInput::seek);
    }
    if (!s.io) {
        av_free(buffer);
        throw std::runtime_error("out of memory");
    }
    s.format = avformat_alloc_context();
    if (!s.format) {
        throw std::runtime_error("out of memory");
    }
    s.format->pb = s.io;
    // Only the containers of the stream kinds: a name must never reach another demuxer's
    // guesswork.
    s.format->format_whitelist = av_strdup("mp3,ogg,asf");
    int result = avformat_open_input(&s.format, nullptr, nullptr, nullptr);
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
    // Some containers leave the rate to the decoder (0 here); its frames are checked then.
    const int declaredRate = s.format->streams[s.streamIndex]->codecpar->sample_rate;
    if (declaredRate != 0 && !rateAllowed(declaredRate)) {
        throw std::runtime_error(rateRefusal(declaredRate));
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
    if (!decodeMore() || s.input.limitReached) {
        if (s.refusedRate != 0) {
            throw std::runtime_error(rateRefusal(s.refusedRate));
        }
        throw std::runtime_error(s.input.limitReached ? "no audio in the first " +
                                                            std::to_string(probeBytes >> 20) + " MB"
                                                      : "no audio could be decoded");
    }
    // Found: from here on the file plays to its end.
    s.input.limit = UINT64_MAX;
}

StreamDecoder::~StreamDecoder() = default;

bool StreamDecoder::decodeMore() {
    State& s = *state;
    int failures = 0;
    while (s.pendingFrames() == 0 && !s.finished) {
        if (s.converting) {
            s.convertPiece();
            continue;
        }
        int result = avcodec_receive_frame(s.codec, s.frame);
        if (result == 0) {
            // A frame that cannot be played counts as one that failed to decode.
            if (s.startFrame()) {
                failures = 0;
            } else if (++failures > maxFailuresInARow) {
                s.finished = true;
            }
            continue;
        }
        if (result == AVERROR_EOF || s.inputDone) {
            // The decoder was told the input ended: whatever it answers, nothing more comes.
            s.convert(nullptr, 0);
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

std::size_t StreamDecoder::peakPendingFrames() const {
    return state->peakPending;
}

bool StreamDecoder::rewind() {
    State& s = *state;
    if (av_seek_frame(s.format, -1, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(s.format, -1, INT64_MIN, 0, 0, 0) < 0) {
        return false;
    }
    avcodec_flush_buffers(s.codec);
    av_frame_unref(s.frame);
    s.converting = false;
    if (s.resampler) {
        swr_init(s.resampler);
    }
    s.pending.clear();
    s.pendingStart = 0;
    s.inputDone = false;
    s.finished = false;
    return true;
}
