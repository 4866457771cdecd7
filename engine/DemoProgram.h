#pragma once

#include <functional>
#include <memory>
#include <string>

class Dialogs;

// The effect objects of one run. Made once the window exists, so they may use GL from the
// start; deleted, in their own order, before the window goes.
class EffectObjects {
public:
    virtual ~EffectObjects() = default;
    // True once the demo has played to its end.
    virtual bool demoFinished() const = 0;
};

using EffectFactory = std::function<std::unique_ptr<EffectObjects>()>;

constexpr const char* demoScriptName = "demoscript.scr";
constexpr const char* demoTitle = "Quillion - Ostrafine - 2002";

// The whole life of the player: window, effect objects, the script from the working directory,
// the main loop on the music's clock, and the teardown. Answers the process's exit status: 0 when
// the main loop ended, 1 when the window could not be made or the script was refused (told through
// `dialogs`).
int runDemo(bool fullscreen, Dialogs& dialogs, const EffectFactory& createEffects);
