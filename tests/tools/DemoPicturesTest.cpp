#include "DemoPictures.h"

#include "BitmapFont.h"
#include "JpegDecoder.h"
#include "TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace {

TEST(BitmapFont, DrawsCapitalsAndDigitsAndLeavesOtherCharactersBlank) {
    const auto dots = [](char character) {
        int count = 0;
        for (int row = 0; row < BitmapFont::glyphHeight; ++row) {
            for (int column = 0; column < BitmapFont::glyphWidth; ++column)
                count += BitmapFont::dot(BitmapFont::glyph(character), column, row);
        }
        return count;
    };
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_GT(dots(c), 8) << c;
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_GT(dots(c), 8) << c;
    EXPECT_EQ(dots('a'), 0);
    EXPECT_EQ(dots(' '), 0);
    EXPECT_EQ(BitmapFont::textWidth("AB"), 11);
    EXPECT_EQ(BitmapFont::textWidth(""), 0);
}

// "I" at 4 pixels a dot: a bar 4 wide and 28 high down the middle, serifs at its ends.
TEST(Mask, CoversTheDotsOfItsTextAndNothingElse) {
    Mask mask(64, 64);
    mask.drawText("I", 32.0f, 32.0f, 4.0f);
    EXPECT_EQ(mask.at(32, 32), 1.0f);
    EXPECT_EQ(mask.at(32, 20), 1.0f);
    EXPECT_EQ(mask.at(26, 32), 0.0f);
    EXPECT_EQ(mask.at(32, 10), 0.0f);
    EXPECT_EQ(mask.at(-1, 32), 0.0f);
    const Mask soft = mask.blurred(2);
    EXPECT_GT(soft.at(27, 32), 0.0f);
    EXPECT_LT(soft.at(32, 32), 1.0f);
}

// Textures must have sides the GL takes: powers of two.
TEST(DemoPictures, DecodeAtSidesThatArePowersOfTwo) {
    const TempFolder folder;
    std::set<std::string> paths;
    for (const DemoPicture& picture : drawDemoPictures()) {
        SCOPED_TRACE(picture.path);
        EXPECT_TRUE(paths.insert(picture.path).second);
        std::string error;
        ASSERT_TRUE(picture.canvas.saveJpeg("saved.jpg", 100, error)) << error;
        DecodedPicture decoded;
        ASSERT_TRUE(JpegDecoder().decodeFile("saved.jpg", decoded, error)) << error;
        EXPECT_EQ(decoded.width, picture.canvas.width());
        EXPECT_EQ(decoded.height, picture.canvas.height());
        for (int side : {decoded.width, decoded.height})
            EXPECT_EQ(side & (side - 1), 0) << side;
    }
}

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// makepictures draws every picture the bundled demo's script and its effects load.
TEST(DemoPictures, AreEveryPictureTheBundledDemoLoads) {
    const TempFolder folder;
    std::filesystem::copy_file(DEMO_SCRIPT_PATH, folder.path() / "demoscript.scr");
    ASSERT_EQ(std::system((std::string(MAKEPICTURES_PATH) + " .").c_str()), 0);
    const std::string command =
        std::string(REELCHECK_PATH) + " --files demoscript.scr >report.txt 2>&1";
    std::system(command.c_str());
    std::istringstream report(contents(folder.path() / "report.txt"));
    int pictures = 0;
    for (std::string line; std::getline(report, line);) {
        if (line.starts_with("picture ")) {
            ++pictures;
            EXPECT_TRUE(line.ends_with(": ok")) << line;
        }
    }
    EXPECT_GE(pictures, 10);
}

TEST(DemoPictures, MakePicturesWantsOneFolder) {
    const TempFolder folder;
    const int status = std::system((std::string(MAKEPICTURES_PATH) + " 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
