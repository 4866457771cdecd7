#include "TextureManager.h"

#include "GLTest.h"
#include "ProgramName.h"
#include "TestPictures.h"
#include "TextureConversion.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

namespace {

class TextureManagerTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        manager = TextureManager::instance();
    }

    void writeJpeg(const std::string& name, const RgbImage& image) {
        const std::vector<std::uint8_t> bytes = encodeJpeg(image);
        folder->write(name, std::string(bytes.begin(), bytes.end()));
    }

    // What the GL holds for a texture, read back.
    static PixelBuffer uploaded(const Texture& texture) {
        PixelBuffer rgba(std::size_t(texture.width) * texture.height * 4);
        glBindTexture(GL_TEXTURE_2D, texture.id);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    static GLint boundTexture() {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }

    TextureManager* manager = nullptr;
};

// A picture with black, near-black and coloured parts, so both conversions have work to do.
RgbImage keyedPicture() {
    RgbImage image = gradientImage(64, 32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* pixel = &image.pixels[(std::size_t(y) * 64 + x) * 3];
            pixel[0] = pixel[1] = pixel[2] = 0;
        }
    }
    return image;
}

TEST_F(TextureManagerTest, UploadsTheConvertedPictureAndLeavesItBound) {
    writeJpeg("pic.jpg", keyedPicture());
    DecodedPicture decoded;
    std::string error;
    ASSERT_TRUE(JpegDecoder().decodeFile("pic.jpg", decoded, error)) << error;
    PixelBuffer keyed = decoded.pixels;
    colourKeyToRgba(keyed);
    PixelBuffer alphaOnly = decoded.pixels;
    intensityToAlpha(alphaOnly);

    const Texture* texture = manager->getTexture("pic.jpg");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width, 64);
    EXPECT_EQ(texture->height, 32);
    EXPECT_NE(texture->id, 0u);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(texture->id));
    EXPECT_EQ(texture->pixels, keyed);
    EXPECT_EQ(texture->pixels[3], 0) << "the black top rows are transparent";
    EXPECT_EQ(texture->pixels[(31 * 64 + 63) * 4 + 3], 255);

    GLint minFilter = 0;
    GLint magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(uploaded(*texture), texture->pixels);

    writeJpeg("alpha.jpg", keyedPicture());
    const Texture* alpha = manager->getAlphaTexture("alpha.jpg");
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->pixels, alphaOnly);
    EXPECT_EQ(uploaded(*alpha), alpha->pixels);
}

TEST_F(TextureManagerTest, DecodesEachNameOnceWhicheverConversionAsks) {
    writeJpeg("once.jpg", keyedPicture());
    writeJpeg("other.jpg", keyedPicture());
    Texture* first = manager->getTexture("once.jpg");
    ASSERT_NE(first, nullptr);
    const std::size_t decodes = manager->decodeCount();

    std::filesystem::remove(folder->path() / "once.jpg");
    EXPECT_EQ(manager->getTexture("once.jpg"), first);
    EXPECT_EQ(manager->getAlphaTexture("once.jpg"), first);
    EXPECT_EQ(manager->decodeCount(), decodes);

    Texture* alphaFirst = manager->getAlphaTexture("other.jpg");
    EXPECT_EQ(manager->getTexture("other.jpg"), alphaFirst);
    EXPECT_EQ(alphaFirst->pixels[0], 0) << "alpha-only pictures are black";
    EXPECT_EQ(manager->cachedCount(), 2u);
}

TEST_F(TextureManagerTest, NamesOfOneFileShareOneTexture) {
    writeJpeg("Pics/Case.jpg", keyedPicture());
    Texture* exact = manager->getTexture("Pics/Case.jpg");
    ASSERT_NE(exact, nullptr);
    for (const char* name :
         {"PICS/CASE.JPG", "\\pics\\case.jpg", "./Pics/Case.jpg", "pics//case.JPG"})
        EXPECT_EQ(manager->getAlphaTexture(name), exact) << name;
    EXPECT_EQ(manager->decodeCount(), 1u);
    EXPECT_EQ(manager->cachedCount(), 1u);
    EXPECT_EQ(manager->nameCount(), 5u);
    EXPECT_EQ(manager->pixelBytesHeld(), 64u * 32 * 4);

    // Files that really differ only in case stay two pictures.
    writeJpeg("Two.jpg", keyedPicture());
    writeJpeg("two.jpg", keyedPicture());
    EXPECT_NE(manager->getTexture("Two.jpg"), manager->getTexture("two.jpg"));
    EXPECT_EQ(manager->cachedCount(), 3u);
}

TEST_F(TextureManagerTest, FailedPicturesAreRememberedWithTheirReason) {
    const std::vector<std::uint8_t> good = encodeJpeg(gradientImage(32, 32));
    folder->write("damaged.jpg", std::string(good.begin(), good.begin() + good.size() / 2));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(manager->getTexture(i % 2 ? "damaged.jpg" : "DAMAGED.jpg"), nullptr);
        EXPECT_EQ(manager->getAlphaTexture("damaged.jpg"), nullptr);
    }
    EXPECT_EQ(manager->decodeCount(), 1u);
    EXPECT_EQ(manager->failureReason("DAMAGED.jpg").rfind("unreadable: cannot decode", 0), 0u)
        << manager->failureReason("DAMAGED.jpg");
    EXPECT_EQ(manager->failureReason("DAMAGED.jpg"), manager->failureReason("damaged.jpg"));

    // A missing file stays missing for the run, even when it turns up later.
    EXPECT_EQ(manager->getTexture("late.jpg"), nullptr);
    writeJpeg("late.jpg", keyedPicture());
    EXPECT_EQ(manager->getTexture("late.jpg"), nullptr);
    EXPECT_EQ(manager->failureReason("late.jpg"), "missing");
    EXPECT_EQ(manager->decodeCount(), 1u);

    const std::vector<std::uint8_t> png = tinyPng();
    folder->write("empty.jpg", "");
    folder->write("png.jpg", std::string(png.begin(), png.end()));
    folder->write("garbage.jpg", std::string(3000, '\x5a'));
    for (const char* name : {"empty.jpg", "png.jpg", "garbage.jpg"}) {
        EXPECT_EQ(manager->getTexture(name), nullptr) << name;
        EXPECT_EQ(manager->failureReason(name).rfind("unreadable: ", 0), 0u) << name;
    }
    EXPECT_EQ(manager->getTexture("folder"), nullptr);
    EXPECT_EQ(manager->failureReason("folder"), "missing");
    EXPECT_EQ(manager->cachedCount(), 0u);
    EXPECT_EQ(manager->failureReason("good-so-far.jpg"), "");
}

TEST_F(TextureManagerTest, PicturesPastThePixelBudgetGetTheStandIn) {
    // Room for two pictures of 1 MiB and a half.
    manager->setPixelBudget((std::size_t{5} << 20) / 2);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        writeJpeg(name, gradientImage(512, 512));
    EXPECT_NE(manager->getTexture("a.jpg"), nullptr);
    EXPECT_NE(manager->getTexture("b.jpg"), nullptr);
    // Another name of a picture already held costs nothing more.
    EXPECT_NE(manager->getTexture("A.JPG"), nullptr);

    testing::internal::CaptureStderr();
    Texture* third = manager->pictureOrFallback("c.jpg");
    const std::string said = testing::internal::GetCapturedStderr();
    manager->setPixelBudget(TextureManager::defaultPixelBudget);
    EXPECT_EQ(third, manager->pictureOrFallback("missing.jpg"));
    const std::string reason = "over the texture memory budget: 512 x 512 needs 1 MiB, 0 MiB left";
    EXPECT_EQ(manager->failureReason("c.jpg"), reason);
    EXPECT_EQ(said,
              std::string(programName()) + ": cannot load picture \"c.jpg\": " + reason + "\n");
    EXPECT_EQ(manager->pixelBytesHeld(), std::size_t{2} << 20);
}

TEST_F(TextureManagerTest, EffectsGetATransparentStandInNamedOnceWithTheReason) {
    // The line names the program that runs, not always the player.
    EXPECT_EQ(programName(), "media_tests");
    const std::vector<std::uint8_t> good = encodeJpeg(gradientImage(32, 32));
    folder->write("cut.jpg", std::string(good.begin(), good.begin() + good.size() / 2));

    testing::internal::CaptureStderr();
    Texture* first = manager->pictureOrFallback("\\missing.jpg");
    Texture* again = manager->alphaPictureOrFallback("\\missing.jpg");
    Texture* other = manager->pictureOrFallback("cut.jpg");
    manager->pictureOrFallback("cut.jpg");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(again, first);
    EXPECT_EQ(other, first);
    EXPECT_EQ(said, "media_tests: cannot load picture \"\\missing.jpg\": missing\n"
                    "media_tests: cannot load picture \"cut.jpg\": " +
                        manager->failureReason("cut.jpg") + "\n");
    EXPECT_EQ(manager->cachedCount(), 0u);
    for (std::size_t i = 0; i < 4 * 4; i += 4)
        EXPECT_EQ(uploaded(*first)[i + 3], 0);

    writeJpeg("there.jpg", keyedPicture());
    EXPECT_EQ(manager->pictureOrFallback("there.jpg"), manager->getTexture("there.jpg"));
}

TEST_F(TextureManagerTest, SolidTexturesAreTheCallersAndUncached) {
    const auto grey = manager->createSolidTexture(256, 256, 128.0f, 128.0f, 128.0f, 128.0f);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->width, 256);
    EXPECT_TRUE(grey->pixels.empty());
    EXPECT_EQ(boundTexture(), static_cast<GLint>(grey->id));
    EXPECT_EQ(uploaded(*grey), PixelBuffer(256 * 256 * 4, 128));

    const auto blank = manager->createBlankTexture(4, 2);
    PixelBuffer expected;
    for (int i = 0; i < 8; ++i)
        expected.insert(expected.end(), {0, 0, 0, 1});
    EXPECT_EQ(uploaded(*blank), expected);
    EXPECT_EQ(manager->cachedCount(), 0u);

    EXPECT_EQ(manager->createSolidTexture(0, 4, 1, 1, 1, 1), nullptr);
    EXPECT_EQ(manager->createSolidTexture(100000, 4, 1, 1, 1, 1), nullptr);
}

TEST_F(TextureManagerTest, ASharedTextureGoesWithItsLastHolder) {
    std::shared_ptr<Texture> first = TextureManager::share(manager->createBlankTexture(8, 8));
    ASSERT_NE(first, nullptr);
    const GLuint id = first->id;
    std::shared_ptr<const Texture> second = first;
    first.reset();
    EXPECT_EQ(glIsTexture(id), GL_TRUE);
    second.reset();
    EXPECT_EQ(glIsTexture(id), GL_FALSE);
    EXPECT_EQ(TextureManager::share(nullptr), nullptr);
}

TEST_F(TextureManagerTest, ReleaseAllDeletesEveryTextureAndShutdownEndsTheManager) {
    manager->releaseAll();
    EXPECT_EQ(manager->cachedCount(), 0u);

    writeJpeg("a.jpg", keyedPicture());
    const GLuint id = manager->getTexture("a.jpg")->id;
    ASSERT_TRUE(glIsTexture(id));
    manager->releaseAll();
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(manager->cachedCount(), 0u);

    manager->getTexture("a.jpg");
    demo.reset();
    EXPECT_EQ(TextureManager::instance()->cachedCount(), 0u) << "a new manager after shutdown";
    TextureManager::destroy();
}

} // namespace
