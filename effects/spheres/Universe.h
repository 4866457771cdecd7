#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

// 250 coloured glowing sprites on orbits that swell and turn, added onto what lies beneath.
// No parameters; the first data string names the sprite picture. "Blink" brightens and
// enlarges every sprite at once, after which they fade back frame by frame.
class Universe : public SavableEffect<Universe> {
public:
    static constexpr std::string_view blink = "Blink";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers, {{blink}}};
    static constexpr std::string_view defaultPicture = "\\source\\data\\pics\\light.jpg";
    static constexpr int starCount = 250;
    static constexpr unsigned int seed = 110;
    static constexpr float restAlpha = 0.3f;
    static constexpr float restSize = 0.5f;

    explicit Universe(const std::string& name) : SavableEffect(name) { alpha = restAlpha; }

    void init() override {}
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's fade back towards the resting glow and size; counted per drawn frame.
    void decay();

    float getAlpha() const { return alpha; }
    float getSize() const { return size; }
    // Where each star's orbit is drawn from; empty until the first frame.
    const std::vector<Vertex>& stars() const { return starPositions; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float spin = 0.0f;
        float phase = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(starPositions); }

private:
    // On the first frame: the picture and the stars, from the reseeded shared generator.
    void load();
    void drawStars(float spin, float phase) const;

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    std::vector<Vertex> starPositions;
    // Half the side of each sprite.
    float size = restSize;
};
