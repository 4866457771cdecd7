// Thousands of randomly damaged scripts through the loader: each must end in a tree or a load
// error. Crashes, hangs and leaks show up under the sanitizer build. Then the shapes that cost
// the most per byte of script (includes that fan out, periodic triggers that repeat many
// numbers), each of which must be loaded or refused exactly where the loader's counts say.

#include "ContainerNode.h"
#include "DemoSystem.h"
#include "ParseContext.h"
#include "RecordingEffect.h"
#include "ScriptErrors.h"
#include "ScriptLoader.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TimelineLoader.h"
#include "Writer.h"

#include <algorithm>
#include <array>
#include <cmath>
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

std::string loadError(const std::string& fileName) {
    try {
        loadScript(fileName);
    } catch (const Errors::LoadError& error) {
        return error.getMessage();
    }
    return "(loaded)";
}

TEST(Mutation, IncludeFanOutStopsAtTheDirectiveCount) {
    TempFolder folder;
    std::mt19937 random(17);
    for (int round = 0; round < 40; ++round) {
        // `depth` files, each including the next `width` times; the last holds one value.
        const int depth = std::uniform_int_distribution<int>(1, 24)(random);
        const int width = std::uniform_int_distribution<int>(1, 4)(random);
        std::size_t directives = 0;
        std::size_t level = 1;
        for (int i = 0; i < depth; ++i) {
            std::string text;
            if (i + 1 < depth) {
                for (int k = 0; k < width; ++k)
                    text += "include f" + std::to_string(i + 1) + ".scr;";
                level = std::min<std::size_t>(level * width, ParseContext::maxIncludes + 1);
                directives =
                    std::min<std::size_t>(directives + level, ParseContext::maxIncludes + 1);
            } else {
                text = "int x 1;";
            }
            folder.write("f" + std::to_string(i) + ".scr", text);
        }
        const std::string error = loadError("f0.scr");
        SCOPED_TRACE("depth " + std::to_string(depth) + ", width " + std::to_string(width));
        if (directives <= ParseContext::maxIncludes)
            EXPECT_EQ(error, "(loaded)");
        else
            EXPECT_EQ(error.rfind("Error : too many includes [f", 0), 0u) << error;
    }
}

TEST(Mutation, PeriodicPayloadsStopAtTheTimelineCounts) {
    TempFolder folder;
    DemoSystem demo;
    std::vector<std::string> log;
    RecordingEffect effect("Beat", log);
    std::mt19937 random(1);
    for (int round = 0; round < 30; ++round) {
        // Repeats and numbers on a log scale, so that both sides of each bound come up.
        const auto logScale = [&](double most) {
            return static_cast<std::size_t>(
                std::exp(std::uniform_real_distribution<double>(0.0, std::log(most))(random)));
        };
        const std::size_t repeats = logScale(3e6);
        const std::size_t numbers = logScale(4e3);
        std::string payload;
        for (std::size_t i = 0; i < numbers; ++i)
            payload += "0.5 ";
        const std::string records =
            recordTypes +
            triggerRecord("pulse", "Beat", "Hit", true, "0", std::to_string(repeats), "1", payload);
        folder.write("demoscript.scr", records);
        std::string error = "(loaded)";
        try {
            demo.loadTimeline("demoscript.scr");
        } catch (const Errors::LoadError& refusal) {
            error = refusal.getMessage();
        }
        SCOPED_TRACE(std::to_string(repeats) + " repeats of " + std::to_string(numbers));
        if (repeats > TimelineLoader::maxEvents) {
            EXPECT_EQ(error, "Error : trigger [Hit] for [Beat] repeats without end");
        } else if (repeats * numbers > TimelineLoader::maxTriggerNumbers) {
            EXPECT_EQ(error, "Error : timeline too large in record [pulse]");
        } else {
            ASSERT_EQ(error, "(loaded)");
            ASSERT_EQ(demo.getEvents().size(), std::max<std::size_t>(repeats, 1));
            // One stored copy of the numbers, whatever the number of repeats.
            EXPECT_EQ(demo.getEvents().front().message.use_count(),
                      static_cast<long>(demo.getEvents().size()));
        }
    }
}

} // namespace
