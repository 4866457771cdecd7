#pragma once

#include <string>

// What a script's music text asks for: a CD track ("cd:" then a backslash, the track number, a
// blank and a play-mode word), or a file whose extension (after the last full stop, upper-cased)
// names the kind of player.
struct MusicRequest {
    enum class Kind { CdTrack, Stream, Song, None };

    Kind kind = Kind::None;
    // For a CD track: the number before the first blank, read as atoi does (0 for none).
    int track = 0;
    // For a CD track: "once" 1, "loop" 2, "random" 3, any other word 0, no word 2.
    int mode = 2;
    // For a file: the upper-cased extension that chose its kind.
    std::string extension;

    static MusicRequest parse(const std::string& specification);
};
