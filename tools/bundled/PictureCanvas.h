#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// An RGB colour, each component 0..1.
struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

Colour mix(Colour a, Colour b, float t);
Colour scaled(Colour colour, float factor);

// How much of each pixel a shape covers, 0..1; what the demo's pictures are drawn through.
class Mask {
public:
    Mask(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    float at(int x, int y) const;
    // Takes the larger of the current and the given coverage.
    void cover(int x, int y, float coverage);

    // A line of text in the bitmap font, each dot a `dot` pixels square with rounded corners,
    // centred on (centreX, centreY), smoothed at its edges.
    void drawText(std::string_view text, float centreX, float centreY, float dot);
    // A disc of `radius`, smoothed at its edge.
    void drawDisc(float centreX, float centreY, float radius);
    // The mask softened over about `radius` pixels, for glows and shadows.
    Mask blurred(int radius) const;

private:
    int w;
    int h;
    std::vector<float> coverage;
};

// A picture being drawn, black at first, rows top first.
class PictureCanvas {
public:
    PictureCanvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    Colour at(int x, int y) const { return pixels[index(x, y)]; }
    void set(int x, int y, Colour colour) { pixels[index(x, y)] = colour; }

    // Every pixel from its position, x and y running 0..1 across the picture.
    void paint(const std::function<Colour(float x, float y)>& colourAt);
    // `colourAt` laid over the picture as far as `mask` covers it.
    void fill(const Mask& mask, const std::function<Colour(float x, float y)>& colourAt);
    // `colour` added in proportion to the mask's coverage: light that glows.
    void glow(const Mask& mask, Colour colour);
    // Darkened in proportion to the mask's coverage: a shadow.
    void shade(const Mask& mask, float strength);

    // Baseline JPEG at the given quality; false with the reason in `error`.
    bool saveJpeg(const std::string& path, int quality, std::string& error) const;

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * w + x; }

    int w;
    int h;
    std::vector<Colour> pixels;
};
