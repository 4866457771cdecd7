#include "DemoPictures.h"

#include "BitmapFont.h"
#include "EffectCatalogue.h"
#include "EffectFiles.h"
#include "JpegDecoder.h"
#include "PortablePath.h"
#include "TempFolder.h"
#include "TextureConversion.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace {

TEST(BitmapFont, DrawsLettersOfBothCasesAndDigitsAndLeavesOtherCharactersBlank) {
    const auto dots = [](char character) {
        int count = 0;
        for (int row = 0; row < BitmapFont::glyphHeight; ++row) {
            for (int column = 0; column < BitmapFont::glyphWidth; ++column)
                count += BitmapFont::dot(BitmapFont::glyph(character), column, row);
        }
        return count;
    };
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_GT(dots(c), 8) << c;
        const char lower = static_cast<char>(c - 'A' + 'a');
        EXPECT_GT(dots(lower), 7) << lower;
        // Told apart from its capital, as "fadeIn" must be from "FADEIN".
        EXPECT_NE(BitmapFont::glyph(lower), BitmapFont::glyph(c)) << lower;
    }
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_GT(dots(c), 8) << c;
    EXPECT_GT(dots('_'), 0);
    EXPECT_EQ(dots(' '), 0);
    EXPECT_EQ(dots('\x7f'), 0);
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

// A picture as the player uploads it: decoded, then near-black keyed out.
struct KeyedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    bool opaque(int x, int y) const {
        return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3] != 0;
    }
    int transparentPixels() const {
        int count = 0;
        for (std::size_t i = 3; i < rgba.size(); i += 4)
            count += rgba[i] == 0;
        return count;
    }
};

KeyedPicture keyed(const std::filesystem::path& file) {
    DecodedPicture decoded;
    std::string error;
    EXPECT_TRUE(JpegDecoder().decodeFile(file.string(), decoded, error)) << error;
    KeyedPicture picture{decoded.width, decoded.height,
                         std::vector<std::uint8_t>(decoded.pixels.begin(), decoded.pixels.end())};
    colourKeyToRgba(picture.rgba);
    return picture;
}

// The pictures an effect loads when its script names none, found as the player finds them.
class DefaultPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(std::system((std::string(MAKEPICTURES_PATH) + " .").c_str()), 0);
    }

    KeyedPicture load(const std::string& name) {
        const auto found = resolvePortablePath(name);
        EXPECT_TRUE(found) << name;
        return found ? keyed(*found) : KeyedPicture{};
    }

    const TempFolder folder;
};

TEST_F(DefaultPictures, AreDrawnForEveryEffectAtSidesThatArePowersOfTwo) {
    int pictures = 0;
    for (const auto& entry : EffectCatalogue::creationOrder) {
        for (const FileUse& use : filesUsedBy(entry.name, {})) {
            if (use.kind != FileKind::Picture)
                continue;
            SCOPED_TRACE(std::string(entry.name) + ": " + use.name);
            const KeyedPicture picture = load(use.name);
            ++pictures;
            for (int side : {picture.width, picture.height}) {
                EXPECT_GT(side, 0);
                EXPECT_EQ(side & (side - 1), 0) << side;
            }
        }
    }
    // Every effect that loads a picture of its own but Greets, which takes only the script's.
    EXPECT_GE(pictures, 22);
}

// Textures of solid objects must not lose a pixel to the near-black key: a hole in a tube or a
// terrain would show the view behind it.
TEST_F(DefaultPictures, OnSolidObjectsHaveNoPixelKeyedOut) {
    for (const char* name :
         {"\\source\\data\\256\\clouds2.jpg", "\\temp\\orang101.jpg", "\\textures\\plants15t.jpg",
          "\\textures\\ss013.jpg", "\\textures\\multi018.jpg", "\\source\\data\\256\\texture.jpg",
          "/source/Data/256/a000.jpg", "\\greytexture.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(load(name).transparentPixels(), 0);
    }
}

// Sprites and discs are shapes on black: lit in the middle, cut out at the corners.
TEST_F(DefaultPictures, SpritesAndDiscsAreShapesOnBlack) {
    for (const char* name : {"\\source\\data\\pics\\light.jpg", "\\circle.jpg"}) {
        SCOPED_TRACE(name);
        const KeyedPicture picture = load(name);
        ASSERT_GT(picture.width, 0);
        const int last = picture.width - 1;
        EXPECT_TRUE(picture.opaque(picture.width / 2, picture.height / 2));
        for (int x : {0, last}) {
            for (int y : {0, picture.height - 1})
                EXPECT_FALSE(picture.opaque(x, y)) << x << "," << y;
        }
        EXPECT_GT(picture.transparentPixels(), picture.width * picture.height / 8);
    }
    // The tile is a bar with rounded ends, cut apart from its neighbours in the row.
    const KeyedPicture tile = load("\\border1.jpg");
    ASSERT_GT(tile.width, 0);
    EXPECT_GT(tile.width, tile.height);
    EXPECT_FALSE(tile.opaque(0, 0));
    EXPECT_FALSE(tile.opaque(1, tile.height / 2));
    EXPECT_TRUE(tile.opaque(8, tile.height / 2));
    EXPECT_TRUE(tile.opaque(tile.width / 2, tile.height / 2));
}

TEST(DemoPictures, MakePicturesWantsOneFolder) {
    const TempFolder folder;
    const int status = std::system((std::string(MAKEPICTURES_PATH) + " 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
