#include "TempFolder.h"
#include "ToolRun.h"

#include <gmock/gmock.h>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct Tool {
    const char* name;
    const char* path;
};

const Tool tools[] = {{"reelcheck", REELCHECK_PATH},
                      {"reelrender", REELRENDER_PATH},
                      {"reelview", REELVIEW_PATH},
                      {"makepictures", MAKEPICTURES_PATH},
                      {"makemusic", MAKEMUSIC_PATH}};

// Outputs go to a folder of their own, so that anything a tool makes by mistake shows.
class CommandLine : public ::testing::Test {
protected:
    ToolOutcome run(const Tool& tool, const std::string& arguments) {
        return runTool("cd " + work.string() + " && " + tool.path + " " + arguments, folder.path());
    }

    void expectNothingMade(const Tool& tool) {
        EXPECT_TRUE(fs::is_empty(work))
            << tool.name << " made " << fs::directory_iterator(work)->path();
    }

    TempFolder folder;
    fs::path work = folder.path() / "work";
    void SetUp() override { fs::create_directory(work); }
};

TEST_F(CommandLine, EveryToolAnswersHelpAndVersionAndDoesNothingElse) {
    for (const Tool& tool : tools) {
        // As the value of a file option would be taken, were the option not answered first.
        ToolOutcome result = run(tool, "--help out");
        EXPECT_EQ(result.status, 0) << tool.name;
        EXPECT_THAT(result.out, StartsWith(std::string("usage: ") + tool.name + " ")) << tool.name;
        EXPECT_THAT(result.out, HasSubstr("--version")) << tool.name;
        EXPECT_THAT(result.err, IsEmpty()) << tool.name;
        expectNothingMade(tool);

        result = run(tool, "--version");
        EXPECT_EQ(result.status, 0) << tool.name;
        EXPECT_THAT(result.out, StartsWith(std::string(tool.name) + " (reelplay) ")) << tool.name;
        EXPECT_THAT(result.out, HasSubstr("\ncommit ")) << tool.name;
        expectNothingMade(tool);
    }
}

TEST_F(CommandLine, EveryToolNamesBadUsageWithStatus2) {
    for (const Tool& tool : tools) {
        const ToolOutcome result = run(tool, "--bogus=1 x");
        EXPECT_EQ(result.status, 2) << tool.name;
        EXPECT_THAT(result.err, StartsWith(std::string(tool.name) + ": unknown option --bogus\n"));
        EXPECT_THAT(result.out, IsEmpty()) << tool.name;
        expectNothingMade(tool);
    }
}

} // namespace
