#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

// One picture on a waving strip of six quads, black parts cut out. Parameter: z (-1.2). The
// first data string names the picture. Every trigger, whatever its name, moves the strip by its
// first number in depth.
class PictureWarp : public SavableEffect<PictureWarp> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs = EffectInputs::anyTrigger({1}, {1});
    static constexpr std::string_view defaultPicture = "\\picture.jpg";
    // Seven columns of a bottom and a top vertex each.
    static constexpr int vertexCount = 14;

    explicit PictureWarp(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& numbers) override;

    // One frame of the wave: the strip's displaced positions (each vertex's second triple) move
    // on. The two phases are shared by the whole program and advance once per vertex.
    void wave(float delta);

    float getZ() const { return z; }
    // Empty until the first frame.
    const std::vector<Vertex>& getStrip() const { return strip; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        // The wave's phases.
        float phaseA = 0.0f;
        float phaseB = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(strip); }

private:
    // On the first frame after each init: the parameter, the picture and the strip.
    void load();
    void buildStrip();
    void drawStrip() const;

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    float z = -1.2f;
    std::vector<Vertex> strip;
};
