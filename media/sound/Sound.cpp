#include "Sound.h"

#include "VolumeGroup.h"

Sound::Sound(VolumeGroup& group) : group(group) {
    group.add(this);
}

Sound::~Sound() {
    group.remove(this);
}

void Sound::applyVolume() {
    setVolume(volume());
}

std::uint8_t Sound::volume() const {
    return ownVolume;
}
