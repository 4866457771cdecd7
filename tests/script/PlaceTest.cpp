// Where elements, nodes and load errors stand: file, line and column, the first character of a
// line being column 1.

#include "ContainerNode.h"
#include "ScriptErrors.h"
#include "ScriptLexer.h"
#include "ScriptTest.h"

#include <sstream>
#include <vector>

namespace {

std::string at(const SourcePlace& place) {
    if (!place.known())
        return "nowhere";
    return place.fileName() + ":" + std::to_string(place.line) + ":" + std::to_string(place.column);
}

// Every element of a tree, depth first, as "text@line:column" (blocks by their brackets).
void collect(const Element& element, std::vector<std::string>& out) {
    for (const auto& child : element.getChildren()) {
        const std::string what = child->isWord() ? child->getText()
                                 : child->getTerminator() == ';'
                                     ? std::string("stmt")
                                     : std::string(1, child->getOpener());
        out.push_back(what + "@" + std::to_string(child->getPlace().line) + ":" +
                      std::to_string(child->getPlace().column));
        collect(*child, out);
    }
}

std::vector<std::string> places(const std::string& text) {
    ScriptLexer lexer;
    std::istringstream stream(text);
    const auto root = lexer.parse("f.scr", stream);
    std::vector<std::string> out;
    collect(*root, out);
    return out;
}

using Strings = std::vector<std::string>;

TEST(ElementPlaces, WordsBracketsAndStatementsBeginWhereTheirFirstCharacterStands) {
    EXPECT_EQ(places("ab cd;\n\t x ( y <1,2> );"),
              (Strings{"stmt@1:1", "ab@1:1", "cd@1:4", "stmt@2:3", "x@2:3", "(@2:5", "y@2:7",
                       "<@2:9", "1@2:10", "2@2:12"}));
    // Quoted words begin at their quote, or at the text stuck before it; a word that follows a
    // slash at the slash; carriage returns are ordinary characters.
    EXPECT_EQ(places("'a b' ab\"cd\"\r\n x/y \"\\t\";"),
              (Strings{"stmt@1:1", "a b@1:1", "abcd@1:7", "x@2:2", "/y@2:3", "\t@2:6"}));
    // An empty statement stands at its ';'; a comment moves nothing.
    EXPECT_EQ(places("/* one\ntwo */ ;\n// c\n  w;"), (Strings{"stmt@2:8", "stmt@4:3", "w@4:3"}));
    // A block closed without its opening bracket begins with its first element.
    EXPECT_EQ(places("a b )"), (Strings{"(@1:1", "a@1:1", "b@1:3"}));
}

TEST(ElementPlaces, LexerMessagesStandAtTheirCause) {
    ScriptLexer lexer;
    std::istringstream wrong("x\n  { a ( b }");
    lexer.parse("f.scr", wrong);
    EXPECT_EQ(at(lexer.firstErrorPlace()), "f.scr:2:11");
    EXPECT_EQ(lexer.popFirstError(), "Wrong block terminator } at line 2, col 12");
    EXPECT_EQ(at(lexer.firstErrorPlace()), "nowhere");

    // An unclosed bracket stands at itself, the innermost first.
    std::istringstream open("a (\n b [ c;");
    lexer.parse("g.scr", open);
    EXPECT_EQ(at(lexer.firstErrorPlace()), "g.scr:2:4");
    lexer.popFirstError();
    EXPECT_EQ(at(lexer.firstErrorPlace()), "g.scr:1:3");
}

class Places : public ScriptTest {
protected:
    SourcePlace placeOfError(const std::string& text) {
        try {
            load(text);
        } catch (const Errors::LoadError& error) {
            return error.getPlace();
        }
        ADD_FAILURE() << "loaded: " << text;
        return {};
    }
};

TEST_F(Places, ParserErrorsStandAtTheElementTheyConcern) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"int a 1;\n  foo x 1;", "test.scr:2:3"},      // undefined type
        {"block b {\n int x (1); };", "test.scr:2:8"}, // a block where a word belongs
        {"bool b\n  True;", "test.scr:2:3"},           // wrong word
        {"char c ab;", "test.scr:1:8"},                // wrong length
        {"string s;", "test.scr:1:1"},                 // no value: the definition
        {"vector2d v (1);", "test.scr:1:12"},          // too few coordinates
        {"typedef block R { int a; int b; };\nR r (\n1 );", "test.scr:2:5"}, // no value for b
        {"int a 1;\nloose", "nowhere"},                          // lost at the end: no error
        {"int a 1;\nloose (1)", "test.scr:2:1"},                 // text after the last ';'
        {"typedef block R { int a; float; };", "test.scr:1:26"}, // a member without a name
    };
    for (const auto& [text, expected] : cases) {
        if (expected == "nowhere") {
            EXPECT_NO_THROW(load(text));
            continue;
        }
        EXPECT_EQ(at(placeOfError(text)), expected) << text;
    }
}

TEST_F(Places, AMissingFileStandsAtTheNameThatNamedIt) {
    EXPECT_EQ(at(placeOfError("int a 1;\nfile f\n  'gone.bin';")), "test.scr:3:3");
    folder.write("inner.scr", "int x 1;\n include 'missing.scr';");
    EXPECT_EQ(at(placeOfError("include 'inner.scr';")), "inner.scr:2:10");
    // A lexer error of an included file stands in that file; the message names the file.
    folder.write("inner.scr", "int x (;");
    EXPECT_EQ(at(placeOfError("include 'inner.scr';")), "inner.scr:1:7");
}

TEST_F(Places, NodesStandWhereTheirDefinitionOrValueIs) {
    auto cursor = load("typedef block R { int a; array [float] f; };\n"
                       "R r ( 1\n  ( 2 3 ) );\n"
                       "  float x 1.5;");
    const ContainerNode& top = *cursor->getRoot();
    const ContainerNode& r = *top.childByNameAsContainer("r");
    EXPECT_EQ(at(r.getPlace()), "test.scr:2:1");
    EXPECT_EQ(at(r.childByName("a")->getPlace()), "test.scr:2:7");
    const ContainerNode& f = *r.childByNameAsContainer("f");
    EXPECT_EQ(at(f.getPlace()), "test.scr:3:3");
    EXPECT_EQ(at(f.childAt(1)->getPlace()), "test.scr:3:7");
    EXPECT_EQ(at(top.childByName("x")->getPlace()), "test.scr:4:3");
}

TEST_F(Places, CursorErrorsStandAtTheSelectionOrElseTheBranch) {
    auto cursor = load("block b {\n  int n 1;\n};");
    cursor->select("b");
    cursor->enter();
    cursor->select("n");
    try {
        cursor->getFloat();
        FAIL();
    } catch (const Errors::DOMError& error) {
        EXPECT_EQ(at(error.getPlace()), "test.scr:2:3");
    }
    cursor->select("missing");
    try {
        cursor->enter();
        FAIL();
    } catch (const Errors::DOMError& error) {
        EXPECT_EQ(error.getMessage(), "No branch found in DOM structure.");
        EXPECT_EQ(at(error.getPlace()), "test.scr:1:1");
    }
}

} // namespace
