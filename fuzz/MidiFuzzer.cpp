// MIDI songs (standard MIDI files, and RMID files that wrap one), as the player loads them and
// mixes them through the synthesiser, for a few seconds.

#include "FuzzSupport.h"
#include "MusicMixing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FreshFolder folder;
    folder.write("song.mid", data, size);
    mixOffline("song.mid", MusicKind::Song, 3.0);
    return 0;
}
