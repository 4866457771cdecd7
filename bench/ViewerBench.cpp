// What a user of reelview waits for, on the bundled demo (as the build makes it in build/demo)
// paused at 140 s in a real window, from the key press or the file write until the title tells
// that the frame is shown:
//
//   xvfb-run -a -s '-screen 0 1280x1024x24' build/bin/viewer_bench [REPETITIONS]
//
// (a) Left, a seek back 1 s; (b) Home; (c) a save of the script that adds a record starting one
// second before the playhead. Each is timed with the viewer's snapshots and against replaying
// from 0 (what the viewer did before it kept snapshots, asked for with --snapshot-every 0), in
// the same run, each viewer started afresh for each measurement. The fastest of the repetitions
// (3 by default) counts: others' work on a shared machine only ever slows a run down. Goals:
// 0.25 s, 0.25 s and 0.5 s.

#include "CommandOutput.h"
#include "TempFolder.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double playhead = 140.0;

// The viewer, started in the demo's folder, its stderr to a file; killed at the end.
class Viewer {
public:
    Viewer(const fs::path& folder, const std::vector<std::string>& options) {
        std::vector<std::string> arguments{REELVIEW_PATH};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back("demoscript.scr");
        const std::string err = (folder / "viewer-err.txt").string();
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(127);
            const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        display = XOpenDisplay(nullptr);
    }
    ~Viewer() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (display)
            XCloseDisplay(display);
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Polls the title through Xlib, cheaply enough to poll every millisecond, until `wanted`
    // holds; false after `limit`.
    bool waitForTitle(const std::function<bool(const std::string&)>& wanted,
                      std::chrono::seconds limit) {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            if (!window)
                window = findWindow();
            if (window) {
                char* name = nullptr;
                if (XFetchName(display, window, &name) && name) {
                    title = name;
                    XFree(name);
                    if (wanted(title))
                        return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    void press(const std::string& key) const {
        commandOutput("xdotool key --window " + std::to_string(window) + " " + key);
    }

    const std::string& lastTitle() const { return title; }

private:
    Window findWindow() const {
        const std::string found =
            commandOutput("xdotool search --name ' fps' 2>/dev/null | tail -1");
        return found.empty() ? 0 : std::stoul(found);
    }

    pid_t pid = -1;
    Display* display = nullptr;
    Window window = 0;
    std::string title;
};

double shownTime(const std::string& title) {
    try {
        return title.rfind("replaying", 0) == 0 ? -1.0 : std::stod(title);
    } catch (const std::exception&) {
        return -1.0;
    }
}

bool showsTime(const std::string& title, double time) {
    return std::abs(shownTime(title) - time) < 0.005;
}

struct Operation {
    const char* name;
    double goal;
    // Does it, from the viewer paused at the playhead; the time from the start of the doing
    // until the frame is shown, or nothing when it is not shown in time.
    std::function<std::optional<double>(Viewer&, const fs::path& folder)> time;
};

std::optional<double> timeKey(Viewer& viewer, const std::string& key, double target) {
    const auto start = Clock::now();
    viewer.press(key);
    if (!viewer.waitForTitle([&](const std::string& t) { return showsTime(t, target); },
                             std::chrono::seconds(120)))
        return std::nullopt;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::optional<double> timeEdit(Viewer& viewer, const fs::path& folder) {
    const fs::path script = folder / "demoscript.scr";
    std::ifstream in(script);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    text += "DemoEffect benchEdit ( Fader 50 139 139 400 ( ) ( ) );\n";
    const auto start = Clock::now();
    {
        std::ofstream out(script, std::ios::trunc);
        out << text;
    }
    if (!viewer.waitForTitle(
            [&](const std::string& t) {
                return t.find("benchEdit") != std::string::npos && showsTime(t, playhead);
            },
            std::chrono::seconds(120)))
        return std::nullopt;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const Operation operations[] = {
    {"seek back 1 s", 0.25,
     [](Viewer& viewer, const fs::path&) { return timeKey(viewer, "Left", playhead - 1.0); }},
    {"Home", 0.25, [](Viewer& viewer, const fs::path&) { return timeKey(viewer, "Home", 0.0); }},
    {"edit 1 s back", 0.5, timeEdit},
};

// One measurement: a viewer of its own on a fresh copy of the demo.
std::optional<double> measure(const Operation& operation, bool snapshots) {
    TempFolder folder;
    fs::copy(DEMO_FOLDER, folder.path(), fs::copy_options::recursive);
    std::vector<std::string> options{"--at", "140", "--paused"};
    if (!snapshots)
        options.insert(options.end(), {"--snapshot-every", "0"});
    Viewer viewer(folder.path(), options);
    if (!viewer.waitForTitle(
            [](const std::string& t) {
                return showsTime(t, playhead) && t.find("[paused]") != std::string::npos;
            },
            std::chrono::seconds(300))) {
        std::cerr << "the viewer did not reach " << playhead << " s: " << viewer.lastTitle()
                  << "\n";
        return std::nullopt;
    }
    // Let the first frame settle, as a user would look at it before pressing.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return operation.time(viewer, folder.path());
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::cerr << "viewer_bench wants a display: run it under xvfb-run\n";
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    bool failed = false;
    std::printf("%-16s %12s %14s %8s %8s\n", "operation", "snapshots s", "replay 0 s", "ratio",
                "goal s");
    for (const Operation& operation : operations) {
        std::optional<double> best[2];
        // Interleaved, so that a slow stretch of the machine falls on both alike.
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            for (const bool snapshots : {true, false}) {
                const std::optional<double> seconds = measure(operation, snapshots);
                auto& kept = best[snapshots ? 0 : 1];
                if (seconds && (!kept || *seconds < *kept))
                    kept = seconds;
            }
        }
        if (!best[0] || !best[1]) {
            std::printf("%-16s not shown in time\n", operation.name);
            failed = true;
            continue;
        }
        std::printf("%-16s %12.3f %14.3f %8.3f %8.2f%s\n", operation.name, *best[0], *best[1],
                    *best[0] / *best[1], operation.goal,
                    *best[0] <= operation.goal ? "" : "  (missed)");
    }
    return failed ? 1 : 0;
}
