#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <string_view>

// One picture, black parts cut out; or, dissolving, the picture's brightness as a moving
// threshold that decides where it covers what lies beneath. Parameters: z (-1.2); with four
// values a dissolve from p[1] at p[3] per 1/60 s (p[2] unused); with five, p[4] = -1 turns the
// threshold test round. The first data string names the picture. Every trigger, whatever its
// name, moves the picture by its first number in depth.
class Picture : public SavableEffect<Picture> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs = EffectInputs::anyTrigger({1, 4, 5}, {1});
    static constexpr std::string_view defaultPicture = "\\picture.jpg";

    explicit Picture(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's threshold step, while dissolving.
    void moveThreshold(float delta);

    float getZ() const { return z; }
    bool isDissolving() const { return dissolve; }
    float getThreshold() const { return threshold; }
    // GL_LESS or GL_GREATER: which side of the threshold a dissolving picture is drawn on.
    unsigned int thresholdTest() const;

private:
    // On the first frame after each init: the parameters and the picture.
    void load();

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    float z = -1.2f;
    bool dissolve = false;
    // Drawn where the picture is darker than the threshold; else where it is brighter.
    bool lessTest = true;
    float threshold = 0.0f;
    float thresholdSpeed = 0.0f;
};
