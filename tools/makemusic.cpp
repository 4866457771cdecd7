// makemusic: writes the bundled demo's music, a short piece synthesised here note by note and
// encoded to Ogg Vorbis, so that the demo plays music of its own.
//
//   makemusic OUTPUT.ogg
//
// 120 beats a minute in A minor, 15 bars (30 s): a pad alone for two bars, then bass, kick drum
// and a sixteenth-note arpeggio from 4 s to 20 s (the demo flashes on these beats), hi-hats from
// 8 s, a calmer half from 20 s, and the pad fading out to 30 s.

#include "MusicEncoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <iostream>
#include <numbers>
#include <vector>

namespace {

constexpr int rate = 44100;
constexpr double beat = 0.5;
constexpr double bar = 4 * beat;
constexpr int bars = 15;
constexpr double length = bars * bar + 1.0; // the last notes ring out

// Semitones above A2 (110 Hz) of each chord's root, third and fifth: Am, F, C, G.
constexpr std::array<std::array<int, 3>, 4> chords{{{0, 3, 7}, {-4, 0, 3}, {3, 7, 10}, {-2, 2, 5}}};

double pitch(int semitonesAboveA2) {
    return 110.0 * std::pow(2.0, semitonesAboveA2 / 12.0);
}

// A mono mix that notes are added into, then spread to stereo and normalised.
class Mix {
public:
    Mix() : samples(static_cast<std::size_t>(length * rate), 0.0f) {}

    // A note shaped by `attack` and an exponential `decay` (seconds to fall to a third),
    // `harmonics` partials falling off as 1/n (odd ones only when `hollow`).
    void note(double start, double duration, double frequency, double volume, double attack,
              double decay, int harmonics, bool hollow) {
        forEachSample(start, duration + decay, [&](double t) {
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

    // A short burst of noise from a fixed seed: the same hat every time.
    void hat(double start, double volume) {
        std::uint32_t state = 12345;
        forEachSample(start, 0.06, [&](double t) {
            state = state * 1664525u + 1013904223u;
            const double noise = static_cast<double>(state >> 8) / (1u << 24) * 2.0 - 1.0;
            return volume * std::exp(-t * 60.0) * noise;
        });
    }

    // Stereo frames, the loudest sample at 0.8, the pad's slow swell a little wider on the right.
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

    static constexpr std::size_t delay = rate * 3 / 8; // a dotted-eighth echo on the right
    std::vector<float> samples;
};

// The pad: the chord of each bar, two octaves up, swelling in; quieter towards the end.
void pad(Mix& mix) {
    for (int b = 0; b < bars; ++b) {
        const double fade = b < 13 ? 1.0 : (bars - b) / 3.0;
        for (int tone : chords[b % 4])
            mix.note(b * bar, bar, pitch(tone + 24), 0.08 * fade, 0.6, 0.4, 4, false);
    }
}

// Bass and drums from bar 2 to bar 9; the bass alone, on the bar, up to bar 12.
void rhythm(Mix& mix) {
    for (int b = 2; b < 13; ++b) {
        const int root = chords[b % 4][0];
        const bool driving = b < 10;
        for (int eighth = 0; eighth < 8; eighth += driving ? 1 : 8) {
            const int octave = eighth % 2 == 1 ? 12 : 0;
            mix.note(b * bar + eighth * beat / 2, driving ? 0.18 : 1.6, pitch(root + octave - 12),
                     0.3, 0.005, 0.05, 3, false);
        }
        for (int quarter = 0; driving && quarter < 4; ++quarter) {
            mix.kick(b * bar + quarter * beat, 0.8);
            if (b >= 4)
                mix.hat(b * bar + quarter * beat + beat / 2, 0.12);
        }
    }
}

// Sixteenths up and down the chord, an octave above the pad; eighths in the calm half.
void arpeggio(Mix& mix) {
    constexpr std::array<int, 8> order{0, 1, 2, 3, 4, 3, 2, 1};
    for (int b = 2; b < 13; ++b) {
        const auto& chord = chords[b % 4];
        const bool fast = b < 10;
        const int steps = fast ? 16 : 8;
        for (int step = 0; step < steps; ++step) {
            const int index = order[step % order.size()];
            const int tone = chord[index % 3] + 12 * (index / 3) + 36;
            const double start = b * bar + step * bar / steps;
            mix.note(start, 0.04, pitch(tone), fast ? 0.07 : 0.05, 0.002, fast ? 0.08 : 0.25, 7,
                     true);
        }
    }
}

int fail(const std::string& message) {
    std::cerr << "error: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: makemusic OUTPUT.ogg\n";
        return 2;
    }
    Mix mix;
    pad(mix);
    rhythm(mix);
    arpeggio(mix);
    const std::vector<float> music = mix.stereo();
    const auto frames = static_cast<std::int64_t>(music.size() / 2);
    try {
        encodeMusic(argv[1], MusicFormat::Ogg, frames,
                    [&music, frames](std::int64_t first, int count, float* out) {
                        for (int i = 0; i < count; ++i) {
                            const std::int64_t frame = first + i;
                            const bool inside = frame < frames;
                            out[i * 2] = inside ? music[frame * 2] : 0.0f;
                            out[i * 2 + 1] = inside ? music[frame * 2 + 1] : 0.0f;
                        }
                    });
    } catch (const std::exception& error) {
        return fail(std::string(argv[1]) + ": " + error.what());
    }
    return 0;
}
