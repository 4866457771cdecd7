#include "DemoProgram.h"

#include "DemoSystem.h"
#include "Dialogs.h"
#include "LoadError.h"
#include "MainLoop.h"
#include "MusicClock.h"
#include "ScriptErrors.h"
#include "StopSignals.h"

#include <exception>

namespace {

void play(DemoSystem& demo, const EffectFactory& createEffects) {
    demo.setClock(std::make_unique<MusicClock>());
    // Declared after the DemoSystem's window was made and gone before it goes.
    const std::unique_ptr<EffectObjects> effects = createEffects();
    demo.loadTimeline(demoScriptName);
    demo.setTitle(demoTitle);
    // A stop signal ends the demo between two frames, like closing the window.
    MainLoop loop(demo, [&effects] { return StopSignals::requested() || effects->demoFinished(); });
    loop.run();
}

} // namespace

int runDemo(bool fullscreen, Dialogs& dialogs, const EffectFactory& createEffects) {
    DemoSystem demo;
    if (!demo.createWindow(fullscreen, dialogs))
        return 1;
    std::string failure;
    try {
        play(demo, createEffects);
        const int signal = StopSignals::requested();
        return signal ? StopSignals::exitStatus(signal) : 0;
    } catch (const Errors::LoadError& error) {
        failure = error.getMessage();
    } catch (const Errors::DataBaseError& error) {
        failure = error.getMessage();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    // The window goes first: a box that waits for the user must not hold a switched display.
    demo.getWindow().destroy();
    dialogs.show("ERROR", failure, DialogIcon::Error);
    return 1;
}
