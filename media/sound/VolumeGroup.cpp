#include "VolumeGroup.h"

#include "Sound.h"

#include <algorithm>

VolumeGroup::VolumeGroup(const std::string&, std::uint8_t master) : master(master) {}

VolumeGroup::~VolumeGroup() {
    sounds.clear();
}

void VolumeGroup::setMasterVolume(std::uint8_t volume) {
    master = volume;
    // By index: a member's volume call must not be able to invalidate the walk.
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        sounds[i]->applyVolume();
    }
}

int VolumeGroup::scaleVolume(std::uint8_t volume) const {
    return (static_cast<int>(master) * static_cast<int>(volume)) >> 8;
}

void VolumeGroup::add(Sound* sound) {
    sounds.push_back(sound);
}

void VolumeGroup::remove(Sound* sound) {
    std::erase(sounds, sound);
}
