// makemusic: writes the bundled demo's music, a piece synthesised here note by note and encoded
// to Ogg Vorbis, so that the demo plays music of its own.
//
//   makemusic OUTPUT.ogg
//
// 120 beats a minute in A minor: a beat is 0.5 s, a bar (four beats) 2 s, and the chords Am, F,
// C, G come round every four bars (8 s), so every cue below falls on a round number of seconds.
// Scripts time their scenes by this table (bar b starts at 2 b seconds):
//
//   section   bars     seconds    what plays
//   intro     0..7     0..16      the pad alone; a soft eighth-note arpeggio from bar 4 (8 s)
//   build-up  8..23    16..48     bass and kick drum on every beat from bar 8; hi-hats from
//                                 bar 12 (24 s); sixteenth arpeggio from bar 16 (32 s); a snare
//                                 roll and a noise riser in bars 22..23 (44..48 s)
//   drop      24..39   48..80     everything: kick, snare on beats 2 and 4, hats, driving bass,
//                                 the lead melody (a four-bar phrase, every 8 s)
//   break     40..51   80..104    no drums: pad, eighth arpeggio, long bass notes; a riser in
//                                 bars 50..51 (100..104 s)
//   drop 2    52..67   104..136   everything again, the lead an octave higher
//   ending    68..75   136..152   the drums stop at 136 s; pad and arpeggio fade out to 152 s,
//                                 the last chord rings until about 155 s
//
// Kicks fall on every beat from 16 s to 80 s and from 104 s to 136 s; snares on the second and
// fourth beat of each bar (0.5 s and 1.5 s past the bar's start) in the drops.

#include "MusicEncoder.h"
#include "OptionParser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <vector>

namespace {

constexpr int rate = 44100;
constexpr double beat = 0.5;
constexpr double bar = 4 * beat;
constexpr int bars = 76;
constexpr double length = bars * bar + 3.0; // the last chord rings out

// The sections, as first bar of each; the table above gives them in seconds.
constexpr int buildUp = 8;
constexpr int hatsIn = 12;
constexpr int fastArpeggio = 16;
constexpr int roll = 22;
constexpr int drop = 24;
constexpr int breakDown = 40;
constexpr int riser = 50;
constexpr int drop2 = 52;
constexpr int ending = 68;

bool inDrop(int b) {
    return (b >= drop && b < breakDown) || (b >= drop2 && b < ending);
}

bool drumsPlay(int b) {
    return (b >= buildUp && b < breakDown) || (b >= drop2 && b < ending);
}

// Semitones above A2 (110 Hz) of each chord's root, third and fifth: Am, F, C, G.
constexpr std::array<std::array<int, 3>, 4> chords{{{0, 3, 7}, {-4, 0, 3}, {3, 7, 10}, {-2, 2, 5}}};

// The lead's four-bar phrase: (beat within the phrase, semitones above A4, length in beats).
struct LeadNote {
    double at;
    int tone;
    double beats;
};
constexpr std::array<LeadNote, 12> phrase{{
    {0, 0, 1.5},
    {1.5, 3, 0.5},
    {2, 7, 2},
    {4, -4, 1.5},
    {5.5, 0, 0.5},
    {6, 3, 2},
    {8, -2, 1.5},
    {9.5, 3, 0.5},
    {10, 7, 2},
    {12, -2, 1.5},
    {13.5, 2, 0.5},
    {14, 5, 2},
}};

double pitch(int semitonesAboveA2) {
    return 110.0 * std::pow(2.0, semitonesAboveA2 / 12.0);
}

// A repeatable noise source: the same drums every time.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / (1u << 24) * 2.0 - 1.0;
    }

private:
    std::uint32_t state;
};

// A mono mix that notes are added into, then spread to stereo and normalised.
class Mix {
public:
    Mix() : samples(static_cast<std::size_t>(length * rate), 0.0f) {}

    // A note shaped by `attack` and an exponential `decay` (seconds to fall to a third),
    // `harmonics` partials falling off as 1/n (odd ones only when `hollow`).
    void note(double start, double duration, double frequency, double volume, double attack,
              double decay, int harmonics, bool hollow) {
        // Partials above 16 kHz only alias.
        while (harmonics > 1 && frequency * harmonics > 16000.0)
            --harmonics;
        forEachSample(start, duration + 3.0 * decay, [&](double t) {
            double wave = 0.0;
            for (int n = 1; n <= harmonics; n += hollow ? 2 : 1)
                wave += std::sin(2.0 * std::numbers::pi * frequency * n * t) / n;
            const double rise = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
            const double fall = t < duration ? 1.0 : std::exp(-(t - duration) / decay);
            return volume * rise * fall * wave;
        });
    }

    // A sine that drops from 150 Hz to 50 Hz as it dies away.
    void kick(double start, double volume) {
        double phase = 0.0;
        forEachSample(start, 0.3, [&](double t) {
            phase += 2.0 * std::numbers::pi * (50.0 + 100.0 * std::exp(-t * 30.0)) / rate;
            return volume * std::exp(-t * 9.0) * std::sin(phase);
        });
    }

    // A short burst of noise.
    void hat(double start, double volume) {
        Noise noise(12345);
        forEachSample(start, 0.06,
                      [&](double t) { return volume * std::exp(-t * 60.0) * noise.next(); });
    }

    // Noise over a falling tone: a snare.
    void snare(double start, double volume) {
        Noise noise(777);
        forEachSample(start, 0.25, [&](double t) {
            const double body = std::sin(2.0 * std::numbers::pi * (180.0 - 60.0 * t) * t);
            return volume * std::exp(-t * 18.0) * (0.7 * noise.next() + 0.4 * body);
        });
    }

    // Noise swelling over `duration` and cut at its end, smoothed more at first so that it
    // brightens as it rises.
    void riser(double start, double duration, double volume) {
        Noise noise(4242);
        double smooth = 0.0;
        forEachSample(start, duration, [&](double t) {
            const double progress = t / duration;
            const double keep = 0.97 - 0.9 * progress;
            smooth = keep * smooth + (1.0 - keep) * noise.next();
            return volume * progress * progress * smooth * (1.0 + 2.0 * progress);
        });
    }

    // Stereo frames, the loudest sample at 0.8, a dotted-eighth echo on the right.
    std::vector<float> stereo() const {
        float peak = 0.0f;
        for (float sample : samples)
            peak = std::max(peak, std::abs(sample));
        const float gain = peak > 0.0f ? 0.8f / peak : 0.0f;
        std::vector<float> out(samples.size() * 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const float echo = i >= delay ? samples[i - delay] : 0.0f;
            out[i * 2] = gain * samples[i] * 0.85f;
            out[i * 2 + 1] = gain * (samples[i] * 0.7f + echo * 0.15f);
        }
        return out;
    }

private:
    template <typename Wave>
    void forEachSample(double start, double duration, Wave wave) {
        const auto first = static_cast<std::size_t>(start * rate);
        const auto count = static_cast<std::size_t>(duration * rate);
        for (std::size_t i = 0; i < count && first + i < samples.size(); ++i)
            samples[first + i] += static_cast<float>(wave(static_cast<double>(i) / rate));
    }

    static constexpr std::size_t delay = rate * 3 / 8;
    std::vector<float> samples;
};

// How loud the melodic parts are in bar b: rising through the intro, falling over the ending.
double swell(int b) {
    if (b < buildUp)
        return 0.5 + 0.5 * b / buildUp;
    if (b >= ending)
        return static_cast<double>(bars - b) / (bars - ending);
    return 1.0;
}

// The pad: the chord of each bar, two octaves up, swelling in; the last chord held longer.
void pad(Mix& mix) {
    for (int b = 0; b < bars; ++b) {
        const double held = b == bars - 1 ? 2.0 : 0.0;
        for (int tone : chords[b % 4])
            mix.note(b * bar, bar + held, pitch(tone + 24), 0.08 * swell(b), 0.6, 0.4, 4, false);
    }
}

// Driving eighths (root and octave) under the drums, one long note a bar in the break.
void bass(Mix& mix) {
    for (int b = buildUp; b < ending; ++b) {
        const int root = chords[b % 4][0];
        if (!drumsPlay(b)) {
            mix.note(b * bar, 1.6, pitch(root - 12), 0.3, 0.01, 0.1, 3, false);
            continue;
        }
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int octave = eighth % 2 == 1 ? 12 : 0;
            mix.note(b * bar + eighth * beat / 2, 0.18, pitch(root + octave - 12), 0.3, 0.005, 0.05,
                     3, false);
        }
    }
}

void drums(Mix& mix) {
    for (int b = buildUp; b < ending; ++b) {
        if (!drumsPlay(b))
            continue;
        for (int quarter = 0; quarter < 4; ++quarter) {
            const double at = b * bar + quarter * beat;
            mix.kick(at, 0.8);
            if (b >= hatsIn)
                mix.hat(at + beat / 2, 0.12);
            if (inDrop(b) && quarter % 2 == 1)
                mix.snare(at, 0.35);
        }
    }
    // The roll into the drop: eighths, then sixteenths in its last bar.
    for (int b = roll; b < drop; ++b) {
        const int steps = b == drop - 1 ? 16 : 8;
        for (int step = 0; step < steps; ++step)
            mix.snare(b * bar + step * bar / steps, 0.1 + 0.2 * (b - roll + step / 16.0) / 2.0);
    }
    mix.riser(roll * bar, (drop - roll) * bar, 0.25);
    mix.riser(riser * bar, (drop2 - riser) * bar, 0.3);
}

// Up and down the chord an octave above the pad: eighths in the calm parts, sixteenths while
// the music drives.
void arpeggio(Mix& mix) {
    constexpr std::array<int, 8> order{0, 1, 2, 3, 4, 3, 2, 1};
    for (int b = 4; b < bars; ++b) {
        const auto& chord = chords[b % 4];
        const bool fast = drumsPlay(b) && b >= fastArpeggio;
        const int steps = fast ? 16 : 8;
        for (int step = 0; step < steps; ++step) {
            const int index = order[step % order.size()];
            const int tone = chord[index % 3] + 12 * (index / 3) + 36;
            const double start = b * bar + step * bar / steps;
            mix.note(start, 0.04, pitch(tone), (fast ? 0.07 : 0.05) * swell(b), 0.002,
                     fast ? 0.08 : 0.25, 7, true);
        }
    }
}

// The phrase over each drop, once every four bars.
void lead(Mix& mix) {
    for (int b = drop; b < ending; b += 4) {
        if (!inDrop(b))
            continue;
        const int octave = b >= drop2 ? 12 : 0;
        for (const LeadNote& n : phrase)
            mix.note(b * bar + n.at * beat, n.beats * beat * 0.9, pitch(n.tone + 24 + octave), 0.09,
                     0.01, 0.12, 5, false);
    }
}

int fail(const std::string& message) {
    std::cerr << "error: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path output;
    OptionParser parser(
        "makemusic", "OUTPUT.ogg",
        "Writes the bundled demo's music, synthesised note by note, as Ogg Vorbis.");
    parser.operand("OUTPUT.ogg", "the file to write", true,
                   [&](const std::string& name) { output = readPath(name); });
    if (const auto status = parser.parse(argc, argv))
        return *status;
    Mix mix;
    pad(mix);
    bass(mix);
    drums(mix);
    arpeggio(mix);
    lead(mix);
    const std::vector<float> music = mix.stereo();
    const auto frames = static_cast<std::int64_t>(music.size() / 2);
    try {
        encodeMusic(output, MusicFormat::Ogg, frames,
                    [&music, frames](std::int64_t first, int count, float* out) {
                        for (int i = 0; i < count; ++i) {
                            const std::int64_t frame = first + i;
                            const bool inside = frame < frames;
                            out[i * 2] = inside ? music[frame * 2] : 0.0f;
                            out[i * 2 + 1] = inside ? music[frame * 2 + 1] : 0.0f;
                        }
                    });
    } catch (const std::exception& error) {
        return fail(output.string() + ": " + error.what());
    }
    return 0;
}
