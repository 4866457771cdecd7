#include "TextureManager.h"

#include "PortablePath.h"
#include "ProgramName.h"
#include "TextureConversion.h"

#include <GL/gl.h>
#include <algorithm>
#include <iostream>

namespace {

TextureManager* theManager = nullptr;

} // namespace

TextureManager* TextureManager::instance() {
    if (!theManager)
        theManager = new TextureManager();
    return theManager;
}

void TextureManager::destroy() {
    if (!theManager)
        return;
    theManager->releaseAll();
    delete theManager;
    theManager = nullptr;
}

int maxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    // Without a context the GL answers nothing; the decoder's own bound still holds.
    return side > 0 ? std::min<int>(side, JpegDecoder::absoluteMaxSide)
                    : JpegDecoder::absoluteMaxSide;
}

void uploadTexture(Texture& texture, const std::uint8_t* rgba) {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture.id = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, texture.width, texture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

Texture* TextureManager::getTexture(const std::string& fileName) {
    return lookUp(fileName, colourKeyToRgba);
}

Texture* TextureManager::getAlphaTexture(const std::string& fileName) {
    return lookUp(fileName, intensityToAlpha);
}

Texture* TextureManager::lookUp(const std::string& fileName, Conversion conversion) {
    if (const auto found = names.find(fileName); found != names.end())
        return found->second;
    if (failedNames.contains(fileName))
        return nullptr;

    const auto path = resolvePortablePath(fileName);
    if (!path) {
        failedNames.emplace(fileName, "missing");
        return nullptr;
    }
    const std::string identity = fileIdentity(*path).string();
    Texture* texture = nullptr;
    if (const auto found = files.find(identity); found != files.end())
        texture = found->second.get();
    else if (const auto failed = failedFiles.find(identity); failed == failedFiles.end())
        texture = loadFile(fileName, identity, conversion);
    if (!texture) {
        failedNames.emplace(fileName, failedFiles.at(identity));
        return nullptr;
    }
    names.emplace(fileName, texture);
    return texture;
}

Texture* TextureManager::loadFile(const std::string& fileName, const std::string& identity,
                                  Conversion conversion) {
    ++decodes;
    JpegDecoder decoder(maxTextureSide());
    decoder.limitPixelBytes(pixelBytes < pixelBudget ? pixelBudget - pixelBytes : 0);
    DecodedPicture picture;
    std::string error;
    if (!decoder.decodeFile(fileName, picture, error)) {
        failedFiles.emplace(identity, pictureFailureReason(error));
        return nullptr;
    }
    conversion(picture.pixels);
    auto texture = std::make_unique<Texture>();
    texture->width = picture.width;
    texture->height = picture.height;
    texture->pixels = std::move(picture.pixels);
    uploadTexture(*texture, texture->pixels.data());
    pixelBytes += texture->pixels.size();
    return files.emplace(identity, std::move(texture)).first->second.get();
}

std::string TextureManager::failureReason(const std::string& fileName) const {
    const auto failed = failedNames.find(fileName);
    return failed == failedNames.end() ? std::string() : failed->second;
}

std::unique_ptr<Texture> TextureManager::createSolidTexture(int width, int height, float red,
                                                            float green, float blue, float alpha) {
    const int maxSide = maxTextureSide();
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return nullptr;
    auto texture = std::make_unique<Texture>();
    texture->width = width;
    texture->height = height;
    const std::vector<std::uint8_t> rgba = solidPixels(width, height, red, green, blue, alpha);
    uploadTexture(*texture, rgba.data());
    return texture;
}

std::unique_ptr<Texture> TextureManager::createBlankTexture(int width, int height) {
    return createSolidTexture(width, height, 0.0f, 0.0f, 0.0f, 1.0f);
}

std::shared_ptr<Texture> TextureManager::share(std::unique_ptr<Texture> texture) {
    if (!texture)
        return nullptr;
    return std::shared_ptr<Texture>(texture.release(), [](Texture* gone) {
        if (gone->id != 0)
            glDeleteTextures(1, &gone->id);
        delete gone;
    });
}

Texture* TextureManager::pictureOrFallback(const std::string& fileName) {
    return orFallback(getTexture(fileName), fileName);
}

Texture* TextureManager::alphaPictureOrFallback(const std::string& fileName) {
    return orFallback(getAlphaTexture(fileName), fileName);
}

Texture* TextureManager::orFallback(Texture* texture, const std::string& fileName) {
    if (texture)
        return texture;
    if (reported.insert(fileName).second)
        std::cerr << programName() << ": cannot load picture \"" << fileName
                  << "\": " << failureReason(fileName) << '\n';
    if (!fallback)
        fallback = createSolidTexture(2, 2, 0.0f, 0.0f, 0.0f, 0.0f);
    return fallback.get();
}

void TextureManager::forgetFile(const std::filesystem::path& file) {
    const std::string identity = fileIdentity(file).string();
    if (const auto found = files.find(identity); found != files.end()) {
        const Texture* gone = found->second.get();
        std::erase_if(names, [&](const auto& entry) { return entry.second == gone; });
        pixelBytes -= std::min(pixelBytes, gone->pixels.size());
        const GLuint id = gone->id;
        glDeleteTextures(1, &id);
        files.erase(found);
    }
    failedFiles.erase(identity);
    // A name that failed as missing has no file to compare with: every failed name is tried
    // again.
    failedNames.clear();
}

void TextureManager::releaseAll() {
    for (auto& [identity, texture] : files) {
        const GLuint id = texture->id;
        glDeleteTextures(1, &id);
    }
    names.clear();
    files.clear();
    failedNames.clear();
    failedFiles.clear();
    pixelBytes = 0;
    if (fallback) {
        const GLuint id = fallback->id;
        glDeleteTextures(1, &id);
        fallback.reset();
    }
}
