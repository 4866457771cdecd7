#pragma once

#include "JpegDecoder.h"
#include "Texture.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

// The process-wide store of the pictures the effects show: each JPEG file becomes one GL
// texture, kept until shutdown. Names are kept exactly as given, but all names that resolve to
// one file share its texture. A picture that fails is remembered with its reason and never
// decoded again, and all pictures together stay within a budget of pixel bytes of pixels. Needs a
// current GL context.
class TextureManager {
public:
    static constexpr std::size_t defaultPixelBudget = std::size_t{1} << 30;

    static TextureManager* instance();
    // At shutdown: every texture released, then the manager itself.
    static void destroy();

    // The colour-keyed texture of a picture (near-black transparent), or null when the file
    // cannot be loaded.
    Texture* getTexture(const std::string& fileName);
    // The alpha-only texture of a picture. Shares the cache with getTexture: whichever
    // conversion loaded a name first is what both return for it.
    Texture* getAlphaTexture(const std::string& fileName);

    // Every pixel the given colour, components on the 0..255 scale. Not cached; the caller owns
    // it. Null for a size the GL cannot take.
    std::unique_ptr<Texture> createSolidTexture(int width, int height, float red, float green,
                                                float blue, float alpha);
    std::unique_ptr<Texture> createBlankTexture(int width, int height);
    // A texture an effect builds once and shares with the demo's saved states: its GL name is
    // deleted when the last holder lets it go, so that a state restored from before it was built
    // does not leave it behind. Null stays null.
    static std::shared_ptr<Texture> share(std::unique_ptr<Texture> texture);

    // What effects use: the picture's texture, or a shared transparent texture when it cannot
    // be loaded, named once on stderr with the reason. Never null.
    Texture* pictureOrFallback(const std::string& fileName);
    Texture* alphaPictureOrFallback(const std::string& fileName);

    void releaseAll();
    // Forgets what was loaded from a file, or why it failed, so that its next use reads it
    // again: a viewer whose picture changed on disk. Whoever holds its texture must not use it
    // any more.
    void forgetFile(const std::filesystem::path& file);
    // The run's pixel budget; pictures already held stay.
    void setPixelBudget(std::size_t bytes) { pixelBudget = bytes; }

    // Why a name failed to load ("missing", "unreadable: ..."); empty when it has not failed.
    std::string failureReason(const std::string& fileName) const;

    // Distinct files held as textures, and the names that lead to them.
    std::size_t cachedCount() const { return files.size(); }
    std::size_t nameCount() const { return names.size(); }
    // Pictures decoded so far, loaded or not; a cache hit decodes nothing.
    std::size_t decodeCount() const { return decodes; }
    std::size_t pixelBytesHeld() const { return pixelBytes; }

private:
    using Conversion = void (*)(std::span<std::uint8_t> pixels);

    TextureManager() = default;

    Texture* lookUp(const std::string& fileName, Conversion conversion);
    Texture* loadFile(const std::string& fileName, const std::string& identity,
                      Conversion conversion);
    Texture* orFallback(Texture* texture, const std::string& fileName);

    // Keyed by the file's resolved, canonical path; the names map each spelling to one of them.
    std::map<std::string, std::unique_ptr<Texture>> files;
    std::map<std::string, Texture*> names;
    // Reasons of failed loads, by name as given and by file.
    std::map<std::string, std::string> failedNames;
    std::map<std::string, std::string> failedFiles;
    std::unique_ptr<Texture> fallback;
    std::set<std::string> reported;
    std::size_t decodes = 0;
    std::size_t pixelBytes = 0;
    std::size_t pixelBudget = defaultPixelBudget;
};

// The largest texture side to decode: what the GL takes, and never beyond the decoder's bound.
int maxTextureSide();
// Creates the GL texture for `texture`'s size from `rgba` and leaves it bound.
void uploadTexture(Texture& texture, const std::uint8_t* rgba);
