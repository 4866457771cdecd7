#pragma once

#include "Effect.h"
#include "EffectState.h"

#include <functional>
#include <string>
#include <vector>

// An effect that writes what the engine does to it into a shared log: "<name> init",
// "<name> render", "<name> trigger <id> <n1> <n2> ...", "<name> deleted".
class RecordingEffect : public Effect {
public:
    RecordingEffect(const std::string& name, std::vector<std::string>& log)
        : Effect(name), log(log) {}
    ~RecordingEffect() override { log.push_back(name + " deleted"); }

    void init() override { log.push_back(name + " init"); }
    void render() override {
        log.push_back(name + " render");
        if (onRender)
            onRender();
    }
    void trigger(const std::string& triggerId, const std::vector<float>& numbers) override {
        std::string entry = name + " trigger " + triggerId;
        for (float number : numbers)
            entry += " " + std::to_string(number);
        log.push_back(entry);
    }

    // The log belongs to the test: an effect that only records has nothing of its own to save.
    std::shared_ptr<const EffectState> saveState() const override { return nullptr; }
    void restoreState(const EffectState&) override {}
    std::shared_ptr<const EffectState> saveClassState() const override { return nullptr; }
    void restoreClassState(const EffectState&) override {}

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // Runs inside each render, with the engine's GL state saved around it.
    std::function<void()> onRender;

private:
    std::vector<std::string>& log;
};
