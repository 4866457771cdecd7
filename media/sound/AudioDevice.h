#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The audio output: an SDL2 device playing interleaved stereo float at a fixed rate. When no
// device opens it falls back to SDL's "dummy" driver, which takes audio at the rate a real device
// would and plays nothing, so that everything timed by the audio still runs on a machine without
// sound.
class AudioDevice {
public:
    // Called on SDL's audio thread for every block the device takes.
    using Feed = std::function<void(float* out, std::size_t frames)>;

    // Opens the device paused. Throws std::runtime_error when not even the fallback opens.
    AudioDevice(int rate, std::size_t blockFrames, Feed feed);
    // Stops the audio thread; no feed call runs after this returns.
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    void start();
    const std::string& driver() const { return driverName; }
    std::size_t blockFrames() const { return block; }
    // Frames still to be heard right after a block has been handed over.
    std::size_t latencyFrames() const;

private:
    static void callback(void* device, std::uint8_t* stream, int bytes);
    bool open(int rate, std::size_t blockFrames);

    Feed feed;
    std::uint32_t id = 0;
    std::size_t block = 0;
    std::string driverName;
};
