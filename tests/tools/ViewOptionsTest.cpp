#include "ViewOptions.h"

#include <cmath>
#include <stdexcept>

#include <gmock/gmock.h>

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

// The options tests and benches use, with --size and --clock.
TEST(ViewOptions, ReadsSizeClockAndWhatTestsAsk) {
    const ViewOptions plain = parseViewOptions({});
    EXPECT_EQ(plain.width, 640);
    EXPECT_EQ(plain.height, 480);
    EXPECT_EQ(plain.clock, ClockKind::Music);
    EXPECT_FALSE(plain.paused);
    EXPECT_EQ(plain.snapshotEvery, 2.0);

    const ViewOptions all = parseViewOptions(
        {"--size", "1000x500", "--clock", "free", "--paused", "--snapshot-every", "0", "d.scr"});
    EXPECT_EQ(all.width, 1000);
    EXPECT_EQ(all.height, 500);
    EXPECT_EQ(all.clock, ClockKind::Free);
    EXPECT_TRUE(all.paused);
    EXPECT_EQ(all.snapshotEvery, 0.0);
    EXPECT_EQ(parseViewOptions({"--clock", "music"}).clock, ClockKind::Music);

    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--size", "640"},
                                                                       {"--size", "8x8"},
                                                                       {"--size", "9000x480"},
                                                                       {"--clock", "wall"},
                                                                       {"--snapshot-every", "-1"}})
        EXPECT_THROW(parseViewOptions(arguments), std::invalid_argument) << arguments[1];
}
