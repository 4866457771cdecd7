// Thousands of randomly damaged scripts through the loader: each must end in a tree or a load
// error. Crashes, hangs and leaks show up under the sanitizer build.

#include "ContainerNode.h"
#include "ScriptErrors.h"
#include "ScriptLoader.h"
#include "TempFolder.h"
#include "Writer.h"

#include <array>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

namespace {

const std::array<std::string, 3> seeds = {
    "typedef block DemoEffect { string identifier; int layer; float initTime;\n"
    "    float startTime; float stopTime; array [string] data; array [float] parameters; };\n"
    "typedef block DemoTrigger { string effectId; string triggerId; bool periodic;\n"
    "    float beginTime; float endTime; float delay; array [float] parameters; };\n"
    "DemoEffect fx1 ( Tunnel 1 0.0 0.5 20.0 ( 'a.jpg' \"b\\t.jpg\" ) ( 1.0 0.25 ) );\n"
    "DemoTrigger t1 ( Tunnel Zoom false 4.0 4.0 0.0 ( 1.0 ) ); // end\n",

    "/* every kind */ string s 'two words'; int i -3; float f 2.5e1; char c x; bool b true;\n"
    "file d blob.bin; vector2d v (1 2); vector3d w <1, 2, 3>;\n"
    "block outer { typedef float Seconds; Seconds t 1; block inner { list [int] l { a 1; b 2; };"
    " }; };\n"
    "array [string] names ( x 'y' \"z\" );\n",

    "typedef array [float] Floats; typedef list [int] Counts;\n"
    "typedef block Span { Floats from; block Inner { char c; } in; Counts k; };\n"
    "Span s ( (1 2) ( q ) { a 1; } );\n"
    "include part.scr; block b { include 'PART.SCR'; };\n"
    "array [Floats] rows ((1) (2 3));\n",
};

const std::array<std::string, 36> fragments = {
    "(",  ")",  "{",       "}",       "[",        "]",     "<",    ">",    ";",
    ",",  "\"", "'",       "/",       "*",        "//",    "/*",   "*/",   "\\",
    "\n", " ",  "typedef", "include", "block",    "array", "list", "int",  "x",
    "0",  "-",  "1e999",   "nan",     "part.scr", "m.scr", "%s",   "\xff", std::string(1, '\0')};

std::string mutate(std::string text, std::mt19937& random) {
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (std::size_t edits = 1 + pick(3); edits > 0; --edits) {
        const std::size_t at = pick(text.size() + 1);
        const std::size_t length = std::min<std::size_t>(1 + pick(8), text.size() - at);
        switch (pick(4)) {
        case 0: text.erase(at, length); break;
        case 1: text.insert(at, fragments[pick(fragments.size())]); break;
        case 2: text.insert(at, text.substr(at, length)); break;
        default:
            if (at < text.size())
                text[at] = static_cast<char>(pick(256));
        }
    }
    return text;
}

// Reads a loaded tree through every interface a caller has.
void exercise(DomCursor& cursor) {
    std::ostringstream out;
    writeNode(*cursor.getRoot(), out, 0);
    for (std::size_t i = 0, n = cursor.count(); i < n; ++i) {
        cursor.selectNext();
        if (cursor.getCurrent() && cursor.getCurrent()->asContainer()) {
            cursor.enter();
            cursor.select("identifier");
            cursor.leave();
        }
    }
}

TEST(Mutation, DamagedScriptsEndInATreeOrALoadError) {
    TempFolder folder;
    folder.write("blob.bin", "blob");
    folder.write("part.scr", "int partValue 7; typedef int PartInt;");
    std::mt19937 random(20261207);
    int loaded = 0;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string text = mutate(seeds[round % seeds.size()], random);
        folder.write("m.scr", text);
        try {
            auto cursor = loadScript("m.scr");
            exercise(*cursor);
            ++loaded;
        } catch (const Errors::LoadError&) {
            ++refused;
        } catch (const Errors::DataBaseError&) {
            ++refused;
        } catch (const std::exception& error) {
            ADD_FAILURE() << "round " << round << ": " << error.what() << "\n" << text;
        }
    }
    // Both outcomes must be common, or the mutations test nothing.
    EXPECT_GT(loaded, 200) << refused << " refused";
    EXPECT_GT(refused, 200) << loaded << " loaded";
}

} // namespace
