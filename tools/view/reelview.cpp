// reelview [--at T] [SCRIPT]: plays a demo as the player does, from any time, with keys to
// pause, seek and loop, and reloads it when its files change.

#include "StopSignals.h"
#include "ToolSupport.h"
#include "ViewOptions.h"
#include "Viewer.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    StopSignals::install();
    return runReportingErrors([&] {
        ViewOptions options = parseViewOptions(std::vector<std::string>(argv + 1, argv + argc));
        options.script = enterScriptFolder(options.script);
        Viewer viewer(options, argc > 0 ? argv[0] : "reelview");
        return viewer.run();
    });
}
