#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// Music files made on the spot for tests and benchmarks, so that no test depends on media taken
// from elsewhere.

enum class ToneFormat { Ogg, Mp3, Mp2, Wma };

// A stereo sine tone of `seconds` at 44100 Hz, encoded with libavcodec in the container of the
// format (Ogg Vorbis, MPEG layer 3, MPEG layer 2, ASF with WMA version 2). Throws on failure.
void encodeTone(const std::filesystem::path& path, ToneFormat format, double seconds);
// The usual extension of the format, without the dot: "ogg", "mp3", "mp2", "wma".
std::string toneExtension(ToneFormat format);
// An Ogg or WMA file whose header declares `rate` instead of its own sample rate: the Vorbis
// identification header, its Ogg page's checksum made anew; or the ASF stream's wave format.
// Throws for the other formats, or when the header is not found.
std::string withDeclaredRate(std::string file, ToneFormat format, std::uint32_t rate);

// An XM module written byte by byte: one instrument with a looped 8-bit sine, two channels, one
// pattern of `rows` rows played `orders` times at speed 6 and 125 BPM (0.12 s a row).
std::string xmSong(int rows, int orders);
// A standard MIDI file (format 0) of a few piano notes, about `seconds` long.
std::string midiSong(double seconds);
// The RIFF "RMID" wrapping of a standard MIDI file.
std::string rmiSong(const std::string& midi);
