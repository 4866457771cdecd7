#include "FrameWriter.h"

#include "OutputFile.h"
#include "PngFile.h"
#include "TempFolder.h"
#include "ToolRun.h"

#include <gmock/gmock.h>

namespace {

namespace fs = std::filesystem;

// Each frame a different picture, so that a frame written under another's name shows.
Image frame(int number) {
    Image picture(64, 48);
    for (std::size_t i = 0; i < picture.rgb.size(); ++i)
        picture.rgb[i] = static_cast<std::uint8_t>(i * (number + 1) / 7);
    return picture;
}

// Two lanes write side by side from a short queue, and the drawing fills the pictures they hand
// back, as reelrender does: every frame still lands whole under its own name.
TEST(FrameWriter, WritesWhatWritePngWritesUnderEachFramesName) {
    TempFolder folder;
    constexpr int frames = 24;
    {
        FrameWriter writer(2, 3);
        for (int n = 0; n < frames; ++n) {
            Image picture = writer.spare();
            if (picture.rgb.empty())
                picture = Image(64, 48);
            picture.rgb = frame(n).rgb;
            writer.write("frame" + std::to_string(n) + ".png", std::move(picture));
        }
        writer.finish();
        EXPECT_EQ(writer.written(), frames);
    }
    for (int n = 0; n < frames; ++n) {
        const std::string name = "frame" + std::to_string(n) + ".png";
        writePng("expected.png", frame(n));
        EXPECT_EQ(fileContents(name), fileContents("expected.png")) << name;
    }
}

TEST(FrameWriter, AFailureComesBackToTheCallerAndEndsTheWriting) {
    TempFolder folder;
    // One lane, one frame waiting: nothing is written beside the failing frame.
    FrameWriter writer(1, 1);
    writer.write("missing/frame0.png", frame(0));
    // It surfaces at a later hand-over or at the end, whichever comes first.
    bool thrown = false;
    try {
        for (int n = 1; n < 50; ++n)
            writer.write("frame" + std::to_string(n) + ".png", frame(n));
        writer.finish();
    } catch (const std::runtime_error& error) {
        thrown = true;
        EXPECT_THAT(error.what(), ::testing::HasSubstr("cannot write missing/frame0.png"));
    }
    EXPECT_TRUE(thrown);
    EXPECT_THROW(writer.finish(), std::runtime_error);
    EXPECT_EQ(writer.written(), 0);
    EXPECT_FALSE(fs::exists("frame49.png"));
}

// Where lanes write side by side and every frame fails, the failure told is the first frame's,
// whichever lane failed first.
TEST(FrameWriter, OfFramesFailingSideBySideTheFirstIsTold) {
    TempFolder folder;
    for (int attempt = 0; attempt < 20; ++attempt) {
        FrameWriter writer(4, 8);
        std::string told;
        try {
            for (int n = 0; n < 8; ++n)
                writer.write("missing/frame" + std::to_string(n) + ".png", frame(n));
            writer.finish();
        } catch (const std::runtime_error& error) {
            told = error.what();
        }
        EXPECT_THAT(told, ::testing::HasSubstr("cannot write missing/frame0.png")) << attempt;
    }
}

} // namespace

namespace {

// Two runs writing one name at once each write a file of their own: the last to finish wins,
// whole, and nothing of either is left beside it.
TEST(OutputFile, TwoWritersOfOneNameNeverMixAndTheLastToFinishWins) {
    TempFolder folder;
    OutputFile first("same.wav");
    OutputFile second("same.wav");
    first.write("first", 5);
    second.write("second run", 10);
    second.commit();
    EXPECT_EQ(fileContents("same.wav"), "second run");
    first.write(" run, longer", 12);
    first.commit();
    EXPECT_EQ(fileContents("same.wav"), "first run, longer");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

} // namespace
