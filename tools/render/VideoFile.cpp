#include "VideoFile.h"

#include "OutputFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {

struct Codecs {
    const char* container;
    const char* audio;
    // 0: the encoder's own rate.
    int audioRate;
};

Codecs codecsFor(VideoFormat format) {
    switch (format) {
    case VideoFormat::Mp4: return {"mp4", "aac", 0};
    case VideoFormat::Mkv: return {"matroska", "flac", 0};
    case VideoFormat::Webm: return {"webm", "libopus", 48000};
    }
    return {};
}

VideoFormat checkedFormat(const std::filesystem::path& path) {
    const auto format = videoFormatFor(path);
    if (!format)
        throw std::runtime_error("cannot write " + path.string() +
                                 ": a video ends in .mp4, .mkv or .webm");
    return *format;
}

} // namespace

std::optional<VideoFormat> videoFormatFor(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".mp4")
        return VideoFormat::Mp4;
    if (extension == ".mkv")
        return VideoFormat::Mkv;
    if (extension == ".webm")
        return VideoFormat::Webm;
    return std::nullopt;
}

VideoFile::VideoFile(std::filesystem::path path, FrameRate fps, int width, int height,
                     int sampleRate)
    : target(std::move(path)), format(checkedFormat(target)), fps(fps), width(width),
      height(height), inputRate(sampleRate) {
    // The encoders chat on stderr; reelrender's own lines say what went wrong.
    av_log_set_level(AV_LOG_QUIET);
    openContainer();
    // The stream is described by an encoder's settings; every run's encoder is made alike.
    firstEncoder = makeEncoder();
    videoStream = addStream(firstEncoder->codec());
    openAudio(sampleRate);
    packet.reset(av_packet_alloc());
    if (!packet)
        fail("out of memory", AVERROR(ENOMEM));
    openFile();
}

VideoFile::~VideoFile() {
    if (finished)
        return;
    if (fileOpen)
        avio_closep(&container->pb);
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
}

void VideoFile::fail(const std::string& what, int error) const {
    throwVideoFailure(target.string(), what, error);
}

void VideoFile::openContainer() {
    AVFormatContext* context = nullptr;
    const int error = avformat_alloc_output_context2(&context, nullptr, codecsFor(format).container,
                                                     target.c_str());
    container.reset(context);
    if (error < 0 || !context)
        fail("no muxer for this container", error);
}

AVStream* VideoFile::addStream(const AVCodecContext* codec) {
    AVStream* stream = avformat_new_stream(container.get(), nullptr);
    if (!stream)
        fail("out of memory", AVERROR(ENOMEM));
    stream->time_base = codec->time_base;
    const int error = avcodec_parameters_from_context(stream->codecpar, codec);
    if (error < 0)
        fail("cannot describe the stream", error);
    return stream;
}

std::unique_ptr<VideoEncoder> VideoFile::newEncoder() {
    {
        std::lock_guard lock(handingOut);
        if (firstEncoder)
            return std::move(firstEncoder);
    }
    return makeEncoder();
}

std::unique_ptr<VideoEncoder> VideoFile::makeEncoder() const {
    return std::make_unique<VideoEncoder>(format, fps, width, height,
                                          (container->oformat->flags & AVFMT_GLOBALHEADER) != 0,
                                          target.string());
}

void VideoFile::openAudio(int sampleRate) {
    const Codecs codecs = codecsFor(format);
    const AVCodec* encoder = avcodec_find_encoder_by_name(codecs.audio);
    if (!encoder)
        fail(std::string("no encoder ") + codecs.audio, AVERROR_ENCODER_NOT_FOUND);
    audioCodec.reset(avcodec_alloc_context3(encoder));
    AVCodecContext* codec = audioCodec.get();
    const int rate = codecs.audioRate != 0 ? codecs.audioRate : sampleRate;
    codec->sample_rate = rate;
    codec->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&codec->ch_layout, 2);
    codec->time_base = AVRational{1, rate};
    if (format != VideoFormat::Mkv)
        codec->bit_rate = format == VideoFormat::Mp4 ? 192000 : 128000;
    // Opus at its middle complexity: half the time of its highest, for a small loss at this rate.
    if (format == VideoFormat::Webm)
        codec->compression_level = 5;
    // The AAC encoder's fast search costs about half of its default one.
    if (format == VideoFormat::Mp4 && av_opt_set(codec->priv_data, "aac_coder", "fast", 0) < 0)
        fail(std::string("encoder ") + codecs.audio + " refuses its settings", AVERROR(EINVAL));
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int error = avcodec_open2(codec, encoder, nullptr);
    if (error < 0)
        fail(std::string("cannot open encoder ") + codecs.audio, error);
    audioStream = addStream(codec);

    SwrContext* swr = nullptr;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    error = swr_alloc_set_opts2(&swr, &codec->ch_layout, codec->sample_fmt, rate, &stereo,
                                AV_SAMPLE_FMT_FLT, sampleRate, 0, nullptr);
    resampler.reset(swr);
    if (error < 0 || (error = swr_init(swr)) < 0)
        fail("cannot resample the sound", error);
    pending.reset(av_audio_fifo_alloc(codec->sample_fmt, 2, rate));
    sound.reset(av_frame_alloc());
    if (!pending || !sound)
        fail("out of memory", AVERROR(ENOMEM));
}

// Last in the constructor: nothing after it can fail and leave the file behind.
void VideoFile::openFile() {
    const TemporaryFile made = createTemporaryBeside(target);
    close(made.descriptor);
    temporary = made.path;
    int error = avio_open(&container->pb, temporary.c_str(), AVIO_FLAG_WRITE);
    if (error >= 0) {
        fileOpen = true;
        error = avformat_write_header(container.get(), nullptr);
        if (error >= 0)
            return;
    }
    if (fileOpen)
        avio_closep(&container->pb);
    fileOpen = false;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    fail(fileOpen ? "cannot write the header" : "cannot create the file", error);
}

void VideoFile::addPicture(const Image& picture) {
    if (!pictureEncoder)
        pictureEncoder = newEncoder();
    std::vector<Packet> packets;
    pictureEncoder->add(picture, pictureCount++, packets);
    writePictures(packets);
}

void VideoFile::writePicture(Packet picture) {
    write(picture.get(), pictureTime(fps), videoStream);
}

void VideoFile::writePictures(std::vector<Packet>& packets) {
    for (Packet& each : packets)
        writePicture(std::move(each));
    packets.clear();
}

void VideoFile::addSound(const float* interleaved, std::size_t frames) {
    if (frames > 0)
        resample(interleaved, frames);
}

void VideoFile::resample(const float* interleaved, std::size_t frames) {
    AVCodecContext* codec = audioCodec.get();
    const int room = swr_get_out_samples(resampler.get(), static_cast<int>(frames));
    // Nothing in and nothing held: a video without sound, which the fifo cannot be sized for.
    if (room <= 0)
        return;
    int error = av_audio_fifo_realloc(pending.get(), av_audio_fifo_size(pending.get()) + room);
    if (error < 0)
        fail("out of memory", error);
    // Converted straight into the fifo's own buffers would need its internals; a frame is small.
    FfmpegOwned<AVFrame> converted(av_frame_alloc());
    if (!converted)
        fail("out of memory", AVERROR(ENOMEM));
    converted->format = codec->sample_fmt;
    converted->nb_samples = room;
    av_channel_layout_copy(&converted->ch_layout, &codec->ch_layout);
    converted->sample_rate = codec->sample_rate;
    error = av_frame_get_buffer(converted.get(), 0);
    if (error < 0)
        fail("out of memory", error);
    const std::uint8_t* input[1] = {reinterpret_cast<const std::uint8_t*>(interleaved)};
    const int got = swr_convert(resampler.get(), converted->data, converted->nb_samples,
                                interleaved ? input : nullptr, static_cast<int>(frames));
    if (got < 0)
        fail("cannot resample the sound", got);
    if (av_audio_fifo_write(pending.get(), reinterpret_cast<void**>(converted->data), got) < got)
        fail("out of memory", AVERROR(ENOMEM));
    encodeSound(false);
}

void VideoFile::encodeSound(bool last) {
    AVCodecContext* codec = audioCodec.get();
    const bool anySize = (codec->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
    const int frameSize = codec->frame_size > 0 && !anySize ? codec->frame_size : 1024;
    const bool smallLast = anySize || (codec->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);
    for (;;) {
        const int available = av_audio_fifo_size(pending.get());
        if (available == 0 || (available < frameSize && !last))
            return;
        const int take = std::min(available, frameSize);
        av_frame_unref(sound.get());
        sound->format = codec->sample_fmt;
        sound->nb_samples = take < frameSize && !smallLast ? frameSize : take;
        sound->sample_rate = codec->sample_rate;
        av_channel_layout_copy(&sound->ch_layout, &codec->ch_layout);
        int error = av_frame_get_buffer(sound.get(), 0);
        if (error < 0)
            fail("out of memory", error);
        if (sound->nb_samples > take) {
            av_samples_set_silence(sound->data, take, sound->nb_samples - take, 2,
                                   codec->sample_fmt);
        }
        av_audio_fifo_read(pending.get(), reinterpret_cast<void**>(sound->data), take);
        sound->pts = soundSent;
        soundSent += sound->nb_samples;
        encodeAudio(sound.get());
    }
}

void VideoFile::encodeAudio(AVFrame* frame) {
    AVCodecContext* codec = audioCodec.get();
    int error = avcodec_send_frame(codec, frame);
    if (error < 0)
        fail("cannot encode", error);
    for (;;) {
        error = avcodec_receive_packet(codec, packet.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return;
        if (error < 0)
            fail("cannot encode", error);
        write(packet.get(), codec->time_base, audioStream);
    }
}

void VideoFile::write(AVPacket* encoded, const AVRational& timeBase, const AVStream* stream) {
    av_packet_rescale_ts(encoded, timeBase, stream->time_base);
    encoded->stream_index = stream->index;
    // Takes the packet's data, whatever the outcome.
    const int error = av_interleaved_write_frame(container.get(), encoded);
    if (error < 0)
        fail("cannot write a packet", error);
}

void VideoFile::finish() {
    // What the resampler still holds, then the encoders' own delay.
    resample(nullptr, 0);
    encodeSound(true);
    encodeAudio(nullptr);
    if (pictureEncoder) {
        std::vector<Packet> packets;
        pictureEncoder->finish(packets);
        writePictures(packets);
    }
    int error = av_write_trailer(container.get());
    if (error < 0)
        fail("cannot write the end of the file", error);
    error = container->pb->error;
    fileOpen = false;
    const int closed = avio_closep(&container->pb);
    if (error < 0 || closed < 0)
        fail("cannot write the file", error < 0 ? error : closed);
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        const std::string reason = renameError.message();
        std::filesystem::remove(temporary, renameError);
        throw std::runtime_error("cannot write " + target.string() + ": " + reason);
    }
    finished = true;
}
