// reelrender: plays a demo offline, frame by frame, and writes its frames as PNG, its music as
// WAV and a contact sheet; the same demo gives the same files every time.

#include "LoadError.h"
#include "RenderJob.h"
#include "RenderOptions.h"
#include "ScriptErrors.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

int fail(std::string message) {
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    std::cerr << "error: " << message << '\n';
    return 1;
}

// Output names are meant from where reelrender was started, not from the script's folder.
void anchorOutputs(RenderOptions& options) {
    options.out = std::filesystem::absolute(options.out);
    if (options.audio)
        options.audio = std::filesystem::absolute(*options.audio);
    if (options.sheet)
        options.sheet = std::filesystem::absolute(*options.sheet);
}

int render(RenderOptions options) {
    anchorOutputs(options);
    // File names in scripts are relative to the script's folder, where the player runs.
    const std::filesystem::path script(options.script);
    const std::string baseName = script.filename().string();
    std::error_code error;
    if (!script.parent_path().empty())
        std::filesystem::current_path(script.parent_path(), error);
    if (error || baseName.empty())
        return fail("Could not open file \"" + options.script + "\"");
    options.script = baseName;

    RenderJob job(options);
    job.run(std::cerr, isatty(STDERR_FILENO) != 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    auto parsed = parseRenderOptions(argc, argv);
    if (const auto* wrong = std::get_if<std::string>(&parsed)) {
        std::cerr << "reelrender: " << *wrong << '\n' << renderUsage;
        return 2;
    }
    auto& options = std::get<RenderOptions>(parsed);
    if (options.help) {
        std::cout << renderUsage;
        return 0;
    }
    try {
        return render(options);
    } catch (const Errors::LoadError& error) {
        return fail(error.getMessage());
    } catch (const Errors::DataBaseError& error) {
        return fail(error.getMessage());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
