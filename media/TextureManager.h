#pragma once

#include "JpegDecoder.h"
#include "Texture.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

// The process-wide store of the pictures the effects show: each JPEG file becomes one GL
// texture, kept under its name exactly as given until shutdown. Needs a current GL context.
class TextureManager {
public:
    static TextureManager* instance();
    // At shutdown: every texture released, then the manager itself.
    static void destroy();

    // The colour-keyed texture of a picture (near-black transparent), or null when the file
    // cannot be loaded; a failed name is tried again on the next request.
    Texture* getTexture(const std::string& fileName);
    // The alpha-only texture of a picture. Shares the cache with getTexture: whichever
    // conversion loaded a name first is what both return for it.
    Texture* getAlphaTexture(const std::string& fileName);

    // Every pixel the given colour, components on the 0..255 scale. Not cached; the caller owns
    // it. Null for a size the GL cannot take.
    std::unique_ptr<Texture> createSolidTexture(int width, int height, float red, float green,
                                                float blue, float alpha);
    std::unique_ptr<Texture> createBlankTexture(int width, int height);

    // What effects use: the picture's texture, or a shared transparent texture when it cannot
    // be loaded, named once on stderr. Never null.
    Texture* pictureOrFallback(const std::string& fileName);
    Texture* alphaPictureOrFallback(const std::string& fileName);

    void releaseAll();

    std::size_t cachedCount() const { return cache.size(); }
    // Pictures decoded so far, loaded or not; a cache hit decodes nothing.
    std::size_t decodeCount() const { return decodes; }

private:
    using Conversion = void (*)(std::span<std::uint8_t> pixels);

    TextureManager() = default;

    Texture* lookUp(const std::string& fileName, Conversion conversion);
    std::unique_ptr<Texture> load(const std::string& fileName, Conversion conversion);
    Texture* orFallback(Texture* texture, const std::string& fileName);

    std::map<std::string, std::unique_ptr<Texture>> cache;
    std::unique_ptr<Texture> fallback;
    std::set<std::string> reportedMissing;
    std::size_t decodes = 0;
};

// The largest texture side to decode: what the GL takes, and never beyond the decoder's bound.
int maxTextureSide();
// Creates the GL texture for `texture`'s size from `rgba` and leaves it bound.
void uploadTexture(Texture& texture, const std::uint8_t* rgba);
