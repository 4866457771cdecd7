#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"

// A flat colour laid over everything drawn before it in the frame: a fade to or from a colour.
// Every trigger, whatever its name, (re)starts a fade; the fader then draws until its opacity
// lands exactly on the target.
class Fader : public SavableEffect<Fader> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs =
        EffectInputs::anyTrigger(noNumbers, NumberGroups::wholeOrNone(6));
    explicit Fader(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    // Six numbers: alpha, target alpha, speed per 1/60 s, red, green, blue. Any other count:
    // white from opaque to clear at -0.01.
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    bool isFinished() const { return finished; }
    float getAlpha() const { return alpha; }

private:
    bool finished = true;
    // The fader's own opacity, not the base's. Never clamped: a fade that steps past its target
    // goes on.
    float alpha = 0.0f;
    float speed = 0.0f;
    float targetAlpha = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};
