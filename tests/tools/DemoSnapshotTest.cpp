// The bundled demo played on at 60 frames a second, its state saved at moments where every kind
// of state is on the move, then played far past them: each saved state put back must draw the
// frames that followed it byte for byte, and a state put back twice the same frames twice.
//
// The GL's own history must not matter either: effects draw from arrays, since the driver cuts
// immediate-mode vertices where its buffer runs full, and a different cut moves a pixel here
// and there by a level. Before each state is put back the driver is handed a different number
// of vertices that draw nothing, so that an effect drawing in immediate mode again shows here.

#include "Image.h"
#include "OfflineDemo.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

constexpr int fps = 60;
// A second after each saved moment.
constexpr long followingFrames = fps;
// A small picture: the state is the same at every size, and few pixels keep a run over the
// whole demo short and its kept frames small.
constexpr int width = 240;
constexpr int height = 180;

// Where the demo is saved, in seconds, and what is going on there (the times of the bundled
// script).
struct Moment {
    double at;
    const char* what;
};
const Moment moments[] = {
    {0.0, "the start, before the music is opened"},
    {9.5, "the cave, the title fading in"},
    {14.2, "the title and caption fading out"},
    {16.4, "the tunnel flying in, streaks, mist"},
    {41.1, "the room, sprites, discs spelling B, tiles moving in"},
    {48.3, "the white flash fading, stars blinking, the blob sliding in"},
    {65.1, "the glow, tentacles, bursts just after an explosion"},
    {76.6, "tentacles moving off after StartMove, the glow shaking"},
    {101.5, "the rise to white, the swirl banner fading out, greets"},
    {132.4, "the cube sinking after Move, the wobbling sphere"},
    {147.5, "the closing iris, the dusk fade, the music's end"},
};
// Played on to here before going back.
constexpr double farPast = 152.0;
// The memory budget of the snapshots a viewer keeps, one every two seconds of the demo.
constexpr double snapshotEvery = 2.0;
constexpr std::size_t snapshotBudget = 100u << 20;

// The working directory is the demo's folder while the demo plays, as for the player.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path previous;
};

std::vector<Image> drawFrames(OfflineDemo& demo, long count) {
    std::vector<Image> frames(static_cast<std::size_t>(count));
    for (Image& frame : frames) {
        demo.drawFrame();
        demo.readPixels(frame);
    }
    return frames;
}

struct Difference {
    long pixels = 0;
    int most = 0;
};

Difference compare(const Image& a, const Image& b) {
    Difference difference;
    for (std::size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
        int most = 0;
        for (std::size_t c = i; c < i + 3; ++c)
            most = std::max(most, std::abs(int{a.rgb[c]} - int{b.rgb[c]}));
        difference.pixels += most > 0;
        difference.most = std::max(difference.most, most);
    }
    return difference;
}

// How the frames drawn again differ from the first drawing: "" when they are the same.
std::string framesDiffer(const std::vector<Image>& drawn, const std::vector<Image>& first) {
    std::string report;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Difference difference = compare(drawn[i], first[i]);
        if (difference.pixels > 0)
            report += "frame " + std::to_string(i) + ": " + std::to_string(difference.pixels) +
                      " pixels differ, by up to " + std::to_string(difference.most) + "; ";
    }
    return report;
}

// Vertices that change nothing on the screen or in the GL's state, only how full the driver's
// immediate-mode buffer is.
void feedDriverVertices(int count) {
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i)
        glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    glPopAttrib();
}

bool moves(const std::vector<Image>& frames) {
    return std::any_of(frames.begin(), frames.end(),
                       [&](const Image& frame) { return frame.rgb != frames.front().rgb; });
}

long residentKilobytes() {
    long kilobytes = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "VmRSS: %ld kB", &kilobytes) == 1)
                break;
        }
        std::fclose(status);
    }
    return kilobytes;
}

TEST(DemoSnapshot, RestoredStatesDrawTheFramesThatFollowedThem) {
    const InFolder demoFolder(DEMO_FOLDER);
    OfflineDemo demo(ClockMode::Music, FrameRate(fps), width, height);
    demo.load("demoscript.scr");

    std::vector<OfflineDemo::Saved> saved;
    std::vector<std::vector<Image>> following;
    // Snapshots every two seconds, as a viewer keeps them, weighed by their estimate and by what
    // taking them added to the resident memory.
    std::vector<OfflineDemo::Saved> kept;
    long residentGrowth = 0;
    const auto playTo = [&](long frame) {
        while (demo.framesDrawn() < frame) {
            if (demo.framesDrawn() % static_cast<long>(snapshotEvery * fps) == 0) {
                const long before = residentKilobytes();
                kept.push_back(demo.saveState());
                residentGrowth += residentKilobytes() - before;
            }
            demo.drawFrame();
        }
    };
    for (const Moment& moment : moments) {
        playTo(static_cast<long>(moment.at * fps));
        saved.push_back(demo.saveState());
        // The clock read last, at the frame before; the music starts a frame late.
        EXPECT_NEAR(saved.back().demo.time(), moment.at, 3.0 / fps) << moment.what;
        following.push_back(drawFrames(demo, followingFrames));
        EXPECT_TRUE(moves(following.back())) << "nothing moves at " << moment.at << " s";
    }
    playTo(static_cast<long>(farPast * fps));

    for (std::size_t i = 0; i < saved.size(); ++i) {
        feedDriverVertices(static_cast<int>(i) * 397);
        demo.restoreState(saved[i]);
        EXPECT_EQ(framesDiffer(drawFrames(demo, followingFrames), following[i]), "")
            << "restored at " << moments[i].at << " s (" << moments[i].what << ")";
    }
    // The same state twice: the first time must not have changed what it holds.
    for (std::size_t i : {std::size_t{6}, std::size_t{1}}) {
        demo.restoreState(saved[i]);
        EXPECT_EQ(framesDiffer(drawFrames(demo, followingFrames), following[i]), "")
            << "restored a second time at " << moments[i].at << " s (" << moments[i].what << ")";
    }

    std::size_t bytes = 0;
    for (const OfflineDemo::Saved& each : kept)
        bytes += each.demo.byteSize();
    std::printf("%zu snapshots, one every %.0f s: %.1f MB estimated, %.1f MB resident\n",
                kept.size(), snapshotEvery, static_cast<double>(bytes) / (1 << 20),
                static_cast<double>(residentGrowth) / 1024.0);
    EXPECT_LT(bytes, snapshotBudget);
}

} // namespace
