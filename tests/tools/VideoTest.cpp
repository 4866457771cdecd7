#include "ChildProcess.h"
#include "PngFile.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"
#include "ToolRun.h"
#include "VideoFile.h"
#include "VideoWriter.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sched.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <gmock/gmock.h>

namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// What a video holds, as the FFmpeg libraries read it back.
struct VideoContents {
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    double seconds = 0.0;
    // The video stream's own: its rate and its length in its time base.
    AVRational frameRate{0, 1};
    double videoSeconds = 0.0;
    long pictures = 0;
    long samples = 0;
    // The picture numbered `keep` (from 0), as RGB.
    Image kept;
    // The mean of each picture's red, in the order shown.
    std::vector<double> reds;
    // Left channel of 16-bit sound; filled for such sound only.
    std::vector<std::int16_t> left;
};

struct Closer {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
    void operator()(AVFrame* f) const { av_frame_free(&f); }
    void operator()(AVPacket* p) const { av_packet_free(&p); }
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

std::unique_ptr<AVCodecContext, Closer> openDecoder(const AVStream* stream) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder)
        return nullptr;
    std::unique_ptr<AVCodecContext, Closer> codec(avcodec_alloc_context3(decoder));
    avcodec_parameters_to_context(codec.get(), stream->codecpar);
    codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return nullptr;
    return codec;
}

Image toRgb(const AVFrame* frame) {
    Image picture(frame->width, frame->height);
    std::unique_ptr<SwsContext, Closer> convert(sws_getContext(
        frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
        frame->height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    std::uint8_t* rows[1] = {picture.rgb.data()};
    const int strides[1] = {picture.width * 3};
    sws_scale(convert.get(), frame->data, frame->linesize, 0, frame->height, rows, strides);
    return picture;
}

// Mean of the red channel over rows [from, to) as they are counted, from the top.
double meanRed(const Image& picture, int from, int to) {
    double sum = 0.0;
    for (int y = from; y < to; ++y)
        for (int x = 0; x < picture.width; ++x)
            sum += picture.at(x, y)[0];
    return sum / ((to - from) * picture.width);
}

// Decodes every picture and every sample; fails the test when the file cannot be read.
VideoContents readVideo(const fs::path& path, long keep) {
    VideoContents contents;
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
        ADD_FAILURE() << "cannot open " << path;
        return contents;
    }
    std::unique_ptr<AVFormatContext, Closer> input(opened);
    avformat_find_stream_info(input.get(), nullptr);
    contents.seconds = static_cast<double>(input->duration) / AV_TIME_BASE;
    const int videoIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audioIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (videoIndex < 0) {
        ADD_FAILURE() << path << " lacks a video stream";
        return contents;
    }
    // A silent video's sound stream may hold too little to be found; its codec then stays none.
    const AVStream* videoStream = input->streams[videoIndex];
    contents.videoCodec = videoStream->codecpar->codec_id;
    contents.frameRate = videoStream->r_frame_rate;
    contents.videoSeconds = static_cast<double>(videoStream->duration) *
                            videoStream->time_base.num / videoStream->time_base.den;
    auto video = openDecoder(input->streams[videoIndex]);
    std::unique_ptr<AVCodecContext, Closer> audio;
    if (audioIndex >= 0) {
        contents.audioCodec = input->streams[audioIndex]->codecpar->codec_id;
        contents.sampleRate = input->streams[audioIndex]->codecpar->sample_rate;
        audio = openDecoder(input->streams[audioIndex]);
    }
    if (!video || (audioIndex >= 0 && !audio)) {
        ADD_FAILURE() << "no decoder for " << path;
        return contents;
    }
    std::unique_ptr<AVPacket, Closer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, Closer> frame(av_frame_alloc());
    const auto drain = [&](AVCodecContext* codec) {
        while (avcodec_receive_frame(codec, frame.get()) == 0) {
            if (codec == video.get()) {
                Image picture = toRgb(frame.get());
                contents.reds.push_back(meanRed(picture, 0, picture.height));
                if (contents.pictures++ == keep)
                    contents.kept = std::move(picture);
            } else {
                contents.samples += frame->nb_samples;
                if (frame->format == AV_SAMPLE_FMT_S16) {
                    const auto* s = reinterpret_cast<const std::int16_t*>(frame->data[0]);
                    for (int i = 0; i < frame->nb_samples; ++i)
                        contents.left.push_back(s[i * 2]);
                }
            }
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        AVCodecContext* codec = packet->stream_index == videoIndex   ? video.get()
                                : packet->stream_index == audioIndex ? audio.get()
                                                                     : nullptr;
        if (codec && avcodec_send_packet(codec, packet.get()) >= 0)
            drain(codec);
        av_packet_unref(packet.get());
    }
    for (AVCodecContext* codec : {video.get(), audio.get()}) {
        if (!codec)
            continue;
        avcodec_send_packet(codec, nullptr);
        drain(codec);
    }
    return contents;
}

double meanDifference(const Image& a, const Image& b) {
    if (a.rgb.size() != b.rgb.size() || a.rgb.empty())
        return 1e9;
    double sum = 0.0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(static_cast<int>(a.rgb[i]) - static_cast<int>(b.rgb[i]));
    return sum / static_cast<double>(a.rgb.size());
}

std::vector<std::int16_t> wavLeft(const fs::path& file) {
    const std::string bytes = fileContents(file);
    std::vector<std::int16_t> left;
    for (std::size_t at = 44; at + 4 <= bytes.size(); at += 4) {
        std::int16_t sample;
        std::memcpy(&sample, bytes.data() + at, 2);
        left.push_back(sample);
    }
    return left;
}

// The threads of this process, by id.
std::set<std::string> threadIds() {
    std::set<std::string> ids;
    for (const auto& entry : fs::directory_iterator("/proc/self/task"))
        ids.insert(entry.path().filename().string());
    return ids;
}

// A thread's scheduling policy, the 41st field of its stat line; -1 once it has gone.
int policyOf(const std::string& thread) {
    std::ifstream stat("/proc/self/task/" + thread + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
        return -1;
    // The name in brackets may hold spaces; the fields after it start at the third.
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string field;
    for (int number = 3; number <= 41; ++number)
        if (!(fields >> field))
            return -1;
    return std::stoi(field);
}

Image grey(int width, int height, std::uint8_t level) {
    Image picture(width, height);
    std::fill(picture.rgb.begin(), picture.rgb.end(), level);
    return picture;
}

// Light in the top quarter, dark below, in memory as `rows` lays it.
Image lightTop(int width, int height, RowOrder rows) {
    Image picture = grey(width, height, 30);
    picture.rows = rows;
    for (int y = 0; y < height / 4; ++y)
        std::fill_n(picture.row(y), width * 3, 220);
    return picture;
}

class Video : public ::testing::Test {
protected:
    void SetUp() override {
        encodeTone("tone.ogg", ToneFormat::Ogg, 3.0);
        // Rises out of black towards orange a step per frame from 0.5 s, over the whole
        // picture: every frame differs, and each is one flat colour.
        folder.write(
            "demoscript.scr",
            recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "tone.ogg") +
                effectRecord("fade", "Fader", 10, "0", "0", "100") +
                triggerRecord("rise", "Fader", "Rise", false, "0.5", "0", "0", "0 1 0.05 1 0.5 0"));
    }

    ToolOutcome render(const std::string& arguments) {
        return runTool(std::string(REELRENDER_PATH) + " " + arguments, folder.path());
    }

    // Waits until a temporary video file appears, for `limit` at most.
    static bool waitForPartialFile(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const auto& entry : fs::directory_iterator("."))
                if (entry.path().string().ends_with(".partial"))
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    static void expectNoPartialFile() {
        for (const auto& entry : fs::directory_iterator("."))
            EXPECT_THAT(entry.path().string(), ::testing::Not(EndsWith(".partial")));
    }

    TempFolder folder;
};

struct Container {
    const char* extension;
    AVCodecID video;
    AVCodecID audio;
    int sampleRate;
    // How many samples the codec may add at the end, filling its last frame.
    long slack;
};

// Frames 5 to 19 at 10 frames a second: 15 pictures and 15 x 4410 samples of music.
TEST_F(Video, EachContainerHoldsEveryFrameOfTheSpanWithItsMusic) {
    const long pictures = 15;
    const long samples = 15 * 4410;
    for (const Container& container :
         {Container{"mp4", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, 44100, 1024},
          Container{"mkv", AV_CODEC_ID_H264, AV_CODEC_ID_FLAC, 44100, 0},
          Container{"webm", AV_CODEC_ID_VP9, AV_CODEC_ID_OPUS, 48000, 960}}) {
        SCOPED_TRACE(container.extension);
        const std::string name = std::string("v.") + container.extension;
        const ToolOutcome result =
            render("--fps 10 --from 0.5 --to 2 --every 5 --out png --audio a.wav --video " + name);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_THAT(result.err, HasSubstr("3 written to " + (folder.path() / "png").string() +
                                          ", video to " + (folder.path() / name).string()));

        // --every thins the PNGs only.
        const VideoContents video = readVideo(name, 5);
        EXPECT_EQ(video.videoCodec, container.video);
        EXPECT_EQ(video.audioCodec, container.audio);
        EXPECT_EQ(video.sampleRate, container.sampleRate);
        EXPECT_EQ(video.pictures, pictures);
        EXPECT_NEAR(video.seconds, 1.5, 0.05);
        const long expected = samples * container.sampleRate / 44100;
        EXPECT_GE(video.samples, expected);
        EXPECT_LE(video.samples, expected + container.slack);

        // Picture 5 is frame 10; its neighbours are steps of the rise away.
        const double same = meanDifference(video.kept, readPng("png/frame-000010.png"));
        EXPECT_LT(same, 3.0);
        EXPECT_GT(meanDifference(video.kept, readPng("png/frame-000005.png")), same + 5.0);
        EXPECT_GT(meanDifference(video.kept, readPng("png/frame-000015.png")), same + 5.0);

        // Lossless sound is the WAV's, sample for sample.
        if (container.audio == AV_CODEC_ID_FLAC) {
            const std::vector<std::int16_t> wav = wavLeft("a.wav");
            ASSERT_EQ(video.left.size(), wav.size());
            long off = 0;
            for (std::size_t i = 0; i < wav.size(); ++i)
                off += std::abs(video.left[i] - wav[i]) > 1;
            EXPECT_EQ(off, 0);
        }
        expectNoPartialFile();
    }
}

// A second is exactly a second at any rate: its pictures, their times and its sound.
TEST_F(Video, ARationalRateStaysExactInTheVideoAndItsSound) {
    struct Rate {
        const char* text;
        AVRational rate;
        long pictures;
        double seconds;
    };
    for (const Rate& rate :
         {Rate{"60", {60, 1}, 60, 1.0}, Rate{"30000/1001", {30000, 1001}, 30, 1.001}}) {
        SCOPED_TRACE(rate.text);
        const ToolOutcome result = render(std::string("--fps ") + rate.text +
                                          " --from 0 --to 1 --audio a.wav --video V.MP4");
        ASSERT_EQ(result.status, 0) << result.err;
        const VideoContents video = readVideo("V.MP4", 0);
        EXPECT_EQ(video.pictures, rate.pictures);
        EXPECT_EQ(av_cmp_q(video.frameRate, rate.rate), 0)
            << video.frameRate.num << "/" << video.frameRate.den;
        EXPECT_DOUBLE_EQ(video.videoSeconds, rate.seconds);
        // Frame n's sound starts at sample n x 44100 x den / num, rounded down.
        const long samples = rate.pictures * 44100L * rate.rate.den / rate.rate.num;
        EXPECT_EQ(static_cast<long>(fs::file_size("a.wav")), 44 + samples * 4);
    }
}

// At 320 x 180 the 4:3 picture is 240 x 180 between bars 40 wide; the sheet shows the picture.
TEST_F(Video, AtAnotherSizeFramesAndVideoHaveItAndTheSheetShowsThePicture) {
    const ToolOutcome result = render(
        "--fps 10 --to 1.1 --every 10 --size 320x180 --out png --sheet sheet.png --video v.mkv");
    ASSERT_EQ(result.status, 0) << result.err;
    const Image frame = readPng("png/frame-000010.png");
    ASSERT_EQ(frame.width, 320);
    ASSERT_EQ(frame.height, 180);
    const int lit = frame.at(160, 90)[0];
    EXPECT_GT(lit, 50);
    for (int x : {0, 39, 280, 319})
        EXPECT_EQ(frame.at(x, 90)[0], 0) << x;
    EXPECT_EQ(frame.at(40, 90)[0], lit);
    EXPECT_EQ(frame.at(279, 90)[0], lit);

    const VideoContents video = readVideo("v.mkv", 10);
    ASSERT_EQ(video.kept.width, 320);
    ASSERT_EQ(video.kept.height, 180);
    EXPECT_LT(meanDifference(video.kept, frame), 3.0);

    // The second cell: the thumbnail of 1 s, lit from edge to edge.
    const Image sheet = readPng("sheet.png");
    for (int x : {176, 176 + 80, 176 + 159})
        EXPECT_NEAR(sheet.at(x, 8 + 60)[0], lit, 2) << x;
}

TEST_F(Video, WritesNoFramesUnlessAskedAndRefusesOtherContainers) {
    ToolOutcome result = render("--fps 10 --to 0.5 --video only.mkv");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, EndsWith(": video to " + (folder.path() / "only.mkv").string() + "\n"));
    EXPECT_FALSE(fs::exists("frames"));
    EXPECT_EQ(readVideo("only.mkv", 0).pictures, 5);

    for (const char* name : {"v.avi", "v", "v.MP4.txt", ".mp4/"}) {
        result = render(std::string("--video ") + name);
        EXPECT_EQ(result.status, 2) << name;
        EXPECT_THAT(result.err, StartsWith("reelrender: --video \"" + std::string(name) +
                                           "\": a video's name ends in"))
            << name;
    }
}

TEST_F(Video, AFailedWriteIsAnErrorAndLeavesNoFile) {
    folder.write("taken", "a file, not a folder");
    ToolOutcome result = render("--fps 10 --to 1 --video taken/v.mp4");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                StartsWith("error: cannot write " + (folder.path() / "taken/v.mp4").string()));

    // A file size limit stands in for a full disk: two seconds of video are well beyond 32 kB.
    result = runTool("ulimit -f 64; trap '' XFSZ; exec " REELRENDER_PATH
                     " --fps 10 --to 2 --video v.webm",
                     folder.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                StartsWith("error: cannot write " + (folder.path() / "v.webm").string()));
    EXPECT_FALSE(fs::exists("v.webm"));
    expectNoPartialFile();
}

TEST_F(Video, ASignalRemovesTheUnfinishedVideo) {
    ChildProcess child(
        {REELRENDER_PATH, "--clock", "free", "--fps", "10", "--to", "100000", "--video", "v.mp4"},
        folder.path() / "err.txt");
    ASSERT_TRUE(waitForPartialFile(std::chrono::seconds(120)));
    child.signal(SIGTERM);
    ASSERT_TRUE(child.wait(std::chrono::seconds(60))) << "still running after the signal";
    EXPECT_EQ(child.exitStatus(), 128 + SIGTERM);
    const std::string err = fileContents("err.txt");
    EXPECT_THAT(err, StartsWith("reelrender: stopped by SIGTERM after "));
    EXPECT_THAT(err, HasSubstr("; unfinished " + (folder.path() / "v.mp4").string() + " removed"));
    EXPECT_FALSE(fs::exists("v.mp4"));
    expectNoPartialFile();
}

TEST_F(Video, TheEncoderAndItsThreadsRunOnlyOnTimeDrawingLeaves) {
    const std::set<std::string> before = threadIds();
    VideoWriter writer("v.mp4", 10, 320, 240, 44100);
    std::set<std::string> started;
    for (const std::string& id : threadIds())
        if (!before.count(id))
            started.insert(id);
    ASSERT_FALSE(started.empty());
    for (const std::string& id : started)
        EXPECT_EQ(policyOf(id), SCHED_IDLE) << "thread " << id;
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);

    for (int frame = 0; frame < 5; ++frame)
        writer.add(grey(320, 240, static_cast<std::uint8_t>(40 * frame)),
                   std::vector<float>(2 * 4410, 0.25f));
    writer.finish();
    EXPECT_EQ(readVideo("v.mp4", 0).pictures, 5);
}

// VP9 encodes runs of two seconds side by side: they come out whole and in order, sound
// and all, and every lane runs on idle time only.
TEST_F(Video, RunsEncodedSideBySideComeOutInOrder) {
    const std::set<std::string> before = threadIds();
    const long frames = 75; // three and three quarter runs at 10 frames a second
    {
        VideoWriter writer("runs.webm", 10, 64, 48, 48000);
        std::set<std::string> lanes;
        for (const std::string& id : threadIds()) {
            if (!before.count(id))
                lanes.insert(id);
        }
        EXPECT_EQ(lanes.size(), 2u);
        for (const std::string& id : lanes)
            EXPECT_EQ(policyOf(id), SCHED_IDLE) << "thread " << id;
        for (long frame = 0; frame < frames; ++frame)
            writer.add(grey(64, 48, static_cast<std::uint8_t>(20 + 3 * frame)),
                       std::vector<float>(2 * 4800, 0.25f));
        writer.finish();
    }
    const VideoContents video = readVideo("runs.webm", 0);
    ASSERT_EQ(video.pictures, frames);
    for (long frame = 0; frame < frames; ++frame)
        EXPECT_NEAR(video.reds[frame], 20 + 3 * frame, 3.0) << "picture " << frame;
    EXPECT_GE(video.samples, frames * 4800);
    EXPECT_LE(video.samples, frames * 4800 + 960);
    EXPECT_NEAR(video.seconds, 7.5, 0.05);
}

// A lane that fails stops the others, and the failure reaches the drawing side.
TEST_F(Video, AFailureInALaterRunIsReportedAndLeavesNoFile) {
    std::string error;
    try {
        VideoWriter writer("bad.webm", 10, 64, 48, 48000);
        for (long frame = 0; frame < 60; ++frame)
            writer.add(frame == 30 ? grey(32, 48, 0) : grey(64, 48, 100), {});
        writer.finish();
    } catch (const std::runtime_error& failure) {
        error = failure.what();
    }
    EXPECT_THAT(error, HasSubstr("a picture of another size"));
    EXPECT_FALSE(fs::exists("bad.webm"));
    expectNoPartialFile();
}

TEST_F(Video, PicturesWithoutSoundMakeAVideoInEachContainer) {
    for (const char* name : {"quiet.mp4", "quiet.mkv", "quiet.webm"}) {
        SCOPED_TRACE(name);
        VideoFile file(name, 10, 64, 48, 44100);
        file.addPicture(grey(64, 48, 200));
        file.addPicture(grey(64, 48, 20));
        ASSERT_NO_THROW(file.finish());
        const VideoContents video = readVideo(name, 1);
        EXPECT_EQ(video.pictures, 2);
        EXPECT_EQ(video.samples, 0);
    }
}

// Frames read back from GL lie bottom up; the video and the PNG show them top first all the same.
TEST_F(Video, RowsLyingBottomUpComeOutTopFirst) {
    for (const RowOrder rows : {RowOrder::TopDown, RowOrder::BottomUp}) {
        SCOPED_TRACE(rows == RowOrder::TopDown ? "top down" : "bottom up");
        for (const PixelOrder order : {PixelOrder::Rgb, PixelOrder::Bgr}) {
            Image picture = lightTop(64, 48, rows);
            picture.order = order;
            VideoFile file("rows.mkv", 10, 64, 48, 44100);
            file.addPicture(picture);
            ASSERT_NO_THROW(file.finish());
            const Image decoded = readVideo("rows.mkv", 0).kept;
            ASSERT_EQ(decoded.height, 48);
            EXPECT_GT(meanRed(decoded, 0, 10), 200.0);
            EXPECT_LT(meanRed(decoded, 14, 48), 50.0);
        }
        writePng("rows.png", lightTop(64, 48, rows));
        const Image read = readPng("rows.png");
        EXPECT_EQ(read.rgb, lightTop(64, 48, RowOrder::TopDown).rgb);
    }
}

// A picture read back keeps its memory and comes out the same, top first, whichever way it lay.
TEST(ImageRows, PuttingRowsTopDownKeepsEveryPixelInItsPlace) {
    Image picture = lightTop(5, 7, RowOrder::BottomUp);
    picture.at(1, 0)[2] = 99;
    const std::uint8_t* memory = picture.rgb.data();
    picture.putRowsTopDown();
    EXPECT_EQ(picture.rows, RowOrder::TopDown);
    EXPECT_EQ(picture.rgb.data(), memory);
    EXPECT_EQ(picture.at(1, 0)[2], 99);
    EXPECT_EQ(picture.stride(), 15);
    Image expected = lightTop(5, 7, RowOrder::TopDown);
    expected.at(1, 0)[2] = 99;
    EXPECT_EQ(picture.rgb, expected.rgb);
}

} // namespace
