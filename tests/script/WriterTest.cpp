#include "Writer.h"

#include "ContainerNode.h"
#include "ScriptTest.h"

#include <sstream>

namespace {

class WriterTest : public ScriptTest {
protected:
    std::string printed(const std::string& script, const std::string& name = "print.scr") {
        const auto cursor = load(script, name);
        std::ostringstream out;
        writeNode(*cursor->getRoot(), out, 0);
        return out.str();
    }
};

TEST_F(WriterTest, PrintsDefinitionsAsTheyAreWritten) {
    EXPECT_EQ(printed("int n 3; list [float] w { a 1; };"),
              "int\tn\t3;\nlist[float]\tw\t{\n\ta\t1;\n};\n");
    EXPECT_EQ(printed("string s 'two words'; char c x; bool b true; float f 1.2345678;"
                      "vector2d v (1 2.5); vector3d p <0, -1, 1e7>;"),
              "string\ts\t\"two words\";\nchar\tc\t\"x\";\nbool\tb\ttrue;\nfloat\tf\t1.23457;\n"
              "vector2d\tv\t<1,2.5>;\nvector3d\tp\t<0,-1,1e+07>;\n");
    EXPECT_EQ(printed("array [int] a (1 2 3); array [int] e ();"),
              "array[int]\ta\t{\n\t1,\n\t2,\n\t3\n};\narray[int]\te\t{\n};\n");
    EXPECT_EQ(printed("block outer { int a 1; block inner { int b 2; }; };"),
              "block\touter\t{\n\tint\ta\t1;\n\tblock\tinner\t{\n\t\tint\tb\t2;\n\t};\n};\n");
}

TEST_F(WriterTest, TypesMadeByTypedefPrintWithTheirKind) {
    EXPECT_EQ(printed("typedef float Seconds; Seconds t 2.5; typedef array [int] Ints; "
                      "Ints xs (4);"),
              "float\tt\t2.5;\narray[int]\txs\t{\n\t4\n};\n");
    // A record prints as a plain block whose members have no prefix; it does not read back
    // as the record.
    EXPECT_EQ(printed("typedef block R { string s; int n; array [int] xs; }; R r ( hi 4 (1) );"),
              "block\tr\t{\n\t\"hi\";\n\t4;\n\t;\n};\n");
    // Containers inside arrays print nothing.
    EXPECT_EQ(printed("array [block] bs ({ int x 1; });"), "array[block]\tbs\t{\n\t\n};\n");
}

TEST_F(WriterTest, FilesPrintTheirNames) {
    folder.write("writer-data.bin", "bytes");
    EXPECT_EQ(printed("file f 'writer-data.bin';"), "file\tf\t\"writer-data.bin\";\n");
}

TEST_F(WriterTest, ReadsBackWhatItPrints) {
    folder.write("writer-round.bin", "x");
    const std::string script =
        "string s 'a b'; int i -12; float f 0.1; char c ';'; bool b false;\n"
        "file d writer-round.bin; vector2d v (1.5 -2); vector3d w (1 2 3);\n"
        "block outer { int a 1; block inner { string t deep; array [float] xs (1 2.5); }; };\n"
        "list [vector2d] points { p (1 2); q (3 4); };\n"
        "array [string] names ('x' 'y z');\n";
    const std::string first = printed(script, "first.scr");
    const std::string second = printed(first, "second.scr");
    EXPECT_EQ(second, first);
    EXPECT_NE(first.find("list[vector2d]\tpoints\t{\n\tp\t<1,2>;\n"), std::string::npos) << first;
}

TEST_F(WriterTest, QuotesAndBackslashesAreNotEscaped) {
    const std::string first = printed("string s 'say \"hi\"'; string t \"a\\\\b\";");
    EXPECT_EQ(first, "string\ts\t\"say \"hi\"\";\nstring\tt\t\"a\\b\";\n");
    const auto cursor = load(first, "reread.scr");
    cursor->select("s");
    EXPECT_NE(cursor->getString(), "say \"hi\"");
}

} // namespace
