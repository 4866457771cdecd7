#pragma once

#include <string>

enum class MusicKind { Stream, Song };

// Opens the music file `name` of the working folder as the player does, in a sound library of
// its own on the offline output, plays it and mixes `seconds` of it in blocks of a frame of
// picture at 60 frames a second. Music that does not open must say why; music that plays must
// give only finite samples within -1..1, and a position that never runs back while it plays nor
// ahead of what was mixed.
void mixOffline(const std::string& name, MusicKind kind, double seconds);
