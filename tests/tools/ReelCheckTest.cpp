#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ReelCheck : public ::testing::Test {
protected:
    // Runs reelcheck in the test folder with the given arguments (already shell-quoted).
    Outcome run(const std::string& arguments) {
        const auto out = folder.path() / "stdout.txt";
        const auto err = folder.path() / "stderr.txt";
        const std::string command = std::string(REELCHECK_PATH) + " " + arguments + " >" +
                                    out.string() + " 2>" + err.string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(out), contents(err)};
    }

    TempFolder folder;
};

TEST_F(ReelCheck, SummarisesAGoodScript) {
    // The player reads every top-level definition as a record, so each must be a block.
    folder.write("demoscript.scr", "typedef float S; block a { S x 1; }; block b {}; block c {};");
    const Outcome result = run("");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "demoscript.scr: ok, 3 top-level definitions, 0 timeline events\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(ReelCheck, LoadsFromTheScriptsOwnFolder) {
    folder.write("demo/Data/Blob.bin", "x");
    folder.write("demo/parts/more.scr", "int more 1;");
    folder.write("demo/show.scr",
                 "block b { file f '\\data\\blob.bin'; include 'parts\\MORE.scr'; };");
    const Outcome result = run("demo/show.scr");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "demo/show.scr: ok, 1 top-level definition, 0 timeline events\n");

    const Outcome files = run("--files demo/show.scr");
    EXPECT_EQ(files.status, 0) << files.err;
    EXPECT_EQ(files.out, "file \"\\\\data\\\\blob.bin\": ok\n");
}

TEST_F(ReelCheck, FailsWhenARecordNeedsAFileThatCannotBeUsed) {
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("m", "SoundPlayer", 0, "0", "0", "9", "gone.ogg"));
    const Outcome result = run("--files");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "music \"gone.ogg\": missing\n");
}

// A header that declares a rate no music has: the file is named with the reason at once, without
// decoding a frame into millions (which took a gigabyte). Each test runs in a process of its own,
// so the largest child it waited for is this reelcheck (or the shell that ran it).
TEST_F(ReelCheck, NamesMusicWhoseHeaderDeclaresARateNoMusicHas) {
    encodeTone(folder.path() / "tune.ogg", ToneFormat::Ogg, 1.0);
    folder.write("slow.ogg",
                 withDeclaredRate(contents(folder.path() / "tune.ogg"), ToneFormat::Ogg, 1));
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("m", "SoundPlayer", 0, "0", "0", "9", "slow.ogg"));
    const Outcome result = run("--files");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "music \"slow.ogg\": unreadable: sample rate out of range (1 Hz)\n");
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    EXPECT_LT(children.ru_maxrss, 400L << 10) << "kilobytes";
}

TEST_F(ReelCheck, PrintsTheTreeAsScriptText) {
    folder.write("demoscript.scr", "block b { int n 3; list [float] w { a 1; }; };");
    const Outcome result = run("--tree");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "block\tb\t{\n\tint\tn\t3;\n\tlist[float]\tw\t{\n\t\ta\t1;\n\t};\n};\n");
    folder.write("printed.scr", result.out);
    EXPECT_EQ(run("--tree printed.scr").out, result.out);
}

TEST_F(ReelCheck, ReportsLoadErrorsOnOneLine) {
    Outcome result = run("");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "error: Could not open file \"demoscript.scr\"\n");

    folder.write("demoscript.scr", "foo x 1;");
    EXPECT_EQ(run("").err, "error: Error : undefined type [foo]\n");

    folder.write("demoscript.scr", "{ a ( b }");
    result = run("--tree");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error: Wrong block terminator } at line 1, col 9\n");

    EXPECT_EQ(run("nowhere/x.scr").err, "error: Could not open file \"nowhere/x.scr\"\n");
}

TEST_F(ReelCheck, AnErrorIsOneLineWhateverTheNameHolds) {
    folder.write("demoscript.scr", "include \"two\nlines\";");
    EXPECT_EQ(run("").err, "error: Could not open file \"two\\nlines\"\n");
    folder.write("demoscript.scr", "include \"" + std::string(500, 'x') + "\";");
    EXPECT_EQ(run("").err, "error: Could not open file \"" + std::string(200, 'x') + "...\"\n");
}

TEST_F(ReelCheck, RefusesBadUsage) {
    folder.write("demoscript.scr", "block a {};");
    for (const char* arguments : {"--bogus", "a.scr b.scr", "-t"}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("Try 'reelcheck --help'"), std::string::npos) << arguments;
    }
    EXPECT_EQ(run("--help").status, 0);
}

} // namespace
