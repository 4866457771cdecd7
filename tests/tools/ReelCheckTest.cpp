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

TEST_F(ReelCheck, WarnsOfFilesThatCannotBeUsedWhereTheyAreNamed) {
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("p", "Picture1", 1, "0", "0", "9", "'gone.jpg'"));
    const Outcome result = run("");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "warning: picture \"gone.jpg\" cannot be used: missing\n"
                          " --> demoscript.scr:6:35\n"
                          "  |\n"
                          "6 | DemoEffect p ( Picture1 1 0 0 9 ( 'gone.jpg' ) (  ) );\n"
                          "  |                                   ^\n"
                          "note: Picture1 draws a transparent picture instead\n");
}

TEST_F(ReelCheck, PrintsTheTreeAsScriptText) {
    folder.write("demoscript.scr", "block b { int n 3; list [float] w { a 1; }; };");
    const Outcome result = run("--tree");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "block\tb\t{\n\tint\tn\t3;\n\tlist[float]\tw\t{\n\t\ta\t1;\n\t};\n};\n");
    folder.write("printed.scr", result.out);
    EXPECT_EQ(run("--tree printed.scr").out, result.out);
}

TEST_F(ReelCheck, ReportsLoadErrorsWithTheirPlace) {
    Outcome result = run("");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    // Nothing in a script names the script itself.
    EXPECT_EQ(result.err, "error: Could not open file \"demoscript.scr\"\n");

    folder.write("demoscript.scr", "block b {\n  foo x 1; };");
    EXPECT_EQ(run("").err, "error: Error : undefined type [foo]\n"
                           " --> demoscript.scr:2:3\n"
                           "  |\n"
                           "2 |   foo x 1; };\n"
                           "  |   ^\n");

    // The lexer's message keeps its own count; the place counts from column 1 on every line.
    folder.write("demoscript.scr", "\n{ a ( b }");
    result = run("--tree");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "error: Wrong block terminator } at line 2, col 10\n"
                          " --> demoscript.scr:2:9\n"
                          "  |\n"
                          "2 | { a ( b }\n"
                          "  |         ^\n");

    EXPECT_EQ(run("nowhere/x.scr").err, "error: Could not open file \"nowhere/x.scr\"\n");
}

TEST_F(ReelCheck, PlacesErrorsInIncludedFilesAndAtTheNameOfAMissingFile) {
    folder.write("demo/show.scr", recordTypes + "include 'parts\\SCENE.scr';\n");
    folder.write("demo/parts/scene.scr", "// scene\n\n\tDemoEffect a ( Fadr 1 0 0 10 ( ) ( ) );\n");
    Outcome result = run("demo/show.scr");
    EXPECT_EQ(result.status, 1);
    // Named from the script's folder as the file is on disk; a tab stays a tab under the caret.
    EXPECT_EQ(result.err, "error: Error : unknown effect [Fadr] in record [a]\n"
                          " --> parts/scene.scr:3:17\n"
                          "  |\n"
                          "3 | \tDemoEffect a ( Fadr 1 0 0 10 ( ) ( ) );\n"
                          "  | \t               ^\n"
                          "note: did you mean \"Fader\"?\n");

    folder.write("demo/parts/scene.scr", "int a 1;\nblock b { int c ( ; };\n");
    result = run("demo/show.scr");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n', result.err.find('\n') + 1)),
              "error: Error : lexer error in include file ( parts\\SCENE.scr.\n"
              " --> parts/scene.scr:2:21");

    folder.write("demo/show.scr", "block b {\n  file f 'gone.bin';\n  include 'gone.scr';\n};");
    EXPECT_EQ(run("demo/show.scr").err, "error: Could not open file \"gone.bin\"\n"
                                        " --> show.scr:2:10\n"
                                        "  |\n"
                                        "2 |   file f 'gone.bin';\n"
                                        "  |          ^\n");
    folder.write("demo/show.scr", "block b {\n  include 'gone.scr';\n};");
    EXPECT_EQ(run("demo/show.scr").err.substr(0, 57),
              "error: Could not open file \"gone.scr\"\n --> show.scr:2:11\n");
    // An include cycle stands at the include that closes it.
    folder.write("demo/show.scr", "include 'again.scr';");
    folder.write("demo/again.scr", "\ninclude 'show.scr';");
    EXPECT_EQ(run("demo/show.scr").err.substr(0, 70),
              "error: Error : include nesting too deep [show.scr]\n --> again.scr:2:9\n");
}

TEST_F(ReelCheck, PlacesTheRecordOrValueTheEngineCannotRead) {
    // A record type without "layer": the record is the place.
    folder.write("demoscript.scr",
                 "typedef block DemoEffect { string identifier; float initTime; };\n"
                 "DemoEffect a ( Fader 0.0 );");
    EXPECT_EQ(run("").err, "error: No data found.\n"
                           " --> demoscript.scr:2:1\n"
                           "  |\n"
                           "2 | DemoEffect a ( Fader 0.0 );\n"
                           "  | ^\n");
    // A value of the wrong kind: the value is the place.
    folder.write("demoscript.scr", recordTypes + "DemoEffect a ( Fader 1 0.0 0.0 nan ( ) ( ) );");
    EXPECT_TRUE(run("").err.starts_with(
        "error: Error : time is not a finite number in record [a]\n --> demoscript.scr:6:32\n"));
}

TEST_F(ReelCheck, ShowsAStretchOfALongLineAroundTheColumn) {
    folder.write("demoscript.scr", std::string(300, ' ') + "foo x 1;");
    const std::string err = run("").err;
    EXPECT_NE(err.find(" --> demoscript.scr:1:301\n"), std::string::npos) << err;
    EXPECT_NE(err.find("1 | ..." + std::string(60, ' ') + "foo x 1;\n"), std::string::npos) << err;
    EXPECT_NE(err.find("  | " + std::string(63, ' ') + "^\n"), std::string::npos) << err;
}

TEST_F(ReelCheck, AnErrorIsOneLineWhateverTheNameHolds) {
    folder.write("demoscript.scr", "include \"two\nlines\";");
    const auto firstLine = [](const std::string& text) { return text.substr(0, text.find('\n')); };
    EXPECT_EQ(firstLine(run("").err), "error: Could not open file \"two\\nlines\"");
    folder.write("demoscript.scr", "include \"" + std::string(500, 'x') + "\";");
    EXPECT_EQ(firstLine(run("").err),
              "error: Could not open file \"" + std::string(200, 'x') + "...\"");
}

TEST_F(ReelCheck, WarnsOfLikelyMistakesAndFailsOnThemOnlyWhenStrict) {
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("f", "Fader", 1, "0", "0", "9") +
                     triggerRecord("t", "Fader", "In", false, "0", "0", "0", "1 0 0.1 1 1") +
                     "block b { int n ten; };\n");
    const std::string warnings = "warning: Fader's trigger \"In\" reads exactly 6 numbers or "
                                 "none: these 5 are ignored, as if there were none\n"
                                 " --> demoscript.scr:7:40\n"
                                 "  |\n"
                                 "7 | DemoTrigger t ( Fader In false 0 0 0 ( 1 0 0.1 1 1 ) );\n"
                                 "  |                                        ^\n"
                                 "warning: \"ten\" is not a number: [n] reads it as 0\n"
                                 " --> demoscript.scr:8:17\n"
                                 "  |\n"
                                 "8 | block b { int n ten; };\n"
                                 "  |                 ^\n";
    Outcome result = run("");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "demoscript.scr: ok, 3 top-level definitions, 4 timeline events, 2 warnings\n");
    EXPECT_EQ(result.err, warnings);
    result = run("--strict --timeline");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, warnings);

    // The clock: music (the player's) or free (an offline render's).
    folder.write("demoscript.scr", recordTypes + effectRecord("f", "Fader", 1, "1", "1", "9"));
    EXPECT_EQ(run("--strict").status, 1);
    result = run("--strict --clock free");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(run("--clock wall").status, 2);
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
