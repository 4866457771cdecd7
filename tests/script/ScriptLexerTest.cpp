#include "ScriptLexer.h"

#include <sstream>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A compact picture of an element tree: words as written (quoted when empty or holding blanks),
// statements as [ ... ], bracket groups with their own brackets.
std::string describe(const Element& element) {
    if (element.isWord()) {
        const std::string& text = element.textRef();
        return text.empty() || text.find_first_of(" \t\n") != std::string::npos ? "'" + text + "'"
                                                                                : text;
    }
    std::string inner;
    for (const auto& child : element.getChildren())
        inner += (inner.empty() ? "" : " ") + describe(*child);
    if (element.getTerminator() == ' ')
        return inner;
    if (element.getTerminator() == ';')
        return "[" + inner + "]";
    return std::string(1, element.getOpener()) + inner + element.getTerminator();
}

struct Lexed {
    std::string tree;
    std::vector<std::string> errors;
};

Lexed lex(const std::string& text) {
    ScriptLexer lexer;
    std::istringstream stream(text);
    const auto root = lexer.lex(stream);
    Lexed result{describe(*root), {}};
    for (std::string error = lexer.popFirstError(); !error.empty(); error = lexer.popFirstError())
        result.errors.push_back(error);
    return result;
}

std::string tree(const std::string& text) {
    const Lexed lexed = lex(text);
    EXPECT_TRUE(lexed.errors.empty()) << text << ": " << lexed.errors.front();
    return lexed.tree;
}

using Errors = std::vector<std::string>;

TEST(ScriptLexer, ShapesOfAScript) {
    EXPECT_EQ(tree("// a comment\n"
                   "string title 'Two words'; /* another */\n"
                   "vector3d at <1.5, 0, -2>;\n"
                   "block box { int count 3; };\n"),
              "[string title 'Two words'] [vector3d at <1.5 0 -2>] [block box {[int count 3]}]");
    EXPECT_EQ(tree("a (b [c {d}] e) f;"), "[a (b [c {d}] e) f]");
    EXPECT_EQ(tree("a\tb\r\nc\v\fd,,e;"), "[a b c d e]");
    EXPECT_EQ(tree(";"), "[]");
    EXPECT_EQ(tree("a;;"), "[a] []");
    EXPECT_EQ(tree("{ a; b } c;"), "[{[a] b} c]");
    EXPECT_EQ(tree(""), "");
}

TEST(ScriptLexer, TextAfterTheLastTerminatorIsLooseOrLost) {
    EXPECT_EQ(tree("a; b (c)"), "[a] b (c)");
    EXPECT_EQ(tree("a; lost"), "[a]");
    EXPECT_EQ(tree("x 'unfinished"), "x");
    EXPECT_EQ(tree("x; /* unfinished comment"), "[x]");
    EXPECT_EQ(tree("\xe9t\xe9 \x80;"), "[\xe9t\xe9 \x80]");
}

TEST(ScriptLexer, SlashesStartCommentsOnlyWhenDoubledOrStarred) {
    EXPECT_EQ(tree("a/b;"), "[a /b]");
    EXPECT_EQ(tree("a//b;\nc;"), "[a c]");
    EXPECT_EQ(tree("a / b;"), "[a / b]");
    EXPECT_EQ(tree("x 1/2 * 3;"), "[x 1 /2 * 3]");
    EXPECT_EQ(tree("a/b/c;"), "[a /b /c]");
    EXPECT_EQ(tree("/'q x';"), "['/q x']");
    EXPECT_EQ(tree("a /* x * y / z */ b;"), "[a b]");
    EXPECT_EQ(tree("a /* one */ b /* two **/ c;"), "[a b c]");
    EXPECT_EQ(tree("a /*/ still comment */ b;"), "[a b]");
    EXPECT_EQ(tree("a /* /* not nested */ b */;"), "[a b * /]");
    EXPECT_EQ(tree("a // to end\r\nb;"), "[a b]");
    EXPECT_EQ(tree("a//\nb;"), "[a b]");
}

TEST(ScriptLexer, Quotes) {
    EXPECT_EQ(tree("s '';"), "[s '']");
    EXPECT_EQ(tree("s \"\";"), "[s]");
    EXPECT_EQ(tree("abc\"def\";"), "[abcdef]");
    EXPECT_EQ(tree("\"abc\"def;"), "[abc def]");
    EXPECT_EQ(tree("'a \"b\" c';"), "['a \"b\" c']");
    EXPECT_EQ(tree("'line\nbreak';"), "['line\nbreak']");
    EXPECT_EQ(tree("'no \\t escape';"), "['no \\t escape']");
    EXPECT_EQ(tree("'(;)' x;"), "[(;) x]");
    EXPECT_EQ(tree("\"// not /* a comment\";"), "['// not /* a comment']");
    EXPECT_EQ(tree("\"a\\qb\";"), "[ab]");
    EXPECT_EQ(tree("\"\\z\";"), "[]");
}

TEST(ScriptLexer, EscapesInsideDoubleQuotes) {
    const auto root = [] {
        ScriptLexer lexer;
        std::istringstream stream(R"("\"\'\?\\\a\b\f\n\r\t\v";)");
        return lexer.lex(stream);
    }();
    ASSERT_EQ(root->getChildren().size(), 1u);
    const Element& statement = *root->getChildren()[0];
    ASSERT_EQ(statement.getChildren().size(), 1u);
    EXPECT_EQ(statement.getChildren()[0]->getText(), "\"'?\\\a\b\f\n\r\t\v");
}

TEST(ScriptLexer, ElementKindsAndTheirChildren) {
    ScriptLexer lexer;
    std::istringstream stream("w (x);");
    const auto root = lexer.lex(stream);
    EXPECT_TRUE(root->isBlock());
    EXPECT_EQ(root->getOpener(), ' ');
    EXPECT_EQ(root->getTerminator(), ' ');
    Element* statement = root->nextChild();
    ASSERT_NE(statement, nullptr);
    EXPECT_EQ(root->nextChild(), nullptr);
    Element* word = statement->nextChild();
    Element* group = statement->nextChild();
    EXPECT_TRUE(word->isWord());
    EXPECT_FALSE(word->isBlock());
    EXPECT_EQ(word->getOpener(), ' ');
    EXPECT_EQ(word->getText(), "w");
    EXPECT_EQ(word->nextChild(), nullptr);
    EXPECT_TRUE(group->isBlock());
    EXPECT_EQ(group->getText(), "");
    EXPECT_EQ(group->getOpener(), '(');
    EXPECT_EQ(group->getTerminator(), ')');
    EXPECT_EQ(statement->nextChild(), nullptr);
}

TEST(ScriptLexer, BracketErrorsWithLineAndColumn) {
    Lexed lexed = lex("{ a ( b }");
    EXPECT_EQ(lexed.tree, "{a b}");
    EXPECT_EQ(lexed.errors, Errors{"Wrong block terminator } at line 1, col 9"});

    lexed = lex("( a;");
    EXPECT_EQ(lexed.tree, "[a]");
    EXPECT_EQ(lexed.errors, Errors{"Currupt element found in elementstack : )"});

    lexed = lex("a\nb(];");
    EXPECT_EQ(lexed.errors, Errors{"Wrong block terminator ] at line 2, col 4"});

    // A carriage return is a character of its line; only the line feed starts a new one.
    lexed = lex("x;\r\n\r\n  >");
    EXPECT_EQ(lexed.tree, "<[x]>");
    EXPECT_TRUE(lexed.errors.empty());
    lexed = lex("x;\r\n\r\n  ( ]");
    EXPECT_EQ(lexed.errors, Errors{"Wrong block terminator ] at line 3, col 6"});

    lexed = lex("{ ( [ x } ;");
    EXPECT_EQ(lexed.tree, "[{x}]");
    EXPECT_EQ(lexed.errors, (Errors{"Wrong block terminator } at line 1, col 9",
                                    "Wrong block terminator } at line 1, col 9"}));

    lexed = lex("a ) b;");
    EXPECT_EQ(lexed.tree, "[(a) b]");
    EXPECT_TRUE(lexed.errors.empty());

    lexed = lex("x ( [ {");
    EXPECT_EQ(lexed.tree, "x");
    EXPECT_EQ(lexed.errors, (Errors{"Currupt element found in elementstack : }",
                                    "Currupt element found in elementstack : ]",
                                    "Currupt element found in elementstack : )"}));
}

TEST(ScriptLexer, ErrorsComeOutOldestFirstThenEmpty) {
    ScriptLexer lexer;
    std::istringstream stream("( ] (");
    lexer.lex(stream);
    EXPECT_EQ(lexer.popFirstError(), "Wrong block terminator ] at line 1, col 3");
    EXPECT_EQ(lexer.popFirstError(), "Currupt element found in elementstack : )");
    EXPECT_EQ(lexer.popFirstError(), "");
    EXPECT_EQ(lexer.popFirstError(), "");
}

TEST(ScriptLexer, NestingIsBounded) {
    const int limit = ScriptLexer::maxNesting;
    const std::string fits = std::string(limit, '(') + "x" + std::string(limit, ')') + ";";
    EXPECT_EQ(lex(fits).errors, Errors{});

    const std::string deep = std::string(limit + 1, '(') + "x" + std::string(limit + 1, ')') + ";";
    const Lexed lexed = lex(deep);
    ASSERT_FALSE(lexed.errors.empty());
    EXPECT_EQ(lexed.errors.front(), "Error : nesting too deep at line 1, col 257");

    // A million open brackets neither recurse nor keep a million markers.
    const Lexed huge = lex(std::string(1000000, '{'));
    ASSERT_FALSE(huge.errors.empty());
    EXPECT_EQ(huge.errors.front(), "Error : nesting too deep at line 1, col 257");
    EXPECT_EQ(huge.errors.size(), 1u + limit);
}

TEST(ScriptLexer, ParseKeepsTheFileName) {
    ScriptLexer lexer;
    std::istringstream stream("a;");
    const auto root = lexer.parse("some.scr", stream);
    EXPECT_EQ(lexer.getFileName(), "some.scr");
    EXPECT_EQ(describe(*root), "[a]");
}

} // namespace
