// The player: plays demoscript.scr from the working directory. REELPLAY_FULLSCREEN, set by the
// build, chooses between a window on the desktop and a display switched to the demo's size.

#include "DemoProgram.h"
#include "Dialogs.h"
#include "EffectCatalogue.h"
#include "StopSignals.h"

#ifndef REELPLAY_FULLSCREEN
#error "the build sets REELPLAY_FULLSCREEN to 0 or 1"
#endif

int main() {
    StopSignals::install();
    return runDemo(REELPLAY_FULLSCREEN != 0, Dialogs::system(),
                   [] { return std::make_unique<EffectCatalogue>(); });
}
