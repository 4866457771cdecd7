// Streamed music (MPEG audio, Ogg, ASF/WMA contents alike: the decoder goes by the contents), as
// the player opens and mixes it, for a few seconds.

#include "FuzzSupport.h"
#include "MusicMixing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FreshFolder folder;
    folder.write("music.ogg", data, size);
    mixOffline("music.ogg", MusicKind::Stream, 3.0);
    return 0;
}
