#include "ContainerNode.h"
#include "ErrorMessage.h"
#include "ScriptErrors.h"
#include "ScriptTest.h"

#include <vector>

namespace {

using Cursor = ScriptTest;

std::string domError(const std::function<void()>& action) {
    return errorMessageOf<Errors::DOMError>(action);
}

const std::string records =
    "typedef block DemoEffect { string identifier; int layer; float initTime;\n"
    "    float startTime; float stopTime; array [string] data; array [float] parameters; };\n"
    "typedef block DemoTrigger { string effectId; string triggerId; bool periodic;\n"
    "    float beginTime; float endTime; float delay; array [float] parameters; };\n"
    "DemoEffect fx1 ( Tunnel 1 0.0 0.5 20.0 ( 'a.jpg' ) ( 1.0 0.25 ) );\n"
    "DemoTrigger t1 ( Tunnel Zoom false 4.0 4.0 0.0 ( 1.0 ) );\n";

TEST_F(Cursor, ReadsRecordsTheWayTheEngineDoes) {
    auto cursor = load(records);
    ASSERT_EQ(cursor->count(), 2u);

    cursor->selectNext();
    EXPECT_EQ(cursor->typeName(), "DemoEffect");
    cursor->enter();
    cursor->select("identifier");
    EXPECT_EQ(cursor->getString(), "Tunnel");
    cursor->select("layer");
    EXPECT_EQ(cursor->getInt(), 1);
    cursor->select("stopTime");
    EXPECT_EQ(cursor->getFloat(), 20.0);
    cursor->select("parameters");
    cursor->enter();
    std::vector<double> parameters;
    for (std::size_t i = 0, n = cursor->count(); i < n; ++i) {
        cursor->selectNext();
        parameters.push_back(cursor->getFloat());
    }
    EXPECT_EQ(parameters, (std::vector<double>{1.0, 0.25}));
    cursor->leave();
    cursor->select("data");
    cursor->enter();
    cursor->select("0");
    EXPECT_EQ(domError([&] { cursor->getString(); }), "No data found.");
    cursor->selectNext();
    EXPECT_EQ(cursor->getString(), "a.jpg");
    cursor->leave();
    cursor->leave();

    cursor->selectNext();
    EXPECT_EQ(cursor->typeName(), "DemoTrigger");
    cursor->enter();
    cursor->select("periodic");
    EXPECT_FALSE(cursor->getBool());
    cursor->leave();
    cursor->selectNext();
    EXPECT_EQ(cursor->typeName(), "");
}

TEST_F(Cursor, GettersGoByKindNotByDeclaredType) {
    folder.write("data.bin", "x");
    auto cursor = load("typedef float Speed; Speed s 3; float x 1; int i 1; string t x; "
                       "char c 'q'; file f data.bin; vector2d v (1 2);",
                       "kinds.scr");
    cursor->select("s");
    EXPECT_EQ(cursor->typeName(), "Speed");
    EXPECT_EQ(cursor->getFloat(), 3.0);
    cursor->select("x");
    EXPECT_EQ(cursor->getFloat(), 1.0);
    cursor->select("i");
    EXPECT_EQ(domError([&] { cursor->getFloat(); }), "No data found.");
    EXPECT_EQ(domError([&] { cursor->getString(); }), "No data found.");
    EXPECT_EQ(cursor->getInt(), 1);
    cursor->select("t");
    EXPECT_EQ(domError([&] { cursor->getBool(); }), "No data found.");
    for (const char* name : {"c", "f", "v", "missing"}) {
        cursor->select(name);
        EXPECT_EQ(domError([&] { cursor->getString(); }), "No data found.") << name;
    }
}

TEST_F(Cursor, DuplicateNamesCountOnceButAreAllVisited) {
    auto cursor = load("int a 1; int b 2; int a 3;");
    EXPECT_EQ(cursor->count(), 2u);
    cursor->select("a");
    EXPECT_EQ(cursor->getInt(), 1);
    std::vector<int> visited;
    for (cursor->selectNext(); cursor->getCurrent(); cursor->selectNext())
        visited.push_back(cursor->getInt());
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3}));
}

TEST_F(Cursor, EnterAndLeave) {
    auto cursor = load("int leaf 1; block b { int inner 2; };");
    ContainerNode* top = cursor->getRoot();

    EXPECT_EQ(domError([&] { cursor->enter(); }), "No branch found in DOM structure.");
    cursor->select("leaf");
    DataNode* leaf = cursor->getCurrent();
    EXPECT_EQ(domError([&] { cursor->enter(); }), "No branch found in DOM structure.");
    EXPECT_EQ(cursor->getBranch(), top);
    EXPECT_EQ(cursor->getCurrent(), leaf);

    cursor->select("b");
    ContainerNode* b = cursor->enter();
    EXPECT_EQ(b->getName(), "b");
    EXPECT_EQ(cursor->getBranch(), b);
    cursor->select("inner");
    EXPECT_EQ(cursor->getInt(), 2);
    cursor->leave();
    EXPECT_EQ(cursor->getBranch(), top);
    cursor->leave();
    EXPECT_EQ(cursor->getBranch(), top) << "the top block has no parent to go to";
}

TEST_F(Cursor, RewindStartsEveryBranchAgain) {
    auto cursor = load("block b { int x 1; int y 2; }; int z 3;");
    cursor->selectNext();
    cursor->enter();
    cursor->selectNext();
    cursor->selectNext();
    cursor->leave();
    cursor->selectNext();
    EXPECT_EQ(cursor->getInt(), 3);
    cursor->getRoot()->rewind();
    cursor->selectNext();
    cursor->enter();
    cursor->selectNext();
    EXPECT_EQ(cursor->getInt(), 1);
}

} // namespace
