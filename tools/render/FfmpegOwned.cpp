#include "FfmpegOwned.h"

#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

void FfmpegFree::operator()(AVFormatContext* context) const {
    avformat_free_context(context);
}
void FfmpegFree::operator()(AVCodecContext* context) const {
    avcodec_free_context(&context);
}
void FfmpegFree::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}
void FfmpegFree::operator()(AVPacket* packet) const {
    av_packet_free(&packet);
}
void FfmpegFree::operator()(AVAudioFifo* fifo) const {
    av_audio_fifo_free(fifo);
}
void FfmpegFree::operator()(SwsContext* context) const {
    sws_freeContext(context);
}
void FfmpegFree::operator()(SwrContext* context) const {
    swr_free(&context);
}

void throwVideoFailure(const std::string& file, const std::string& what, int error) {
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, reason, sizeof reason);
    throw std::runtime_error("cannot write " + file + ": " + what + " (" + reason + ")");
}
