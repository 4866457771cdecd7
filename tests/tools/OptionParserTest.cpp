#include "OptionParser.h"

#include "BuildInfo.h"

#include <sstream>

#include <gmock/gmock.h>

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::Optional;
using ::testing::StartsWith;

// A tool with one of each kind of option, recording what it is given.
struct Tool {
    Tool() {
        parser.operand("SCRIPT", "the script", false, [this](const std::string& s) { script = s; });
        parser.flag("--tree", "print the tree", [this] { tree = true; });
        parser.option("--fps", "N", "frames a second\nof demo time",
                      [this](const std::string& v) { fps = readWholeNumber(v, 1, 1000); });
        parser.option("--out", "DIR", "where", [this](const std::string& v) { out = v; });
        parser.option("--loop", {"A", "B"}, "",
                      [this](const std::vector<std::string>& v) { loop = v; });
        parser.check([this] {
            if (fps == 13)
                throw UsageError("13 frames a second bring bad luck");
        });
    }

    std::optional<int> parse(const std::vector<std::string>& arguments) {
        out.clear();
        return parser.parse(arguments, said, complained);
    }

    OptionParser parser{"tool", "[OPTION]... [SCRIPT]", "Does what tools do."};
    std::string script;
    bool tree = false;
    long fps = 60;
    std::string out;
    std::vector<std::string> loop;
    std::ostringstream said;
    std::ostringstream complained;
};

TEST(OptionParser, TakesValuesEitherWayOptionsAnywhereAndOperandsAfterTheDoubleDash) {
    Tool tool;
    EXPECT_EQ(tool.parse({"--fps", "30", "a.scr", "--out=x=y", "--tree", "--loop=1", "2"}),
              std::nullopt);
    EXPECT_EQ(tool.fps, 30);
    EXPECT_EQ(tool.out, "x=y");
    EXPECT_TRUE(tool.tree);
    EXPECT_EQ(tool.script, "a.scr");
    EXPECT_THAT(tool.loop, ElementsAre("1", "2"));

    Tool dashed;
    EXPECT_EQ(dashed.parse({"--fps=", "--", "-t.scr"}), 2);
    EXPECT_EQ(dashed.parse({"--out", "--help", "--", "-t.scr"}), std::nullopt);
    EXPECT_EQ(dashed.out, "--help");
    EXPECT_EQ(dashed.script, "-t.scr");
    EXPECT_THAT(dashed.said.str(), IsEmpty());
}

TEST(OptionParser, HelpAndVersionAnswerOnStdoutAndDoNothingElse) {
    Tool tool;
    EXPECT_THAT(tool.parse({"--fps", "0", "--help", "x.scr"}), Optional(0));
    const std::string help = tool.said.str();
    EXPECT_THAT(help, StartsWith("usage: tool [OPTION]... [SCRIPT]\nDoes what tools do.\n"));
    // Every option a user may give, continuation lines under their first, hidden ones left out.
    EXPECT_THAT(help,
                AllOf(HasSubstr("  SCRIPT "), HasSubstr("  --tree "), HasSubstr("  --out DIR "),
                      HasSubstr("  --help "), HasSubstr("  --version "), Not(HasSubstr("--loop"))));
    EXPECT_THAT(help, HasSubstr("  --fps N" + std::string(12, ' ') + "frames a second\n" +
                                std::string(21, ' ') + "of demo time\n"));
    EXPECT_EQ(tool.script, "");
    EXPECT_EQ(tool.fps, 60);
    EXPECT_THAT(tool.complained.str(), IsEmpty());

    Tool asked;
    EXPECT_THAT(asked.parse({"--version"}), Optional(0));
    EXPECT_EQ(asked.said.str(),
              std::string("tool (reelplay) ") + buildVersion() + "\n" + buildCommitLine() + "\n");
    EXPECT_THAT(buildCommitLine(), StartsWith("commit "));
}

TEST(OptionParser, NamesWhatIsWrongOnStderrWithStatus2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrongs{
        {{"--bogus"}, "unknown option --bogus"},
        {{"--bogus=1"}, "unknown option --bogus"},
        {{"-t"}, "unknown option -t"},
        {{"--fps"}, "--fps needs a value"},
        {{"--loop", "1"}, "--loop needs the values A B"},
        {{"--tree=yes"}, "--tree takes no value"},
        {{"--fps", "2.5"}, "--fps \"2.5\": wants a whole number from 1 to 1000"},
        {{"--fps=0"}, "--fps \"0\": wants a whole number from 1 to 1000"},
        {{"a.scr", "b.scr"}, "unexpected argument \"b.scr\""},
        {{"--fps", "13"}, "13 frames a second bring bad luck"},
    };
    for (const auto& [arguments, message] : wrongs) {
        Tool tool;
        EXPECT_THAT(tool.parse(arguments), Optional(2)) << message;
        EXPECT_EQ(tool.complained.str(),
                  "tool: " + message + "\nTry 'tool --help' for more information.\n");
        EXPECT_THAT(tool.said.str(), IsEmpty());
    }

    OptionParser needy("maker", "FOLDER", "Makes.");
    needy.operand("FOLDER", "where", true, [](const std::string&) {});
    std::ostringstream out, err;
    EXPECT_THAT(needy.parse({}, out, err), Optional(2));
    EXPECT_THAT(err.str(), StartsWith("maker: FOLDER is missing\n"));
}

TEST(OptionParser, ReadsSecondsWholeNumbersNamesAndSizesAsTheyMayBe) {
    EXPECT_EQ(readSeconds("2.5", 10), 2.5);
    EXPECT_EQ(readSeconds("0", 10), 0.0);
    for (const char* wrong : {"", "-1", "nan", "inf", "11", "2s", "1e999"})
        EXPECT_THROW(readSeconds(wrong, 10), UsageError) << wrong;
    EXPECT_EQ(readWholeNumber("7", 1, 7), 7);
    for (const char* wrong : {"", "0", "8", "3.0", "99999999999999999999"})
        EXPECT_THROW(readWholeNumber(wrong, 1, 7), UsageError) << wrong;
    EXPECT_EQ(readPath("-odd name"), "-odd name");
    EXPECT_THROW(readPath(""), UsageError);
    EXPECT_EQ(readPixelSize("1920x1080", 8192), std::pair(1920, 1080));
    EXPECT_EQ(readPixelSize("16x8192", 8192), std::pair(16, 8192));
    for (const char* wrong :
         {"", "640", "640x", "x480", "15x480", "640x8193", "640x480x2", "640X480"})
        EXPECT_THROW(readPixelSize(wrong, 8192), UsageError) << wrong;
}

} // namespace
