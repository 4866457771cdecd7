#include "FileReport.h"

#include "ContainerNode.h"
#include "DemoSystem.h"
#include "RecordingEffect.h"
#include "ScriptLoader.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"
#include "TestPictures.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

class FileReportTest : public ::testing::Test {
protected:
    void writeJpeg(const std::string& name) {
        const std::vector<std::uint8_t> bytes = encodeJpeg(gradientImage(8, 8));
        folder.write(name, std::string(bytes.begin(), bytes.end()));
    }

    // The report of a script run by effects registered under the given names.
    std::string report(const std::string& script, bool* usable = nullptr) {
        folder.write("demoscript.scr", recordTypes + script);
        DemoSystem demo;
        std::vector<std::string> log;
        std::vector<std::unique_ptr<RecordingEffect>> effects;
        for (const char* name : {"PicStory1", "Greets", "Words", "SoundPlayer", "Fader"})
            effects.push_back(std::make_unique<RecordingEffect>(name, log));
        demo.loadTimeline("demoscript.scr");
        const auto cursor = loadScript("demoscript.scr");

        FileReport files;
        files.addFileValues(*cursor->getRoot());
        files.addEffectFiles(demo.getEvents());
        if (usable)
            *usable = files.recordFilesUsable();
        std::ostringstream out;
        files.print(out);
        return out.str();
    }

    TempFolder folder;
};

TEST_F(FileReportTest, PicturesComeFromDataOrTheEffectsDefaults) {
    writeJpeg("picture.jpg");
    writeJpeg("Pics/One.jpg");
    writeJpeg("see.jpg");
    bool usable = false;
    const std::string listed =
        report(effectRecord("a", "PicStory1", 1, "0", "0", "9") +
                   effectRecord("b", "PicStory1", 1, "0", "0", "9", "'pics\\one.jpg' ignored.jpg") +
                   effectRecord("c", "Greets", 1, "0", "0", "9", "'\\pics\\one.jpg' two.jpg") +
                   effectRecord("d", "Words", 1, "0", "0", "9", "unused.jpg") +
                   effectRecord("e", "Fader", 1, "0", "0", "9", "not-a-file.jpg"),
               &usable);
    EXPECT_EQ(listed, "picture \"\\\\picture.jpg\": ok\n"
                      "picture \"pics\\\\one.jpg\": ok\n"
                      "picture \"\\\\pics\\\\one.jpg\": ok\n"
                      "picture \"two.jpg\": missing\n"
                      "picture \"\\\\see.jpg\": ok\n"
                      "picture \"\\\\my.jpg\": missing\n");
    EXPECT_FALSE(usable);
}

TEST_F(FileReportTest, SaysWhyAPictureCannotBeUsed) {
    const std::vector<std::uint8_t> good = encodeJpeg(gradientImage(32, 32));
    folder.write("half.jpg", std::string(good.begin(), good.begin() + good.size() / 2));
    folder.write("empty.jpg", "");
    const std::string listed = report(effectRecord("a", "PicStory1", 1, "0", "0", "9", "half.jpg") +
                                      effectRecord("b", "Greets", 1, "0", "0", "9", "empty.jpg"));
    EXPECT_NE(listed.find("picture \"half.jpg\": unreadable: cannot decode: "), std::string::npos)
        << listed;
    EXPECT_NE(listed.find("picture \"empty.jpg\": unreadable: empty file\n"), std::string::npos)
        << listed;
}

TEST_F(FileReportTest, MusicByKind) {
    encodeTone(folder.path() / "tune.ogg", ToneFormat::Ogg, 0.5);
    folder.write("song.xm", xmSong(4, 1));
    folder.write("broken.mp3", std::string(2000, '\x33'));
    folder.write("tune.wav", "RIFF");
    bool usable = true;
    std::string listed;
    for (const char* music :
         {"tune.ogg", "'\\SONG.XM'", "gone.ogg", "broken.mp3", "tune.wav", "'cd:\\3 loop'"}) {
        listed += report(effectRecord("m", "SoundPlayer", 0, "0", "0", "9", music), &usable);
        EXPECT_EQ(usable, listed.ends_with(": ok\n") || listed.ends_with("mode 2\n")) << music;
    }
    EXPECT_EQ(listed.substr(0, listed.find("broken")), "music \"tune.ogg\": ok\n"
                                                       "music \"\\\\SONG.XM\": ok\n"
                                                       "music \"gone.ogg\": missing\n"
                                                       "music \"");
    EXPECT_NE(listed.find("music \"broken.mp3\": unreadable: "), std::string::npos) << listed;
    EXPECT_NE(listed.find("music \"tune.wav\": no player for this extension\n"), std::string::npos);
    EXPECT_NE(listed.find("music \"cd:\\\\3 loop\": cd track 3, mode 2\n"), std::string::npos);
}

TEST_F(FileReportTest, FileValuesFirstAndEachNameOnce) {
    folder.write("data/blob.bin", "x");
    writeJpeg("picture.jpg");
    bool usable = false;
    const std::string listed =
        report("block assets { file blob 'data\\blob.bin'; block inner { file again "
               "'data\\blob.bin'; }; };\n" +
                   effectRecord("a", "PicStory1", 1, "0", "0", "9") +
                   effectRecord("b", "PicStory1", 1, "5", "5", "9", "'\\picture.jpg'"),
               &usable);
    EXPECT_EQ(listed, "file \"data\\\\blob.bin\": ok\npicture \"\\\\picture.jpg\": ok\n");
    EXPECT_TRUE(usable);
}

} // namespace
