// Effects drawn by reelrender compared with the frames kept in tests/golden: one folder per
// effect, holding a small demo (demoscript.scr), the options to render it with (render.args)
// and the golden frames. `make golden` renders them anew; these tests never do.

#include "PngFile.h"
#include "ToolRun.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A channel may differ by this much, and no more than one pixel in a thousand by more.
constexpr int tolerance = 2;
constexpr double allowedShare = 0.001;

std::vector<std::string> goldenEffects() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(GOLDEN_FOLDER)) {
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::set<std::string> framesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("frame-") && name.ends_with(".png"))
            names.insert(name);
    }
    return names;
}

struct Comparison {
    long beyond = 0;
    // Pixels beyond the tolerance in red over a dimmed copy of the rendered frame.
    Image difference;
};

Comparison compare(const Image& rendered, const Image& golden) {
    Comparison result;
    result.difference = Image(rendered.width, rendered.height);
    for (int y = 0; y < rendered.height; ++y) {
        for (int x = 0; x < rendered.width; ++x) {
            const std::uint8_t* a = rendered.at(x, y);
            const std::uint8_t* b = golden.at(x, y);
            std::uint8_t* out = result.difference.at(x, y);
            bool far = false;
            for (int channel = 0; channel < 3; ++channel)
                far = far || std::abs(a[channel] - b[channel]) > tolerance;
            result.beyond += far;
            for (int channel = 0; channel < 3; ++channel)
                out[channel] =
                    far ? (channel == 0 ? 255 : 0) : static_cast<std::uint8_t>(a[channel] / 4);
        }
    }
    return result;
}

class Golden : public ::testing::TestWithParam<std::string> {
protected:
    fs::path goldenFolder() const { return fs::path(GOLDEN_FOLDER) / GetParam(); }
    fs::path outputFolder() const { return fs::path(GOLDEN_OUTPUT) / GetParam(); }

    // Renders the effect's demo into the build's test output.
    void render() {
        fs::remove_all(outputFolder());
        fs::create_directories(outputFolder());
        std::string arguments = fileContents(goldenFolder() / "render.args");
        std::replace(arguments.begin(), arguments.end(), '\n', ' ');
        const ToolOutcome result = runTool(std::string(REELRENDER_PATH) + " " + arguments +
                                               " --out " + outputFolder().string() + " " +
                                               (goldenFolder() / "demoscript.scr").string(),
                                           outputFolder());
        ASSERT_EQ(result.status, 0) << result.err;
    }

    void expectMatch(const std::string& frame) {
        const fs::path renderedFile = outputFolder() / frame;
        const Image rendered = readPng(renderedFile);
        const Image golden = readPng(goldenFolder() / frame);
        ASSERT_EQ(rendered.width, golden.width) << frame;
        ASSERT_EQ(rendered.height, golden.height) << frame;
        const Comparison comparison = compare(rendered, golden);
        const long allowed =
            static_cast<long>(allowedShare * static_cast<double>(rendered.width) * rendered.height);
        if (comparison.beyond <= allowed)
            return;
        const fs::path differenceFile =
            outputFolder() / (fs::path(frame).stem().string() + "-difference.png");
        writePng(differenceFile, comparison.difference);
        ADD_FAILURE() << GetParam() << " " << frame << ": " << comparison.beyond
                      << " pixels differ by more than " << tolerance << " (" << allowed
                      << " allowed).\n  rendered:   " << renderedFile.string()
                      << "\n  golden:     " << (goldenFolder() / frame).string()
                      << "\n  difference: " << differenceFile.string() << " (red: beyond)";
    }
};

TEST_P(Golden, FramesMatchTheGoldenOnes) {
    ASSERT_NO_FATAL_FAILURE(render());
    const std::set<std::string> golden = framesIn(goldenFolder());
    ASSERT_FALSE(golden.empty()) << "no golden frames: run make golden";
    EXPECT_EQ(framesIn(outputFolder()), golden) << "render.args and the golden frames disagree";
    for (const std::string& frame : golden) {
        if (fs::exists(outputFolder() / frame))
            expectMatch(frame);
    }
}

// A golden demo is a correct script: reelcheck finds nothing to warn of, checking times with the
// clock it is rendered with.
TEST_P(Golden, DemoGetsNoWarning) {
    const std::string arguments = fileContents(goldenFolder() / "render.args");
    const std::string clock =
        arguments.find("--clock free") != std::string::npos ? "free" : "music";
    fs::create_directories(outputFolder());
    const ToolOutcome result = runTool(std::string(REELCHECK_PATH) + " --strict --clock " + clock +
                                           " " + (goldenFolder() / "demoscript.scr").string(),
                                       outputFolder());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(Effects, Golden, ::testing::ValuesIn(goldenEffects()),
                         [](const auto& info) { return info.param; });

} // namespace
