#pragma once

#include <cstdint>

class VolumeGroup;

// Anything that sounds, heard through its volume group. Joins the group when made and leaves it
// when destroyed; its own volume starts at 255.
class Sound {
public:
    // Sends the own volume through `setVolume`, which scales it by the group's master.
    virtual void applyVolume();
    virtual void resume() = 0;
    virtual ~Sound();
    virtual void setVolume(std::uint8_t volume) = 0;
    virtual std::uint8_t volume() const;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

protected:
    explicit Sound(VolumeGroup& group);

    VolumeGroup& group;
    std::uint8_t ownVolume = 255;
};
