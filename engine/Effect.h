#pragma once

#include <memory>
#include <string>
#include <vector>

class EffectState;

// The base of every effect. The engine knows an effect only through this class: it sets the
// effect up from a script record, draws it while it is active and hands it the script's
// triggers. Constructing an effect registers it, under its name, with the one DemoSystem, which
// must exist by then. Constructors must not touch GL: effects are also built without a window.
// Effect classes derive from SavableEffect, which saves and restores them whole.
class Effect {
public:
    explicit Effect(const std::string& name);
    virtual ~Effect() = default;

    // Each Init event: after `setup`. Reads parameters and data into the effect's own state.
    virtual void init() = 0;
    // Every frame while active, inside a save and restore of the GL matrices and attributes.
    virtual void render() = 0;
    // A trigger of the script, whatever the effect's state. Both arguments live only during the
    // call.
    virtual void trigger(const std::string& triggerId, const std::vector<float>& parameters) = 0;

    // Everything of this object that later frames depend on, base fields included, and putting
    // it back. A state is restored only into the object that saved it.
    virtual std::shared_ptr<const EffectState> saveState() const = 0;
    virtual void restoreState(const EffectState& state) = 0;
    // What the effect's class keeps for all its objects; null for a class that keeps nothing.
    // Restored into any object of the same class.
    virtual std::shared_ptr<const EffectState> saveClassState() const = 0;
    virtual void restoreClassState(const EffectState& state) = 0;

    void setup(int width, int height, const std::vector<float>& parameters,
               const std::vector<std::string>& data, int layer);
    // Loads the effect's own perspective into the projection matrix; leaves modelview selected.
    void applyPerspective();
    void setAspect(float newAspect);
    float getAspect() const { return aspect; }

    int getLayer() const { return layer; }
    const std::vector<float>& getParameters() const { return parameters; }
    const std::vector<std::string>& getData() const { return data; }
    const std::string& getName() const { return name; }

protected:
    // Only for saving a state: a copy is not registered.
    Effect(const Effect&) = default;
    Effect& operator=(const Effect&) = default;

    std::string name;
    int width = 0;
    int height = 0;
    float fov = 45.0f;
    float zNear = 0.1f;
    float zFar = 250.0f;
    float aspect = 0.0f;
    int layer = 0;
    std::vector<float> parameters;
    std::vector<std::string> data;
    // Free for an effect's own fading; the engine never reads them.
    float alpha = -1.0f;
    float alphaTarget = -1.0f;
    float alphaSpeed = 0.0f;
};

// The mean step of the demo clock per frame over the last 20 frames, in seconds; 1/60 while the
// clock stands still. Effects scale per-frame animation by it.
float frameDelta();
