#include "DemoPictures.h"

#include "BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr float pi = std::numbers::pi_v<float>;

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// A repeatable pseudo-random value in 0..1 for a lattice point; the lattice wraps every
// `period` points, so that the noise tiles.
float latticeValue(int i, int j, int period, std::uint32_t seed) {
    const auto wrap = [period](int n) {
        return static_cast<std::uint32_t>(((n % period) + period) % period);
    };
    std::uint32_t hash = wrap(i) * 374761393u + wrap(j) * 668265263u + seed * 2246822519u;
    hash = (hash ^ (hash >> 13)) * 1274126177u;
    hash ^= hash >> 16;
    return static_cast<float>(hash & 0xFFFFu) / 65535.0f;
}

// Smoothly interpolated lattice values; x and y in lattice units.
float valueNoise(float x, float y, int period, std::uint32_t seed) {
    const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(y));
    const float fx = smoothstep(0.0f, 1.0f, x - i), fy = smoothstep(0.0f, 1.0f, y - j);
    const float top =
        latticeValue(i, j, period, seed) +
        (latticeValue(i + 1, j, period, seed) - latticeValue(i, j, period, seed)) * fx;
    const float bottom =
        latticeValue(i, j + 1, period, seed) +
        (latticeValue(i + 1, j + 1, period, seed) - latticeValue(i, j + 1, period, seed)) * fx;
    return top + (bottom - top) * fy;
}

// Five octaves of noise over the unit square, tiling at its edges; about 0..1.
float cloudNoise(float u, float v, std::uint32_t seed) {
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    int period = 4;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * valueNoise(u * period, v * period, period, seed + octave);
        total += amplitude;
        amplitude *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

// Soft clouds on a dim haze; the player adds them onto the sky, so dark is clear.
PictureCanvas clouds() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float density = smoothstep(0.42f, 0.78f, cloudNoise(u, v, 7));
        const Colour haze{0.03f, 0.05f, 0.10f}, cloud{0.50f, 0.56f, 0.66f};
        return mix(haze, cloud, density);
    });
    return canvas;
}

// The textures below are laid on solid objects, where near-black would be cut out: every one
// keeps its darkest colour well above black, and all of them tile at their edges, since the
// objects repeat them.
constexpr float darkest = 0.1f;

Colour lifted(Colour colour) {
    return {std::max(colour.r, darkest), std::max(colour.g, darkest), std::max(colour.b, darkest)};
}

// The terrain's ground: grass in the lows, rock on the slopes, light veins of sand; one copy
// spans the whole terrain, so it is busy enough to show the flight.
PictureCanvas ground() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float height = cloudNoise(u, v, 31);
        const float grain =
            cloudNoise(u * 4.0f - std::floor(u * 4.0f), v * 4.0f - std::floor(v * 4.0f), 32);
        const Colour grass{0.16f, 0.42f, 0.14f}, rock{0.52f, 0.44f, 0.34f};
        Colour colour = mix(grass, rock, smoothstep(0.45f, 0.6f, height));
        const float vein = 1.0f - smoothstep(0.0f, 0.03f, std::abs(height - 0.52f));
        colour = mix(colour, {0.85f, 0.78f, 0.55f}, vein);
        return lifted(scaled(colour, 0.75f + 0.5f * grain));
    });
    return canvas;
}

// Leaves down the tube: the tube reads the picture across its width mirrored (its coordinate
// runs back and forth round the ring) and along its length a tenth at a time, so the pattern
// is bold, with stripes along the tube that show its spin.
PictureCanvas leaves() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float n = cloudNoise(u, v, 51);
        const float stripe = 0.5f + 0.5f * std::sin(2.0f * pi * (4.0f * u + 2.0f * n));
        const float vein =
            1.0f - smoothstep(0.0f, 0.08f, std::abs(std::sin(2.0f * pi * 8.0f * v + 6.0f * n)));
        const Colour deep{0.08f, 0.3f, 0.12f}, light{0.55f, 0.85f, 0.3f};
        Colour colour = mix(deep, light, stripe * (0.6f + 0.4f * n));
        colour = mix(colour, {0.9f, 0.95f, 0.5f}, 0.6f * vein);
        return lifted(colour);
    });
    return canvas;
}

// The inside of the cube: each face a panel of four by four lit tiles with dark seams, so that
// the walls and their turning read as a room.
PictureCanvas panels() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float cu = u * 4.0f - std::floor(u * 4.0f), cv = v * 4.0f - std::floor(v * 4.0f);
        const float seam = std::min({cu, cv, 1.0f - cu, 1.0f - cv});
        const float inset = smoothstep(0.03f, 0.08f, seam);
        const float tile =
            latticeValue(static_cast<int>(u * 4.0f), static_cast<int>(v * 4.0f), 4, 9);
        const Colour steel{0.3f, 0.38f, 0.5f}, glow{0.3f, 0.75f, 0.95f};
        Colour colour = mix(steel, glow, tile > 0.7f ? 0.8f : 0.15f * tile);
        colour = scaled(colour, 0.8f + 0.4f * (1.0f - cv)); // lit from above
        return lifted(mix({0.12f, 0.12f, 0.16f}, colour, inset));
    });
    return canvas;
}

// Bright bands of every hue for the sphere of shells: its triangles sample it all over.
PictureCanvas rainbow() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float n = cloudNoise(u, v, 71);
        const float hue = 2.0f * pi * (u + v + 0.5f * n);
        const Colour colour{0.55f + 0.45f * std::sin(hue), 0.55f + 0.45f * std::sin(hue + 2.1f),
                            0.55f + 0.45f * std::sin(hue + 4.2f)};
        return lifted(colour);
    });
    return canvas;
}

// Marble for the bulging sphere: veins that bend with the bulges.
PictureCanvas marble() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float n = cloudNoise(u, v, 91);
        const float vein = std::abs(std::sin(2.0f * pi * (2.0f * u + 3.0f * n)));
        const Colour stone{0.35f, 0.2f, 0.5f}, light{0.95f, 0.8f, 0.95f};
        return lifted(mix(light, stone, smoothstep(0.0f, 0.5f, vein)));
    });
    return canvas;
}

// The domes: warm orange, banded across (the domes map it round their rings) with a bright rim.
PictureCanvas orange() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float n = cloudNoise(u, v, 13);
        const float band = 0.5f + 0.5f * std::sin(2.0f * pi * (6.0f * v + n));
        const Colour deep{0.6f, 0.2f, 0.04f}, bright{1.0f, 0.7f, 0.2f};
        return lifted(mix(deep, bright, band * (0.7f + 0.3f * n)));
    });
    return canvas;
}

// The picture that swirls over the whole view: rings and spokes in colour, so the swirl shows
// everywhere; drawn blended, so it stays opaque.
PictureCanvas swirlTarget() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float du = u - 0.5f, dv = v - 0.5f;
        const float radius = std::hypot(du, dv), angle = std::atan2(dv, du);
        const float rings = 0.5f + 0.5f * std::cos(2.0f * pi * 8.0f * radius);
        const float spokes = 0.5f + 0.5f * std::cos(8.0f * angle);
        const Colour a{0.1f, 0.2f, 0.6f}, b{0.95f, 0.4f, 0.7f}, c{1.0f, 0.9f, 0.4f};
        return lifted(mix(mix(a, b, rings), c, 0.5f * spokes * rings));
    });
    return canvas;
}

// A soft round light on black: sprites are added onto the view, and the black around it is
// cut out, so only the glow counts.
PictureCanvas light() {
    PictureCanvas canvas(128, 128);
    canvas.paint([](float u, float v) {
        const float radius = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
        const float glow = std::pow(std::max(0.0f, 1.0f - radius), 2.2f);
        const float core = 1.0f - smoothstep(0.0f, 0.25f, radius);
        return Colour{0.75f * glow + 0.25f * core, 0.8f * glow + 0.2f * core, glow};
    });
    return canvas;
}

// A spark: a small glow in the middle of black. A sprite near the viewer covers most of the
// view, and 250 of them added together would wash it white with a glow that fills the picture;
// drawn along a streak, it is a bright point flying with it.
PictureCanvas spark() {
    PictureCanvas canvas(128, 128);
    canvas.paint([](float u, float v) {
        const float radius = std::hypot(u - 0.5f, v - 0.5f) * 6.0f;
        const float glow = std::pow(std::max(0.0f, 1.0f - radius), 1.5f);
        return Colour{0.9f * glow, 0.75f * glow, 1.0f * glow};
    });
    return canvas;
}

// A disc for the board of discs: shaded like a ball, black around it so the corners are cut.
PictureCanvas disc() {
    PictureCanvas canvas(128, 128);
    Mask shape(128, 128);
    shape.drawDisc(64.0f, 64.0f, 58.0f);
    canvas.fill(shape, [](float u, float v) {
        const float highlight = std::hypot(u - 0.38f, v - 0.35f);
        return mix({1.0f, 0.95f, 0.8f}, {0.9f, 0.25f, 0.15f}, smoothstep(0.0f, 0.5f, highlight));
    });
    return canvas;
}

// One tile of the scrolling row: a bevelled bar with chevrons, as wide as the tile is to its
// height (10 to 3, near enough 4 to 1), black at its rounded ends.
PictureCanvas tile() {
    PictureCanvas canvas(256, 64);
    Mask shape(256, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            const float dx = std::max(std::abs(x + 0.5f - 128.0f) - (124.0f - 28.0f), 0.0f);
            const float dy = std::max(std::abs(y + 0.5f - 32.0f) - (28.0f - 28.0f), 0.0f);
            shape.cover(x, y, std::clamp(28.5f - std::hypot(dx, dy), 0.0f, 1.0f));
        }
    }
    canvas.fill(shape, [](float u, float v) {
        const float chevron = std::fmod(u * 8.0f + std::abs(v - 0.5f) * 2.0f, 1.0f);
        const Colour base = mix({0.2f, 0.6f, 1.0f}, {0.05f, 0.25f, 0.6f}, v);
        return mix(base, {1.0f, 0.85f, 0.3f}, chevron < 0.3f ? 0.8f : 0.0f);
    });
    return canvas;
}

// The generated objects' skin: a light grey with a fine grain, so their shape shows by its
// shading and the grain shows the spin.
PictureCanvas grey() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float grain = cloudNoise(u, v, 111);
        const float g = 0.55f + 0.35f * grain;
        return Colour{g, g, g * 1.05f};
    });
    return canvas;
}

// Text of one line lit from within: a coloured glow around letters shaded top to bottom.
void glowingText(PictureCanvas& canvas, std::string_view text, float centreY, float dot,
                 Colour glowColour, Colour top, Colour bottom, int glowRadius) {
    Mask letters(canvas.width(), canvas.height());
    letters.drawText(text, canvas.width() / 2.0f, centreY, dot);
    canvas.glow(letters.blurred(glowRadius), glowColour);
    const float halfHeight = 3.5f * dot;
    canvas.fill(letters, [&](float, float y) {
        const float t = (y * canvas.height() - (centreY - halfHeight)) / (2.0f * halfHeight);
        return mix(top, bottom, std::clamp(t, 0.0f, 1.0f));
    });
}

PictureCanvas title() {
    PictureCanvas canvas(256, 256);
    glowingText(canvas, "REELPLAY", 128.0f, 5.0f, {1.2f, 0.45f, 0.08f}, {1.0f, 0.97f, 0.7f},
                {1.0f, 0.55f, 0.12f}, 6);
    return canvas;
}

PictureCanvas caption() {
    PictureCanvas canvas(256, 256);
    glowingText(canvas, "PICTURES IN MOTION", 128.0f, 2.0f, {0.1f, 0.5f, 1.0f}, {0.85f, 1.0f, 1.0f},
                {0.4f, 0.8f, 1.0f}, 3);
    return canvas;
}

// A banner with rounded corners: a sunburst over a diagonal gradient, rings in the middle.
PictureCanvas banner() {
    PictureCanvas canvas(256, 256);
    Mask shape(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            // Distance outside a rounded rectangle 12 pixels in from the edges, radius 28.
            const float dx = std::max(std::abs(x + 0.5f - 128.0f) - (116.0f - 28.0f), 0.0f);
            const float dy = std::max(std::abs(y + 0.5f - 128.0f) - (116.0f - 28.0f), 0.0f);
            shape.cover(x, y, std::clamp(28.5f - std::hypot(dx, dy), 0.0f, 1.0f));
        }
    }
    canvas.fill(shape, [](float u, float v) {
        const float du = u - 0.5f, dv = v - 0.5f;
        const float radius = std::hypot(du, dv);
        const float angle = std::atan2(dv, du);
        const Colour base = mix({0.55f, 0.08f, 0.45f}, {0.05f, 0.45f, 0.55f}, (u + v) * 0.5f);
        const float rays = 0.5f + 0.5f * std::cos(12.0f * angle);
        Colour colour =
            mix(base, {0.95f, 0.6f, 0.85f}, 0.35f * rays * smoothstep(0.05f, 0.5f, radius));
        // Three gold rings round a bright core.
        const float ring = std::abs(std::sin(radius * 2.0f * pi * 6.0f));
        const float rings =
            (1.0f - smoothstep(0.0f, 0.25f, ring)) * (1.0f - smoothstep(0.22f, 0.26f, radius));
        colour = mix(colour, {1.0f, 0.8f, 0.25f}, rings);
        return mix({1.0f, 0.95f, 0.75f}, colour, smoothstep(0.03f, 0.06f, radius));
    });
    return canvas;
}

// A bevelled border round a black middle, with gold studs at the corners.
PictureCanvas frame() {
    PictureCanvas canvas(256, 256);
    constexpr float band = 14.0f;
    canvas.paint([](float u, float v) {
        const float edge = std::min({u, v, 1.0f - u, 1.0f - v}) * 256.0f;
        if (edge >= band)
            return Colour{};
        // Light on the outer rim, dark on the inner, lit from the top left.
        const float depth = edge / band;
        const float light = 0.55f + 0.45f * std::cos(depth * pi) * ((u + v < 1.0f) ? 1.0f : 0.6f);
        return scaled(Colour{0.62f, 0.68f, 0.82f}, light);
    });
    Mask studs(256, 256);
    constexpr float studRadius = band * 0.6f;
    constexpr float near = band / 2.0f, far = 256.0f - band / 2.0f;
    for (float cx : {near, far}) {
        for (float cy : {near, far})
            studs.drawDisc(cx, cy, studRadius);
    }
    // Each stud lit from above: pale at its top, deep gold at its bottom.
    canvas.fill(studs, [&](float, float v) {
        const float y = v * 256.0f;
        const float top = (y < 128.0f ? near : far) - studRadius;
        return mix({1.0f, 0.92f, 0.5f}, {0.65f, 0.4f, 0.08f},
                   std::clamp((y - top) / (2.0f * studRadius), 0.0f, 1.0f));
    });
    return canvas;
}

// Brightness for a dissolve: dark in the middle, brightening outwards in a swirl, so that a
// rising threshold opens the view from the middle.
PictureCanvas iris() {
    PictureCanvas canvas(256, 256);
    canvas.paint([](float u, float v) {
        const float du = u - 0.5f, dv = v - 0.5f;
        const float radius = std::hypot(du, dv) / std::numbers::sqrt2_v<float> * 2.0f;
        const float angle = std::atan2(dv, du);
        const float swirl = radius * (1.0f + 0.12f * std::sin(6.0f * angle + 9.0f * radius));
        // Short of full white, which no threshold (at most 1) would ever pass.
        const float grey = 0.08f + 0.86f * std::clamp(swirl, 0.0f, 1.0f);
        return Colour{grey, grey, grey};
    });
    return canvas;
}

PictureCanvas word(std::string_view text, Colour glowColour) {
    PictureCanvas canvas(128, 128);
    glowingText(canvas, text, 64.0f, 5.0f, glowColour, {1.0f, 1.0f, 1.0f}, {0.6f, 0.9f, 1.0f}, 3);
    return canvas;
}

// Two lines, as large as fits, crisp on black: the player lays greetings on a grey frame that
// shows through the black, and a glow would only darken it.
PictureCanvas greeting(std::string_view first, std::string_view second, Colour colour) {
    PictureCanvas canvas(128, 128);
    const int widest = std::max(BitmapFont::textWidth(first), BitmapFont::textWidth(second));
    const float dot = std::min(4.0f, std::floor(112.0f / static_cast<float>(widest)));
    const Colour light = mix(colour, {1.0f, 1.0f, 1.0f}, 0.5f);
    Mask letters(128, 128);
    letters.drawText(first, 64.0f, 64.0f - 5.0f * dot, dot);
    letters.drawText(second, 64.0f, 64.0f + 5.0f * dot, dot);
    canvas.fill(letters, [&](float, float y) { return mix(light, colour, y); });
    return canvas;
}

} // namespace

std::vector<DemoPicture> drawDemoPictures() {
    std::vector<DemoPicture> pictures;
    auto add = [&pictures](std::string path, PictureCanvas canvas) {
        pictures.push_back({std::move(path), std::move(canvas)});
    };
    // The effects' own default names.
    add("picture.jpg", banner());
    add("source/data/256/clouds.jpg", clouds());
    // The second word is drawn above the first.
    add("see.jpg", word("TIME", {0.1f, 0.3f, 1.0f}));
    add("my.jpg", word("REAL", {0.1f, 0.3f, 1.0f}));
    add("source/data/256/clouds2.jpg", ground());
    add("source/data/256/a000.jpg", swirlTarget());
    add("source/data/256/texture.jpg", marble());
    add("source/data/pics/light.jpg", light());
    add("temp/orang101.jpg", orange());
    add("textures/plants15t.jpg", leaves());
    add("textures/ss013.jpg", panels());
    add("textures/multi018.jpg", rainbow());
    add("border1.jpg", tile());
    add("circle.jpg", disc());
    add("greytexture.jpg", grey());
    // Named by the script.
    add("pictures/title.jpg", title());
    add("pictures/caption.jpg", caption());
    add("pictures/frame.jpg", frame());
    add("pictures/iris.jpg", iris());
    add("pictures/spark.jpg", spark());
    add("pictures/greet1.jpg", greeting("HELLO", "WORLD", {1.0f, 0.9f, 0.2f}));
    add("pictures/greet2.jpg", greeting("GREETS", "TO ALL", {0.3f, 0.9f, 1.0f}));
    add("pictures/greet3.jpg", greeting("DEMO", "MAKERS", {1.0f, 0.4f, 0.9f}));
    add("pictures/greet4.jpg", greeting("KEEP", "CODING", {0.5f, 1.0f, 0.3f}));
    add("pictures/greet5.jpg", greeting("SEE YOU", "SOON", {1.0f, 0.6f, 0.2f}));
    return pictures;
}
