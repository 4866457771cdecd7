// reelview [--at T] [--size WxH] [--clock music|free] [SCRIPT]: plays a demo as the player
// does, from any time, with keys to pause, step, seek and loop, and reloads it in place when its
// files change.

#include "StopSignals.h"
#include "ToolSupport.h"
#include "ViewOptions.h"
#include "Viewer.h"

int main(int argc, char** argv) {
    ViewOptions options;
    if (const auto status = viewCommandLine(options).parse(argc, argv))
        return *status;
    StopSignals::install();
    return runReportingErrors([&] {
        options.script = enterScriptFolder(options.script);
        Viewer viewer(options);
        return viewer.run();
    });
}
