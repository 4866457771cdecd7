// reelview as a user runs it: a real X window (ctest runs this under xvfb-run), its title read
// and its keys pressed with xdotool, the music on SDL's dummy audio driver.

#include "ChildProcess.h"
#include "CommandOutput.h"
#include "PngFile.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"
#include "TestPictures.h"
#include "WindowPixels.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::string script = recordTypes +
                           effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "music.ogg") +
                           effectRecord("cave", "Landscape", 5, "0", "0", "100");

double shownTime(const std::string& text) {
    try {
        return std::stod(text);
    } catch (const std::exception&) {
        return -1.0;
    }
}

// " name:where" for each thread of a process: the kernel function each one sleeps in.
std::string threadWaits(pid_t process) {
    std::string threads;
    const std::string tasks = "/proc/" + std::to_string(process) + "/task";
    std::error_code missing;
    for (const auto& task : std::filesystem::directory_iterator(tasks, missing)) {
        std::ifstream comm(task.path() / "comm"), wchan(task.path() / "wchan");
        std::string name, waiting;
        std::getline(comm, name);
        std::getline(wchan, waiting);
        threads += " " + name + ":" + waiting;
    }
    return threads;
}

// A white picture: the fader's opacity climbs from 1 too slowly to end within a test.
const std::string whiteFader =
    effectRecord("white", "Fader", 9, "0", "0", "1000") +
    triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0", "1 2 0.0001 1 1 1");

bool isPaused(const std::string& t) {
    return t.find("[paused]") != std::string::npos;
}

std::string viewerSaid(const std::filesystem::path& err) {
    std::ifstream text(err);
    return {std::istreambuf_iterator<char>(text), {}};
}

// The viewer on the script of a folder of its own, with a tone to play, in the virtual display.
class WholeViewer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "runs under xvfb-run";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        encodeTone("music.ogg", ToneFormat::Ogg, 30.0);
    }

    std::unique_ptr<ChildProcess> start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), REELVIEW_PATH);
        arguments.push_back((folder.path() / "demoscript.scr").string());
        auto viewer = std::make_unique<ChildProcess>(arguments, err);
        viewerPid = viewer->processId();
        return viewer;
    }

    // The viewer's window; "" while there is none. Found by its process, not its title: while
    // it replays, the title shows the replay's progress.
    std::string viewerWindow() const {
        const std::string all =
            commandOutput("xdotool search --pid " + std::to_string(viewerPid) + " 2>/dev/null");
        const std::size_t last = all.rfind('\n');
        return last == std::string::npos ? all : all.substr(last + 1);
    }

    std::string title() const {
        const std::string window = viewerWindow();
        return window.empty() ? ""
                              : commandOutput("xdotool getwindowname " + window + " 2>/dev/null");
    }

    // Polls the title until `wanted` holds; a generous bound guards against a viewer that hangs.
    bool titleShows(const std::function<bool(const std::string&)>& wanted,
                    std::string& shown) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            shown = title();
            if (!shown.empty() && wanted(shown))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // Waits for the window if a search misses it. A key whose press makes the viewer quit takes
    // its window away before xdotool lets go of it (xdotool fails then), and the display would
    // hold it down for the next viewer's window: it is let go of on the display as well.
    void press(const std::string& key) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string window = viewerWindow();
        while (window.empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            window = viewerWindow();
        }
        commandOutput("xdotool key --window " + window + " " + key + " 2>/dev/null");
        commandOutput("xdotool keyup " + key + " 2>/dev/null");
        EXPECT_FALSE(window.empty()) << "no window for " << key << "\n" << seen();
    }

    // A viewer that outlives its Escape tells whether it still draws (the key was lost) or in
    // what its threads wait (it hangs on its way out).
    void endWithEscape(ChildProcess& viewer) const {
        press("Escape");
        if (!viewer.wait(std::chrono::seconds(30))) {
            ADD_FAILURE() << "still running after Escape; now titled \"" << title() << "\"; threads"
                          << threadWaits(viewerPid) << "\n"
                          << seen();
            return;
        }
        EXPECT_EQ(viewer.exitStatus(), 0) << viewerSaid(err);
    }

    // What a failed check tells: the title last read, all the viewer said on stderr, and
    // whether the display itself still answers.
    std::string seen() const {
        return "title: " + last + "\nviewer: " + viewerSaid(err) +
               "\ndisplay: " + commandOutput("xdotool getdisplaygeometry 2>&1");
    }

    TempFolder folder;
    std::filesystem::path err = folder.path() / "err.txt";
    std::string last;
    pid_t viewerPid = -1;
};

} // namespace

TEST_F(WholeViewer, SeeksReloadsKeepsPlayingOnABrokenScriptAndEndsOnEscape) {
    folder.write("demoscript.scr", script);
    const auto viewer = start({"--at", "5"});
    ASSERT_TRUE(viewer->started());

    EXPECT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 5.0; }, last))
        << seen();
    EXPECT_NE(last.find("Landscape"), std::string::npos) << seen();

    const std::string window = viewerWindow();
    const double before = shownTime(last);
    press("Right");
    EXPECT_TRUE(
        titleShows([&](const std::string& t) { return shownTime(t) >= before + 1.0; }, last))
        << seen();
    press("Home");
    EXPECT_TRUE(titleShows([](const std::string& t) { return shownTime(t) < 2.0; }, last))
        << seen();

    // Paused, a seek moves the time and nothing else, back as well as on.
    press("space");
    EXPECT_TRUE(titleShows(isPaused, last)) << seen();
    const double pausedAt = shownTime(last);
    press("Right");
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) {
            return isPaused(t) && std::abs(shownTime(t) - (pausedAt + 1.0)) < 0.05;
        },
        last))
        << seen();
    press("Left");
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) {
            return t.find("replaying") == std::string::npos && isPaused(t) &&
                   std::abs(shownTime(t) - pausedAt) < 0.05;
        },
        last))
        << seen();
    press("space");
    EXPECT_TRUE(titleShows([&](const std::string& t) { return !isPaused(t); }, last)) << seen();
    // All of it in the one window.
    EXPECT_EQ(viewerWindow(), window);

    // A changed script is reloaded: the new effect appears among the active ones.
    folder.write("demoscript.scr", script + effectRecord("fade", "Fader", 9, "0", "0", "100"));
    EXPECT_TRUE(
        titleShows([](const std::string& t) { return t.find("Fader") != std::string::npos; }, last))
        << seen();

    // A broken one is told about while the last good demo plays on.
    folder.write("demoscript.scr", script + "DemoEffect broken ( Nothing 1 0 0 1 ( ) ( ) );");
    EXPECT_TRUE(titleShows(
        [](const std::string& t) { return t.find("error:") != std::string::npos; }, last))
        << seen();
    const double broken = shownTime(last);
    EXPECT_TRUE(titleShows([&](const std::string& t) { return shownTime(t) > broken + 0.5; }, last))
        << seen();
    EXPECT_NE(viewerSaid(err).find("reelview: "), std::string::npos) << viewerSaid(err);

    endWithEscape(*viewer);
}

// An edit is played in the same window, from before its first change; a script that breaks
// meanwhile (here by including a file that is not there yet) is told about while the last good
// demo plays on, and its fix is taken up.
TEST_F(WholeViewer, ReloadsInTheSameWindowAndWaitsForAFix) {
    folder.write("demoscript.scr", script);
    const auto viewer = start({"--at", "3"});
    ASSERT_TRUE(viewer->started());
    ASSERT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 3.0; }, last))
        << seen();
    const std::string window = viewerWindow();
    // The landscape without its clouds is black; the white fader of the edit is not.
    auto centre = [&] {
        const WindowPixels shown = readWindowPixels(viewerWindow());
        return shown.width > 0 ? shown.at(shown.width / 2, shown.height / 2) : 0u;
    };
    // The title can tell the time a moment before the window shows its frame.
    auto centreBecomes = [&](unsigned colour) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (centre() != colour && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return centre();
    };
    EXPECT_EQ(centreBecomes(0u), 0u);

    folder.write("demoscript.scr", script + "include \"more.scr\";\n");
    EXPECT_TRUE(titleShows(
        [](const std::string& t) { return t.find("error:") != std::string::npos; }, last))
        << seen();
    const double broken = shownTime(last);
    EXPECT_TRUE(titleShows([&](const std::string& t) { return shownTime(t) > broken + 0.5; }, last))
        << seen();

    folder.write("more.scr", whiteFader);
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) {
            return t.find("white (Fader 9)") != std::string::npos &&
                   t.find("error:") == std::string::npos && shownTime(t) >= broken;
        },
        last))
        << seen();
    EXPECT_EQ(viewerWindow(), window);
    // The fader's records start at 0: the demo went back to its start for them.
    EXPECT_NE(viewerSaid(err).find("the demo changes at 0.00 s: resumed from 0.00 s"),
              std::string::npos)
        << viewerSaid(err);

    // A record that starts later resumes from the last snapshot before it, not from the start.
    const double before = shownTime(last);
    folder.write("more.scr", whiteFader + effectRecord("later", "Circles", 3, "2.5", "2.5", "9"));
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) {
            return t.find("later (Circles 3)") != std::string::npos && shownTime(t) >= before;
        },
        last))
        << seen();
    EXPECT_NE(viewerSaid(err).find("the demo changes at 2.50 s: resumed from 2.0"),
              std::string::npos)
        << viewerSaid(err);
    EXPECT_EQ(viewerWindow(), window);
    EXPECT_EQ(centreBecomes(0xFFFFFFu), 0xFFFFFFu);

    endWithEscape(*viewer);
}

// The window may take any size: the picture keeps 4:3 and fills it between black bars; `f`
// fills the screen and gives the window back.
TEST_F(WholeViewer, FillsAnySizeBetweenBarsAndTheScreen) {
    // A white picture: the fader's opacity climbs from 1 too slowly to end within the test.
    folder.write("demoscript.scr", script + effectRecord("white", "Fader", 9, "0", "0", "1000") +
                                       triggerRecord("hold", "Fader", "Hold", false, "0", "0", "0",
                                                     "1 2 0.0001 1 1 1"));
    const auto viewer = start({"--size", "800x600"});
    ASSERT_TRUE(viewer->started());
    ASSERT_TRUE(titleShows([](const std::string& t) { return shownTime(t) > 0.5; }, last))
        << seen();

    // Polls what the window shows until its picture lies where `wanted` says.
    WindowPixels shown;
    auto shows = [&](const std::function<bool(const WindowPixels::Extent&)>& wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            shown = readWindowPixels(viewerWindow());
            if (shown.width > 0 && wanted(shown.litExtent()))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    };
    auto describe = [&] {
        const WindowPixels::Extent e = shown.litExtent();
        return seen() + "\nwindow " + std::to_string(shown.width) + "x" +
               std::to_string(shown.height) + ", lit " + std::to_string(e.left) + "-" +
               std::to_string(e.right) + " x " + std::to_string(e.top) + "-" +
               std::to_string(e.bottom);
    };
    // The picture of a `width` x `height` window: 4:3, centred, reaching two of its edges.
    auto fills = [&](int width, int height) {
        return [=, &shown](const WindowPixels::Extent& e) {
            const int pictureWidth = std::min(width, height * 4 / 3);
            const int pictureHeight = std::min(height, width * 3 / 4);
            const int left = (width - pictureWidth) / 2;
            const int top = (height - pictureHeight) / 2;
            return shown.width == width && shown.height == height && std::abs(e.left - left) <= 2 &&
                   std::abs(e.right - (left + pictureWidth - 1)) <= 2 &&
                   std::abs(e.top - top) <= 2 &&
                   std::abs(e.bottom - (top + pictureHeight - 1)) <= 2;
        };
    };

    EXPECT_TRUE(shows(fills(800, 600))) << describe();
    commandOutput("xdotool windowsize " + viewerWindow() + " 1000 500");
    EXPECT_TRUE(shows(fills(1000, 500))) << describe();
    // Paused, the frame is drawn again at the new size.
    press("space");
    commandOutput("xdotool windowsize " + viewerWindow() + " 400 700");
    EXPECT_TRUE(shows(fills(400, 700))) << describe();

    // Filling the screen is the window manager's work; without one the window stays as it is.
    if (std::filesystem::exists("/usr/bin/evilwm")) {
        ChildProcess manager({"/usr/bin/evilwm", "-fn", "cursor"}, folder.path() / "wm.txt");
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        press("f");
        EXPECT_TRUE(shows(fills(1280, 1024))) << describe();
        press("f");
        EXPECT_TRUE(shows(fills(400, 700))) << describe();
        // F11 does the same.
        press("F11");
        EXPECT_TRUE(shows(fills(1280, 1024))) << describe();
    } else {
        std::cerr << "no window manager (evilwm): fullscreen not tried\n";
    }

    endWithEscape(*viewer);
}

// Every load and reload tells its warnings on stderr, as reelcheck does, and counts them in the
// title.
TEST_F(WholeViewer, WarnsOnEveryLoad) {
    const std::string plain =
        recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "music.ogg") +
        effectRecord("fade", "Fader", 9, "0", "0", "100");
    const std::string odd = triggerRecord("odd", "Fader", "Odd", false, "1", "1", "0", "1 2 3");
    folder.write("demoscript.scr", plain + odd);
    const auto viewer = start({});
    ASSERT_TRUE(viewer->started());
    EXPECT_TRUE(titleShows(
        [](const std::string& t) { return t.find(" 1 warning") != std::string::npos; }, last))
        << seen();
    EXPECT_NE(viewerSaid(err).find("warning: Fader's trigger \"Odd\""), std::string::npos)
        << viewerSaid(err);

    // Set up again while it shows, and after the music's end: two more.
    folder.write("demoscript.scr",
                 plain + odd + effectRecord("late", "Fader", 3, "0", "400", "500"));
    EXPECT_TRUE(titleShows(
        [](const std::string& t) { return t.find(" 3 warnings") != std::string::npos; }, last))
        << seen();
    EXPECT_NE(viewerSaid(err).find("warning: [late] starts at 400 s, after the music ends"),
              std::string::npos)
        << viewerSaid(err);

    folder.write("demoscript.scr", plain);
    EXPECT_TRUE(titleShows(
        [](const std::string& t) {
            return t.find("warning") == std::string::npos && t.find("Fader") != std::string::npos;
        },
        last))
        << seen();
    endWithEscape(*viewer);
}

// Paused, `.` steps a frame, `s` saves the frame shown beside the script, `h` lays the keys
// over the picture and takes them off again.
TEST_F(WholeViewer, StepsSavesAndShowsTheKeys) {
    folder.write("demoscript.scr", script + whiteFader);
    const auto viewer = start({"--at", "2", "--paused"});
    ASSERT_TRUE(viewer->started());
    ASSERT_TRUE(
        titleShows([](const std::string& t) { return isPaused(t) && shownTime(t) >= 2.0; }, last))
        << seen();
    // The records by name, with their effects and layers.
    EXPECT_NE(last.find("white (Fader 9)"), std::string::npos) << seen();
    EXPECT_NE(last.find("cave (Landscape 5)"), std::string::npos) << seen();

    const double pausedAt = shownTime(last);
    for (int frame = 0; frame < 6; ++frame)
        press("period");
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) {
            return isPaused(t) && std::abs(shownTime(t) - (pausedAt + 0.1)) < 0.015;
        },
        last))
        << seen();

    press("s");
    std::filesystem::path saved;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (saved.empty() && std::chrono::steady_clock::now() < deadline) {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().extension() == ".png")
                saved = entry.path();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_FALSE(saved.empty()) << seen();
    EXPECT_EQ(saved.filename().string().rfind("demoscript-2.1", 0), 0u) << saved;
    EXPECT_NE(viewerSaid(err).find("saved " + saved.filename().string()), std::string::npos)
        << viewerSaid(err);
    const Image frame = readPng(saved);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    EXPECT_EQ(frame.at(320, 240)[0], 255);
    EXPECT_EQ(frame.at(5, 5)[1], 255);

    // The keys lie on a dark box at the picture's top left corner.
    auto corner = [&] {
        const WindowPixels shown = readWindowPixels(viewerWindow());
        return shown.width > 10 ? shown.at(4, 4) : 0u;
    };
    auto cornerBecomes = [&](bool white) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            if ((corner() == 0xFFFFFFu) == white)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    };
    EXPECT_TRUE(cornerBecomes(true)) << std::hex << corner();
    press("h");
    EXPECT_TRUE(cornerBecomes(false)) << std::hex << corner();
    press("F1");
    EXPECT_TRUE(cornerBecomes(true)) << std::hex << corner();

    endWithEscape(*viewer);
}

// After "TheEnd" has faded the music out the last frame stays, paused; Home plays it again.
TEST_F(WholeViewer, StaysOpenAtTheEnd) {
    folder.write("demoscript.scr",
                 script + triggerRecord("end", "SoundPlayer", "TheEnd", false, "1", "1", "0"));
    const auto viewer = start({});
    ASSERT_TRUE(viewer->started());
    auto atEnd = [](const std::string& t) { return t.find("[end]") != std::string::npos; };
    ASSERT_TRUE(titleShows(atEnd, last)) << seen();
    const double endedAt = shownTime(last);
    EXPECT_GT(endedAt, 1.0) << seen();
    // Still there a while later, at the same time.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(viewer->wait(std::chrono::seconds(0))) << seen();
    EXPECT_TRUE(
        titleShows([&](const std::string& t) { return atEnd(t) && shownTime(t) == endedAt; }, last))
        << seen();

    press("Home");
    EXPECT_TRUE(titleShows(
        [&](const std::string& t) { return !atEnd(t) && !isPaused(t) && shownTime(t) < endedAt; },
        last))
        << seen();
    EXPECT_TRUE(titleShows(atEnd, last)) << seen();
    endWithEscape(*viewer);
}

// Music that cannot be played would hold the clock at 0: the viewer says so and runs on a free
// clock; --clock free asks for it outright.
TEST_F(WholeViewer, RunsOnAFreeClockWithoutMusic) {
    folder.write("demoscript.scr",
                 recordTypes +
                     effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "missing.ogg") +
                     effectRecord("fade", "Fader", 9, "0", "1", "100"));
    auto viewer = start({});
    ASSERT_TRUE(viewer->started());
    EXPECT_TRUE(titleShows(
        [](const std::string& t) {
            return t.find("[free clock]") != std::string::npos && shownTime(t) > 1.5 &&
                   t.find("fade (Fader 9)") != std::string::npos;
        },
        last))
        << seen();
    const std::string said = viewerSaid(err);
    EXPECT_NE(said.find("running on a free clock"), std::string::npos) << said;
    EXPECT_NE(said.find("missing"), std::string::npos) << said;
    endWithEscape(*viewer);

    folder.write("demoscript.scr", script);
    viewer = start({"--clock", "free", "--at", "2"});
    EXPECT_TRUE(titleShows(
        [](const std::string& t) {
            return t.find("[free clock]") != std::string::npos && shownTime(t) >= 2.0;
        },
        last))
        << seen();
    EXPECT_EQ(viewerSaid(err).find("running on a free clock"), std::string::npos)
        << viewerSaid(err);
    endWithEscape(*viewer);
}

namespace {

void writeSolidJpeg(const std::filesystem::path& file, std::uint8_t r, std::uint8_t g,
                    std::uint8_t b) {
    const std::vector<std::uint8_t> bytes = encodeJpeg(solidImage(256, 256, r, g, b));
    // Written beside and renamed over, as editors save: never seen half written.
    const std::filesystem::path beside = file.string() + ".new";
    std::ofstream(beside, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::filesystem::rename(beside, file);
}

} // namespace

// A picture changed on disk is shown anew: the old one, kept as a texture, is never drawn again.
TEST_F(WholeViewer, ShowsAChangedPicture) {
    writeSolidJpeg(folder.path() / "photo.jpg", 255, 0, 0);
    folder.write("demoscript.scr",
                 recordTypes +
                     effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "music.ogg") +
                     effectRecord("photo", "Picture1", 5, "3", "3", "100", "photo.jpg"));
    const auto viewer = start({"--at", "5"});
    ASSERT_TRUE(viewer->started());
    ASSERT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 5.0; }, last))
        << seen();
    auto centreIs = [&](std::uint32_t wanted) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::uint32_t pixel = 0;
        while (std::chrono::steady_clock::now() < until) {
            const WindowPixels shown = readWindowPixels(viewerWindow());
            pixel = shown.width > 0 ? shown.at(shown.width / 2, shown.height / 2) : 0u;
            // JPEG's error: each channel within a few steps.
            const auto near = [](std::uint32_t a, std::uint32_t b) {
                return std::abs(static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF)) < 12;
            };
            if (near(pixel >> 16, wanted >> 16) && near(pixel >> 8, wanted >> 8) &&
                near(pixel, wanted))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::cerr << "centre " << std::hex << pixel << std::dec << "\n";
        return false;
    };
    EXPECT_TRUE(centreIs(0xFF0000u)) << seen();
    writeSolidJpeg(folder.path() / "photo.jpg", 0, 0, 255);
    EXPECT_TRUE(centreIs(0x0000FFu)) << seen();
    EXPECT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 5.0; }, last))
        << seen();
    // From the snapshot before the record that loads it, not from the start.
    EXPECT_NE(viewerSaid(err).find("the demo changes at 3.00 s: resumed from 2.0"),
              std::string::npos)
        << viewerSaid(err);

    endWithEscape(*viewer);
}

// A loop plays its span over and over in the one window, each pass from a snapshot.
TEST_F(WholeViewer, LoopsInPlace) {
    folder.write("demoscript.scr", script);
    const auto viewer = start({"--loop", "3", "4"});
    ASSERT_TRUE(viewer->started());
    ASSERT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 3.5; }, last))
        << seen();
    const std::string window = viewerWindow();
    // Back to the loop's start, then past its middle again: a second pass.
    EXPECT_TRUE(titleShows(
        [](const std::string& t) { return shownTime(t) >= 3.0 && shownTime(t) < 3.3; }, last))
        << seen();
    EXPECT_TRUE(titleShows([](const std::string& t) { return shownTime(t) >= 3.5; }, last))
        << seen();
    EXPECT_NE(last.find("[loop 3.00-4.00]"), std::string::npos) << seen();
    EXPECT_EQ(viewerWindow(), window);
    // Never past its end by more than a frame or two.
    for (int look = 0; look < 20; ++look) {
        EXPECT_LT(shownTime(title()), 4.1);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    endWithEscape(*viewer);
}
