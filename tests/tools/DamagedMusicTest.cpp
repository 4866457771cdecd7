// reelrender with music that cannot be played: each damaged stream is named once with its
// reason, the demo still renders, and the program ends cleanly. In the sanitizer build the
// program run is the sanitizer's, so its exit also passes the leak checker over the stream
// decoder's teardown after each kind of failure.

#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <random>

#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(DamagedMusic, EveryDamagedStreamIsNamedOnceAndTheRenderEndsCleanly) {
    TempFolder folder;
    std::mt19937 random(17);
    for (ToneFormat format : {ToneFormat::Mp2, ToneFormat::Mp3, ToneFormat::Wma, ToneFormat::Ogg}) {
        const std::string extension = toneExtension(format);
        encodeTone("tone." + extension, format, 1.0);
        const std::string whole = fileContents("tone." + extension);
        std::string noise(6000, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        const std::pair<const char*, std::string> damages[] = {
            {"empty", ""},
            {"noise", noise},
            {"header", whole.substr(0, 48)},
            {"zeros", std::string(whole.size(), '\0')},
        };
        for (const auto& [what, bytes] : damages) {
            const std::string name = std::string(what) + "." + extension;
            SCOPED_TRACE(name);
            folder.write(name, bytes);
            folder.write("demoscript.scr",
                         recordTypes +
                             effectRecord("music", "SoundPlayer", 0, "0", "0", "100", name) +
                             effectRecord("sky", "Fader", 1, "0", "0", "100"));
            const ToolOutcome run = runTool(std::string(REELRENDER_PATH) +
                                                " --fps 4 --to 0.5 --out frames demoscript.scr",
                                            folder.path());
            EXPECT_EQ(run.status, 0) << run.err;
            const std::string line = "reelrender: cannot play music \"" + name + "\": ";
            EXPECT_THAT(run.err, HasSubstr(line));
            EXPECT_EQ(run.err.find(line), run.err.rfind(line));
            EXPECT_THAT(run.err, Not(HasSubstr("Sanitizer")));
        }
    }
}

// A tracer (a debugger, strace) holds what the leak checker needs at exit; a traced run of the
// sanitizer's program still ends as an untraced one does.
TEST(DamagedMusic, ATracedRenderEndsAsAnUntracedOneDoes) {
    TempFolder folder;
    if (runTool("strace -f -o /dev/null true", folder.path()).status != 0)
        GTEST_SKIP() << "strace cannot trace here";
    folder.write("empty.mp3", "");
    folder.write("demoscript.scr",
                 recordTypes +
                     effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "empty.mp3") +
                     effectRecord("sky", "Fader", 1, "0", "0", "100"));
    const ToolOutcome run = runTool(std::string("strace -f -o /dev/null ") + REELRENDER_PATH +
                                        " --fps 4 --to 0.5 --out frames demoscript.scr",
                                    folder.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("reelrender: cannot play music \"empty.mp3\": "));
    EXPECT_THAT(run.err, Not(HasSubstr("Sanitizer")));
}

} // namespace
