#include "TestMedia.h"

#include "LittleEndian.h"
#include "MusicEncoder.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace {

constexpr int rate = 44100;

MusicFormat musicFormat(ToneFormat format) {
    switch (format) {
    case ToneFormat::Ogg: return MusicFormat::Ogg;
    case ToneFormat::Mp3: return MusicFormat::Mp3;
    case ToneFormat::Mp2: return MusicFormat::Mp2;
    case ToneFormat::Wma: return MusicFormat::Wma;
    }
    throw std::logic_error("unknown tone format");
}

void putBig32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void putText(std::string& out, const std::string& text, std::size_t size) {
    std::string field = text.substr(0, size);
    field.resize(size, '\0');
    out += field;
}

void overwrite32(std::string& file, std::size_t at, std::uint32_t value) {
    std::string bytes;
    put32(bytes, value);
    file.replace(at, 4, bytes);
}

// The checksum of an Ogg page: CRC-32 with polynomial 0x04C11DB7, most significant bit first,
// starting from 0, over the page with its checksum field zeroed.
std::uint32_t oggChecksum(const std::string& page) {
    std::uint32_t crc = 0;
    for (char c : page) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

std::string withOggRate(std::string file, std::uint32_t rate) {
    // The first page holds the identification packet alone: "\x01vorbis", the version (4 bytes),
    // the channels (1), then the rate.
    const std::size_t header = file.find("\x01vorbis");
    if (file.compare(0, 4, "OggS") != 0 || header == std::string::npos || file.size() < 27)
        throw std::runtime_error("no Vorbis identification header");
    overwrite32(file, header + 12, rate);
    const auto segments = static_cast<unsigned char>(file[26]);
    std::size_t pageSize = 27 + segments;
    for (std::size_t i = 0; i < segments; ++i)
        pageSize += static_cast<unsigned char>(file.at(27 + i));
    if (header >= pageSize)
        throw std::runtime_error("the Vorbis identification header is not on the first page");
    overwrite32(file, 22, 0);
    overwrite32(file, 22, oggChecksum(file.substr(0, pageSize)));
    return file;
}

std::string withAsfRate(std::string file, std::uint32_t rate) {
    // The Stream Properties Object: its GUID, size (8), stream type (16), error correction type
    // (16), time offset (8), two lengths (4 + 4), flags (2) and 4 reserved bytes come before its
    // wave format, whose format tag and channel count (2 + 2) come before the rate.
    const std::string streamProperties(
        "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65", 16);
    const std::size_t object = file.find(streamProperties);
    if (object == std::string::npos || object + 86 > file.size())
        throw std::runtime_error("no ASF stream properties");
    overwrite32(file, object + 82, rate);
    return file;
}

void putVariableLength(std::string& out, std::uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    }
    out += bytes;
}

} // namespace

std::string toneExtension(ToneFormat format) {
    switch (format) {
    case ToneFormat::Ogg: return "ogg";
    case ToneFormat::Mp3: return "mp3";
    case ToneFormat::Mp2: return "mp2";
    case ToneFormat::Wma: return "wma";
    }
    return "";
}

std::string withDeclaredRate(std::string file, ToneFormat format, std::uint32_t rate) {
    switch (format) {
    case ToneFormat::Ogg: return withOggRate(std::move(file), rate);
    case ToneFormat::Wma: return withAsfRate(std::move(file), rate);
    default: throw std::logic_error("only Ogg and WMA headers declare a rate to patch");
    }
}

void encodeTone(const std::filesystem::path& path, ToneFormat format, double seconds) {
    encodeMusic(path, musicFormat(format), static_cast<std::int64_t>(seconds * rate),
                [](std::int64_t first, int count, float* out) {
                    for (int i = 0; i < count; ++i) {
                        const double t = static_cast<double>(first + i) / rate;
                        const auto value =
                            static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * t));
                        out[i * 2] = value;
                        out[i * 2 + 1] = value;
                    }
                });
}

std::string xmSong(int rows, int orders) {
    const int channels = 2;
    std::string xm = "Extended Module: ";
    putText(xm, "reelplay test", 20);
    xm += '\x1A';
    putText(xm, "reelplay", 20);
    put16(xm, 0x0104);
    put32(xm, 276);
    put16(xm, static_cast<unsigned>(orders));
    put16(xm, 0);
    put16(xm, channels);
    put16(xm, 1);
    put16(xm, 1);
    put16(xm, 1); // linear frequencies
    put16(xm, 6);
    put16(xm, 125);
    xm += std::string(256, '\0'); // every order plays pattern 0

    // One pattern: a note on the first row of each quarter, alternating C-4 and G-4.
    std::string pattern;
    for (int row = 0; row < rows; ++row) {
        for (int channel = 0; channel < channels; ++channel) {
            if (channel == 0 && row % 4 == 0) {
                pattern += '\x83'; // note and instrument follow
                pattern += static_cast<char>(row % 8 == 0 ? 49 : 56);
                pattern += '\x01';
            } else {
                pattern += '\x80'; // empty
            }
        }
    }
    put32(xm, 9);
    xm += '\0';
    put16(xm, static_cast<unsigned>(rows));
    put16(xm, static_cast<unsigned>(pattern.size()));
    xm += pattern;

    // One instrument with one sample.
    std::string instrument;
    put32(instrument, 263);
    putText(instrument, "sine", 22);
    instrument += '\0';
    put16(instrument, 1);
    put32(instrument, 40);
    instrument.resize(263, '\0'); // all notes to sample 0, no envelopes
    xm += instrument;

    const int sampleLength = 32;
    put32(xm, sampleLength);
    put32(xm, 0);
    put32(xm, sampleLength);
    xm += static_cast<char>(48); // volume
    xm += '\0';                  // finetune
    xm += '\x01';                // forward loop, 8-bit
    xm += static_cast<char>(128);
    xm += '\0'; // relative note
    xm += '\0';
    putText(xm, "sine", 22);
    int previous = 0;
    for (int i = 0; i < sampleLength; ++i) {
        int value = static_cast<int>(
            std::lround(100.0 * std::sin(2.0 * std::numbers::pi * i / sampleLength)));
        xm += static_cast<char>((value - previous) & 0xFF); // stored as deltas
        previous = value;
    }
    return xm;
}

std::string midiSong(double seconds) {
    const int division = 96; // ticks per quarter note; 500000 us per quarter: 192 ticks a second
    std::string track;
    putVariableLength(track, 0);
    track += "\xFF\x51\x03\x07\xA1\x20"; // tempo 500000
    putVariableLength(track, 0);
    track += '\xC0';
    track += '\0'; // piano
    const int notes[] = {60, 64, 67, 72};
    const auto ticksPerNote = static_cast<std::uint32_t>(192 * 0.25);
    const int count = std::max(1, static_cast<int>(seconds / 0.25));
    for (int i = 0; i < count; ++i) {
        char note = static_cast<char>(notes[i % 4]);
        putVariableLength(track, 0);
        track += '\x90';
        track += note;
        track += '\x64';
        putVariableLength(track, ticksPerNote);
        track += '\x80';
        track += note;
        track += '\x40';
    }
    putVariableLength(track, 0);
    track += "\xFF\x2F"; // end of track
    track += '\0';

    std::string midi = "MThd";
    putBig32(midi, 6);
    midi += std::string("\x00\x00\x00\x01", 4); // format 0, one track
    midi += static_cast<char>(division >> 8);
    midi += static_cast<char>(division & 0xFF);
    midi += "MTrk";
    putBig32(midi, static_cast<std::uint32_t>(track.size()));
    return midi + track;
}

std::string rmiSong(const std::string& midi) {
    std::string data = "data";
    put32(data, static_cast<std::uint32_t>(midi.size()));
    data += midi;
    if (midi.size() % 2) {
        data += '\0';
    }
    std::string riff = "RIFF";
    put32(riff, static_cast<std::uint32_t>(4 + data.size()));
    return riff + "RMID" + data;
}
