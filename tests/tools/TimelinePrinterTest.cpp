#include "TimelinePrinter.h"

#include "DemoSystem.h"
#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TempFolder.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

TEST(TimelinePrinter, WritesNumbersInTheirShortestExactForm) {
    EXPECT_EQ(formatTime(10), "10");
    EXPECT_EQ(formatTime(12.5), "12.5");
    EXPECT_EQ(formatTime(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(formatTime(-0.0), "-0");
    EXPECT_EQ(formatFloat(0.1f), "0.1");
    EXPECT_EQ(formatFloat(1.0f), "1");
    EXPECT_EQ(formatFloat(-3.5f), "-3.5");
    EXPECT_EQ(formatFloat(static_cast<float>(0.30000000000000004)), "0.3");
    EXPECT_EQ(formatFloat(1e-7f), "1e-07");
}

TEST(TimelinePrinter, QuotesStringsWithEscapes) {
    EXPECT_EQ(quoted(""), "\"\"");
    EXPECT_EQ(quoted("a\\b\"c"), "\"a\\\\b\\\"c\"");
    EXPECT_EQ(quoted("\n\t\r"), "\"\\n\\t\\r\"");
    EXPECT_EQ(quoted(std::string("\x01\x1f\x7f\xe9 ok", 7)), "\"\\x01\\x1f\x7f\xe9 ok\"");
    EXPECT_EQ(quoted(std::string(1, '\0')), "\"\\x00\"");
}

TEST(TimelinePrinter, ListsEveryEventInTimelineOrder) {
    TempFolder folder;
    DemoSystem demo;
    std::vector<std::string> log;
    RecordingEffect fader("Fader", log);
    folder.write("demoscript.scr", recordTypes +
                                       effectRecord("f", "Fader", 10, "0", "0.5", "30",
                                                    "\"C:\\\\pics\\\\a b.jpg\" x", "0.1 -3.5") +
                                       triggerRecord("t", "Fader", "\"Fade\\tIn\"", true, "0",
                                                     "0.3", "0.1", "1 0 -0.01") +
                                       effectRecord("g", "Fader", -2, "1e300", "1e300", "1e300"));
    demo.loadTimeline("demoscript.scr");
    std::ostringstream out;
    printTimeline(demo.getEvents(), out);
    EXPECT_EQ(
        out.str(),
        "0 Init Fader layer=10 parameters=[0.1, -3.5] data=[\"C:\\\\pics\\\\a b.jpg\", \"x\"]\n"
        "0 Trigger Fader \"Fade\\tIn\" parameters=[1, 0, -0.01]\n"
        "0.1 Trigger Fader \"Fade\\tIn\" parameters=[1, 0, -0.01]\n"
        "0.2 Trigger Fader \"Fade\\tIn\" parameters=[1, 0, -0.01]\n"
        "0.5 Start Fader\n"
        "30 Stop Fader\n"
        "1e+300 Init Fader layer=-2 parameters=[] data=[]\n"
        "1e+300 Start Fader\n"
        "1e+300 Stop Fader\n");
}

} // namespace
