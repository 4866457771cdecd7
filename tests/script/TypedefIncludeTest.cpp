#include "ContainerNode.h"
#include "ParseContext.h"
#include "ScriptLexer.h"
#include "ScriptTest.h"

namespace {

using Typedef = ScriptTest;
using Include = ScriptTest;

const ContainerNode& containerNamed(const DomCursor& cursor, const std::string& name) {
    const DataNode* node = cursor.getRoot()->childByName(name);
    EXPECT_NE(node, nullptr) << name;
    return *node->asContainer();
}

TEST_F(Typedef, RecordTypesFillTheirMembersByPosition) {
    auto cursor = load("typedef float Seconds;\n"
                       "typedef block Span { Seconds from; Seconds to; array [string] tags; };\n"
                       "Span intro ( 0.0 12.5 ( 'a' 'b' ) extra );\n"
                       "list [int] counts { red 3; green 4; };\n");
    const ContainerNode& intro = containerNamed(*cursor, "intro");
    EXPECT_EQ(intro.getDeclaredType(), "Span");
    EXPECT_EQ(intro.getKind(), Kind::Block);
    ASSERT_EQ(intro.getChildren().size(), 3u);
    const DataNode& to = *intro.childByName("to");
    EXPECT_EQ(to.getDeclaredType(), "Seconds");
    EXPECT_EQ(to.getKind(), Kind::Float);
    EXPECT_EQ(static_cast<const FloatNode&>(to).getValue(), 12.5);
    const ContainerNode& tags = *intro.childByNameAsContainer("tags");
    EXPECT_EQ(tags.getKind(), Kind::Array);
    ASSERT_EQ(tags.count(), 2u);
    EXPECT_EQ(tags.childAt(1)->getName(), "1");
    EXPECT_EQ(static_cast<const StringNode*>(tags.childAt(1))->getValue(), "b");
}

TEST_F(Typedef, ArrayAndListTypesCarryTheirElementType) {
    auto cursor = load("typedef array [float] Floats; typedef list [int] Counts;\n"
                       "Floats xs (1 2.5); Counts c { a 1; }; array [Floats] rows ((1) (2 3));");
    const ContainerNode& xs = containerNamed(*cursor, "xs");
    EXPECT_EQ(xs.getDeclaredType(), "Floats");
    EXPECT_EQ(xs.getKind(), Kind::Array);
    EXPECT_EQ(xs.childAt(1)->getKind(), Kind::Float);
    const ContainerNode& c = containerNamed(*cursor, "c");
    EXPECT_EQ(c.getDeclaredType(), "Counts");
    EXPECT_EQ(c.getKind(), Kind::List);
    const ContainerNode& rows = containerNamed(*cursor, "rows");
    EXPECT_EQ(rows.childAtAsContainer(1)->count(), 2u);
}

TEST_F(Typedef, NestedRecordsAndCollectionMembers) {
    auto cursor = load("typedef block Outer { int n; block Inner { string s; } in; "
                       "list [int] weights; };\n"
                       "Outer o ( 3 ( hello ) { a 1; b 2; } );");
    const ContainerNode& o = containerNamed(*cursor, "o");
    const ContainerNode& in = *o.childByNameAsContainer("Inner");
    EXPECT_EQ(in.getDeclaredType(), "Inner");
    EXPECT_EQ(static_cast<const StringNode*>(in.childByName("s"))->getValue(), "hello");
    EXPECT_EQ(o.childByNameAsContainer("weights")->count(), 2u);
}

TEST_F(Typedef, ScopesAndFirstRegistrationWins) {
    auto cursor = load("typedef int N; typedef float N; N a 1.5;\n"
                       "block inner { typedef string N; N b 1.5; };\n"
                       "N c 2;");
    EXPECT_EQ(cursor->getRoot()->childByName("a")->getKind(), Kind::Int);
    EXPECT_EQ(containerNamed(*cursor, "inner").childByName("b")->getKind(), Kind::String);
    EXPECT_EQ(cursor->getRoot()->childByName("c")->getKind(), Kind::Int);
    EXPECT_EQ(errorOf("block inner { typedef string S; }; S s x;"), "Error : undefined type [S]");
}

TEST_F(Typedef, Messages) {
    EXPECT_EQ(errorOf("typedef block Span { float a; }; typedef Span Other;"),
              "Error : undefined type [Span]");
    EXPECT_EQ(errorOf("typedef array [int] A; typedef A B;"), "Error : undefined type [A]");
    EXPECT_EQ(errorOf("typedef nope X;"), "Error : undefined type [nope]");
    EXPECT_EQ(errorOf("typedef;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef (int) X;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef int;"), "Error : syntax error in name definition");
    EXPECT_EQ(errorOf("typedef array Floats;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef block R;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef block R { float; };"), "Error : syntax error in name definition");
    EXPECT_EQ(errorOf("typedef block R { (float) x; };"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef block R { loose };"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("typedef block R { nope x; };"), "Error : undefined type [nope]");
    EXPECT_EQ(errorOf("typedef block A { int x; }; typedef block B { A a; };"),
              "Error : undefined type [A]");
    EXPECT_EQ(errorOf("typedef block R { float from; float to; }; R r ( 1 );"),
              "Error : no data in definition for [to]");
    EXPECT_EQ(errorOf("typedef block R { float from; }; R r word;"),
              "Error : no data in definition for [from]");
    EXPECT_EQ(errorOf("typedef block R { float from; }; R r;"),
              "Error : erorr in dataformat for definition of [r]");
    EXPECT_EQ(errorOf("typedef block R { array [int] xs; }; R r ( 1 );"), "(loaded)")
        << "a word as an array's value makes an empty array";
}

TEST_F(Include, PullsStatementsIntoTheCurrentContainer) {
    folder.write("more.scr", "typedef float Seconds; Seconds t 2; int n 7;");
    folder.write("Sub/Deep.SCR", "string s deep;");
    auto cursor = load("int first 1; include more.scr; block b { include '\\sub\\deep.scr'; };"
                       "Seconds after 3;");
    const auto& top = cursor->getRoot()->getChildren();
    ASSERT_EQ(top.size(), 5u);
    EXPECT_EQ(top[1]->getName(), "t");
    EXPECT_EQ(top[1]->getDeclaredType(), "Seconds");
    EXPECT_EQ(top[2]->getName(), "n");
    const ContainerNode& b = *top[3]->asContainer();
    EXPECT_EQ(b.getName(), "b");
    EXPECT_EQ(b.getDeclaredType(), "block");
    EXPECT_EQ(b.childByName("s")->getParent(), &b);
    EXPECT_EQ(top[4]->getKind(), Kind::Float);
}

TEST_F(Include, AFileIncludedAgainBringsItsWholeTextEachTime) {
    // Longer than one read, so a text kept from the first include must be whole.
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "int v" + std::to_string(i) + " " + std::to_string(i) + ";";
    folder.write("many.scr", text);
    auto cursor = load("block a { include many.scr; }; block b { include 'MANY.scr'; };");
    for (const char* name : {"a", "b"}) {
        const ContainerNode& block = *cursor->getRoot()->childByName(name)->asContainer();
        ASSERT_EQ(block.getChildren().size(), 20000u) << name;
        EXPECT_EQ(block.getChildren().back()->getName(), "v19999") << name;
    }
}

TEST_F(Include, Messages) {
    folder.write("bad.scr", "int a (1;");
    folder.write("wrong.scr", "nope a 1;");
    EXPECT_EQ(errorOf("include;"), "Error : no data in definition for include directive.");
    EXPECT_EQ(errorOf("include (x);"),
              "Error : Corrupt dataformat for definition for include directive");
    EXPECT_EQ(errorOf("include missing.scr;"), "Could not open file \"missing.scr\"");
    EXPECT_EQ(errorOf("include 'b\\..\\bad.scr';"), "Could not open file \"b\\..\\bad.scr\"");
    EXPECT_EQ(errorOf("include bad.scr;"), "Error : lexer error in include file ( bad.scr.");
    EXPECT_EQ(errorOf("include wrong.scr;"), "Error : undefined type [nope]");
    EXPECT_EQ(errorOf("array [include] a (x);"),
              "Error : erorr in dataformat for definition of [0]");
}

TEST_F(Include, CyclesAndRunawayChainsAreRefused) {
    EXPECT_EQ(errorOf("include self.scr;", "self.scr"),
              "Error : include nesting too deep [self.scr]");
    EXPECT_EQ(errorOf("include SELF.scr;", "self.scr"),
              "Error : include nesting too deep [SELF.scr]");
    folder.write("a.scr", "int a 1; include b.scr;");
    folder.write("b.scr", "int b 1; include './a.scr';");
    EXPECT_EQ(errorOf("include a.scr;"), "Error : include nesting too deep [./a.scr]");

    // The same file included twice side by side is no cycle.
    folder.write("leaf.scr", "int leaf 1;");
    EXPECT_EQ(errorOf("include leaf.scr; include leaf.scr;"), "(loaded)");

    const auto chain = [&](std::size_t length) {
        for (std::size_t i = 1; i < length; ++i)
            folder.write("chain" + std::to_string(i) + ".scr",
                         "include chain" + std::to_string(i + 1) + ".scr;");
        folder.write("chain" + std::to_string(length) + ".scr", "int end 1;");
        return errorOf("include chain1.scr;");
    };
    EXPECT_EQ(chain(ParseContext::maxIncludeDepth), "(loaded)");
    EXPECT_EQ(chain(ParseContext::maxIncludeDepth + 1),
              "Error : include nesting too deep [chain65.scr]");
}

TEST_F(Include, NestingIsBoundedAcrossFiles) {
    // Each file stays within the lexer's bound; together they would nest far deeper.
    const int perFile = 200;
    for (int i = 1; i <= 3; ++i) {
        std::string text;
        for (int level = 0; level < perFile; ++level)
            text += "block b" + std::to_string(level) + " {";
        text += i < 3 ? "include n" + std::to_string(i + 1) + ".scr;" : "int x 1;";
        for (int level = 0; level < perFile; ++level)
            text += "};";
        folder.write("n" + std::to_string(i) + ".scr", text);
    }
    EXPECT_EQ(errorOf("include n1.scr;"), "Error : nesting too deep in definition of [b55]");
    EXPECT_EQ(errorOf("include n3.scr;"), "(loaded)");
}

TEST_F(Include, ScriptTextIsBoundedPerFileAndInTotal) {
    const std::string oversized(ScriptLexer::maxScriptBytes + 1, ' ');
    EXPECT_EQ(errorOf(oversized), "Error : script larger than 8 MiB\n");
    folder.write("big.scr", oversized);
    EXPECT_EQ(errorOf("include big.scr;"), "Error : lexer error in include file ( big.scr.");

    // Each file is within the bound; included over and over they would not be.
    folder.write("part.scr", std::string(ScriptLexer::maxScriptBytes - 8, ' ') + "int p 1;");
    std::string repeated;
    for (std::uintmax_t total = 0; total <= ParseContext::maxTotalScriptBytes;
         total += ScriptLexer::maxScriptBytes)
        repeated += "include part.scr;";
    EXPECT_EQ(errorOf(repeated), "Error : included scripts too large in total [part.scr]");
}

TEST_F(Include, DirectivesAreCountedAcrossTheWholeLoad) {
    folder.write("empty.scr", "");
    std::string includes;
    for (std::size_t i = 0; i < ParseContext::maxIncludes; ++i)
        includes += "include empty.scr;";
    EXPECT_EQ(errorOf(includes), "(loaded)");
    EXPECT_EQ(errorOf(includes + "include 'EMPTY.scr';"), "Error : too many includes [EMPTY.scr]");

    // Twenty small files, each including the next twice: a million includes if nothing counted.
    for (int i = 0; i < 20; ++i) {
        const std::string next = "f" + std::to_string(i + 1) + ".scr";
        folder.write("f" + std::to_string(i) + ".scr",
                     i < 19 ? "include " + next + "; include " + next + ";" : "int x 1;");
    }
    EXPECT_EQ(errorOf("include f0.scr;").rfind("Error : too many includes [f", 0), 0u);
}

} // namespace
