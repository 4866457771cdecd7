#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <string_view>

// One picture fading in and out, added onto what lies beneath; black parts of the picture let
// it through. Parameters: z (-1.2); x and y (0, 0) as a group. The first data string names the
// picture. "AlphaOut" fades it out.
class PicStory : public SavableEffect<PicStory> {
public:
    static constexpr std::string_view alphaOut = "AlphaOut";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1, 3}, {{alphaOut}}};
    static constexpr std::string_view defaultPicture = "\\picture.jpg";

    explicit PicStory(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's fade: alpha towards its target at its speed per second, kept within 0..1.
    void fade(float delta);

    float getAlpha() const { return alpha; }
    float getAlphaTarget() const { return alphaTarget; }
    float getAlphaSpeed() const { return alphaSpeed; }
    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }

private:
    // On the first frame after each init: the parameters and the picture.
    void load();

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    float z = -1.2f;
    float x = 0.0f;
    float y = 0.0f;
};
