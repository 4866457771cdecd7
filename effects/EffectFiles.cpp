#include "EffectFiles.h"

#include "BitmapDistortion.h"
#include "BlobSphere.h"
#include "BorderImage.h"
#include "Circles.h"
#include "GenObject.h"
#include "HalfSphere.h"
#include "InCube.h"
#include "Landscape.h"
#include "Particles.h"
#include "PicStory.h"
#include "Picture.h"
#include "PictureWarp.h"
#include "SphereNormal.h"
#include "TextureScroll.h"
#include "Tunnel.h"
#include "Universe.h"
#include "Words.h"

#include <algorithm>
#include <array>

namespace {

// Where an effect's file names come from.
enum class FromData {
    FirstString, // the first data string, when there is one, replaces the default
    EveryString, // one file per data string, no default
    Ignored,     // always the defaults
};

struct EffectFileRow {
    std::string_view effect;
    FileKind kind;
    FromData fromData;
    std::array<std::string_view, 2> defaults;
};

constexpr auto picture = FileKind::Picture;
constexpr auto first = FromData::FirstString;
constexpr auto fixed = FromData::Ignored;

// Effects that load no file (Border, Fader) have no row.
constexpr std::array<EffectFileRow, 25> rows{{
    {"BitmapDistortion", picture, first, {BitmapDistortion::defaultPicture}},
    {"BitmapDistortion2", picture, first, {BitmapDistortion::defaultPicture}},
    {"BorderImage1", picture, first, {BorderImage::defaultPicture}},
    {"BorderImage2", picture, first, {BorderImage::defaultPicture}},
    {"Circles", picture, first, {Circles::defaultPicture}},
    {"Greets", picture, FromData::EveryString, {}},
    {"Particles", picture, first, {Particles::defaultPicture}},
    {"Particles2", picture, first, {Particles::defaultPicture}},
    {"PicStory1", picture, first, {PicStory::defaultPicture}},
    {"PicStory2", picture, first, {PicStory::defaultPicture}},
    {"Picture1", picture, first, {Picture::defaultPicture}},
    {"Picture2", picture, first, {Picture::defaultPicture}},
    {"PictureWarp", picture, first, {PictureWarp::defaultPicture}},
    {"TextureScroll", picture, fixed, {TextureScroll::picture}},
    {"GenObject", picture, first, {GenObject::defaultPicture}},
    {"GenObject2", picture, first, {GenObject::defaultPicture}},
    {"SoundPlayer", FileKind::Music, first, {}},
    {"Landscape", picture, fixed, {Landscape::picture}},
    {"BlobSphere", picture, first, {BlobSphere::defaultPicture}},
    {"InCube", picture, first, {InCube::defaultPicture}},
    {"Universe", picture, first, {Universe::defaultPicture}},
    {"HalfSphere", picture, fixed, {HalfSphere::picture}},
    {"SphereNormal", picture, first, {SphereNormal::defaultPicture}},
    {"Tunnel", picture, first, {Tunnel::defaultPicture}},
    {"Words", picture, fixed, Words::pictures},
}};

} // namespace

std::vector<FileUse> filesUsedBy(std::string_view effectName,
                                 const std::vector<std::string>& data) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const EffectFileRow& each) {
        return each.effect == effectName;
    });
    if (row == rows.end())
        return {};
    std::vector<FileUse> files;
    if (row->fromData == FromData::EveryString) {
        for (const std::string& name : data)
            files.push_back({row->kind, name});
        return files;
    }
    if (row->fromData == FromData::FirstString && !data.empty()) {
        files.push_back({row->kind, data.front()});
        return files;
    }
    for (std::string_view name : row->defaults) {
        if (!name.empty())
            files.push_back({row->kind, std::string(name)});
    }
    return files;
}
