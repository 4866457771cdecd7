#include "PictureCanvas.h"

#include "BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <turbojpeg.h>

Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaled(Colour colour, float factor) {
    return {colour.r * factor, colour.g * factor, colour.b * factor};
}

Mask::Mask(int width, int height)
    : w(width), h(height), coverage(static_cast<std::size_t>(width) * height, 0.0f) {}

float Mask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0.0f;
    return coverage[static_cast<std::size_t>(y) * w + x];
}

void Mask::cover(int x, int y, float amount) {
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    float& here = coverage[static_cast<std::size_t>(y) * w + x];
    here = std::max(here, std::clamp(amount, 0.0f, 1.0f));
}

namespace {

// Samples per pixel side when smoothing edges.
constexpr int samples = 4;

// The share of the pixel at (x, y) that `inside` holds, from a grid of samples.
template <typename Inside>
float sampledCoverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
            const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / samples;
            const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / samples;
            hits += inside(px, py);
        }
    }
    return static_cast<float>(hits) / (samples * samples);
}

// A square of side `size` at (left, top) with corners rounded by a quarter of the side.
bool inRoundedSquare(float px, float py, float left, float top, float size) {
    const float radius = size * 0.25f;
    const float cx = std::clamp(px, left + radius, left + size - radius);
    const float cy = std::clamp(py, top + radius, top + size - radius);
    const float dx = px - cx, dy = py - cy;
    return px >= left && px < left + size && py >= top && py < top + size &&
           dx * dx + dy * dy <= radius * radius;
}

} // namespace

void Mask::drawText(std::string_view text, float centreX, float centreY, float dot) {
    const float left = centreX - BitmapFont::textWidth(text) * dot / 2.0f;
    const float top = centreY - BitmapFont::glyphHeight * dot / 2.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const BitmapFont::Glyph& glyph = BitmapFont::glyph(text[i]);
        for (int row = 0; row < BitmapFont::glyphHeight; ++row) {
            for (int column = 0; column < BitmapFont::glyphWidth; ++column) {
                if (!BitmapFont::dot(glyph, column, row))
                    continue;
                // Dots overlap their cells a little, so that neighbours join into strokes.
                const float size = dot * 1.3f;
                const float dotLeft = left +
                                      (static_cast<float>(i) * BitmapFont::advance + column) * dot -
                                      (size - dot) / 2.0f;
                const float dotTop = top + static_cast<float>(row) * dot - (size - dot) / 2.0f;
                for (int y = static_cast<int>(dotTop) - 1; y <= dotTop + size + 1; ++y) {
                    for (int x = static_cast<int>(dotLeft) - 1; x <= dotLeft + size + 1; ++x) {
                        cover(x, y, sampledCoverage(x, y, [&](float px, float py) {
                                  return inRoundedSquare(px, py, dotLeft, dotTop, size);
                              }));
                    }
                }
            }
        }
    }
}

void Mask::drawDisc(float centreX, float centreY, float radius) {
    for (int y = static_cast<int>(centreY - radius) - 1; y <= centreY + radius + 1; ++y) {
        for (int x = static_cast<int>(centreX - radius) - 1; x <= centreX + radius + 1; ++x) {
            cover(x, y, sampledCoverage(x, y, [&](float px, float py) {
                      const float dx = px - centreX, dy = py - centreY;
                      return dx * dx + dy * dy <= radius * radius;
                  }));
        }
    }
}

// Three box blurs in each direction come close to a Gaussian.
Mask Mask::blurred(int radius) const {
    Mask result = *this;
    std::vector<float> line;
    auto pass = [&](bool across) {
        const int length = across ? w : h;
        const int lines = across ? h : w;
        line.resize(static_cast<std::size_t>(length));
        for (int l = 0; l < lines; ++l) {
            auto cell = [&](int i) -> float& {
                const int x = across ? i : l, y = across ? l : i;
                return result.coverage[static_cast<std::size_t>(y) * w + x];
            };
            for (int i = 0; i < length; ++i) {
                float sum = 0.0f;
                for (int j = i - radius; j <= i + radius; ++j)
                    sum += (j >= 0 && j < length) ? cell(j) : 0.0f;
                line[static_cast<std::size_t>(i)] = sum / static_cast<float>(2 * radius + 1);
            }
            for (int i = 0; i < length; ++i)
                cell(i) = line[static_cast<std::size_t>(i)];
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(true);
        pass(false);
    }
    return result;
}

PictureCanvas::PictureCanvas(int width, int height)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height) {}

void PictureCanvas::paint(const std::function<Colour(float x, float y)>& colourAt) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            set(x, y, colourAt((x + 0.5f) / w, (y + 0.5f) / h));
    }
}

void PictureCanvas::fill(const Mask& mask,
                         const std::function<Colour(float x, float y)>& colourAt) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float amount = mask.at(x, y);
            if (amount > 0.0f)
                set(x, y, mix(at(x, y), colourAt((x + 0.5f) / w, (y + 0.5f) / h), amount));
        }
    }
}

void PictureCanvas::glow(const Mask& mask, Colour colour) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Colour here = at(x, y);
            const Colour light = scaled(colour, mask.at(x, y));
            set(x, y, {here.r + light.r, here.g + light.g, here.b + light.b});
        }
    }
}

void PictureCanvas::shade(const Mask& mask, float strength) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            set(x, y, scaled(at(x, y), 1.0f - strength * mask.at(x, y)));
    }
}

namespace {

std::uint8_t toByte(float component) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

} // namespace

bool PictureCanvas::saveJpeg(const std::string& path, int quality, std::string& error) const {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const Colour& pixel : pixels)
        rgb.insert(rgb.end(), {toByte(pixel.r), toByte(pixel.g), toByte(pixel.b)});

    tjhandle handle = tjInitCompress();
    if (!handle) {
        error = "cannot start the JPEG encoder";
        return false;
    }
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const bool encoded = tjCompress2(handle, rgb.data(), w, 0, h, TJPF_RGB, &jpeg, &size,
                                     TJSAMP_444, quality, 0) == 0;
    if (!encoded)
        error = tjGetErrorStr2(handle);
    tjDestroy(handle);
    if (encoded) {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(jpeg), static_cast<std::streamsize>(size));
        if (!file) {
            error = "cannot write the file";
        }
    }
    tjFree(jpeg);
    return encoded && error.empty();
}
