#include "ToolSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorLine, WritesControlCharactersAsEscapes) {
    EXPECT_EQ(oneLine("Could not open file \"a\nb\"\n"), "Could not open file \"a\\nb\"");
    EXPECT_EQ(oneLine("tab\there, return\r, escape\x1b, delete\x7f"),
              "tab\\there, return\\r, escape\\x1b, delete\\x7f");
    // Backslashes are common in demo file names and stay as written.
    EXPECT_EQ(oneLine("[\\source\\data\\x.jpg]"), "[\\source\\data\\x.jpg]");
}

TEST(ErrorLine, CutsQuotedAndBracketedNamesPastTwoHundredCharacters) {
    const std::string fits(200, 'a');
    EXPECT_EQ(oneLine("file \"" + fits + "\" gone"), "file \"" + fits + "\" gone");
    EXPECT_EQ(oneLine("file \"" + fits + "b\" gone"), "file \"" + fits + "...\" gone");
    // Each name of a message on its own; text between names is never cut.
    EXPECT_EQ(oneLine("trigger [" + std::string(300, 't') + "] for [" + std::string(250, 'e') +
                      "] " + std::string(300, '-')),
              "trigger [" + std::string(200, 't') + "...] for [" + std::string(200, 'e') + "...] " +
                  std::string(300, '-'));
    // A name left open (a quote inside it) is cut all the same.
    EXPECT_EQ(oneLine("[" + std::string(400, 'o')), "[" + std::string(200, 'o') + "...");
}

TEST(ErrorLine, CountsCharactersNotBytesAndNeverSplitsOne) {
    std::string name;
    for (int i = 0; i < 201; ++i)
        name += "\xc3\xa9";
    std::string kept;
    for (int i = 0; i < 200; ++i)
        kept += "\xc3\xa9";
    EXPECT_EQ(oneLine("[" + name + "]"), "[" + kept + "...]");
    EXPECT_EQ(oneLine("[" + kept + "]"), "[" + kept + "]");
    // A control character in a long name is escaped after the cut, and counted as one.
    EXPECT_EQ(oneLine("\"\n" + std::string(300, 'n') + "\""),
              "\"\\n" + std::string(199, 'n') + "...\"");
}

} // namespace
