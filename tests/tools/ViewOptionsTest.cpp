#include "ViewOptions.h"

#include <cmath>
#include <stdexcept>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

TEST(ViewOptions, ReadsTimeLoopAndScript) {
    const ViewOptions plain = parseViewOptions({});
    EXPECT_EQ(plain.script, "demoscript.scr");
    EXPECT_EQ(plain.at, 0.0);
    EXPECT_FALSE(plain.loopStart);

    const ViewOptions all = parseViewOptions({"--at", "5.5", "--loop", "1", "2.5", "x/d.scr"});
    EXPECT_EQ(all.at, 5.5);
    EXPECT_EQ(*all.loopStart, 1.0);
    EXPECT_EQ(*all.loopEnd, 2.5);
    EXPECT_EQ(all.script, "x/d.scr");
}

TEST(ViewOptions, RefusesBadCommandLines) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--at"},
                                                                       {"--at", "five"},
                                                                       {"--at", "-1"},
                                                                       {"--at", "nan"},
                                                                       {"--at", "1e9"},
                                                                       {"--at", "2s"},
                                                                       {"--loop", "3", "2"},
                                                                       {"--loop", "1"},
                                                                       {"--fast"},
                                                                       {"a", "b"}})
        EXPECT_THROW(parseViewOptions(arguments), std::invalid_argument) << arguments[0];
}

// What a restart hands the fresh process must read back as the same run at the new time.
TEST(ViewOptions, RestartKeepsScriptLoopAndPause) {
    ViewOptions options = parseViewOptions({"--loop", "1", "3", "d.scr"});
    options.script = "-d.scr";
    EXPECT_THAT(restartArguments(options, 2.25),
                ElementsAre("--restarted", "--at", "2.250", "--size", "640x480", "--loop", "1.000",
                            "3.000", "--", "-d.scr"));
    options.paused = true;
    const ViewOptions again = parseViewOptions(restartArguments(options, 2.25));
    EXPECT_TRUE(again.restarted);
    EXPECT_TRUE(again.paused);
    EXPECT_EQ(again.at, 2.25);
    EXPECT_EQ(*again.loopEnd, 3.0);
    EXPECT_EQ(again.script, "-d.scr");
}

TEST(ViewOptions, RestartAtATimeOutsideWhatAtTakesStillStarts) {
    for (const double at : {-0.25, 1e12, std::nan("")})
        EXPECT_NO_THROW(parseViewOptions(restartArguments(ViewOptions{}, at))) << at;
}
