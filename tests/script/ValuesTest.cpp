#include "ContainerNode.h"
#include "ScriptErrors.h"
#include "ScriptLoader.h"
#include "ScriptTest.h"

#include <climits>

namespace {

class Values : public ScriptTest {
protected:
    // The one leaf of a one-definition script.
    const DataNode& only(const std::string& definition) {
        cursor = load(definition);
        const auto& children = cursor->getRoot()->getChildren();
        EXPECT_EQ(children.size(), 1u) << definition;
        return *children.at(0);
    }

    template <typename Node>
    typename Node::Value valueOf(const std::string& definition) {
        const DataNode& node = only(definition);
        EXPECT_EQ(node.getKind(), Node::leafKind) << definition;
        return static_cast<const Node&>(node).getValue();
    }

    std::unique_ptr<DomCursor> cursor;
};

TEST_F(Values, WordsAndTheirConversions) {
    EXPECT_EQ(valueOf<StringNode>("string s bare;"), "bare");
    EXPECT_EQ(valueOf<StringNode>("string s 'two words';"), "two words");
    EXPECT_EQ(valueOf<StringNode>("string s '';"), "");
    EXPECT_EQ(valueOf<StringNode>("string s 100%s;"), "100%s");

    EXPECT_EQ(valueOf<IntNode>("int i 42;"), 42);
    EXPECT_EQ(valueOf<IntNode>("int i -7;"), -7);
    EXPECT_EQ(valueOf<IntNode>("int i ' +13';"), 13);
    EXPECT_EQ(valueOf<IntNode>("int i 12abc;"), 12);
    EXPECT_EQ(valueOf<IntNode>("int i 0x1F;"), 0);
    EXPECT_EQ(valueOf<IntNode>("int i 010;"), 10);
    EXPECT_EQ(valueOf<IntNode>("int i abc;"), 0);
    EXPECT_EQ(valueOf<IntNode>("int i 2147483647;"), INT_MAX);
    EXPECT_EQ(valueOf<IntNode>("int i 2147483648;"), INT_MAX);
    EXPECT_EQ(valueOf<IntNode>("int i 99999999999999999999999;"), INT_MAX);
    EXPECT_EQ(valueOf<IntNode>("int i -2147483649;"), INT_MIN);

    EXPECT_EQ(valueOf<FloatNode>("float f 1.5;"), 1.5);
    EXPECT_EQ(valueOf<FloatNode>("float f -2.5e2;"), -250.0);
    EXPECT_EQ(valueOf<FloatNode>("float f x;"), 0.0);
    EXPECT_EQ(valueOf<FloatNode>("float f 3.5kg;"), 3.5);
    EXPECT_EQ(valueOf<FloatNode>("float f .25;"), 0.25);

    EXPECT_EQ(valueOf<CharNode>("char c 'a';"), 'a');
    EXPECT_EQ(valueOf<CharNode>("char c ';';"), ';');
    EXPECT_EQ(valueOf<BoolNode>("bool b true;"), true);
    EXPECT_EQ(valueOf<BoolNode>("bool b false;"), false);
}

TEST_F(Values, Vectors) {
    const Vector2 v2 = valueOf<Vector2dNode>("vector2d v (1 2 3);");
    EXPECT_EQ(v2.x, 1.0);
    EXPECT_EQ(v2.y, 2.0);
    const Vector3 v3 = valueOf<Vector3dNode>("vector3d v <1.5, (x), -2>;");
    EXPECT_EQ(v3.x, 1.5);
    EXPECT_EQ(v3.y, 0.0);
    EXPECT_EQ(v3.z, -2.0);
    EXPECT_EQ(valueOf<Vector2dNode>("vector2d v {4 5};").y, 5.0);
}

TEST_F(Values, MessagesForBadValues) {
    EXPECT_EQ(errorOf("bool b True;"), "Error : wrong data type [b]");
    EXPECT_EQ(errorOf("bool b 1;"), "Error : wrong data type [b]");
    EXPECT_EQ(errorOf("char c ab;"), "Error : wrong data type [c]");
    EXPECT_EQ(errorOf("char c '';"), "Error : wrong data type [c]");
    EXPECT_EQ(errorOf("string s \"\";"), "Error : no data in definition for [s]");
    EXPECT_EQ(errorOf("int i;"), "Error : no data in definition for [i]");
    EXPECT_EQ(errorOf("string s (a);"), "Error : erorr in dataformat for definition of [s]");
    EXPECT_EQ(errorOf("float f ();"), "Error : erorr in dataformat for definition of [f]");
    EXPECT_EQ(errorOf("vector2d v 1;"), "Error : erorr in dataformat for definition of [v]");
    EXPECT_EQ(errorOf("vector2d v;"), "Error : no data in definition for [v]");
    EXPECT_EQ(errorOf("vector3d v (1 2);"), "Error : erorr in dataformat for definition of [v]");
    EXPECT_EQ(errorOf("foo x 1;"), "Error : undefined type [foo]");
    EXPECT_EQ(errorOf("Int x 1;"), "Error : undefined type [Int]");
    EXPECT_EQ(errorOf("int a 1; ;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("(int) a 1;"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("int a 1; loose (x)"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("block b;"), "Error : erorr in dataformat for definition of [b]");
    // A '%' in a name is not a format directive.
    EXPECT_EQ(errorOf("int %s%d;"), "Error : no data in definition for [%s%d]");
}

TEST_F(Values, ErrorClasses) {
    folder.write("lexer.scr", "int a (1;");
    folder.write("parser.scr", "nope a 1;");
    EXPECT_THROW(loadScript("lexer.scr"), Errors::DOMError);
    EXPECT_THROW(loadScript("parser.scr"), Errors::ScriptLoaderError);
    EXPECT_THROW(loadScript("absent.scr"), Errors::LoadError);
    try {
        loadScript("lexer.scr");
    } catch (const Errors::LoadError& error) {
        EXPECT_EQ(error.getMessage(), "Currupt element found in elementstack : )\n");
    }
    // A terminator with nothing open is no lexer error, but it wraps the statements before it.
    EXPECT_EQ(errorOf("int a 1; }"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("a { b ) c;"), "Wrong block terminator ) at line 1, col 7\n");
}

TEST_F(Values, BlocksNestAndKeepSourceOrder) {
    cursor = load("block outer { int a 1; block inner { string s x; }; float b 2; };"
                  "block empty {}; block fromWord w;");
    const auto& top = cursor->getRoot()->getChildren();
    ASSERT_EQ(top.size(), 3u);
    const ContainerNode& outer = *top[0]->asContainer();
    EXPECT_EQ(outer.getDeclaredType(), "block");
    EXPECT_EQ(outer.getName(), "outer");
    ASSERT_EQ(outer.getChildren().size(), 3u);
    EXPECT_EQ(outer.getChildren()[0]->getName(), "a");
    EXPECT_EQ(outer.getChildren()[1]->getName(), "inner");
    EXPECT_EQ(outer.getChildren()[2]->getName(), "b");
    EXPECT_EQ(outer.getChildren()[1]->getParent(), &outer);
    EXPECT_TRUE(top[1]->asContainer()->getChildren().empty());
    EXPECT_TRUE(top[2]->asContainer()->getChildren().empty());
}

TEST_F(Values, ArraysAndLists) {
    cursor = load("array [int] a (1 2 3); array [float] f (2.5); list [int] counts "
                  "{ red 3; green 4; }; array [string] none word; array [vector2d] v ((1 2) "
                  "<3 4>);");
    const auto& top = cursor->getRoot()->getChildren();
    ASSERT_EQ(top.size(), 5u);

    const ContainerNode& a = *top[0]->asContainer();
    EXPECT_EQ(a.getKind(), Kind::Array);
    EXPECT_EQ(a.getElementTypeName(), "int");
    ASSERT_EQ(a.count(), 3u);
    EXPECT_EQ(a.childAt(2)->getName(), "2");
    EXPECT_EQ(static_cast<const IntNode*>(a.childAt(2))->getValue(), 3);
    EXPECT_EQ(a.childByName("0"), nullptr);

    // Each definition keeps its own element type.
    const ContainerNode& f = *top[1]->asContainer();
    EXPECT_EQ(f.getElementTypeName(), "float");
    EXPECT_EQ(f.childAt(0)->getKind(), Kind::Float);

    const ContainerNode& counts = *top[2]->asContainer();
    EXPECT_EQ(counts.getKind(), Kind::List);
    EXPECT_EQ(counts.count(), 2u);
    EXPECT_EQ(static_cast<const IntNode*>(counts.childByName("green"))->getValue(), 4);
    EXPECT_EQ(counts.childAt(0), nullptr);

    EXPECT_EQ(top[3]->asContainer()->count(), 0u);
    EXPECT_EQ(top[4]->asContainer()->childAt(1)->getKind(), Kind::Vector2d);
}

TEST_F(Values, CollectionMessages) {
    EXPECT_EQ(errorOf("array [nope] a (1);"), "Error : undefined type [nope]");
    EXPECT_EQ(errorOf("list [nope] l { a 1; };"), "Error : undefined type [nope]");
    EXPECT_EQ(errorOf("array a (1);"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("array [] a (1);"), "Error : syntax error in typedef");
    EXPECT_EQ(errorOf("array [int] a;"), "Error : erorr in dataformat for definition of [a]");
    EXPECT_EQ(errorOf("array [int] a (1 x (2));"),
              "Error : erorr in dataformat for definition of [2]");
    EXPECT_EQ(errorOf("array [bool] a (true maybe);"), "Error : wrong data type [1]");
    EXPECT_EQ(errorOf("list [int] l { a 1; b; };"), "Error : no data in definition for [b]");
    EXPECT_EQ(errorOf("list [int] l { a 1; loose };"),
              "Error : erorr in dataformat for definition of [l]");
    EXPECT_EQ(errorOf("array [typedef] a (x);"),
              "Error : erorr in dataformat for definition of [0]");
}

} // namespace
