// reelrender: plays a demo offline, frame by frame, and writes its frames as PNG, its music as
// WAV, a video and a contact sheet; the same demo gives the same files every time.

#include "RenderJob.h"
#include "RenderOptions.h"
#include "SignalStop.h"
#include "ToolSupport.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// Output names are meant from where reelrender was started, not from the script's folder.
void anchorOutputs(RenderOptions& options) {
    if (options.out)
        options.out = std::filesystem::absolute(*options.out);
    if (options.video)
        options.video = std::filesystem::absolute(*options.video);
    if (options.audio)
        options.audio = std::filesystem::absolute(*options.audio);
    if (options.sheet)
        options.sheet = std::filesystem::absolute(*options.sheet);
}

int render(RenderOptions options) {
    anchorOutputs(options);
    options.script = enterScriptFolder(options.script);

    const SignalStop signals;
    RenderJob job(options);
    job.run(std::cerr, isatty(STDERR_FILENO) != 0, [&signals] { return signals.received(); });
    // As a shell reports a process ended by the signal.
    return job.stoppedBy() != 0 ? 128 + job.stoppedBy() : 0;
}

} // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    if (const auto status = renderCommandLine(options).parse(argc, argv))
        return *status;
    return runReportingErrors([&] { return render(options); });
}
