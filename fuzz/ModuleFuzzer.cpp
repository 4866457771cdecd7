// Module songs (MOD, XM, IT: the module player goes by the contents), as the player loads and
// mixes them, for a few seconds.

#include "FuzzSupport.h"
#include "MusicMixing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FreshFolder folder;
    folder.write("song.xm", data, size);
    mixOffline("song.xm", MusicKind::Song, 3.0);
    return 0;
}
