#include "FileWatch.h"

#include "TempFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

// A change counts only once a second look finds the files as the first found them.
TEST(FileWatch, ReportsAChangeOnceItHoldsStill) {
    TempFolder folder;
    folder.write("demoscript.scr", "first");
    FileWatch watch;
    watch.watch({folder.path() / "demoscript.scr", folder.path() / "absent.jpg"});
    EXPECT_FALSE(watch.settledChange());

    // Truncated and then written, as an editor saves; looked at in between.
    folder.write("demoscript.scr", "");
    EXPECT_FALSE(watch.settledChange());
    folder.write("demoscript.scr", "second text");
    EXPECT_FALSE(watch.settledChange());
    EXPECT_TRUE(watch.settledChange());

    // Still changing at the second look: waited for; a file gone counts once it stays gone.
    watch.watch({folder.path() / "demoscript.scr"});
    folder.write("demoscript.scr", "third");
    EXPECT_FALSE(watch.settledChange());
    std::filesystem::remove(folder.path() / "demoscript.scr");
    EXPECT_FALSE(watch.settledChange());
    EXPECT_TRUE(watch.settledChange());
}

TEST(FileWatch, SeesAFileThatAppears) {
    TempFolder folder;
    FileWatch watch;
    watch.watch({folder.path() / "music.ogg"});
    folder.write("music.ogg", "x");
    EXPECT_FALSE(watch.settledChange());
    EXPECT_TRUE(watch.settledChange());
}
