#include "VolumeGroup.h"

#include "Sound.h"

#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Records what the group sends it, in the order sent.
class RecordingSound : public Sound {
public:
    RecordingSound(VolumeGroup& group, std::vector<std::pair<int, int>>& log, int id)
        : Sound(group), log(log), id(id) {}
    void resume() override {}
    void setVolume(std::uint8_t volume) override {
        ownVolume = volume;
        log.emplace_back(id, group.scaleVolume(volume));
    }
    void play() override {}
    void pause() override {}
    void stop() override {}

private:
    std::vector<std::pair<int, int>>& log;
    int id;
};

TEST(VolumeGroup, ScalesByTheMasterWithAShiftOfEight) {
    VolumeGroup group("Music", 255);
    EXPECT_EQ(group.masterVolume(), 255);
    EXPECT_EQ(group.scaleVolume(255), 254);
    EXPECT_EQ(group.scaleVolume(0), 0);
    EXPECT_EQ(group.scaleVolume(1), 0);
    group.setMasterVolume(200);
    EXPECT_EQ(group.scaleVolume(255), 199);
    EXPECT_EQ(group.scaleVolume(128), 100);
    group.setMasterVolume(0);
    EXPECT_EQ(group.scaleVolume(255), 0);
    group.setMasterVolume(1);
    EXPECT_EQ(group.scaleVolume(255), 0);
    group.setMasterVolume(128);
    EXPECT_EQ(group.scaleVolume(128), 64);
}

TEST(VolumeGroup, MembersJoinInOrderAndLeaveWhenDestroyed) {
    VolumeGroup group("Music", 255);
    std::vector<std::pair<int, int>> log;
    auto first = std::make_unique<RecordingSound>(group, log, 1);
    auto second = std::make_unique<RecordingSound>(group, log, 2);
    auto third = std::make_unique<RecordingSound>(group, log, 3);
    ASSERT_EQ(group.count(), 3u);
    EXPECT_EQ(group.members()[0], first.get());
    EXPECT_EQ(group.members()[2], third.get());

    second->setVolume(100);
    log.clear();
    group.setMasterVolume(200);
    // Every member, first to last, at its own volume scaled by the new master.
    EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{1, 199}, {2, 78}, {3, 199}}));

    second.reset();
    EXPECT_EQ(group.count(), 2u);
    EXPECT_EQ(group.members()[1], third.get());
    log.clear();
    group.setMasterVolume(0);
    EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{1, 0}, {3, 0}}));
}

TEST(VolumeGroup, ASoundListedTwiceLeavesEntirely) {
    VolumeGroup group("Music", 255);
    std::vector<std::pair<int, int>> log;
    auto sound = std::make_unique<RecordingSound>(group, log, 1);
    group.add(sound.get());
    ASSERT_EQ(group.count(), 2u);
    sound.reset();
    EXPECT_EQ(group.count(), 0u);
}

TEST(VolumeGroup, ApplyVolumeSendsTheOwnVolume) {
    VolumeGroup group("Music", 128);
    std::vector<std::pair<int, int>> log;
    RecordingSound sound(group, log, 7);
    EXPECT_EQ(sound.volume(), 255);
    sound.applyVolume();
    sound.setVolume(10);
    log.clear();
    sound.applyVolume();
    EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{7, 5}}));
}

} // namespace
