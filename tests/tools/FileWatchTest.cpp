#include "FileWatch.h"

#include "TempFolder.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// Asks until the watch reports a change; the bound only guards against a watch that never does.
bool reportsChange(FileWatch& watch) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (watch.settledChange())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

// Asks for a while, long past the settling time, and says whether any answer was yes.
bool reportsAnyChangeWithin(FileWatch& watch, std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    bool any = false;
    while (std::chrono::steady_clock::now() < end) {
        any = watch.settledChange() || any;
        std::this_thread::sleep_for(5ms);
    }
    return any;
}

} // namespace

// An editor's save truncates, then writes: the change counts once, after the second write.
TEST(FileWatch, ReportsASaveOnceItHoldsStill) {
    TempFolder folder;
    folder.write("demoscript.scr", "first");
    FileWatch watch(1000ms);
    watch.watch({folder.path() / "demoscript.scr", folder.path() / "absent.jpg"});
    EXPECT_FALSE(watch.settledChange());

    folder.write("demoscript.scr", "");
    EXPECT_FALSE(watch.settledChange());
    folder.write("demoscript.scr", "second text");
    EXPECT_FALSE(watch.settledChange());
    EXPECT_TRUE(reportsChange(watch));
    // Told once: the same files are not a new change.
    EXPECT_FALSE(watch.settledChange());
}

// A save by rename (written beside, then moved over the old file), a file gone, a file that
// appears: all seen; other files in the folder are not the demo's business.
TEST(FileWatch, SeesRenamesRemovalsAndNewFilesButNotOthers) {
    TempFolder folder;
    folder.write("demoscript.scr", "first");
    FileWatch watch(10ms);
    const std::vector<std::filesystem::path> files{folder.path() / "demoscript.scr",
                                                   folder.path() / "music.ogg"};
    watch.watch(files);

    folder.write("notes.txt", "not the demo's");
    EXPECT_FALSE(reportsAnyChangeWithin(watch, 300ms));

    folder.write("demoscript.scr.new", "second");
    std::filesystem::rename(folder.path() / "demoscript.scr.new", folder.path() / "demoscript.scr");
    EXPECT_TRUE(reportsChange(watch));

    watch.watch(files);
    folder.write("music.ogg", "x");
    EXPECT_TRUE(reportsChange(watch));

    watch.watch(files);
    std::filesystem::remove(folder.path() / "demoscript.scr");
    EXPECT_TRUE(reportsChange(watch));
}

// A file whose folder is not there yet is looked for now and then.
TEST(FileWatch, SeesAFileInAFolderThatAppears) {
    TempFolder folder;
    FileWatch watch(10ms);
    watch.watch({folder.path() / "pictures" / "sky.jpg"});
    EXPECT_FALSE(watch.settledChange());
    folder.write("pictures/sky.jpg", "x");
    EXPECT_TRUE(reportsChange(watch));
}

// The viewer runs in the script's folder and names its files from there.
TEST(FileWatch, SeesFilesNamedFromTheWorkingFolder) {
    TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    FileWatch watch(10ms);
    watch.watch({"more.scr"});
    folder.write("more.scr", "x");
    EXPECT_TRUE(reportsChange(watch));
    std::filesystem::current_path(previous);
}
