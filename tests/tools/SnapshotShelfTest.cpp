#include "SnapshotShelf.h"

#include <gtest/gtest.h>

namespace {

// Stands for the demo's snapshot: what the shelf asks of one is its size.
struct Sized {
    int id = 0;
    std::size_t bytes = 100;
    std::size_t byteSize() const { return bytes; }
};

} // namespace

// A seek finds the snapshot at or before its target; an edit drops those after its time.
TEST(SnapshotShelf, FindsTheLatestAtOrBeforeAndDropsWhatFollowsAnEdit) {
    SnapshotShelf<Sized> shelf(1 << 20);
    EXPECT_EQ(shelf.latestAtOrBefore(5.0), nullptr);
    for (int i = 0; i <= 5; ++i)
        shelf.keep(2.0 * i, Sized{i});
    double at = -1.0;
    ASSERT_NE(shelf.latestAtOrBefore(5.0, &at), nullptr);
    EXPECT_EQ(shelf.latestAtOrBefore(5.0)->id, 2);
    EXPECT_EQ(at, 4.0);
    EXPECT_EQ(shelf.latestAtOrBefore(4.0)->id, 2);
    EXPECT_EQ(shelf.latestAtOrBefore(0.0)->id, 0);
    EXPECT_EQ(shelf.latestAtOrBefore(100.0)->id, 5);
    EXPECT_EQ(shelf.latestAtOrBefore(-0.5), nullptr);

    shelf.dropAfter(5.0);
    EXPECT_EQ(shelf.size(), 3u);
    EXPECT_EQ(*shelf.latestTime(), 4.0);
    EXPECT_EQ(shelf.byteSize(), 300u);
    // Kept again at a time it has: the new one replaces the old, counted once.
    shelf.keep(4.0, Sized{9});
    EXPECT_EQ(shelf.latestAtOrBefore(4.5)->id, 9);
    EXPECT_EQ(shelf.byteSize(), 300u);
}

// Past its budget it keeps fewer, further apart, never losing the first.
TEST(SnapshotShelf, StaysWithinItsBudget) {
    SnapshotShelf<Sized> shelf(1000);
    for (int i = 0; i < 100; ++i)
        shelf.keep(i, Sized{i});
    EXPECT_LE(shelf.byteSize(), 1000u);
    EXPECT_GE(shelf.size(), 5u);
    EXPECT_EQ(shelf.latestAtOrBefore(0.0)->id, 0);
    // Still one near the end, so a seek back there replays little.
    EXPECT_GE(*shelf.latestTime(), 90.0);
}
