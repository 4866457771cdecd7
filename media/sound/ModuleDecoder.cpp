#include "ModuleDecoder.h"

#include <libopenmpt/libopenmpt.hpp>
#include <ostream>
#include <stdexcept>

namespace {

// The media side reports nothing on its own; loader warnings go nowhere.
std::ostream& silentLog() {
    static std::ostream log(nullptr);
    return log;
}

} // namespace

ModuleDecoder::ModuleDecoder(const std::vector<char>& bytes, int rate) : rate(rate) {
    try {
        module = std::make_unique<openmpt::module>(bytes, silentLog());
    } catch (const openmpt::exception& error) {
        throw std::runtime_error(std::string("not a module (") + error.what() + ")");
    }
    // Once through; a module that jumps back to its start ends there instead of looping.
    module->set_repeat_count(0);
}

ModuleDecoder::~ModuleDecoder() = default;

std::size_t ModuleDecoder::render(float* out, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
        std::size_t made = module->read_interleaved_stereo(rate, frames - done, out + done * 2);
        if (made == 0) {
            break;
        }
        done += made;
    }
    return done;
}

bool ModuleDecoder::rewind() {
    module->set_position_seconds(0.0);
    return true;
}
