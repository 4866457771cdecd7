#include "AudioDevice.h"

#include "ProgramName.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace {

void sayNothing(const char*, int, const char*, int, const char*, ...) {}

// ALSA writes every error of its own on stderr unless told otherwise: on a machine without a
// sound card, opening SDL's ALSA device prints eight lines of its configuration's failures. The
// handler belongs to the one ALSA library of the process, the one SDL uses too; what went wrong
// still reaches SDL's error, and so the line below.
void quietAlsa() {
    static const bool quiet = snd_lib_error_set_handler(sayNothing) == 0;
    (void)quiet;
}

} // namespace

AudioDevice::AudioDevice(int rate, std::size_t blockFrames, Feed feed) : feed(std::move(feed)) {
    quietAlsa();
    if (open(rate, blockFrames)) {
        return;
    }
    std::string reason = SDL_GetError();
    // No usable device: SDL's dummy driver consumes audio in real time and always opens.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool opened = open(rate, blockFrames);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!opened) {
        throw std::runtime_error("no audio output (" + reason + "; " + SDL_GetError() + ")");
    }
    // Said once a process: a player started again and again in one process says it once.
    static bool told = false;
    if (!std::exchange(told, true))
        std::cerr << programName() << ": no sound device (" << reason
                  << "); the music plays in silence" << std::endl;
}

bool AudioDevice::open(int rate, std::size_t blockFrames) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(blockFrames);
    wanted.callback = &AudioDevice::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device needs, the mixer stays at its rate.
    id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    block = obtained.samples;
    const char* name = SDL_GetCurrentAudioDriver();
    driverName = name ? name : "";
    return true;
}

AudioDevice::~AudioDevice() {
    SDL_CloseAudioDevice(id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::start() {
    SDL_PauseAudioDevice(id, 0);
}

std::size_t AudioDevice::latencyFrames() const {
    // The dummy driver plays a block in the time after taking it. A real device has the block
    // before it still queued as well.
    return driverName == "dummy" ? block : 2 * block;
}

void AudioDevice::callback(void* device, std::uint8_t* stream, int bytes) {
    auto* self = static_cast<AudioDevice*>(device);
    self->feed(reinterpret_cast<float*>(stream),
               static_cast<std::size_t>(bytes) / (2 * sizeof(float)));
}
