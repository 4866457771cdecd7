#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Sound;

// Sounds whose volumes are heard through one master volume: changing the master re-sends every
// member's volume at once, which is how the music fades. Members join and leave by themselves
// (Sound's constructor and destructor); the group never owns them.
class VolumeGroup {
public:
    // The name only documents the group at its definition; it is not kept.
    VolumeGroup(const std::string& name, std::uint8_t master);
    ~VolumeGroup();
    VolumeGroup(const VolumeGroup&) = delete;
    VolumeGroup& operator=(const VolumeGroup&) = delete;

    // Stores the master, then applies every member's volume, first member first.
    void setMasterVolume(std::uint8_t volume);
    std::uint8_t masterVolume() const { return master; }
    // What a member of volume `volume` is heard at: (master x volume) >> 8, so 0..254.
    int scaleVolume(std::uint8_t volume) const;

    void add(Sound* sound);
    // Removes every entry for the sound.
    void remove(Sound* sound);
    const std::vector<Sound*>& members() const { return sounds; }
    std::size_t count() const { return sounds.size(); }

private:
    std::uint8_t master;
    std::vector<Sound*> sounds;
};
