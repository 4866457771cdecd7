#pragma once

#include "Effect.h"
#include "GLTest.h"
#include "NearColour.h"
#include "TestPictures.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// Picture effects played through the engine in the offscreen window, with pictures made by the
// test and encoded as JPEG files in the demo's folder.
class PictureScene : public GLTest {
protected:
    void TearDown() override;

    // An effect object registered under `name`; it lives until the end of the test.
    template <typename EffectClass>
    EffectClass& add(const std::string& name) {
        auto effect = std::make_unique<EffectClass>(name);
        EffectClass& made = *effect;
        effects.push_back(std::move(effect));
        return made;
    }

    void writePicture(const std::string& name, const RgbImage& image) const;
    void frames(int count);
    // Frames with the clock running at 60 frames per second from where it stands.
    void runFrames(int count);

    // A Fader record that lays an opaque colour (0..1 components) over the black frame on layer
    // 0, under everything else, for the whole test; the caller adds a Fader object.
    static std::string backdrop(float red, float green, float blue);
    // Pixels of the whole frame that are not black.
    int litPixels() const;

    // What a `topAndBottom` picture of red over blue looks like, at `level` of 255, drawn on a
    // unit square with a square view: at z = -1.2 over the whole view and a little beyond, lit
    // to the corners (where the filtering wraps round to the opposite edge)...
    void expectWholeViewUpright(int level) const;
    // ...and at z = -3 over the middle 40 % only.
    void expectMiddleOnlyUpright(int level) const;

    std::vector<std::unique_ptr<Effect>> effects;

private:
    int clockFrames = 0;
};

using Rgb = std::array<std::uint8_t, 3>;

// A square picture split down the middle: `left` on the left half, `right` on the right.
RgbImage leftAndRight(int size, Rgb left, Rgb right);
// A square picture split across: `top` on the upper half, `bottom` on the lower.
RgbImage topAndBottom(int size, Rgb top, Rgb bottom);
