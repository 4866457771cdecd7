#include "WavWriter.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int channels = 2;
constexpr int bytesPerSample = 2;
constexpr long riffSizeOffset = 4;
constexpr long dataSizeOffset = 40;
// A RIFF chunk's size field is 32 bits: no more than this fits.
constexpr std::int64_t maxDataBytes = 0xFFFFFFFFll - 36;

std::string header() {
    std::string out = "RIFF";
    put32(out, 0); // filled in by finish
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, WavWriter::rate);
    put32(out, WavWriter::rate * channels * bytesPerSample);
    put16(out, channels * bytesPerSample);
    put16(out, bytesPerSample * 8);
    out += "data";
    put32(out, 0); // filled in by finish
    return out;
}

std::int16_t toSample(float value) {
    return static_cast<std::int16_t>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

} // namespace

WavWriter::WavWriter(const std::filesystem::path& path) : file(path) {
    const std::string start = header();
    file.write(start.data(), start.size());
}

void WavWriter::append(const float* samples, std::size_t count) {
    if ((frames + static_cast<std::int64_t>(count)) * channels * bytesPerSample > maxDataBytes)
        throw std::runtime_error("cannot write " + file.path().string() +
                                 ": longer than a WAV file can hold");
    std::vector<std::uint8_t> bytes(count * channels * bytesPerSample);
    for (std::size_t i = 0; i < count * channels; ++i) {
        const auto value = static_cast<std::uint16_t>(toSample(samples[i]));
        bytes[i * 2] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[i * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    file.write(bytes.data(), bytes.size());
    frames += static_cast<std::int64_t>(count);
}

void WavWriter::finish() {
    const auto dataBytes = static_cast<std::uint32_t>(frames * channels * bytesPerSample);
    std::string size;
    put32(size, 36 + dataBytes);
    file.writeAt(riffSizeOffset, size.data(), size.size());
    size.clear();
    put32(size, dataBytes);
    file.writeAt(dataSizeOffset, size.data(), size.size());
    file.commit();
}
