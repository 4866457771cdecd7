// Effects drawn by reelrender compared with the frames kept in tests/golden: one folder per
// effect, holding a small demo (demoscript.scr), the options to render it with (render.args)
// and the golden frames. `make golden` renders them anew; these tests never do. The same demos
// drawn at twice the size and between black bars must show the same pictures: over the first
// second, or the span a folder's scaled.args gives, to keep them cheap.

#include "DemoSurface.h"
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

// How near a frame must come to its golden one.
struct Tolerance {
    // A channel may differ by this much from the golden pixel or, `around`, from the range of
    // the golden pixels around it (3 x 3), and the golden pixel as much from the range around
    // the frame's: an edge that falls a fraction of a pixel elsewhere passes.
    int channel;
    bool around;
    // No more than this share of the pixels may be beyond.
    double share;
    // The means of each 8 x 8 block of pixels may differ by this much at most in each channel,
    // so that whatever is out of place or of the wrong size fails however few pixels it covers.
    int block;
};

// The same renderer drawing the same frame.
constexpr Tolerance sameFrame{2, false, 0.001, 255};
// Drawn at twice the size, each 2 x 2 block averaged: geometry edges and lines a pixel wide fall
// on other pixels, thin spikes come and go (the solid SphereNormal, at worst, has 0.5 % of its
// pixels beyond, and blocks 25 apart). A cube drawn at half its size fails (blocks 160 apart),
// as do lines drawn half as wide (1 % and more beyond), and any glow whose copy misses its bundle.
constexpr Tolerance halvedFrame{32, true, 0.0075, 40};

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
    int worstBlock = 0;
    // Pixels beyond the tolerance in red over a dimmed copy of the rendered frame.
    Image difference;
};

// Whether `value` lies within `tolerance` of the range of `channel` around (x, y) in `picture`.
bool nearAround(int value, const Image& picture, int x, int y, int channel, int tolerance) {
    int low = 255;
    int high = 0;
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, picture.height - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, picture.width - 1); ++nx) {
            low = std::min<int>(low, picture.at(nx, ny)[channel]);
            high = std::max<int>(high, picture.at(nx, ny)[channel]);
        }
    }
    return value >= low - tolerance && value <= high + tolerance;
}

bool beyond(const Image& rendered, const Image& golden, int x, int y, Tolerance tolerance) {
    for (int channel = 0; channel < 3; ++channel) {
        const int a = rendered.at(x, y)[channel];
        const int b = golden.at(x, y)[channel];
        if (tolerance.around ? !nearAround(a, golden, x, y, channel, tolerance.channel) ||
                                   !nearAround(b, rendered, x, y, channel, tolerance.channel)
                             : std::abs(a - b) > tolerance.channel)
            return true;
    }
    return false;
}

int worstBlock(const Image& rendered, const Image& golden) {
    constexpr int side = 8;
    int worst = 0;
    for (int top = 0; top + side <= rendered.height; top += side) {
        for (int left = 0; left + side <= rendered.width; left += side) {
            for (int channel = 0; channel < 3; ++channel) {
                int difference = 0;
                for (int y = top; y < top + side; ++y) {
                    for (int x = left; x < left + side; ++x)
                        difference += rendered.at(x, y)[channel] - golden.at(x, y)[channel];
                }
                worst = std::max(worst, std::abs(difference) / (side * side));
            }
        }
    }
    return worst;
}

Comparison compare(const Image& rendered, const Image& golden, Tolerance tolerance) {
    Comparison result;
    result.difference = Image(rendered.width, rendered.height);
    for (int y = 0; y < rendered.height; ++y) {
        for (int x = 0; x < rendered.width; ++x) {
            const bool far = beyond(rendered, golden, x, y, tolerance);
            result.beyond += far;
            std::uint8_t* out = result.difference.at(x, y);
            for (int channel = 0; channel < 3; ++channel)
                out[channel] = far ? (channel == 0 ? 255 : 0)
                                   : static_cast<std::uint8_t>(rendered.at(x, y)[channel] / 4);
        }
    }
    if (tolerance.block < 255)
        result.worstBlock = worstBlock(rendered, golden);
    return result;
}

// Each 2 x 2 block of pixels as one, their mean.
Image halve(const Image& frame) {
    Image half(frame.width / 2, frame.height / 2);
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                const int sum =
                    frame.at(2 * x, 2 * y)[channel] + frame.at(2 * x + 1, 2 * y)[channel] +
                    frame.at(2 * x, 2 * y + 1)[channel] + frame.at(2 * x + 1, 2 * y + 1)[channel];
                half.at(x, y)[channel] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return half;
}

// The demo's picture out of a frame of another shape, and whether all around it is black.
Image pictureIn(const Image& frame, bool& barsBlack) {
    const PixelRect area = DemoSurface(frame.width, frame.height).picture();
    const int top = frame.height - area.y - area.height;
    Image picture(area.width, area.height);
    barsBlack = true;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const std::uint8_t* pixel = frame.at(x, y);
            const bool inside =
                x >= area.x && x < area.x + area.width && y >= top && y < top + area.height;
            if (inside)
                std::copy_n(pixel, 3, picture.at(x - area.x, y - top));
            else
                barsBlack = barsBlack && pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
        }
    }
    return picture;
}

class Golden : public ::testing::TestWithParam<std::string> {
protected:
    fs::path goldenFolder() const { return fs::path(GOLDEN_FOLDER) / GetParam(); }
    fs::path outputFolder() const { return fs::path(GOLDEN_OUTPUT) / GetParam(); }

    // The span the drawings at other sizes write: its scaled.args, or the first second.
    std::string scaledSpan() const {
        const fs::path args = goldenFolder() / "scaled.args";
        std::string span = fs::exists(args) ? fileContents(args) : "--to 1.1";
        std::replace(span.begin(), span.end(), '\n', ' ');
        return span;
    }

    // Renders the effect's demo into `output` of the build's test output, with `extra`
    // options after those of render.args (the later of two wins).
    void render(const fs::path& output, const std::string& extra = "") {
        fs::remove_all(output);
        fs::create_directories(output);
        std::string arguments = fileContents(goldenFolder() / "render.args");
        std::replace(arguments.begin(), arguments.end(), '\n', ' ');
        const ToolOutcome result =
            runTool(std::string(REELRENDER_PATH) + " " + arguments + " " + extra + " --out " +
                        output.string() + " " + (goldenFolder() / "demoscript.scr").string(),
                    output);
        ASSERT_EQ(result.status, 0) << result.err;
    }

    // `rendered` is the frame written to `renderedFile`, or the picture made of it.
    void expectMatch(const Image& rendered, const fs::path& renderedFile, Tolerance tolerance) {
        const std::string frame = renderedFile.filename().string();
        const Image golden = readPng(goldenFolder() / frame);
        ASSERT_EQ(rendered.width, golden.width) << frame;
        ASSERT_EQ(rendered.height, golden.height) << frame;
        const Comparison comparison = compare(rendered, golden, tolerance);
        const long allowed = static_cast<long>(
            tolerance.share * static_cast<double>(rendered.width) * rendered.height);
        if (comparison.beyond <= allowed && comparison.worstBlock <= tolerance.block)
            return;
        const fs::path differenceFile =
            renderedFile.parent_path() / (renderedFile.stem().string() + "-difference.png");
        writePng(differenceFile, comparison.difference);
        ADD_FAILURE() << GetParam() << " " << frame << ": " << comparison.beyond
                      << " pixels differ by more than " << tolerance.channel << " (" << allowed
                      << " allowed); blocks of 8 x 8 differ by up to " << comparison.worstBlock
                      << " (" << tolerance.block
                      << " allowed).\n  rendered:   " << renderedFile.string()
                      << "\n  golden:     " << (goldenFolder() / frame).string()
                      << "\n  difference: " << differenceFile.string() << " (red: beyond)";
    }
};

TEST_P(Golden, FramesMatchTheGoldenOnes) {
    const fs::path output = outputFolder() / "own-size";
    ASSERT_NO_FATAL_FAILURE(render(output));
    const std::set<std::string> golden = framesIn(goldenFolder());
    ASSERT_FALSE(golden.empty()) << "no golden frames: run make golden";
    EXPECT_EQ(framesIn(output), golden) << "render.args and the golden frames disagree";
    for (const std::string& frame : golden) {
        if (fs::exists(output / frame))
            expectMatch(readPng(output / frame), output / frame, sameFrame);
    }
}

TEST_P(Golden, AtTwiceTheSizeIsTheSamePicture) {
    const fs::path output = outputFolder() / "twice";
    ASSERT_NO_FATAL_FAILURE(render(output, "--size 1280x960 " + scaledSpan()));
    const std::set<std::string> frames = framesIn(output);
    ASSERT_FALSE(frames.empty());
    for (const std::string& frame : frames) {
        const Image rendered = readPng(output / frame);
        ASSERT_EQ(rendered.width, 1280);
        ASSERT_EQ(rendered.height, 960);
        expectMatch(halve(rendered), output / frame, halvedFrame);
    }
}

TEST_P(Golden, BetweenBlackBarsIsTheSamePicture) {
    const fs::path output = outputFolder() / "bars";
    ASSERT_NO_FATAL_FAILURE(render(output, "--size 800x480 " + scaledSpan()));
    const std::set<std::string> frames = framesIn(output);
    ASSERT_FALSE(frames.empty());
    for (const std::string& frame : frames) {
        bool barsBlack = false;
        const Image picture = pictureIn(readPng(output / frame), barsBlack);
        EXPECT_TRUE(barsBlack) << frame;
        expectMatch(picture, output / frame, sameFrame);
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
