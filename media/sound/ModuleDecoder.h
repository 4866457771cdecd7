#pragma once

#include "AudioSource.h"

#include <memory>
#include <vector>

namespace openmpt {
class module;
}

// A tracker module (MOD, XM, IT and the other kinds libopenmpt reads) played once through.
class ModuleDecoder : public AudioSource {
public:
    // Throws std::runtime_error with the reason when the bytes are no module.
    ModuleDecoder(const std::vector<char>& bytes, int rate);
    ~ModuleDecoder() override;
    ModuleDecoder(const ModuleDecoder&) = delete;
    ModuleDecoder& operator=(const ModuleDecoder&) = delete;

    std::size_t render(float* out, std::size_t frames) override;
    bool rewind() override;

private:
    std::unique_ptr<openmpt::module> module;
    int rate;
};
